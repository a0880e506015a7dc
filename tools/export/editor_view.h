#pragma once

#include "model/note_set.h"
#include "platform/canvas.h"

namespace velmora::tool {

// The editor's canvas right after it showed spline `spline` (0-based) of
// note `note` on a fresh start: the same scene drawing on a canvas of the
// editor's client size. A spline of fewer than two points has no curve.
Canvas DrawEditorView(const NoteSet& notes, int note, int spline);

}  // namespace velmora::tool
