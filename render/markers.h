#pragma once

#include <cstdint>

#include "platform/canvas.h"

namespace velmora {

// Draws a plus-shaped cross centred on the client point (x, y): a horizontal
// stroke from x - size to x + size, then a vertical one from y - size to
// y + size, each leaving out its end pixel. Uses its own pen of `colour` and
// leaves the canvas's pen as it found it. Any int32_t values are accepted;
// the parts beyond the int32_t range are off any canvas and dropped.
void DrawCross(int32_t x, int32_t y, Colour colour, int32_t size, Canvas& dc);

// Draws an eight-armed star centred on the client point (x, y): arms of
// `size` across and down, then two diagonals of (3 * size) >> 2, first
// top-left to bottom-right, then top-right to bottom-left. Uses its own pen
// and leaves the canvas's pen as it found it.
void DrawStar(int32_t x, int32_t y, Colour colour, int32_t size, Canvas& dc);

}  // namespace velmora
