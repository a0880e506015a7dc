#pragma once

#include <cstddef>
#include <string>

#include <sys/types.h>

namespace velmora {

// The system calls a safe write goes through. The defaults call the system;
// tests override one to make that step fail (a full disk, a failing flush).
class FileOps {
public:
    virtual ~FileOps() = default;
    // As write(2).
    virtual ssize_t Write(int fd, const void* data, std::size_t size) const;
    // As fsync(2).
    virtual int Fsync(int fd) const;
    // As close(2).
    virtual int Close(int fd) const;
    // As rename(2).
    virtual int Rename(const char* from, const char* to) const;
};

// The operations of the running system.
const FileOps& SystemFileOps();

struct WriteOutcome {
    bool ok = true;
    std::string reason;  // for a failure: which step and the system's reason
};

// Replaces the file at `path` with `text` so that it is never seen half
// written: the text goes to a temporary file in the same folder, which is
// flushed, closed and renamed over `path`; then the folder is flushed (best
// effort). The new file keeps the permission bits of the file it replaces
// (0644 less the umask for a new file). On failure (ok = false) the temporary
// file is removed and `path` is left exactly as it was. A temporary file left
// by a save that was killed half-way is removed by the next save.
WriteOutcome ReplaceFile(const std::string& path, const std::string& text,
                         const FileOps& ops = SystemFileOps());

// Copies the regular file at `from` to `to` the same safe way, replacing any
// file at `to`. Succeeds without doing anything when `from` does not exist.
WriteOutcome CopyFileSafely(const std::string& from, const std::string& to,
                            const FileOps& ops = SystemFileOps());

}  // namespace velmora
