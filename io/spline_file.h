#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "io/disk/file_identity.h"
#include "io/disk/file_read.h"
#include "io/disk/file_system.h"
#include "io/first_backup.h"
#include "io/known_version.h"
#include "io/status.h"
#include "io/xml/load_outcome.h"
#include "model/note_set.h"

namespace velmora {

struct SaveOutcome {
    Status status;
    bool hadFile = false;  // a file was there before; after a failure it is unchanged
    // The backup this save kept of the file it was about to replace, or "".
    std::string backup;
    // That file was not the one last read or written here: another program
    // changed it. Its version is in `backup`.
    bool changedElsewhere = false;
    // After a failure: what the user can do about it (see SaveCheck).
    std::string remedy;
};

// The spline file in one folder. It remembers the bytes it last read or
// wrote, so that a save keeps what it would otherwise destroy as a backup
// ("<path>.bak", or the number after the highest one there): the file read
// at start-up unless it is exactly what the editor writes for what it read,
// and a file that another program changed since.
class SplineFile {
public:
    explicit SplineFile(std::string path, const FileSystem& fs = SystemFileSystem());

    const std::string& Path() const { return m_path; }
    // The name under which a save would keep a backup now, if one is due.
    std::string NextBackup() const;

    // Reads the file into `notes`, replacing the list of every note that it
    // names; notes it does not name keep what they hold. On any failure no
    // note is touched. A missing file (or the missing target of a symbolic
    // link) is created empty; an existing file is never changed by a load.
    // What it found is remembered, whatever it was: a file that a later save
    // finds and that is not the one read (or none was) is another program's.
    LoadOutcome Load(NoteSet& notes);

    // To be called after Load with the notes as they will be edited (a note
    // left empty given its default spline): the first save keeps the file
    // read as a backup unless its bytes are exactly the text Save writes for
    // `notes` and the client `width` and `height`. The comparison itself is
    // left to that first save, so that start-up does not pay for it.
    void MatchLoaded(const NoteSet& notes, int32_t width, int32_t height);

    // Writes every note, and the client size, to the file, keeping a backup
    // of the version it replaces where one is due (see ReplaceKeeping). The
    // previous file is replaced only once the new one is complete on disk; on
    // failure it is left as it was.
    SaveOutcome Save(const NoteSet& notes, int32_t width, int32_t height);

    // The bytes last read or written, when they are known.
    const std::optional<std::string>& KnownBytes() const { return m_known.KnownBytes(); }
    // Forgets the version last read or written, for notes that were not
    // edited from it (unsaved edits of an earlier session, made on another
    // version): the next save keeps whatever file it finds as a backup and
    // tells that another program changed it.
    void DisownKnown();

private:
    // Settles the comparison MatchLoaded left; `text` is what Save is about
    // to write for `notes` and the client `width` and `height`.
    void SettleMatch(const NoteSet& notes, int32_t width, int32_t height, const std::string& text);

    std::string m_path;
    const FileSystem* m_fs;
    // The version last read or written ("" also for no file).
    KnownVersion m_known;
    FirstBackup m_first;
};

}  // namespace velmora
