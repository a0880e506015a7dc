#include "app/windows_console.h"

#include <climits>

#include "platform/win32/win32_api.h"

namespace velmora {

namespace {

bool Usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

// UTF-8, as velmora-tool writes, for a file or a pipe.
bool WriteBytes(HANDLE handle, const std::wstring& text) {
    const int length = text.size() > INT_MAX / 4 ? INT_MAX / 4 : static_cast<int>(text.size());
    std::string bytes(static_cast<std::size_t>(length) * 4, '\0');
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
    DWORD written = 0;
    return size >= 0 &&
           WriteFile(handle, bytes.data(), static_cast<DWORD>(size), &written, nullptr) != 0 &&
           written == static_cast<DWORD>(size);
}

bool WriteText(HANDLE handle, const std::wstring& text) {
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode) == 0)
        return WriteBytes(handle, text);
    DWORD written = 0;
    return WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
           0;
}

}  // namespace

void TellUser(const std::wstring& text, bool error) {
    HANDLE given = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (Usable(given) && WriteText(given, text))
        return;
    // A windowed program has no console of its own; the prompt it was typed
    // at has one, whose output the program may share.
    if (AttachConsole(ATTACH_PARENT_PROCESS) != 0) {
        HANDLE console =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        const bool shown = Usable(console) && WriteText(console, text);
        if (Usable(console))
            CloseHandle(console);
        FreeConsole();
        if (shown)
            return;
    }
    MessageBoxW(nullptr, text.c_str(), L"Velmora",
                MB_OK | (error ? MB_ICONWARNING : MB_ICONINFORMATION));
}

}  // namespace velmora
