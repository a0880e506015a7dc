#include "io/disk/file_system.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/random.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace velmora {

int FileSystem::Open(const char* path, int flags, mode_t mode) const {
    return ::open(path, flags, mode);
}

// Naming an unnamed file later goes through /proc, so without it there is none.
int FileSystem::OpenUnnamed(const char* folder, mode_t mode) const {
    if (Access("/proc/self/fd", X_OK) != 0) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::open(folder, O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
}

int FileSystem::LinkUnnamed(int fd, const char* name) const {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name, AT_SYMLINK_FOLLOW);
}

ssize_t FileSystem::Read(int fd, void* data, std::size_t size) const {
    return ::read(fd, data, size);
}
ssize_t FileSystem::Write(int fd, const void* data, std::size_t size) const {
    return ::write(fd, data, size);
}
int FileSystem::Fsync(int fd) const { return ::fsync(fd); }
int FileSystem::Close(int fd) const { return ::close(fd); }
int FileSystem::Dup(int fd) const { return ::dup(fd); }

int FileSystem::Rename(const char* from, const char* to) const { return ::rename(from, to); }
int FileSystem::Exchange(const char* first, const char* second) const {
    return ::renameat2(AT_FDCWD, first, AT_FDCWD, second, RENAME_EXCHANGE);
}
int FileSystem::RenameNew(const char* from, const char* to) const {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}
int FileSystem::Link(const char* from, const char* to) const { return ::link(from, to); }
int FileSystem::Unlink(const char* path) const { return ::unlink(path); }
int FileSystem::MakeFolder(const char* path, mode_t mode) const { return ::mkdir(path, mode); }
int FileSystem::EnterFolder(const char* path) const { return ::chdir(path); }

int FileSystem::Stat(const char* path, struct stat* info) const { return ::stat(path, info); }
int FileSystem::Lstat(const char* path, struct stat* info) const { return ::lstat(path, info); }
int FileSystem::Fstat(int fd, struct stat* info) const { return ::fstat(fd, info); }
ssize_t FileSystem::ReadLink(const char* path, char* buffer, std::size_t size) const {
    return ::readlink(path, buffer, size);
}
// O_NONBLOCK: opening a FIFO or device found there must not wait.
int FileSystem::InodeFlags(const char* path, unsigned* flags) const {
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return -1;
    }
    int value = 0;
    const int result = ::ioctl(fd, FS_IOC_GETFLAGS, &value);
    const int error = errno;
    ::close(fd);
    errno = error;
    if (result == 0) {
        *flags = static_cast<unsigned>(value);
    }
    return result;
}

int FileSystem::Access(const char* path, int mode) const {
    return ::faccessat(AT_FDCWD, path, mode, AT_EACCESS);
}

int FileSystem::Fchmod(int fd, mode_t mode) const { return ::fchmod(fd, mode); }
int FileSystem::Fchown(int fd, uid_t owner, gid_t group) const {
    return ::fchown(fd, owner, group);
}
int FileSystem::Flock(int fd, int operation) const { return ::flock(fd, operation); }
ssize_t FileSystem::GetAttribute(int fd, const char* name, void* value, std::size_t size) const {
    return ::fgetxattr(fd, name, value, size);
}
int FileSystem::RemoveAttribute(int fd, const char* name) const { return ::fremovexattr(fd, name); }

// A read lease is granted only while nobody has the file open for writing;
// it is given back at once, so no writer ever waits on it.
int FileSystem::HeldForWriting(int fd) const {
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        return 0;
    }
    return errno == EAGAIN ? 1 : -1;
}
mode_t FileSystem::Umask(mode_t mask) const { return ::umask(mask); }
ssize_t FileSystem::Random(void* data, std::size_t size) const {
    return ::getrandom(data, size, GRND_NONBLOCK);
}

DIR* FileSystem::OpenDir(const char* folder) const { return ::opendir(folder); }
dirent* FileSystem::ReadDir(DIR* dir) const { return ::readdir(dir); }
int FileSystem::CloseDir(DIR* dir) const { return ::closedir(dir); }

int FileSystem::InotifyInit(int flags) const { return ::inotify_init1(flags); }
int FileSystem::InotifyAddWatch(int fd, const char* path, uint32_t mask) const {
    return ::inotify_add_watch(fd, path, mask);
}

// One shared instance; FileSystem has no state.
const FileSystem& SystemFileSystem() {
    static const FileSystem fs;
    return fs;
}

}  // namespace velmora
