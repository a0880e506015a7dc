#pragma once

#include <sys/stat.h>

namespace velmora {

// One version of a file on disk as its status tells it apart: the same
// inode, unchanged since. An atomic replacement gives a new inode; a write
// in place changes the modification time. The status change time is left
// out: a rename or a new link changes it, and neither changes the content.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified {};
};

inline FileIdentity IdentityOf(const struct stat& info) {
    return FileIdentity{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

// Whether two statuses are of the same file (the same inode of the same
// file system), whatever became of its content.
inline bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

inline bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
}

inline bool operator!=(const FileIdentity& a, const FileIdentity& b) { return !(a == b); }

}  // namespace velmora
