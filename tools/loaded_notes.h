#pragma once

#include <string>

#include "io/read_findings.h"
#include "io/spline_file.h"
#include "model/geometry.h"
#include "model/note_set.h"

namespace velmora::tool {

// The editor's client area; its file's points are in these pixels.
constexpr Rect kEditorClient{0, 0, 480, 360};

struct LoadedNotes {
    LoadOutcome outcome;  // as the editor's reader reports it
    NoteSet notes;        // what the editor holds afterwards
};

// Loads the bytes of a spline file as the editor does at start-up: every
// note the file names gets the file's splines, and every note left without
// a spline (not named, emptied, or the file unreadable) its default spline.
// With `findings`, the reader's findings as well (see ReadSplineText).
LoadedNotes LoadLikeEditor(const std::string& bytes, ReadFindings* findings = nullptr);

}  // namespace velmora::tool
