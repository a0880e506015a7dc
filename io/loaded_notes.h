#pragma once

#include <functional>
#include <string>

#include "io/disk/file_read.h"
#include "io/spline_file.h"
#include "io/xml/read_findings.h"
#include "model/geometry.h"
#include "model/note_set.h"

namespace velmora {

struct LoadedNotes {
    LoadOutcome outcome;  // what the load found
    NoteSet notes;        // what the editor holds afterwards
};

// What the editor makes of the file it read as `read`: the text is read into
// `notes`; a folder or device gives kNotAFile and a failed read kUnreadable,
// with why; no file gives the empty load (SplineFile then creates one).
// `read` keeps its bytes.
LoadOutcome LoadFromRead(ReadOutcome& read, NoteSet& notes);

// The editor's start-up load: `read` replaces the splines of the notes the
// file names (of none when it fails), then every note left without a spline
// (not named, or emptied by the file) is given its default in `client`.
LoadedNotes LoadLikeEditor(const Rect& client, const std::function<LoadOutcome(NoteSet&)>& read);

// The same load of the text of a spline file; with `findings`, the reader's
// findings as well (see ReadSplineText).
LoadedNotes LoadLikeEditor(const std::string& bytes, const Rect& client,
                           ReadFindings* findings = nullptr);

// The same load of `file`, which creates a missing file (see SplineFile::Load),
// then tells it what the editor holds, for the first save's backup (see
// SplineFile::MatchLoaded).
LoadedNotes LoadLikeEditor(SplineFile& file, const Rect& client);

}  // namespace velmora
