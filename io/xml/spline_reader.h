#pragma once

#include <string>
#include <string_view>

#include "io/xml/load_outcome.h"
#include "io/xml/read_findings.h"
#include "model/note_set.h"

namespace velmora {

// Reads the bytes of a spline file into `notes`: the list of every note the
// file names is replaced, the other notes keep what they hold. A NUL byte
// ends the text, as when the parser loads a file itself. Returns kLoaded
// (saying whether and where reading stopped before the end, with more than
// white space or NUL bytes left: a note without Index, text between
// elements, a comment or CDATA section never closed, a NUL byte, a line of
// conflict markers (whose top-level node is not read at all); whether no
// note was read; and whether the file a save writes for `notes` afterwards
// would be too large to read back), kEmpty (nothing but white space and NUL
// bytes; nothing touched) or kUnreadable (with the reason and, where known,
// the line and column; nothing touched). Line ends may be LF, CR LF or a
// lone CR. With `findings`, what the walk passed over, read by position or
// read other than written is listed there too (see WalkNotes).
LoadOutcome ReadSplineText(const std::string& bytes, NoteSet& notes,
                           ReadFindings* findings = nullptr);

// True when `bytes` hold nothing but white space and NUL bytes.
bool IsBlankText(std::string_view bytes);

}  // namespace velmora
