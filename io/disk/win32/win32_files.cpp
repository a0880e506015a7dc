#include "io/disk/win32/win32_files.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <vector>

namespace velmora::win32 {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The rename that replaces and keeps the replaced file's open handles
// working (Windows 10 1607 and later); older systems and some file systems
// refuse the request itself.
constexpr DWORD kRenameReplaceIfExists = 0x1;
constexpr DWORD kRenamePosixSemantics = 0x2;
constexpr int kFileRenameInfoEx = 22;

// FILE_RENAME_INFO with the flags of the Ex request in place of its BOOLEAN.
struct RenameInfoEx {
    DWORD flags;
    HANDLE rootDirectory;
    DWORD fileNameLength;
    WCHAR fileName[1];
};

uint32_t LastError() { return static_cast<uint32_t>(GetLastError()); }

void SleepFor(uint32_t milliseconds) { ::Sleep(milliseconds); }

bool RenameRequestRefused(uint32_t error) {
    return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION || error == ERROR_CALL_NOT_IMPLEMENTED;
}

uint32_t RenameByHandle(const std::wstring& from, const std::wstring& to) {
    HANDLE file = CreateFileW(from.c_str(), DELETE | SYNCHRONIZE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastError();
    const std::size_t nameBytes = to.size() * sizeof(WCHAR);
    std::vector<unsigned char> buffer(sizeof(RenameInfoEx) + nameBytes);
    auto* info = reinterpret_cast<RenameInfoEx*>(buffer.data());
    info->flags = kRenameReplaceIfExists | kRenamePosixSemantics;
    info->rootDirectory = nullptr;
    info->fileNameLength = static_cast<DWORD>(nameBytes);
    // The name with its terminating NUL, which the structure's own one
    // character has room for.
    std::memcpy(buffer.data() + offsetof(RenameInfoEx, fileName), to.c_str(),
                nameBytes + sizeof(WCHAR));
    const bool renamed =
        SetFileInformationByHandle(file, static_cast<FILE_INFO_BY_HANDLE_CLASS>(kFileRenameInfoEx),
                                   info, static_cast<DWORD>(buffer.size())) != 0;
    const uint32_t error = renamed ? 0 : LastError();
    CloseHandle(file);
    return error;
}

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

}  // namespace

bool WideFromUtf8(std::string_view text, std::wstring& wide) {
    wide.clear();
    if (text.empty())
        return true;
    if (text.size() > INT_MAX)
        return false;
    const int length = static_cast<int>(text.size());
    const int needed =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return false;
    wide.resize(static_cast<std::size_t>(needed));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(),
                               needed) == needed;
}

std::string Utf8FromWide(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX / 4)
        return std::string();
    const int length = static_cast<int>(wide.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(needed, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), needed, nullptr, nullptr);
    return text;
}

std::wstring ExtendedPath(const std::string& path) {
    std::wstring wide;
    if (path.empty() || !WideFromUtf8(path, wide) || wide.find(L'\0') != std::wstring::npos)
        return std::wstring();
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (wide.rfind(L"\\\\?\\", 0) == 0)
        return wide;
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return std::wstring();
    std::wstring full(needed, L'\0');
    const DWORD size = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (size == 0 || size >= needed)
        return std::wstring();
    full.resize(size);
    if (full.rfind(L"\\\\.\\", 0) == 0)
        return full;  // a device, not a file
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool SameName(std::string_view a, std::string_view b) {
    std::wstring wideA;
    std::wstring wideB;
    if (!WideFromUtf8(a, wideA) || !WideFromUtf8(b, wideB))
        return a == b;
    return CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

bool HeldByAnotherProgram(uint32_t error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

uint32_t Retrying(const std::function<uint32_t()>& attempt, const Sleep& sleep) {
    uint32_t waited = 0;
    uint32_t pause = 10;
    for (;;) {
        const uint32_t error = attempt();
        if (!HeldByAnotherProgram(error) || waited >= kRetryBudgetMs)
            return error;
        const uint32_t step = std::min(pause, kRetryBudgetMs - waited);
        sleep(step);
        waited += step;
        pause = std::min<uint32_t>(pause * 2, 500);
    }
}

HANDLE OpenShared(const std::string& path, DWORD access, DWORD disposition, DWORD attributes,
                  uint32_t& error) {
    const std::wstring name = ExtendedPath(path);
    if (name.empty()) {
        error = ERROR_INVALID_NAME;
        return INVALID_HANDLE_VALUE;
    }
    HANDLE file = INVALID_HANDLE_VALUE;
    error = Retrying(
        [&] {
            file = CreateFileW(name.c_str(), access, kShareAll, nullptr, disposition, attributes,
                               nullptr);
            return file == INVALID_HANDLE_VALUE ? LastError() : 0;
        },
        SleepFor);
    return file;
}

uint32_t Replace(const std::string& from, const std::string& to) {
    const std::wstring source = ExtendedPath(from);
    const std::wstring target = ExtendedPath(to);
    if (source.empty() || target.empty())
        return ERROR_INVALID_NAME;
    // A read-only file refuses to be replaced, with "access denied", which
    // no wait would change.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return ERROR_FILE_READ_ONLY;
    return Retrying(
        [&] {
            const uint32_t error = RenameByHandle(source, target);
            if (!RenameRequestRefused(error))
                return error;
            return MoveFileExW(source.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0
                       ? 0
                       : LastError();
        },
        SleepFor);
}

int HeldForWriting(const std::string& path, uint32_t& error) {
    const std::wstring name = ExtendedPath(path);
    if (name.empty()) {
        error = ERROR_INVALID_NAME;
        return -1;
    }
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        error = 0;
        return 0;
    }
    error = LastError();
    return error == ERROR_SHARING_VIOLATION ? 1 : -1;
}

uint32_t IdentityOf(const std::string& path, Identity& identity) {
    const std::wstring name = ExtendedPath(path);
    if (name.empty())
        return ERROR_INVALID_NAME;
    HANDLE file = CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastError();
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    const uint32_t error = known ? 0 : LastError();
    CloseHandle(file);
    if (known) {
        identity.volume = info.dwVolumeSerialNumber;
        identity.index = Join(info.nFileIndexHigh, info.nFileIndexLow);
        identity.size = Join(info.nFileSizeHigh, info.nFileSizeLow);
        identity.lastWrite =
            Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
        identity.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    }
    return error;
}

uint32_t LinkOrCopy(const std::string& from, const std::string& to) {
    const std::wstring source = ExtendedPath(from);
    const std::wstring target = ExtendedPath(to);
    if (source.empty() || target.empty())
        return ERROR_INVALID_NAME;
    if (CreateHardLinkW(target.c_str(), source.c_str(), nullptr) != 0)
        return 0;
    const uint32_t error = LastError();
    if (error != ERROR_NOT_SUPPORTED && error != ERROR_INVALID_FUNCTION &&
        error != ERROR_ACCESS_DENIED && error != ERROR_NOT_SAME_DEVICE)
        return error;
    return CopyFileW(source.c_str(), target.c_str(), TRUE) != 0 ? 0 : LastError();
}

}  // namespace velmora::win32
