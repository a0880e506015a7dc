#include "io/disk/file_steps.h"

#include <cerrno>

#include <fcntl.h>

namespace velmora {

namespace {

// Writes all of `data`, resuming after short writes and interruptions; a
// failure names `path`.
Status WriteAll(const FileSystem& fs, int fd, const char* data, std::size_t size,
                const std::string& path) {
    while (size > 0) {
        const ssize_t done = fs.Write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return CouldNot("write", path, errno);
        }
        if (done == 0) {
            return CouldNot("write", path, EIO);  // no progress and no error: give up
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return {};
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
Status TakeLikeness(const FileSystem& fs, int fd, const Likeness& like, const std::string& path) {
    if (fs.Fchown(fd, like.owner, like.group) != 0) {
        fs.Fchown(fd, static_cast<uid_t>(-1), like.group);
    }
    if (fs.Fchmod(fd, like.mode) != 0) {
        return CouldNot("set the permissions of", path, errno);
    }
    return {};
}

Filler TextFiller(const FileSystem& fs, const std::string& text, const std::string& path) {
    return [&fs, &text, path](int fd) { return WriteAll(fs, fd, text.data(), text.size(), path); };
}

Filler StreamFiller(const FileSystem& fs, int in, const std::string& from, const std::string& to) {
    return [&fs, in, from, to](int fd) -> Status {
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
            if (Status written = WriteAll(fs, fd, chunk, static_cast<std::size_t>(got), to);
                !written.ok) {
                return written;
            }
        }
    };
}

Status FillNewFile(const FileSystem& fs, int fd, const Likeness& like, const Filler& fill,
                   const std::string& path) {
    if (Status taken = TakeLikeness(fs, fd, like, path); !taken.ok) {
        return taken;
    }
    if (Status filled = fill(fd); !filled.ok) {
        return filled;
    }
    if (fs.Fsync(fd) != 0) {
        return CouldNot("flush to disk", path, errno);
    }
    return {};
}

Status LinkNew(const FileSystem& fs, const std::string& from, const std::string& to) {
    if (fs.Link(from.c_str(), to.c_str()) == 0) {
        return {};
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) {
        return CouldNot("create", to, errno);
    }
    struct stat info {};
    if (fs.Lstat(to.c_str(), &info) == 0) {
        return CouldNot("create", to, EEXIST);
    }
    if (fs.Rename(from.c_str(), to.c_str()) != 0) {
        return CouldNot("create", to, errno);
    }
    return {};
}

void FlushFolder(const FileSystem& fs, const std::string& folder) {
    const int fd = fs.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fs.Fsync(fd);
        fs.Close(fd);
    }
}

}  // namespace velmora
