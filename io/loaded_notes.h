#pragma once

#include <functional>
#include <string>

#include "io/spline_file.h"
#include "io/xml/read_findings.h"
#include "model/geometry.h"
#include "model/note_set.h"

namespace velmora {

struct LoadedNotes {
    LoadOutcome outcome;  // what the load found
    NoteSet notes;        // what the editor holds afterwards
};

// The editor's start-up load, in its order: every note starts with its
// default spline in `client`; `read` replaces the splines of the notes the
// file names (of none when it fails); every note then left without a spline
// (emptied by the file) is given its default again.
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
