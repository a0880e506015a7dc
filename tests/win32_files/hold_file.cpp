// Another program for the save tests: opens FILE sharing nothing, makes
// FILE.held to say so, holds FILE for MS milliseconds, then exits.
//   hold_file FILE MS
#include <cstdlib>
#include <string>

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return 2;
    const std::wstring file = argv[1];
    const HANDLE held =
        CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(
        CreateFileW((file + L".held").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    CloseHandle(held);
    return 0;
}
