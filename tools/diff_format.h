#pragma once

#include <string>
#include <vector>

#include "model/note_set.h"
#include "tools/note_diff.h"

namespace velmora::tool {

// The changes as text, one line each, numbered as the caption counts (notes
// from 0, splines and points from 1): an added spline by its number in NEW,
// a removed one by its number in OLD, a changed one by its number in NEW
// with the numbers of OLD's points:
//   note 2: spline 4 added (5 points)
//   note 0: spline 1 removed (2 points)
//   note 1 spline 3: point 2 moved from (120,80) to (124,82)
//   note 1 spline 3: 2 points added after point 4      (or "before point 1")
//   note 3 spline 1: points 5-6 removed
//   note 3 spline 1: point 5 replaced by 2 points
std::string FormatDiffText(const std::vector<SplineChange>& changes, const NoteSet& oldNotes,
                           const NoteSet& newNotes);

// The changes as a JSON array, one object per line of the text, one per
// line of output.
std::string FormatDiffJson(const std::vector<SplineChange>& changes, const NoteSet& oldNotes,
                           const NoteSet& newNotes);

}  // namespace velmora::tool
