#include "io/disk/file_read.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>

#include "io/status.h"

namespace velmora {

namespace {

// Closes the descriptor when the read is over, whichever way it ends.
class FdGuard {
public:
    FdGuard(const FileSystem& fs, int fd) : m_fs(fs), m_fd(fd) {}
    ~FdGuard() { m_fs.Close(m_fd); }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;

private:
    const FileSystem& m_fs;
    int m_fd;
};

// A read that found `kind` and failed with `status`.
ReadOutcome NotRead(ReadStatus kind, Status status) {
    ReadOutcome out;
    static_cast<Status&>(out) = std::move(status);
    out.status = kind;
    return out;
}

}  // namespace

// O_NONBLOCK keeps open() from hanging on a FIFO; it changes nothing for a
// regular file. The size is checked before and while reading, since the file
// may grow under us.
ReadOutcome ReadWholeFile(const std::string& path, const FileSystem& fs) {
    constexpr std::size_t maxBytes = kMaxSplineFileBytes;
    ReadOutcome out;
    const int fd = fs.Open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            out.status = ReadStatus::kMissing;
            return out;
        }
        const int error = errno;
        // A socket cannot be opened at all; it is still no file.
        struct stat info {};
        if (fs.Stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            return NotRead(ReadStatus::kNotAFile,
                           Failed(NotAFileText("\"" + path + "\"", false), error));
        }
        return NotRead(ReadStatus::kFailed, CouldNot("open", path, error));
    }
    FdGuard guard(fs, fd);

    struct stat info {};
    if (fs.Fstat(fd, &info) != 0) {
        return NotRead(ReadStatus::kFailed, CouldNot("inspect", path, errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return NotRead(ReadStatus::kNotAFile,
                       Failed(NotAFileText("\"" + path + "\"", S_ISDIR(info.st_mode))));
    }
    const std::string tooLarge = "\"" + path + "\" is " + LargerThanTheLimit();
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        return NotRead(ReadStatus::kFailed, Failed(tooLarge));
    }

    // Read straight into the result; one byte more than the size we saw
    // tells a file that grew since.
    std::size_t size = 0;
    out.bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    for (;;) {
        if (size == out.bytes.size()) {
            if (size > maxBytes) {
                return NotRead(ReadStatus::kFailed, Failed(tooLarge));
            }
            out.bytes.resize(std::min(size * 2 + 1, maxBytes + 1));
        }
        const ssize_t got = fs.Read(fd, &out.bytes[size], out.bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return NotRead(ReadStatus::kFailed, CouldNot("read", path, errno));
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    if (size > maxBytes) {
        out.bytes.clear();
        return NotRead(ReadStatus::kFailed, Failed(tooLarge));
    }
    out.bytes.resize(size);
    out.status = ReadStatus::kRead;
    return out;
}

}  // namespace velmora
