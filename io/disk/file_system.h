#pragma once

#include <cstddef>
#include <cstdint>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace velmora {

// Every operating-system call the file layer makes on files and folders
// goes through one of these (the folder of the file, the random source and
// the umask included). The watch's own event plumbing (its epoll, timer and
// inotify descriptors, their reads and the removal of a watch) and the
// current folder it resolves a relative path against call the system
// directly: no test needs those to fail. The defaults call the system; tests override one to make
// that step fail (a full disk, a failing flush, a file system without unnamed files or without
// exchange) or to act as another program between two steps. Each returns
// what the system call returns and leaves errno as it does.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // As open(2).
    virtual int Open(const char* path, int flags, mode_t mode = 0) const;
    // As open(2) of `folder` with O_TMPFILE: a new file without a name.
    virtual int OpenUnnamed(const char* folder, mode_t mode) const;
    // As linkat(2) through /proc: gives the unnamed file open on `fd` the
    // name `name`, which must be free.
    virtual int LinkUnnamed(int fd, const char* name) const;
    // As read(2), write(2), fsync(2), close(2), dup(2).
    virtual ssize_t Read(int fd, void* data, std::size_t size) const;
    virtual ssize_t Write(int fd, const void* data, std::size_t size) const;
    virtual int Fsync(int fd) const;
    virtual int Close(int fd) const;
    virtual int Dup(int fd) const;
    // As rename(2), link(2), unlink(2).
    virtual int Rename(const char* from, const char* to) const;
    // As renameat2(2) with RENAME_EXCHANGE: swaps the two names at once.
    // Fails with EINVAL, ENOSYS or EOPNOTSUPP where the file system cannot.
    virtual int Exchange(const char* first, const char* second) const;
    // As renameat2(2) with RENAME_NOREPLACE: fails with EEXIST when `to` is
    // taken, and with EINVAL where the file system cannot tell.
    virtual int RenameNew(const char* from, const char* to) const;
    virtual int Link(const char* from, const char* to) const;
    virtual int Unlink(const char* path) const;
    // As mkdir(2) and chdir(2).
    virtual int MakeFolder(const char* path, mode_t mode) const;
    virtual int EnterFolder(const char* path) const;
    // As stat(2), lstat(2), fstat(2), readlink(2).
    virtual int Stat(const char* path, struct stat* info) const;
    virtual int Lstat(const char* path, struct stat* info) const;
    virtual int Fstat(int fd, struct stat* info) const;
    virtual ssize_t ReadLink(const char* path, char* buffer, std::size_t size) const;
    // As faccessat(2) with AT_EACCESS: checked with the effective ids.
    virtual int Access(const char* path, int mode) const;
    // The inode flags of `path` (FS_IOC_GETFLAGS: immutable, append-only,
    // ...), read through a descriptor opened for reading; fails with ENOTTY
    // or EOPNOTSUPP where the file system keeps none.
    virtual int InodeFlags(const char* path, unsigned* flags) const;
    // As fchmod(2), fchown(2), flock(2).
    virtual int Fchmod(int fd, mode_t mode) const;
    virtual int Fchown(int fd, uid_t owner, gid_t group) const;
    virtual int Flock(int fd, int operation) const;
    // As fgetxattr(2) and fremovexattr(2): an extended attribute of the file.
    virtual ssize_t GetAttribute(int fd, const char* name, void* value, std::size_t size) const;
    virtual int RemoveAttribute(int fd, const char* name) const;
    // Whether any process, this one included, has the file open on `fd` (which
    // must be open read-only) open for writing: 1 yes, 0 no, -1 with errno
    // where the system cannot tell (no leases on that file system, a file of
    // another owner).
    virtual int HeldForWriting(int fd) const;
    // As umask(2): sets the mask and returns the previous one.
    virtual mode_t Umask(mode_t mask) const;
    // As getrandom(2) with GRND_NONBLOCK.
    virtual ssize_t Random(void* data, std::size_t size) const;
    // As opendir(3), readdir(3), closedir(3).
    virtual DIR* OpenDir(const char* folder) const;
    virtual dirent* ReadDir(DIR* dir) const;
    virtual int CloseDir(DIR* dir) const;
    // As inotify_init1(2) and inotify_add_watch(2).
    virtual int InotifyInit(int flags) const;
    virtual int InotifyAddWatch(int fd, const char* path, uint32_t mask) const;
};

// The running system's calls.
const FileSystem& SystemFileSystem();

}  // namespace velmora
