#include "io/file_read.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

#include "io/outcome.h"

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
            out.status = ReadStatus::kNotAFile;
            out.reason = "\"" + path + "\" is not a regular file";
            return out;
        }
        out.reason = CouldNot("open", path, error);
        return out;
    }
    FdGuard guard(fs, fd);

    struct stat info {};
    if (fs.Fstat(fd, &info) != 0) {
        out.reason = CouldNot("inspect", path, errno);
        return out;
    }
    if (!S_ISREG(info.st_mode)) {
        out.status = ReadStatus::kNotAFile;
        out.reason =
            "\"" + path + "\" is " + (S_ISDIR(info.st_mode) ? "a folder" : "not a regular file");
        return out;
    }
    const std::string tooLarge =
        "\"" + path + "\" is larger than " + std::to_string(maxBytes / (1024 * 1024)) + " MiB";
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        out.reason = tooLarge;
        return out;
    }

    // Read straight into the result; one byte more than the size we saw
    // tells a file that grew since.
    std::size_t size = 0;
    out.bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    for (;;) {
        if (size == out.bytes.size()) {
            if (size > maxBytes) {
                out.bytes.clear();
                out.reason = tooLarge;
                return out;
            }
            out.bytes.resize(std::min(size * 2 + 1, maxBytes + 1));
        }
        const ssize_t got = fs.Read(fd, &out.bytes[size], out.bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            out.bytes.clear();
            out.reason = CouldNot("read", path, errno);
            return out;
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    if (size > maxBytes) {
        out.bytes.clear();
        out.reason = tooLarge;
        return out;
    }
    out.bytes.resize(size);
    out.status = ReadStatus::kRead;
    return out;
}

}  // namespace velmora
