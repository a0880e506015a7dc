#include "io/safe_write.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

// The system calls themselves; tests override them one at a time.
ssize_t FileOps::Write(int fd, const void* data, std::size_t size) const {
    return ::write(fd, data, size);
}
int FileOps::Fsync(int fd) const { return ::fsync(fd); }
int FileOps::Close(int fd) const { return ::close(fd); }
int FileOps::Rename(const char* from, const char* to) const { return ::rename(from, to); }

// One shared instance; FileOps has no state.
const FileOps& SystemFileOps() {
    static const FileOps ops;
    return ops;
}

namespace {

// Writes the new file's content to `fd`; returns "" or why it failed.
using Filler = std::function<std::string(int fd)>;

// "could not <step> <path>: <system reason>" as a failed outcome.
WriteOutcome Failed(const std::string& step, const std::string& path, int error) {
    return WriteOutcome{false, "could not " + step + " \"" + path + "\": " + std::strerror(error)};
}

// The folder that holds `path`, for the temporary file and the folder flush.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The permission bits for the file that replaces `path`.
mode_t ModeFor(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        return info.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0644 & ~mask;
}

// Writes all of `data`, resuming after short writes and interruptions.
// Returns 0 or the errno of the failed write.
int WriteAll(const FileOps& ops, int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = ops.Write(fd, data, size);
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

// Flushes the folder so the rename itself survives a crash. This is best
// effort: the new file is already in place, and some file systems cannot
// flush a folder at all, so a failure here is not a failed save.
void FlushFolder(const FileOps& ops, const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ops.Fsync(fd);
        ::close(fd);
    }
}

// The file name part of `path`.
std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether `entry` is a temporary file of `name`: the name, a dot and the six
// letters or digits mkstemp puts there.
bool IsTemporaryOf(const std::string& entry, const std::string& name) {
    if (entry.size() != name.size() + 7 || entry.compare(0, name.size(), name) != 0 ||
        entry[name.size()] != '.') {
        return false;
    }
    for (std::size_t i = name.size() + 1; i < entry.size(); ++i) {
        const char c = entry[i];
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum) {
            return false;
        }
    }
    return true;
}

// Removes the temporary files of `path` whose writer has gone. A writer holds
// an exclusive lock on its temporary file for as long as it lives, and the
// system drops the lock when the process ends however it ends, so a file
// that can be locked at once belongs to a save that was killed half-way.
void RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string name = NameOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryOf(entry->d_name, name)) {
            continue;
        }
        const std::string temp = folder + "/" + entry->d_name;
        const int fd = ::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(temp.c_str());
        }
        ::close(fd);
    }
    ::closedir(dir);
}

// The write-flush-close-rename sequence shared by both public functions.
WriteOutcome AtomicReplace(const std::string& path, mode_t mode, const Filler& fill,
                           const FileOps& ops) {
    RemoveStaleTemporaries(path);
    std::vector<char> name(path.begin(), path.end());
    const char suffix[] = ".XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);  // with the NUL
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return Failed("create a temporary file next to", path, errno);
    }
    const std::string temp(name.data());
    // The lock marks the file as in use until the save is over. It lives on
    // a second descriptor, so it outlasts the close before the rename.
    ::flock(fd, LOCK_EX);
    const int lock = ::dup(fd);

    bool open = true;
    WriteOutcome out;
    if (::fchmod(fd, mode) != 0) {
        out = Failed("set the permissions of", temp, errno);
    } else if (std::string reason = fill(fd); !reason.empty()) {
        out = WriteOutcome{false, reason};
    } else if (ops.Fsync(fd) != 0) {
        out = Failed("flush to disk", temp, errno);
    } else {
        open = false;  // close() releases the descriptor even when it fails
        if (ops.Close(fd) != 0) {
            out = Failed("finish writing", temp, errno);
        } else if (ops.Rename(temp.c_str(), path.c_str()) != 0) {
            out = Failed("replace", path, errno);
        } else {
            FlushFolder(ops, FolderOf(path));
            if (lock >= 0) {
                ::close(lock);
            }
            return WriteOutcome{};
        }
    }
    if (open) {
        ::close(fd);
    }
    ::unlink(temp.c_str());
    if (lock >= 0) {
        ::close(lock);
    }
    return out;
}

}  // namespace

// Writes `text` through the shared sequence, keeping the old permissions.
WriteOutcome ReplaceFile(const std::string& path, const std::string& text, const FileOps& ops) {
    const Filler fill = [&](int fd) -> std::string {
        if (const int error = WriteAll(ops, fd, text.data(), text.size()); error != 0) {
            return "could not write \"" + path + "\": " + std::strerror(error);
        }
        return {};
    };
    return AtomicReplace(path, ModeFor(path), fill, ops);
}

// Streams the copy in chunks: the file kept may be one refused for its size.
WriteOutcome CopyFileSafely(const std::string& from, const std::string& to, const FileOps& ops) {
    const int in = ::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) {
        if (errno == ENOENT) {
            return WriteOutcome{};
        }
        return Failed("open", from, errno);
    }
    struct stat info {};
    if (::fstat(in, &info) != 0) {
        const int error = errno;
        ::close(in);
        return Failed("inspect", from, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(in);
        return WriteOutcome{false,
                            "could not keep a copy of \"" + from + "\": it is not a regular file"};
    }
    const Filler fill = [&](int fd) -> std::string {
        char chunk[64 * 1024];
        for (;;) {
            const ssize_t got = ::read(in, chunk, sizeof chunk);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return "could not read \"" + from + "\": " + std::strerror(errno);
            }
            if (got == 0) {
                return {};
            }
            if (const int error = WriteAll(ops, fd, chunk, static_cast<std::size_t>(got));
                error != 0) {
                return "could not write \"" + to + "\": " + std::strerror(error);
            }
        }
    };
    WriteOutcome out = AtomicReplace(to, info.st_mode & 07777, fill, ops);
    ::close(in);
    return out;
}

}  // namespace velmora
