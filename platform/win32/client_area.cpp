#include "platform/win32/client_area.h"

namespace velmora {

namespace {

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

}  // namespace

// The frame comes from the window's own styles; should the result still
// differ (a caption that wraps, a frame the styles do not tell), one more
// step corrects by the difference measured.
SIZE FitClientArea(HWND window, int32_t width, int32_t height) {
    RECT frame{0, 0, width, height};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 kKeepPlace);
    SIZE client = ClientSize(window);
    if (client.cx != width || client.cy != height) {
        RECT outer{};
        GetWindowRect(window, &outer);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + width - client.cx,
                     outer.bottom - outer.top + height - client.cy, kKeepPlace);
        client = ClientSize(window);
    }
    return client;
}

}  // namespace velmora
