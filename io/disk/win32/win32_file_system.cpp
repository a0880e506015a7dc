#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "io/disk/file_system.h"
#include "io/disk/path_parts.h"
#include "io/disk/win32/win32_files.h"
#include "io/disk/win32/win32_status.h"
#include "platform/win32/win32_api.h"

namespace velmora {

using win32::ExtendedPath;
using win32::Win32Failure;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE Handle(const FileHandle& file) { return reinterpret_cast<HANDLE>(file.Native()); }

uint32_t LastError() { return static_cast<uint32_t>(GetLastError()); }

Status Checked(bool done) { return done ? Status{} : Win32Failure(LastError()); }

// `path` in the form the wide calls take, or a failure for a name that has none.
Status Wide(const std::string& path, std::wstring* wide) {
    *wide = ExtendedPath(path);
    return wide->empty() ? Win32Failure(ERROR_INVALID_NAME) : Status{};
}

// Both names of a step that takes two, as Wide gives each.
Status WidePair(const std::string& from, const std::string& to, std::wstring* source,
                std::wstring* target) {
    if (Status named = Wide(from, source); !named.ok())
        return named;
    return Wide(to, target);
}

// The attributes of the file or folder at `path`.
Status AttributesOf(const std::string& path, DWORD* attributes) {
    std::wstring name;
    if (Status named = Wide(path, &name); !named.ok())
        return named;
    *attributes = GetFileAttributesW(name.c_str());
    return *attributes == INVALID_FILE_ATTRIBUTES ? Win32Failure(LastError()) : Status{};
}

Status Opened(const FileSystem& fs, HANDLE handle, uint32_t error, FileHandle* file) {
    if (handle == INVALID_HANDLE_VALUE)
        return Win32Failure(error);
    *file = FileHandle(fs, reinterpret_cast<std::intptr_t>(handle));
    return {};
}

// Opens `path` as OpenShared does; `backup` lets a folder open too.
Status Open(const FileSystem& fs, const std::string& path, DWORD access, DWORD disposition,
            DWORD flags, FileHandle* file) {
    uint32_t error = 0;
    const HANDLE handle = win32::OpenShared(path, access, disposition, flags, error);
    return Opened(fs, handle, error, file);
}

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

// FILETIME (100 ns since 1601) as nanoseconds since 1970.
std::int64_t Nanoseconds(LARGE_INTEGER time) {
    constexpr std::int64_t k1601To1970 = 116444736000000000;
    return (time.QuadPart - k1601To1970) * 100;
}

Status InfoOf(HANDLE handle, FileInfo* out) {
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (GetFileInformationByHandle(handle, &info) == 0 ||
        GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) == 0)
        return Win32Failure(LastError());
    FileInfo result;
    result.key = FileKey{info.dwVolumeSerialNumber, Join(info.nFileIndexHigh, info.nFileIndexLow)};
    const DWORD attributes = info.dwFileAttributes;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) != 0 &&
        tag.ReparseTag == IO_REPARSE_TAG_SYMLINK)
        result.kind = FileKind::kLink;
    else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        result.kind = FileKind::kFolder;
    else if (GetFileType(handle) == FILE_TYPE_DISK)
        result.kind = FileKind::kRegular;
    else
        result.kind = FileKind::kOther;
    result.size = static_cast<std::int64_t>(Join(info.nFileSizeHigh, info.nFileSizeLow));
    result.modified = Nanoseconds(basic.LastWriteTime);
    result.changed = Nanoseconds(basic.ChangeTime);
    result.permissions = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444u : 0666u;
    result.links = info.nNumberOfLinks;
    *out = result;
    return {};
}

// Whether the base name of `path` starts with a dot: the hidden temporary
// files, which carry the hidden attribute here as the dot hides them on Linux.
bool DotName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    return start < path.size() && path[start] == '.';
}

// A lock far past any file's end: it keeps other locks out without keeping
// anyone from reading or writing the file's bytes, as Windows locks would.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

}  // namespace

// A folder opens too (backup semantics), so that the caller finds it is one.
Status FileSystem::OpenForReading(const std::string& path, Links links, FileHandle* file) const {
    const DWORD noFollow = links == Links::kNoFollow ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
    if (Status opened = Open(*this, path, GENERIC_READ, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | noFollow, file);
        !opened.ok())
        return opened;
    FileInfo info;
    if (noFollow != 0 && InfoOf(Handle(*file), &info).ok() && info.kind == FileKind::kLink) {
        Close(*file);
        return Failed("Too many levels of symbolic links", ELOOP);
    }
    return {};
}

Status FileSystem::OpenFolder(const std::string& path, FileHandle* folder) const {
    return Open(*this, path, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, folder);
}

Status FileSystem::CreateNew(const std::string& path, unsigned permissions,
                             FileHandle* file) const {
    DWORD attributes = DotName(path) ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL;
    if ((permissions & 0222u) == 0)
        attributes |= FILE_ATTRIBUTE_READONLY;
    return Open(*this, path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, attributes, file);
}

Status FileSystem::CreateUnnamed(const std::string&, FileHandle*) const {
    return Win32Failure(ERROR_NOT_SUPPORTED, StatusCode::kNotSupported);
}

// Appending: a handle with the right to append only writes at the end (and
// the right to read lets it be locked).
Status FileSystem::OpenPrivate(const std::string& path, bool empty, FileHandle* file) const {
    if (empty) {
        FileHandle emptied;
        if (Status opened = Open(*this, path, GENERIC_WRITE, CREATE_ALWAYS,
                                 FILE_FLAG_OPEN_REPARSE_POINT, &emptied);
            !opened.ok())
            return opened;
        Close(emptied);
    }
    if (Status opened = Open(*this, path,
                             FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                             OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT, file);
        !opened.ok())
        return opened;
    FileInfo info;
    if (InfoOf(Handle(*file), &info).ok() && info.kind == FileKind::kLink) {
        Close(*file);
        return Failed("Too many levels of symbolic links", ELOOP);
    }
    return {};
}

Status FileSystem::OpenForWriting(const std::string& path, FileHandle* file) const {
    return Open(*this, path, GENERIC_WRITE, OPEN_EXISTING, 0, file);
}

FileHandle FileSystem::StandardInput() const {
    return FileHandle::Borrowed(reinterpret_cast<std::intptr_t>(GetStdHandle(STD_INPUT_HANDLE)));
}

FileHandle FileSystem::StandardOutput() const {
    return FileHandle::Borrowed(reinterpret_cast<std::intptr_t>(GetStdHandle(STD_OUTPUT_HANDLE)));
}

Status FileSystem::Reopen(const FileHandle& file, FileHandle* again) const {
    HANDLE handle = ReOpenFile(Handle(file), GENERIC_READ, kShareAll, 0);
    if (handle == INVALID_HANDLE_VALUE &&
        DuplicateHandle(GetCurrentProcess(), Handle(file), GetCurrentProcess(), &handle, 0, FALSE,
                        DUPLICATE_SAME_ACCESS) == 0)
        handle = INVALID_HANDLE_VALUE;
    return Opened(*this, handle, LastError(), again);
}

Status FileSystem::Close(FileHandle& file) const {
    const HANDLE handle = reinterpret_cast<HANDLE>(file.Release());
    return handle == INVALID_HANDLE_VALUE ? Status{} : Checked(CloseHandle(handle) != 0);
}

Status FileSystem::Read(const FileHandle& file, void* data, std::size_t size,
                        std::size_t* got) const {
    DWORD read = 0;
    const DWORD asked = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (ReadFile(Handle(file), data, asked, &read, nullptr) == 0) {
        const uint32_t error = LastError();
        if (error != ERROR_HANDLE_EOF && error != ERROR_BROKEN_PIPE)
            return Win32Failure(error);
    }
    *got = read;
    return {};
}

Status FileSystem::Write(const FileHandle& file, const void* data, std::size_t size,
                         std::size_t* done) const {
    DWORD written = 0;
    const DWORD asked = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (WriteFile(Handle(file), data, asked, &written, nullptr) == 0)
        return Win32Failure(LastError());
    *done = written;
    return {};
}

// Windows keeps a folder's names safe without a flush of the folder, and
// refuses one.
Status FileSystem::Flush(const FileHandle& file) const {
    if (FlushFileBuffers(Handle(file)) != 0)
        return {};
    const uint32_t error = LastError();
    FileInfo info;
    if (InfoOf(Handle(file), &info).ok() && info.kind == FileKind::kFolder)
        return Win32Failure(ERROR_NOT_SUPPORTED, StatusCode::kNotSupported);
    return Win32Failure(error);
}

Status FileSystem::NameUnnamed(const FileHandle&, const std::string&) const {
    return Win32Failure(ERROR_NOT_SUPPORTED, StatusCode::kNotSupported);
}

// Windows refuses to rename over a file another program has open with
// "access denied", as it refuses one this user may not replace: an open that
// shares nothing tells the two apart.
Status FileSystem::Rename(const std::string& from, const std::string& to) const {
    const uint32_t error = win32::Replace(from, to);
    if (error == 0)
        return {};
    if (error == ERROR_ACCESS_DENIED) {
        const std::wstring target = ExtendedPath(to);
        const HANDLE probe = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        const uint32_t probed = probe == INVALID_HANDLE_VALUE ? LastError() : 0;
        if (probe != INVALID_HANDLE_VALUE)
            CloseHandle(probe);
        if (probed == ERROR_SHARING_VIOLATION)
            return Win32Failure(ERROR_SHARING_VIOLATION);
    }
    return Win32Failure(error);
}

Status FileSystem::RenameNew(const std::string& from, const std::string& to) const {
    std::wstring source;
    std::wstring target;
    if (Status named = WidePair(from, to, &source, &target); !named.ok())
        return named;
    const uint32_t error = win32::Retrying(
        [&] {
            return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0
                       ? 0
                       : LastError();
        },
        [](uint32_t milliseconds) { Sleep(milliseconds); });
    return error == 0 ? Status{} : Win32Failure(error);
}

Status FileSystem::Exchange(const std::string&, const std::string&) const {
    return Win32Failure(ERROR_NOT_SUPPORTED, StatusCode::kNotSupported);
}

Status FileSystem::Link(const std::string& from, const std::string& to) const {
    std::wstring source;
    std::wstring target;
    if (Status named = WidePair(from, to, &source, &target); !named.ok())
        return named;
    if (CreateHardLinkW(target.c_str(), source.c_str(), nullptr) != 0)
        return {};
    const uint32_t error = LastError();
    if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION)
        return Win32Failure(error, StatusCode::kNotSupported);
    return Win32Failure(error);
}

Status FileSystem::Remove(const std::string& path) const {
    std::wstring name;
    if (Status named = Wide(path, &name); !named.ok())
        return named;
    const uint32_t error =
        win32::Retrying([&] { return DeleteFileW(name.c_str()) != 0 ? 0 : LastError(); },
                        [](uint32_t milliseconds) { Sleep(milliseconds); });
    return error == 0 ? Status{} : Win32Failure(error);
}

Status FileSystem::MakeFolder(const std::string& path, unsigned) const {
    std::wstring name;
    if (Status named = Wide(path, &name); !named.ok())
        return named;
    return Checked(CreateDirectoryW(name.c_str(), nullptr) != 0);
}

// The current folder takes no extended name: the plain one is given.
Status FileSystem::EnterFolder(const std::string& path) const {
    std::wstring name;
    if (!win32::WideFromUtf8(path, name) || name.empty())
        return Win32Failure(ERROR_INVALID_NAME);
    return Checked(SetCurrentDirectoryW(name.c_str()) != 0);
}

Status FileSystem::CurrentFolder(std::string* folder) const {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    std::wstring name(needed, L'\0');
    const DWORD size = needed == 0 ? 0 : GetCurrentDirectoryW(needed, name.data());
    if (size == 0 || size >= needed)
        return Win32Failure(LastError());
    name.resize(size);
    *folder = win32::Utf8FromWide(name);
    return {};
}

Status FileSystem::ListFolder(const std::string& folder, std::vector<std::string>* names) const {
    std::wstring name;
    if (Status named = Wide(folder, &name); !named.ok())
        return named;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW((name + L"\\*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return Win32Failure(LastError());
    names->clear();
    do {
        const std::wstring entry = found.cFileName;
        if (entry != L"." && entry != L"..")
            names->push_back(win32::Utf8FromWide(entry));
    } while (FindNextFileW(search, &found) != 0);
    const uint32_t error = LastError();
    FindClose(search);
    return error == ERROR_NO_MORE_FILES ? Status{} : Win32Failure(error);
}

// The file the link leads to in the end, by its full name, in the program's
// own form: "/" between the parts and no extended-length prefix.
Status FileSystem::ReadLink(const std::string& path, std::string* target) const {
    FileHandle file;
    if (Status opened = Open(*this, path, FILE_READ_ATTRIBUTES, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, &file);
        !opened.ok())
        return opened;
    std::wstring name(32768, L'\0');
    const DWORD size =
        GetFinalPathNameByHandleW(Handle(file), name.data(), static_cast<DWORD>(name.size()), 0);
    if (size == 0 || size >= name.size())
        return Win32Failure(LastError());
    name.resize(size);
    if (name.rfind(L"\\\\?\\UNC\\", 0) == 0)
        name = L"\\\\" + name.substr(8);
    else if (name.rfind(L"\\\\?\\", 0) == 0)
        name = name.substr(4);
    std::replace(name.begin(), name.end(), L'\\', L'/');
    *target = win32::Utf8FromWide(name);
    return {};
}

Status FileSystem::Inspect(const std::string& path, Links links, FileInfo* info) const {
    FileHandle file;
    const DWORD noFollow = links == Links::kNoFollow ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
    if (Status opened = Open(*this, path, FILE_READ_ATTRIBUTES, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | noFollow, &file);
        !opened.ok())
        return opened;
    return InfoOf(Handle(file), info);
}

Status FileSystem::InspectOpen(const FileHandle& file, FileInfo* info) const {
    return InfoOf(Handle(file), info);
}

// Windows has no rights of its own to test for here beyond the read-only
// mark; the open or rename that follows tells the rest.
Status FileSystem::MayWrite(const std::string& path) const {
    DWORD attributes = 0;
    if (Status found = AttributesOf(path, &attributes); !found.ok())
        return found;
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
                   (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0
               ? Win32Failure(ERROR_FILE_READ_ONLY)
               : Status{};
}

Status FileSystem::MayWriteIn(const std::string& folder) const {
    DWORD attributes = 0;
    if (Status found = AttributesOf(folder, &attributes); !found.ok())
        return found;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Status{} : Win32Failure(ERROR_DIRECTORY);
}

Status FileSystem::ReadMarks(const std::string&, FileMarks*) const {
    return Win32Failure(ERROR_NOT_SUPPORTED, StatusCode::kNotSupported);
}

// A second open that lets others read but not write fails while a writer
// has the file.
Status FileSystem::HeldForWriting(const FileHandle& file, bool* held) const {
    const HANDLE probe =
        ReOpenFile(Handle(file), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, 0);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        *held = false;
        return {};
    }
    const uint32_t error = LastError();
    if (error == ERROR_SHARING_VIOLATION) {
        *held = true;
        return {};
    }
    return Win32Failure(error);
}

Status FileSystem::HasCapabilities(const FileHandle&, bool* has) const {
    *has = false;
    return {};
}

Status FileSystem::DropCapabilities(const FileHandle&) const { return {}; }

// The write bits are the read-only mark; Windows keeps no others.
Status FileSystem::SetPermissions(const FileHandle& file, unsigned permissions) const {
    FILE_BASIC_INFO basic{};
    if (GetFileInformationByHandleEx(Handle(file), FileBasicInfo, &basic, sizeof basic) == 0)
        return Win32Failure(LastError());
    const DWORD readOnly = (permissions & 0222u) == 0 ? FILE_ATTRIBUTE_READONLY : 0;
    const DWORD attributes = (basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY) | readOnly;
    if (attributes == basic.FileAttributes)
        return {};
    // Zero times are left as they are.
    FILE_BASIC_INFO change{};
    change.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return Checked(
        SetFileInformationByHandle(Handle(file), FileBasicInfo, &change, sizeof change) != 0);
}

// Files made here are this user's already.
Status FileSystem::SetOwner(const FileHandle&, std::uint32_t, std::uint32_t) const { return {}; }

unsigned FileSystem::NewFilePermissions() const { return 0666u; }

// Windows locks a range of a file's bytes and no folder. Locking one byte
// past any end keeps other locks out and the bytes free; a folder's lock is
// the save's own mark among saves of this program, and since a save locks
// its temporary file before writing it, the clean-up's test of that lock
// is what keeps it from a live save's file.
Status FileSystem::Lock(const FileHandle& file, LockKind kind) const {
    FileInfo info;
    if (InfoOf(Handle(file), &info).ok() && info.kind == FileKind::kFolder)
        return {};
    OVERLAPPED where{};
    where.OffsetHigh = kLockOffsetHigh;
    const DWORD flags =
        LOCKFILE_FAIL_IMMEDIATELY | (kind == LockKind::kExclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (LockFileEx(Handle(file), flags, 0, 1, 0, &where) != 0)
        return {};
    const uint32_t error = LastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING)
        return Win32Failure(ERROR_LOCK_VIOLATION, StatusCode::kBusy);
    if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION)
        return Win32Failure(error, StatusCode::kNotSupported);
    return Win32Failure(error);
}

Status FileSystem::RandomBytes(void* data, std::size_t size) const {
    HCRYPTPROV provider = 0;
    if (CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL,
                             CRYPT_VERIFYCONTEXT | CRYPT_SILENT) == 0)
        return Win32Failure(LastError());
    const bool filled = size <= 0xFFFFFFFFu && CryptGenRandom(provider, static_cast<DWORD>(size),
                                                              static_cast<BYTE*>(data)) != 0;
    const uint32_t error = LastError();
    CryptReleaseContext(provider, 0);
    return filled ? Status{} : Win32Failure(error);
}

// One shared instance; FileSystem has no state.
const FileSystem& SystemFileSystem() {
    static const FileSystem fs;
    return fs;
}

}  // namespace velmora
