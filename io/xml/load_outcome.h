#pragma once

#include <cstddef>

#include "io/disk/save_check.h"
#include "io/status.h"

namespace velmora {

// What a load found.
enum class LoadStatus {
    kLoaded,      // parsed; the notes the file names were replaced
    kCreated,     // there was no file; an empty one (zero bytes) was created
    kEmpty,       // a zero-byte or blank file (white space, NUL bytes), or none and
                  // none could be created
    kUnreadable,  // the file exists but cannot be read, is too large or too deeply
                  // nested, or is not a document we can read
    kNotAFile,    // a folder, FIFO or device has the file's name: nothing can be
                  // read from it or saved there until it is moved
};

// `status` is not ok for kUnreadable and kNotAFile, saying what is wrong and
// where, nor for kEmpty when no file could be created, saying why. A file
// read only in part is kLoaded with an ok status, and a `stop` that says why
// reading stopped and where.
struct LoadOutcome {
    Status status;
    LoadStatus found = LoadStatus::kEmpty;
    // kLoaded: not ok when reading stopped before the end of the file (at
    // its line and column); what follows was not read.
    Status stop;
    bool StoppedEarly() const { return !stop.ok(); }
    // What went wrong: the failure, else where and why reading stopped.
    const Status& Problem() const { return status.ok() ? stop : status; }
    // kLoaded: reading stopped at a line of conflict markers, left by a
    // text merge that was never finished.
    bool conflicted = false;
    // kLoaded: the file holds more than blank text but not one note was read.
    bool noNote = false;
    // kLoaded: the file a save writes for what was read would be refused by
    // the next load (it would hold `savedNodes` nodes); saving is refused
    // until points or splines are deleted.
    bool tooLargeToSave = false;
    std::size_t savedNodes = 0;
    // Not ok when a save could not replace the file found, saying why and
    // what to do (SplineFile::Load looks; other readers leave it ok).
    SaveCheck saving;
};

// A load that read no note: what it found and, for a failure, why.
LoadOutcome NothingLoaded(LoadStatus status, Status why = {});

}  // namespace velmora
