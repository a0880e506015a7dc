#pragma once

#include <QtCore/QPointF>
#include <QtGui/QImage>

#include "model/geometry.h"
#include "platform/canvas.h"

namespace velmora {

// How the canvas appears in a window whose device pixels are `ratio` times
// finer than its logical pixels, and which canvas pixel a pointer names.
// Both follow one rule, so a click always lands on the pixel under it: device
// pixel d shows canvas pixel floor(d / ratio), drawn one to one from the
// window's top-left corner.

// Fills `picture` with the canvas at `ratio`: ceil(width * ratio) by
// ceil(height * ratio) device pixels, tagged with `ratio` so that a painter
// on such a window draws it one to one. Reuses the picture's memory when the
// size is unchanged.
void DrawCanvasPicture(const Canvas& canvas, qreal ratio, QImage& picture);

// The canvas pixel shown under a pointer at the logical position `logical`:
// the device pixel that holds the pointer, then the canvas pixel shown
// there. Positions off the canvas give pixels off it, kept in int32_t range.
Point CanvasPixelAt(QPointF logical, qreal ratio);

}  // namespace velmora
