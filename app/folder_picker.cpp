#include "app/folder_picker.h"

#include "platform/win32/win32_api.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace velmora {

namespace {

constexpr const wchar_t* kTitle = L"Velmora: the folder of Splines.xml";

// The picker of older systems, where the file dialog cannot be made.
std::wstring BrowseForFolder() {
    BROWSEINFOW info{};
    info.lpszTitle = kTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (chosen == nullptr)
        return std::wstring();
    std::wstring path(32768, L'\0');
    const bool ok = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()),
                                          GPFIDL_DEFAULT) != 0;
    CoTaskMemFree(chosen);
    path.resize(ok ? wcslen(path.c_str()) : 0);
    return path;
}

}  // namespace

std::wstring ChooseFolder(const std::wstring& initial) {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    std::wstring result;
    IFileOpenDialog* dialog = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&dialog)))) {
        FILEOPENDIALOGOPTIONS options = 0;
        dialog->GetOptions(&options);
        dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
        dialog->SetTitle(kTitle);
        IShellItem* start = nullptr;
        if (!initial.empty() && SUCCEEDED(SHCreateItemFromParsingName(initial.c_str(), nullptr,
                                                                      IID_PPV_ARGS(&start)))) {
            dialog->SetFolder(start);
            start->Release();
        }
        IShellItem* chosen = nullptr;
        if (SUCCEEDED(dialog->Show(nullptr)) && SUCCEEDED(dialog->GetResult(&chosen))) {
            PWSTR path = nullptr;
            if (SUCCEEDED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                result = path;
                CoTaskMemFree(path);
            }
            chosen->Release();
        }
        dialog->Release();
    } else {
        result = BrowseForFolder();
    }
    if (com)
        CoUninitialize();
    return result;
}

}  // namespace velmora
