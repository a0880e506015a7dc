#include "io/disk/win32/win32_status.h"

#include <cerrno>
#include <string>

#include "io/disk/win32/win32_files.h"
#include "platform/win32/win32_api.h"

namespace velmora::win32 {

namespace {

struct Known {
    uint32_t win32;
    int error;
    const char* text;
};

// Linux's words for the same failures, so that a message reads alike on
// both systems.
const Known kKnown[] = {
    {ERROR_FILE_NOT_FOUND, ENOENT, "No such file or directory"},
    {ERROR_PATH_NOT_FOUND, ENOENT, "No such file or directory"},
    {ERROR_INVALID_DRIVE, ENOENT, "No such file or directory"},
    {ERROR_BAD_NETPATH, ENOENT, "No such file or directory"},
    {ERROR_BAD_NET_NAME, ENOENT, "No such file or directory"},
    {ERROR_FILE_EXISTS, EEXIST, "File exists"},
    {ERROR_ALREADY_EXISTS, EEXIST, "File exists"},
    {ERROR_ACCESS_DENIED, EACCES, "Permission denied"},
    {ERROR_FILE_READ_ONLY, EACCES, "the file is marked read-only"},
    {ERROR_WRITE_PROTECT, EROFS, "Read-only file system"},
    {ERROR_SHARING_VIOLATION, EBUSY, "another program holds the file"},
    {ERROR_LOCK_VIOLATION, EBUSY, "another program holds the file"},
    {ERROR_DISK_FULL, ENOSPC, "No space left on device"},
    {ERROR_HANDLE_DISK_FULL, ENOSPC, "No space left on device"},
    {ERROR_NOT_SUPPORTED, EOPNOTSUPP, "Operation not supported"},
    {ERROR_INVALID_FUNCTION, EOPNOTSUPP, "Operation not supported"},
    {ERROR_CALL_NOT_IMPLEMENTED, EOPNOTSUPP, "Operation not supported"},
    {ERROR_DIRECTORY, ENOTDIR, "Not a directory"},
    {ERROR_DIR_NOT_EMPTY, ENOTEMPTY, "Directory not empty"},
    {ERROR_NOT_SAME_DEVICE, EXDEV, "Invalid cross-device link"},
    {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG, "File name too long"},
    {ERROR_INVALID_NAME, EINVAL, "Invalid argument"},
    {ERROR_NOT_ENOUGH_MEMORY, ENOMEM, "Cannot allocate memory"},
    {ERROR_OUTOFMEMORY, ENOMEM, "Cannot allocate memory"},
};

std::string SystemText(uint32_t error) {
    wchar_t* text = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide = size > 0 && text != nullptr ? std::wstring(text, size) : std::wstring();
    LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L'.'))
        wide.pop_back();
    return wide.empty() ? "Windows error " + std::to_string(error) : Utf8FromWide(wide);
}

}  // namespace

Status Win32Failure(uint32_t error) {
    for (const Known& known : kKnown) {
        if (known.win32 == error)
            return Win32Failure(error, SystemStatusCode(known.error));
    }
    return Win32Failure(error, StatusCode::kFailed);
}

Status Win32Failure(uint32_t error, StatusCode code) {
    Status status = Failed(SystemText(error), EIO);
    for (const Known& known : kKnown) {
        if (known.win32 == error) {
            status.reason = known.text;
            status.error = known.error;
        }
    }
    status.code = code;
    return status;
}

}  // namespace velmora::win32
