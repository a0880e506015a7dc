#pragma once

// The steps the safe save and the backups share: giving a new file its
// permissions and owner, filling it, placing it without replacing anything.
#include <cstdint>
#include <functional>
#include <string>

#include "io/disk/file_info.h"
#include "io/disk/file_system.h"
#include "io/status.h"

namespace velmora {

// How often a step that other programs keep getting in the way of is tried
// before it gives up: a fresh name found taken, a file that keeps changing.
constexpr int kMaxAttempts = 100;

// What a new file takes from the file it stands in for: the permission bits
// (never the set-user-ID, set-group-ID or sticky bit, which could hand
// another user's program the saver's rights) and the owner and group.
struct Likeness {
    unsigned permissions;
    std::uint32_t owner;  // kNoOwner: keep what the file got at creation
    std::uint32_t group;
};

Likeness LikenessOf(const FileInfo& info);

// A file created new: 0666 less the umask, the saver's own.
Likeness NewFileLikeness(const FileSystem& fs);

// Gives the file open on `file` the owner and group of `like` where the system
// allows it (else the group alone, else neither), then its permission bits;
// fails where the permissions cannot be set, naming `path`.
Status TakeLikeness(const FileSystem& fs, const FileHandle& file, const Likeness& like,
                    const std::string& path);

// Writes the content of a new file to `file`.
using Filler = std::function<Status(const FileHandle& file)>;

// A filler that writes `text`, naming `path` on failure.
Filler TextFiller(const FileSystem& fs, const std::string& text, const std::string& path);

// A filler that copies what is left to read on `in` (the file `from`) in
// chunks, naming `to` when a write fails.
Filler StreamFiller(const FileSystem& fs, const FileHandle& in, const std::string& from,
                    const std::string& to);

// Gives the new file open on `file` the likeness `like`, fills it and
// flushes it to disk; a failure names `path`.
Status FillNewFile(const FileSystem& fs, const FileHandle& file, const Likeness& like,
                   const Filler& fill, const std::string& path);

// Links `from` as `to` without replacing anything, on file systems without
// hard links by a check and a rename. Fails with the system's error
// (kExists when `to` is taken).
Status LinkNew(const FileSystem& fs, const std::string& from, const std::string& to);

// Flushes the folder so that a rename in it survives a crash. Best effort:
// some file systems cannot flush a folder, and the file is in place already.
void FlushFolder(const FileSystem& fs, const std::string& folder);

}  // namespace velmora
