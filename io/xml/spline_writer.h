#pragma once

#include <cstdint>
#include <string>

#include "model/note_set.h"

class TiXmlDocument;

namespace velmora {

// Fills the empty document `doc` with the spline file's content: the
// declaration, RectSize with the client `width` and `height`, then one
// NewNoteSpline per note (Index 0..3) holding a NewSpline per spline and a
// ControlPoint (PosX, PosY) per point.
void BuildSplineDocument(TiXmlDocument& doc, const NoteSet& notes, int32_t width, int32_t height);

// The text of the file for these notes and this client size.
std::string PrintSplines(const NoteSet& notes, int32_t width, int32_t height);

}  // namespace velmora
