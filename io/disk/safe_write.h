#pragma once

#include <functional>
#include <string>

#include "io/disk/file_info.h"
#include "io/disk/file_read.h"
#include "io/disk/file_steps.h"
#include "io/disk/file_system.h"
#include "io/disk/temp_file.h"
#include "io/status.h"

namespace velmora {

// Whether a save may replace `path`, following symbolic links as the system
// does (40 at most): yes when nothing is there yet, or a regular file that
// the caller may write and that has a write permission bit at all (a file
// made read-only for everyone is kept, whoever saves). Otherwise fails with
// the reason writing the file in place would give, or saying that it is no
// file. `path` of the outcome is the file the links lead to, "" when they
// cannot be followed.
WriteOutcome CheckReplaceable(const std::string& path, const FileSystem& fs = SystemFileSystem());

// Replaces the file at `path` with `text` so that it is never seen half
// written. A symbolic link is followed and the file it leads to is replaced
// in its own folder; the link stays. The text goes to a temporary file in
// that folder (unnamed while it is written, where the file system allows
// it), which is flushed, closed and put in the file's place; then the folder
// is flushed (best effort). The new file keeps the permission bits of the
// file it replaces, never a set-user-ID, set-group-ID or sticky bit, and its
// owner and group where the system allows it (a new file gets 0666 less the
// umask). Refused as CheckReplaceable says. On failure the temporary file
// is removed and the file is left exactly as it was. Temporary files of
// killed saves, and only those, are removed by the next save in that folder.
WriteOutcome ReplaceFile(const std::string& path, const std::string& text,
                         const FileSystem& fs = SystemFileSystem());

// Replaces `path` exactly as ReplaceFile does, with the bytes `write` puts in
// the temporary file, so that content of any size is never held whole. A
// failure of `write` fails the replacement and leaves `path` as it was. No
// backup is kept.
WriteOutcome ReplaceFileWith(const std::string& path, const Filler& write,
                             const FileSystem& fs = SystemFileSystem());

// Whether a version of the file that a save replaces must be kept: `version`
// is its content as read, `info` what the system tells of it, and `heldForWriting` says that
// another program still has it open for writing (so its content may not be
// final yet).
using KeepTest =
    std::function<bool(const ReadOutcome& version, const FileInfo& info, bool heldForWriting)>;

// Replaces `file`, which CheckReplaceable accepted (its links followed), as
// ReplaceFile does, and keeps every version it replaces that `keep` asks
// for as the next backup of `backupBase`; `backup` of the outcome names the
// last one kept.
//
// Where the file system can exchange two names, the new file and the
// version in place swap in one step, and the version swapped out is the one
// looked at: whatever another program writes at any moment is either looked
// at or is itself the last version. A version kept from there is linked as
// the backup, not copied, so late writes to it land in the backup; one that
// is not kept is removed, which is safe only because `keep` is asked first
// whether anybody still holds it for writing. Elsewhere the version is
// looked at and kept first (linked too while another program holds it for
// writing), and looked at again right before the rename; one that changed
// meanwhile is looked at anew. On failure the file is left as it was
// (backups kept before stay).
WriteOutcome ReplaceKeeping(const std::string& file, const std::string& text,
                            const std::string& backupBase, const KeepTest& keep,
                            const FileSystem& fs = SystemFileSystem());

}  // namespace velmora
