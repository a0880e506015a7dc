#pragma once

#include <tinyxml.h>

#include "io/xml/read_findings.h"
#include "model/note_set.h"

namespace velmora {

// How far the walk over the top level got.
struct NoteWalk {
    int notesRead = 0;
    const TiXmlElement* stoppedAt = nullptr;  // the note without Index that ended it
};

// Walks a parsed spline file the way the editor reads it: the first node
// named NewNoteSpline, then every element after it whatever its name, each
// taken for a note; inside, the first NewSpline and every element after it,
// and in each the first ControlPoint and every element after it. A missing
// Index ends the walk; an Index that is no note number skips that element;
// a point without a usable PosX or PosY ends its spline. Later notes with
// the same Index replace earlier ones. `notes` is updated at the end, for
// exactly the notes the file names. With `findings`, every node the walk
// passes over, reads by position or reads other than written is reported
// there as well; without, nothing is collected.
NoteWalk WalkNotes(const TiXmlDocument& doc, NoteSet& notes, ReadFindings* findings = nullptr);

}  // namespace velmora
