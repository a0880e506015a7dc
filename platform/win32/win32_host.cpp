#include "platform/win32/win32_host.h"

#include <algorithm>

#include "platform/win32/about_box.h"
#include "platform/win32/canvas_blit.h"
#include "platform/win32/client_area.h"
#include "platform/win32/wide_utf8.h"

namespace velmora {

namespace {

// The host whose Yes/No question is open on this thread, for the hook that
// learns the question's window.
thread_local Win32Host* t_askingHost = nullptr;

bool IsMouseMessage(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_LBUTTONUP;
}

// A Win32 message as the dialog sees it: the identifier, the first parameter
// and, for mouse messages, the position, which is signed: a window may report
// one left of or above its client area.
Message MessageFromWin32(UINT message, WPARAM wParam, LPARAM lParam) {
    Message msg;
    msg.message = message;
    msg.wParam = static_cast<uint32_t>(wParam);
    if (IsMouseMessage(message)) {
        msg.point.x = static_cast<int16_t>(LOWORD(lParam));
        msg.point.y = static_cast<int16_t>(HIWORD(lParam));
    }
    return msg;
}

// A dialog procedure's result for a message whose own result is `result`.
INT_PTR Answer(HWND window, LRESULT result) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace

Win32Host::Win32Host(HINSTANCE instance, int32_t dialogTemplate, int32_t aboutTemplate,
                     int32_t width, int32_t height)
    : m_instance(instance),
      m_dialogTemplate(dialogTemplate),
      m_aboutTemplate(aboutTemplate),
      m_canvas(std::max<int32_t>(width, 1), std::max<int32_t>(height, 1)) {}

Win32Host::~Win32Host() {
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
}

int Win32Host::RunModal(CDialog& dlg) {
    if (m_dialog != nullptr) {  // one dialog per host at a time
        return CDialog::kNotEnded;
    }
    m_dialog = &dlg;
    m_shown = false;
    m_canvasFresh = false;
    // WM_INITDIALOG (InitWindow) attaches the dialog and runs OnInitDialog
    // before the template's WS_VISIBLE shows the window.
    const HWND window = CreateDialogParamW(m_instance, MAKEINTRESOURCEW(m_dialogTemplate), nullptr,
                                           &DialogProc, reinterpret_cast<LPARAM>(this));
    if (window != nullptr && !dlg.IsEnded()) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        m_shown = true;
        ShowPendingWarnings();
        MSG msg;
        while (!dlg.IsEnded() && IsWindow(window)) {
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (got < 0) {
                break;
            }
            if (dlg.PreTranslateMessage(MessageFromWin32(msg.message, msg.wParam, msg.lParam))) {
                continue;
            }
            if (!IsDialogMessageW(window, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    m_shown = true;
    ShowPendingWarnings();  // a window that never came up still tells them
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
    m_window = nullptr;
    m_dialog = nullptr;
    return dlg.Result();
}

INT_PTR CALLBACK Win32Host::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<Win32Host*>(lParam)->InitWindow(window);
        return TRUE;
    }
    auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrW(window, DWLP_USER));
    if (host == nullptr || host->m_window != window) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        host->m_window = nullptr;
        return FALSE;
    }
    return host->HandleMessage(message, wParam, lParam);
}

// The client area is sized before the dialog reads it in OnInitDialog; a
// system whose frames do not allow that size gets a canvas of the size it
// has, so the canvas always covers the client area exactly.
void Win32Host::InitWindow(HWND window) {
    m_window = window;
    const SIZE client = FitClientArea(window, m_canvas.Width(), m_canvas.Height());
    if (client.cx > 0 && client.cy > 0 &&
        (client.cx != m_canvas.Width() || client.cy != m_canvas.Height())) {
        m_canvas = Canvas(client.cx, client.cy);
    }
    m_dialog->Attach(*this);
    m_dialog->OnInitDialog();
}

INT_PTR Win32Host::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        // The canvas covers every pixel; an erase would wipe the scene.
        return Answer(m_window, TRUE);
    case WM_PAINT: Paint(); return TRUE;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: Route(message, wParam, lParam); return TRUE;
    case WM_KEYDOWN:
        if (!m_asking) {
            Route(message, wParam, lParam);
        }
        return TRUE;
    case WM_SYSCOMMAND: {
        Route(message, wParam, lParam);
        // The close command and the program's own commands are the
        // dialog's; the rest (move, the keyboard menu, ...) also get the
        // system's processing.
        const auto command = static_cast<uint32_t>(wParam) & 0xFFF0u;
        return command == SC_CLOSE || command < 0xF000u;
    }
    case WM_CLOSE:
        // Sent by other programs and the task bar: the same as the close command.
        Route(WM_SYSCOMMAND, SC_CLOSE, 0);
        return TRUE;
    case WM_COMMAND:
        // The dialog manager's IDOK and IDCANCEL: the dialog ends itself.
        return TRUE;
    case WM_QUERYDRAGICON:
        Route(message, wParam, lParam);
        return reinterpret_cast<INT_PTR>(m_bigIcon);
    default:
        // The program's own messages go to the dialog's message map too.
        if (message >= WM_APP && message <= 0xBFFF) {
            Route(message, wParam, lParam);
            return TRUE;
        }
        return FALSE;
    }
}

// The message map without PreTranslateMessage: the loop has given it that
// already, and a nested loop (a message box's) does not, as with any dialog.
void Win32Host::Route(uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (m_dialog == nullptr || m_dialog->IsEnded()) {
        return;
    }
    m_dialog->RouteMessage(MessageFromWin32(message, wParam, lParam));
    CloseQuestionIfEnded();
}

// The dialog draws the whole scene through GetDC and ReleaseDC, which blit
// it, before the paint cycle is ended; a dialog that does not draw on
// WM_PAINT still shows its canvas as it last drew it.
void Win32Host::Paint() {
    m_canvasFresh = false;
    Route(WM_PAINT, 0, 0);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_window, &paint);
    if (dc != nullptr && !m_canvasFresh) {
        BlitCanvas(dc, m_canvas, m_bitmap);
    }
    EndPaint(m_window, &paint);
    m_canvasFresh = false;
}

Rect Win32Host::ClientRect() const {
    Rect rect;
    rect.right = m_canvas.Width();
    rect.bottom = m_canvas.Height();
    return rect;
}

void Win32Host::SetCaption(const std::string& text) {
    if (m_window != nullptr) {
        SetWindowTextA(m_window, text.c_str());
    }
}

Canvas& Win32Host::GetDC() {
    m_canvas.ResetDrawingState();
    return m_canvas;
}

void Win32Host::ReleaseDC(Canvas& canvas) {
    if (&canvas != &m_canvas || m_window == nullptr) {
        return;
    }
    const HDC dc = ::GetDC(m_window);
    if (dc != nullptr) {
        BlitCanvas(dc, m_canvas, m_bitmap);
        ::ReleaseDC(m_window, dc);
        m_canvasFresh = true;
    }
}

bool Win32Host::GetCursorPos(Point& clientPos) const {
    POINT cursor{};
    if (m_window == nullptr || !::GetCursorPos(&cursor) || !ScreenToClient(m_window, &cursor)) {
        return false;
    }
    clientPos = Point{cursor.x, cursor.y};
    return true;
}

bool Win32Host::AskYesNo(const std::string& text, const std::string& caption) {
    if (m_asking || (m_dialog != nullptr && m_dialog->IsEnded())) {
        return false;
    }
    m_asking = true;
    m_question = nullptr;
    t_askingHost = this;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, &QuestionHook, nullptr, GetCurrentThreadId());
    const int answer =
        MessageBoxW(nullptr, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(),
                    MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    if (hook != nullptr) {
        UnhookWindowsHookEx(hook);
    }
    t_askingHost = nullptr;
    m_question = nullptr;
    m_asking = false;
    // Only a Yes deletes anything: a box that could not be shown answers No.
    return answer == IDYES && (m_dialog == nullptr || !m_dialog->IsEnded());
}

// The first window activated while the question is asked is its box.
LRESULT CALLBACK Win32Host::QuestionHook(int code, WPARAM wParam, LPARAM lParam) {
    Win32Host* host = t_askingHost;
    if (code == HCBT_ACTIVATE && host != nullptr && host->m_question == nullptr) {
        const auto window = reinterpret_cast<HWND>(wParam);
        if (window != host->m_window) {
            host->m_question = window;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A dialog that ended while its question waits closes the question with No.
void Win32Host::CloseQuestionIfEnded() {
    if (m_question != nullptr && m_dialog != nullptr && m_dialog->IsEnded()) {
        PostMessageW(m_question, WM_COMMAND, IDNO, 0);
    }
}

// The answer decides what the window shows, so a question at start-up
// cannot wait for the window as warnings do.
bool Win32Host::AskQuestion(const std::string& text, const std::string& caption) {
    if (m_asking || (m_dialog != nullptr && m_dialog->IsEnded())) {
        return false;
    }
    if (!m_shown) {
        ShowPendingWarnings();
    }
    m_asking = true;
    const int answer =
        MessageBoxW(m_shown ? m_window : nullptr, WideFromUtf8(text).c_str(),
                    WideFromUtf8(caption).c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1);
    m_asking = false;
    return answer == IDYES;
}

// Before the window is shown there is nothing to show the box over, so it
// waits until the window is.
void Win32Host::ShowWarning(const std::string& text, const std::string& caption) {
    if (m_dialog != nullptr && !m_shown) {
        m_pendingWarnings.emplace_back(text, caption);
        return;
    }
    ShowWarningBox(text, caption);
}

void Win32Host::ShowWarningBox(const std::string& text, const std::string& caption) {
    MessageBoxW(m_shown ? m_window : nullptr, WideFromUtf8(text).c_str(),
                WideFromUtf8(caption).c_str(), MB_OK | MB_ICONWARNING);
}

void Win32Host::ShowPendingWarnings() {
    while (!m_pendingWarnings.empty()) {
        const auto [text, caption] = std::move(m_pendingWarnings.front());
        m_pendingWarnings.pop_front();
        ShowWarningBox(text, caption);
    }
}

void Win32Host::RunAboutBox() {
    if (m_aboutBoxOpen || m_window == nullptr) {
        return;
    }
    m_aboutBoxOpen = true;
    RunAboutBoxTemplate(m_instance, m_aboutTemplate, m_window);
    m_aboutBoxOpen = false;
}

void Win32Host::AppendSystemMenuItem(uint32_t id, const std::string& text) {
    const HMENU menu = m_window != nullptr ? GetSystemMenu(m_window, FALSE) : nullptr;
    if (menu == nullptr) {
        return;
    }
    if (id == 0) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
        AppendMenuW(menu, MF_STRING, id, WideFromUtf8(text).c_str());
    }
}

// Shared icons are the system's to free.
void Win32Host::SetIcon(int32_t iconId, bool big) {
    if (m_window == nullptr) {
        return;
    }
    const int width = GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON);
    const int height = GetSystemMetrics(big ? SM_CYICON : SM_CYSMICON);
    const auto icon = static_cast<HICON>(
        LoadImageW(m_instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON, width, height, LR_SHARED));
    if (icon == nullptr) {
        return;
    }
    if (big) {
        m_bigIcon = icon;
    }
    SendMessageW(m_window, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

}  // namespace velmora
