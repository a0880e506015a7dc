#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "io/disk/file_handle.h"
#include "io/disk/file_info.h"
#include "io/disk/watch_port.h"
#include "io/status.h"

namespace velmora {

// Whether a step on a name follows a symbolic link found there.
enum class Links { kFollow, kNoFollow };

// A lock many may share, or one only its holder has.
enum class LockKind { kShared, kExclusive };

// Marks that keep everyone, the administrator included, from changing a
// file or folder until they are cleared.
struct FileMarks {
    bool immutable = false;   // nothing may change it
    bool appendOnly = false;  // it may only grow
};

// Every step the file layer takes on files and folders goes through one of
// these, in the layer's own terms. Each returns a Status: the system's error
// is sorted into a StatusCode here, once, and its text is the reason. A step
// a system or file system cannot take fails with kNotSupported, which the
// layer above falls back from (unnamed files, the exchange, hard links,
// locks, folder events). There is one implementation per operating system;
// tests derive from this class to make one step fail, or to act as another
// program between two steps.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens `path` for reading, shared with every other program, never
    // waiting (a FIFO opens at once). With Links::kNoFollow a symbolic link
    // there is not followed and fails to open.
    virtual Status OpenForReading(const std::string& path, Links links, FileHandle* file) const;
    // Opens a folder, to lock it or flush it.
    virtual Status OpenFolder(const std::string& path, FileHandle* folder) const;
    // Creates a file at the free name `path` and opens it for reading and
    // writing, with `permissions` less the user's mask; kExists when taken.
    virtual Status CreateNew(const std::string& path, unsigned permissions, FileHandle* file) const;
    // Creates a file without a name in `folder`, for reading and writing,
    // only its owner's; kNotSupported where the system has no such files.
    virtual Status CreateUnnamed(const std::string& folder, FileHandle* file) const;
    // Opens the file at `path` for appending, creating it where missing,
    // only its owner's and never through a link; `empty` empties it first.
    virtual Status OpenPrivate(const std::string& path, bool empty, FileHandle* file) const;
    // Opens an existing file, pipe or device at `path` for writing, as it is.
    virtual Status OpenForWriting(const std::string& path, FileHandle* file) const;
    // The program's standard input and output, borrowed: never closed.
    virtual FileHandle StandardInput() const;
    virtual FileHandle StandardOutput() const;
    // A second handle on the file open on `file`, for reading only where the
    // system can give one, else one like `file`.
    virtual Status Reopen(const FileHandle& file, FileHandle* again) const;
    // Closes `file`; a failure can mean lost data (on a network file
    // system). `file` is closed either way.
    virtual Status Close(FileHandle& file) const;

    // Reads at most `size` bytes at the current place; `*got` is 0 at the end.
    virtual Status Read(const FileHandle& file, void* data, std::size_t size,
                        std::size_t* got) const;
    // Writes at most `size` bytes; `*done` tells how many were. kInterrupted
    // asks for the write to be tried again.
    virtual Status Write(const FileHandle& file, const void* data, std::size_t size,
                         std::size_t* done) const;
    // Flushes a file to disk, or a folder (so that a rename in it survives
    // a crash; kNotSupported where folders cannot be flushed).
    virtual Status Flush(const FileHandle& file) const;

    // Gives the unnamed file open on `file` the free name `name`.
    virtual Status NameUnnamed(const FileHandle& file, const std::string& name) const;
    // Renames `from` to `to`, replacing whatever has that name at once.
    virtual Status Rename(const std::string& from, const std::string& to) const;
    // Renames `from` to `to` only while `to` is free: kExists when taken,
    // kNotSupported where the file system cannot tell.
    virtual Status RenameNew(const std::string& from, const std::string& to) const;
    // Swaps the two names at once: kNotFound when one is missing,
    // kNotSupported where the system or file system cannot.
    virtual Status Exchange(const std::string& first, const std::string& second) const;
    // Gives the file `from` the free name `to` too: kExists when taken,
    // kNotSupported where the file system has no hard links.
    virtual Status Link(const std::string& from, const std::string& to) const;
    virtual Status Remove(const std::string& path) const;
    // Makes the folder `path` with `permissions` less the user's mask.
    virtual Status MakeFolder(const std::string& path, unsigned permissions) const;
    virtual Status EnterFolder(const std::string& path) const;
    virtual Status CurrentFolder(std::string* folder) const;
    // The names in `folder`, "." and ".." left out, in no particular order.
    virtual Status ListFolder(const std::string& folder, std::vector<std::string>* names) const;
    // What the symbolic link at `path` points at, as written in it.
    virtual Status ReadLink(const std::string& path, std::string* target) const;

    // What the system tells of the file at `path`, or of the link there
    // itself with Links::kNoFollow.
    virtual Status Inspect(const std::string& path, Links links, FileInfo* info) const;
    virtual Status InspectOpen(const FileHandle& file, FileInfo* info) const;
    // Whether this program may write the file at `path`, or create and
    // remove names in the folder at `path`.
    virtual Status MayWrite(const std::string& path) const;
    virtual Status MayWriteIn(const std::string& folder) const;
    // The marks of `path`; kNotSupported where the file system keeps none.
    virtual Status ReadMarks(const std::string& path, FileMarks* marks) const;
    // Whether any program, this one included, has the file open on `file`
    // (open for reading only) open for writing; fails where the system
    // cannot tell (a file system without leases, a file of another owner).
    virtual Status HeldForWriting(const FileHandle& file, bool* held) const;
    // Whether the file carries capabilities, rights its program runs with;
    // fails where that cannot be told.
    virtual Status HasCapabilities(const FileHandle& file, bool* has) const;
    virtual Status DropCapabilities(const FileHandle& file) const;
    // Gives the file open on `file` the permission bits `permissions`.
    virtual Status SetPermissions(const FileHandle& file, unsigned permissions) const;
    // Gives the file an owner and group; kNoOwner keeps either as it is.
    virtual Status SetOwner(const FileHandle& file, std::uint32_t owner, std::uint32_t group) const;
    // The permission bits a file created anew gets: 0666 less the user's mask.
    virtual unsigned NewFilePermissions() const;
    // Locks `file` without waiting: kBusy while another holds it,
    // kNotSupported where the file system has no locks. The lock lasts until
    // `file` and every handle reopened from it are closed, or its program ends.
    virtual Status Lock(const FileHandle& file, LockKind kind) const;

    // Fills `data` from the system's random source, never waiting.
    virtual Status RandomBytes(void* data, std::size_t size) const;

    // Starts a watch: a timer and, with `folderEvents` and where the system
    // gives them, events of folders. kNotSupported for the events alone
    // leaves a port that only ticks.
    virtual Status OpenWatch(bool folderEvents, std::unique_ptr<WatchPort>* port) const;
};

// The running system's file system.
const FileSystem& SystemFileSystem();

}  // namespace velmora
