#include <cerrno>
#include <climits>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "io/disk/file_system.h"

namespace velmora {

namespace {

int Fd(const FileHandle& file) { return static_cast<int>(file.Native()); }

// The outcome of a call that returns -1 with errno on failure.
Status Checked(int result) { return result == 0 ? Status{} : SystemFailure(errno); }

Status Opened(const FileSystem& fs, int fd, FileHandle* file) {
    if (fd < 0) {
        return SystemFailure(errno);
    }
    *file = FileHandle(fs, fd);
    return {};
}

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::kRegular;
    }
    if (S_ISDIR(mode)) {
        return FileKind::kFolder;
    }
    if (S_ISFIFO(mode) || S_ISCHR(mode)) {
        return FileKind::kStream;
    }
    return S_ISLNK(mode) ? FileKind::kLink : FileKind::kOther;
}

FileInfo InfoOf(const struct stat& info) {
    FileInfo out;
    out.key =
        FileKey{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    out.kind = KindOf(info.st_mode);
    out.size = static_cast<std::int64_t>(info.st_size);
    out.modified = Nanoseconds(info.st_mtim);
    out.changed = Nanoseconds(info.st_ctim);
    out.permissions = static_cast<unsigned>(info.st_mode & 07777);
    out.owner = static_cast<std::uint32_t>(info.st_uid);
    out.group = static_cast<std::uint32_t>(info.st_gid);
    out.links = static_cast<std::uint64_t>(info.st_nlink);
    return out;
}

Status Inspected(int result, const struct stat& info, FileInfo* out) {
    if (result != 0) {
        return SystemFailure(errno);
    }
    *out = InfoOf(info);
    return {};
}

// The extended attribute that holds a file's capabilities.
constexpr char kCapabilities[] = "security.capability";

}  // namespace

// O_NONBLOCK keeps the open from hanging on a FIFO and changes nothing for
// a regular file; O_NOCTTY keeps a terminal found there from becoming ours.
Status FileSystem::OpenForReading(const std::string& path, Links links, FileHandle* file) const {
    const int nofollow = links == Links::kNoFollow ? O_NOFOLLOW : 0;
    return Opened(
        *this, ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | nofollow), file);
}

Status FileSystem::OpenFolder(const std::string& path, FileHandle* folder) const {
    return Opened(*this, ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), folder);
}

Status FileSystem::CreateNew(const std::string& path, unsigned permissions,
                             FileHandle* file) const {
    return Opened(*this,
                  ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC,
                         static_cast<mode_t>(permissions)),
                  file);
}

Status FileSystem::OpenForWriting(const std::string& path, FileHandle* file) const {
    return Opened(*this, ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC), file);
}

FileHandle FileSystem::StandardInput() const { return FileHandle::Borrowed(STDIN_FILENO); }
FileHandle FileSystem::StandardOutput() const { return FileHandle::Borrowed(STDOUT_FILENO); }

// Naming an unnamed file later goes through /proc, so without it there is none.
Status FileSystem::CreateUnnamed(const std::string& folder, FileHandle* file) const {
    if (::faccessat(AT_FDCWD, "/proc/self/fd", X_OK, AT_EACCESS) != 0) {
        return SystemFailure(EOPNOTSUPP, StatusCode::kNotSupported);
    }
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        return SystemFailure(errno, StatusCode::kNotSupported);
    }
    return Opened(*this, fd, file);
}

Status FileSystem::OpenPrivate(const std::string& path, bool empty, FileHandle* file) const {
    const int flags =
        O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC | (empty ? O_TRUNC : 0);
    return Opened(*this, ::open(path.c_str(), flags, 0600), file);
}

// Through /proc the new descriptor reads only; elsewhere it is a duplicate.
Status FileSystem::Reopen(const FileHandle& file, FileHandle* again) const {
    const std::string self = "/proc/self/fd/" + std::to_string(Fd(file));
    int fd = ::open(self.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        fd = ::fcntl(Fd(file), F_DUPFD_CLOEXEC, 0);
    }
    return Opened(*this, fd, again);
}

// close() lets go of the descriptor even when it fails.
Status FileSystem::Close(FileHandle& file) const {
    const int fd = static_cast<int>(file.Release());
    return fd < 0 ? Status{} : Checked(::close(fd));
}

Status FileSystem::Read(const FileHandle& file, void* data, std::size_t size,
                        std::size_t* got) const {
    const ssize_t result = ::read(Fd(file), data, size);
    if (result < 0) {
        return SystemFailure(errno);
    }
    *got = static_cast<std::size_t>(result);
    return {};
}

Status FileSystem::Write(const FileHandle& file, const void* data, std::size_t size,
                         std::size_t* done) const {
    const ssize_t result = ::write(Fd(file), data, size);
    if (result < 0) {
        return SystemFailure(errno);
    }
    *done = static_cast<std::size_t>(result);
    return {};
}

Status FileSystem::Flush(const FileHandle& file) const { return Checked(::fsync(Fd(file))); }

Status FileSystem::NameUnnamed(const FileHandle& file, const std::string& name) const {
    const std::string self = "/proc/self/fd/" + std::to_string(Fd(file));
    return Checked(::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW));
}

Status FileSystem::Rename(const std::string& from, const std::string& to) const {
    return Checked(::rename(from.c_str(), to.c_str()));
}

Status FileSystem::RenameNew(const std::string& from, const std::string& to) const {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    return errno == EEXIST ? SystemFailure(errno) : SystemFailure(errno, StatusCode::kNotSupported);
}

// The kernel lacks the exchange, or the file system refuses it (network,
// FUSE and overlay file systems among them).
Status FileSystem::Exchange(const std::string& first, const std::string& second) const {
    if (::renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) == 0) {
        return {};
    }
    const int error = errno;
    if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP ||
        error == EXDEV || error == EPERM) {
        return SystemFailure(error, StatusCode::kNotSupported);
    }
    return SystemFailure(error);
}

Status FileSystem::Link(const std::string& from, const std::string& to) const {
    if (::link(from.c_str(), to.c_str()) == 0) {
        return {};
    }
    const int error = errno;
    if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS) {
        return SystemFailure(error, StatusCode::kNotSupported);
    }
    return SystemFailure(error);
}

Status FileSystem::Remove(const std::string& path) const { return Checked(::unlink(path.c_str())); }

Status FileSystem::MakeFolder(const std::string& path, unsigned permissions) const {
    return Checked(::mkdir(path.c_str(), static_cast<mode_t>(permissions)));
}

Status FileSystem::EnterFolder(const std::string& path) const {
    return Checked(::chdir(path.c_str()));
}

Status FileSystem::CurrentFolder(std::string* folder) const {
    std::vector<char> cwd(PATH_MAX);
    while (::getcwd(cwd.data(), cwd.size()) == nullptr) {
        if (errno != ERANGE) {
            return SystemFailure(errno);
        }
        cwd.resize(cwd.size() * 2);
    }
    *folder = cwd.data();
    return {};
}

Status FileSystem::ListFolder(const std::string& folder, std::vector<std::string>* names) const {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return SystemFailure(errno);
    }
    names->clear();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names->push_back(name);
        }
    }
    ::closedir(dir);
    return {};
}

// The link's size tells how long its text is; one byte more tells a link
// that grew meanwhile.
Status FileSystem::ReadLink(const std::string& path, std::string* target) const {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return SystemFailure(errno);
    }
    std::vector<char> link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
    const ssize_t size = ::readlink(path.c_str(), link.data(), link.size());
    if (size <= 0 || static_cast<std::size_t>(size) >= link.size()) {
        return SystemFailure(size < 0 ? errno : size == 0 ? ENOENT : ENAMETOOLONG);
    }
    target->assign(link.data(), static_cast<std::size_t>(size));
    return {};
}

Status FileSystem::Inspect(const std::string& path, Links links, FileInfo* info) const {
    struct stat raw {};
    const int result =
        links == Links::kFollow ? ::stat(path.c_str(), &raw) : ::lstat(path.c_str(), &raw);
    return Inspected(result, raw, info);
}

Status FileSystem::InspectOpen(const FileHandle& file, FileInfo* info) const {
    struct stat raw {};
    return Inspected(::fstat(Fd(file), &raw), raw, info);
}

// With the effective ids, as the open that follows will be checked.
Status FileSystem::MayWrite(const std::string& path) const {
    return Checked(::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS));
}

Status FileSystem::MayWriteIn(const std::string& folder) const {
    return Checked(::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS));
}

// The inode flags, read through a descriptor opened for reading; O_NONBLOCK:
// opening a FIFO or device found there must not wait.
Status FileSystem::ReadMarks(const std::string& path, FileMarks* marks) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return SystemFailure(errno);
    }
    int flags = 0;
    const int result = ::ioctl(fd, FS_IOC_GETFLAGS, &flags);
    const int error = errno;
    ::close(fd);
    if (result != 0) {
        return error == ENOTTY || error == EOPNOTSUPP || error == ENOSYS
                   ? SystemFailure(error, StatusCode::kNotSupported)
                   : SystemFailure(error);
    }
    marks->immutable = (flags & FS_IMMUTABLE_FL) != 0;
    marks->appendOnly = (flags & FS_APPEND_FL) != 0;
    return {};
}

// A read lease is granted only while nobody has the file open for writing;
// it is given back at once, so no writer ever waits on it.
Status FileSystem::HeldForWriting(const FileHandle& file, bool* held) const {
    if (::fcntl(Fd(file), F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(Fd(file), F_SETLEASE, F_UNLCK);
        *held = false;
        return {};
    }
    if (errno == EAGAIN) {
        *held = true;
        return {};
    }
    return SystemFailure(errno);
}

Status FileSystem::HasCapabilities(const FileHandle& file, bool* has) const {
    if (::fgetxattr(Fd(file), kCapabilities, nullptr, 0) >= 0) {
        *has = true;
        return {};
    }
    if (errno == ENODATA || errno == ENOTSUP || errno == EOPNOTSUPP) {
        *has = false;
        return {};
    }
    return SystemFailure(errno);
}

Status FileSystem::DropCapabilities(const FileHandle& file) const {
    if (::fremovexattr(Fd(file), kCapabilities) == 0 || errno == ENODATA) {
        return {};
    }
    return SystemFailure(errno);
}

Status FileSystem::SetPermissions(const FileHandle& file, unsigned permissions) const {
    return Checked(::fchmod(Fd(file), static_cast<mode_t>(permissions)));
}

Status FileSystem::SetOwner(const FileHandle& file, std::uint32_t owner,
                            std::uint32_t group) const {
    return Checked(::fchown(Fd(file), static_cast<uid_t>(owner), static_cast<gid_t>(group)));
}

// The mask can only be read by setting it; it is set back at once.
unsigned FileSystem::NewFilePermissions() const {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

Status FileSystem::Lock(const FileHandle& file, LockKind kind) const {
    const int operation = (kind == LockKind::kShared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    if (::flock(Fd(file), operation) == 0) {
        return {};
    }
    const int error = errno;
    if (error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL) {
        return SystemFailure(error, StatusCode::kNotSupported);
    }
    return SystemFailure(error);
}

Status FileSystem::RandomBytes(void* data, std::size_t size) const {
    const ssize_t got = ::getrandom(data, size, GRND_NONBLOCK);
    if (got < 0) {
        return SystemFailure(errno);
    }
    return static_cast<std::size_t>(got) == size ? Status{} : SystemFailure(EAGAIN);
}

// One shared instance; FileSystem has no state.
const FileSystem& SystemFileSystem() {
    static const FileSystem fs;
    return fs;
}

}  // namespace velmora
