#pragma once

#include <string>

#include "io/disk/file_info.h"
#include "io/disk/file_system.h"
#include "io/status.h"

namespace velmora {

// The name of backup number `n` of `base`: `base` itself for 0, else
// "<base>.<n>".
std::string BackupName(const std::string& base, long n);

// The number after the highest backup of `base` in its folder, 0 when there
// is none: the newest backup always has the highest number, and a gap left
// by a removed one is never filled.
long NextBackupNumber(const FileSystem& fs, const std::string& base);

// Keeps a copy of the file at `path` as the next backup of `base`, never
// replacing an existing file (a name taken meanwhile makes it try the next
// number). The copy holds `bytes`, or, when that is null, the content of
// `path` itself, read in chunks (it may be too large to hold). It gets the
// permission bits, owner and group of `path` as a replaced file does. On
// success `path` of the outcome is the copy's name.
WriteOutcome KeepBackup(const std::string& path, const std::string& base, const std::string* bytes,
                        const FileSystem& fs = SystemFileSystem());

// Keeps the file named `aside`, open on `file` with information `info`, as the next
// backup of `base` by giving it that name too, so that whatever is still
// written to it lands in the backup. Its set-id bits and file capabilities
// are dropped first. It is copied from `fd` instead (without them) where
// that cannot be: another file system, no hard links, an empty `aside` (the
// name cannot be trusted), or set-id bits or capabilities that cannot be
// dropped, or not without touching other names of the file.
WriteOutcome KeepAside(const FileSystem& fs, const FileHandle& file, const std::string& aside,
                       const FileInfo& info, const std::string& base);

// Whether the file open on `file` carries file capabilities, which make a
// program run with rights of its own; where that cannot be told, it does.
bool CarriesCapabilities(const FileSystem& fs, const FileHandle& file);

}  // namespace velmora
