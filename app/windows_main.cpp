// velmora.exe's entry: the command line first, then the folder (given,
// chosen, or the current one), then the editor on FOLDER\Splines.xml in a
// window made from dialog template 102.
#include <string>
#include <vector>

#include "app/folder_picker.h"
#include "app/windows_command_line.h"
#include "app/windows_console.h"
#include "editor/velmora_dlg.h"
#include "platform/win32/win32_host.h"
#include "recovery/session_recovery.h"
#include "resources/resource_ids.h"

#include "platform/win32/win32_api.h"

namespace {

using velmora::RefusalText;
using velmora::TellUser;

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// `folder` made absolute against the current folder, with "\" between its
// parts, "" when the system cannot make it so.
std::wstring FullName(const std::wstring& folder) {
    const DWORD needed = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return std::wstring();
    std::wstring full(needed, L'\0');
    const DWORD size = GetFullPathNameW(folder.c_str(), needed, full.data(), nullptr);
    full.resize(size < needed ? size : 0);
    while (full.size() > 3 && full.back() == L'\\')
        full.pop_back();
    return full;
}

// A name past the 260-character limit of the plain form is reached by its
// extended form.
std::wstring Extended(const std::wstring& full) {
    if (full.rfind(L"\\\\?\\", 0) == 0)
        return full;
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// A full name as the file layer and messages take it: UTF-8, without the
// extended-length prefix ("C:\\Notes", "\\\\server\\share").
std::string PlainPath(std::wstring full) {
    if (full.rfind(L"\\\\?\\UNC\\", 0) == 0)
        full = L"\\\\" + full.substr(8);
    else if (full.rfind(L"\\\\?\\", 0) == 0)
        full = full.substr(4);
    return Utf8(full);
}

// Where the recovery copies live: %LOCALAPPDATA%\Velmora\Recovery.
std::string RecoveryStoreFolder() {
    const DWORD size = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (size == 0)
        return std::string();
    std::wstring base(size, L'\0');
    base.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", base.data(), size));
    return base.empty() ? std::string() : PlainPath(FullName(base) + L"\\Velmora\\Recovery");
}

// The work folder as the recovery copies know it: Windows compares folder
// names regardless of case, and "\\?\C:\x" is "C:\x", so both name one folder.
std::string RecoveryWorkFolder(std::wstring full) {
    if (full.rfind(L"\\\\?\\UNC\\", 0) == 0)
        full = L"\\\\" + full.substr(8);
    else if (full.rfind(L"\\\\?\\", 0) == 0)
        full = full.substr(4);
    if (!full.empty())
        CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    return Utf8(full);
}

int Refuse(const std::wstring& what) {
    TellUser(RefusalText(what), true);
    return 2;
}

int RunEditor(HINSTANCE instance, const std::wstring& folder) {
    const std::wstring file = folder + (folder.back() == L'\\' ? L"" : L"\\") + L"Splines.xml";
    velmora::SessionRecovery recovery(RecoveryStoreFolder(), RecoveryWorkFolder(folder));
    velmora::CVelmoraDlg dlg(PlainPath(file), PlainPath(file));
    dlg.SetRecovery(&recovery);
    velmora::Win32Host window(instance, velmora::IDD_VELMORA_DIALOG, velmora::IDD_ABOUTBOX);
    window.RunModal(dlg);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; words != nullptr && i < count; ++i)
        args.emplace_back(words[i]);
    LocalFree(words);

    const velmora::WindowsCommandLine line = velmora::ReadWindowsCommandLine(args);
    if (line.exitCode >= 0) {
        TellUser(line.text, line.exitCode != 0);
        return line.exitCode;
    }
    std::wstring folder = line.folder;
    if (line.chooseFolder) {
        folder = velmora::ChooseFolder(FullName(folder.empty() ? L"." : folder));
        if (folder.empty())
            return 0;
    }
    const std::wstring full = FullName(folder.empty() ? L"." : folder);
    const DWORD attributes =
        full.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(Extended(full).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Refuse(L"the folder \"" + folder + L"\" does not exist");
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return Refuse(L"\"" + folder + L"\" is not a folder");
    return RunEditor(instance, full);
}
