#pragma once

#include <string>

#include "io/spline_file.h"
#include "model/note_set.h"

namespace velmora {

// Reads the bytes of a spline file into `notes`: the list of every note the
// file names is replaced, the other notes keep what they hold. Returns
// kLoaded, kEmpty (no bytes, or only white space; nothing touched) or
// kUnreadable (with the reason and, where known, the line and column;
// nothing touched). Line ends may be LF, CR LF or a lone CR.
LoadOutcome ReadSplineText(const std::string& bytes, NoteSet& notes);

}  // namespace velmora
