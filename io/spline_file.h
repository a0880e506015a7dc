#pragma once

#include <string>

#include "model/note_set.h"
#include "platform/geometry.h"

namespace velmora {

// What a load found.
enum class LoadStatus {
    kLoaded,      // parsed; the notes the file names were replaced
    kCreated,     // there was no file; an empty one (zero bytes) was created
    kEmpty,       // a zero-byte or blank file, or none and none could be created
    kUnreadable,  // the file exists but cannot be read, is too large or too deeply
                  // nested, or is not a document we can read
};

struct LoadOutcome {
    LoadStatus status = LoadStatus::kEmpty;
    // For kUnreadable: what was wrong and where (1-based; 0 when unknown).
    std::string reason;
    int line = 0;
    int column = 0;
};

struct SaveOutcome {
    bool ok = true;
    std::string reason;  // why it failed, for the user
};

// The spline file in one folder. It remembers whether the file it read was
// unreadable, so that the first save keeps that file as "<path>.bak" before
// replacing it.
class SplineFile {
public:
    explicit SplineFile(std::string path);

    const std::string& Path() const { return m_path; }

    // Reads the file into `notes`, replacing the list of every note that it
    // names; notes it does not name keep what they hold. On any failure no
    // note is touched. A missing file is created empty; an existing file is
    // never changed by a load.
    LoadOutcome Load(NoteSet& notes);

    // Writes every note, and the client size, to the file. The previous file
    // is replaced only once the new one is complete on disk; on failure it is
    // left as it was.
    SaveOutcome Save(const NoteSet& notes, const Rect& clientRect);

private:
    std::string m_path;
    bool m_backupPending = false;
};

// The text of the file for these notes and this client size.
std::string PrintSplines(const NoteSet& notes, const Rect& clientRect);

}  // namespace velmora
