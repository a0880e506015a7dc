#pragma once

#include <string>

#include "io/file_system.h"
#include "io/outcome.h"

namespace velmora {

// On success `path` is the file written.
struct WriteOutcome : Outcome {
    std::string path;
};

// Whether a save may replace `path`, following symbolic links: yes when
// nothing is there yet, or a regular file that the caller may write and that
// has a write permission bit at all (a file made read-only for everyone is
// kept, whoever saves). Otherwise fails with the reason writing the file in
// place would give, or saying that it is no file.
WriteOutcome CheckReplaceable(const std::string& path, const FileSystem& fs = SystemFileSystem());

// Replaces the file at `path` with `text` so that it is never seen half
// written. A symbolic link is followed and the file it leads to is replaced
// in its own folder; the link stays. The text goes to a temporary file in
// that folder (unnamed while it is written, where the file system allows
// it), which is flushed, closed and renamed over the file; then the folder is
// flushed (best effort). The new file keeps the permission bits of the file
// it replaces, and its owner and group where the system allows it (a new
// file gets 0666 less the umask). Refused as CheckReplaceable says. On
// failure the temporary file is removed and the file is left exactly as it
// was. Temporary files of killed saves, and only those, are removed by the
// next save in that folder.
WriteOutcome ReplaceFile(const std::string& path, const std::string& text,
                         const FileSystem& fs = SystemFileSystem());

// Keeps a copy of the file at `path` beside it, as "<path>.bak", or
// "<path>.bak.1", ".bak.2" and so on: the first name not taken. An existing
// file is never replaced. The copy holds `bytes`, or, when that is null, the
// content of `path` itself, read in chunks (it may be too large to hold). It
// gets the permission bits of `path`. On success `path` of the outcome is
// the copy's name.
WriteOutcome KeepBackup(const std::string& path, const std::string* bytes,
                        const FileSystem& fs = SystemFileSystem());

// Whether `entry` is the name of a temporary file of a save of the file
// `name`: ".<name>.<six letters or digits>.velmora-save". No other name is
// ever removed by a save.
bool IsTemporaryOf(const std::string& entry, const std::string& name);

}  // namespace velmora
