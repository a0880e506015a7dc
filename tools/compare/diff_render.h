#pragma once

#include <string>
#include <vector>

#include "model/note_set.h"
#include "tools/compare/note_diff.h"

namespace velmora::tool {

// Writes one PNG into `dir` (created if missing) per changed or added
// spline, "note<N>-spline<S>.png" with NEW's number: the editor's canvas
// for the new spline with the old curve beneath it in magenta; and per
// removed spline "note<N>-spline<S>-removed.png" with OLD's number: the
// canvas without control points and with the old curve alone. Returns ""
// or why a picture could not be written.
std::string WriteDiffPictures(const std::vector<SplineChange>& changes, const NoteSet& oldNotes,
                              const NoteSet& newNotes, const std::string& dir);

}  // namespace velmora::tool
