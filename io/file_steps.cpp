#include "io/file_steps.h"

#include <cerrno>

#include <fcntl.h>

#include "io/outcome.h"

namespace velmora {

namespace {

// Writes all of `data`, resuming after short writes and interruptions.
// Returns 0 or the errno of the failed write.
int WriteAll(const FileSystem& fs, int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = fs.Write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (done == 0) {
            return EIO;  // no progress and no error: give up rather than spin
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return 0;
}

}  // namespace

Likeness LikenessOf(const struct stat& info) {
    return Likeness{static_cast<mode_t>(info.st_mode & 0777), info.st_uid, info.st_gid};
}

Likeness NewFileLikeness(const FileSystem& fs) {
    const mode_t mask = fs.Umask(0);
    fs.Umask(mask);
    return Likeness{static_cast<mode_t>(0666 & ~mask), static_cast<uid_t>(-1),
                    static_cast<gid_t>(-1)};
}

// A saver who may not give the file away may still give it a group of
// their own; failing both, the file stays the saver's.
int TakeLikeness(const FileSystem& fs, int fd, const Likeness& like) {
    if (fs.Fchown(fd, like.owner, like.group) != 0) {
        fs.Fchown(fd, static_cast<uid_t>(-1), like.group);
    }
    return fs.Fchmod(fd, like.mode) == 0 ? 0 : errno;
}

Filler TextFiller(const FileSystem& fs, const std::string& text, const std::string& path) {
    return [&fs, &text, path](int fd) -> std::string {
        if (const int error = WriteAll(fs, fd, text.data(), text.size()); error != 0) {
            return CouldNot("write", path, error);
        }
        return {};
    };
}

Filler StreamFiller(const FileSystem& fs, int in, const std::string& from, const std::string& to) {
    return [&fs, in, from, to](int fd) -> std::string {
        char chunk[64 * 1024];
        for (;;) {
            const ssize_t got = fs.Read(in, chunk, sizeof chunk);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return CouldNot("read", from, errno);
            }
            if (got == 0) {
                return {};
            }
            if (const int error = WriteAll(fs, fd, chunk, static_cast<std::size_t>(got));
                error != 0) {
                return CouldNot("write", to, error);
            }
        }
    };
}

std::string FillNewFile(const FileSystem& fs, int fd, const Likeness& like, const Filler& fill,
                        const std::string& path) {
    if (const int error = TakeLikeness(fs, fd, like); error != 0) {
        return CouldNot("set the permissions of", path, error);
    }
    if (std::string reason = fill(fd); !reason.empty()) {
        return reason;
    }
    return fs.Fsync(fd) == 0 ? std::string() : CouldNot("flush to disk", path, errno);
}

int LinkNew(const FileSystem& fs, const std::string& from, const std::string& to) {
    if (fs.Link(from.c_str(), to.c_str()) == 0) {
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) {
        return errno;
    }
    struct stat info {};
    if (fs.Lstat(to.c_str(), &info) == 0) {
        return EEXIST;
    }
    return fs.Rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void FlushFolder(const FileSystem& fs, const std::string& folder) {
    const int fd = fs.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fs.Fsync(fd);
        fs.Close(fd);
    }
}

}  // namespace velmora
