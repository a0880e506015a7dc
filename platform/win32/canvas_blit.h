#pragma once

#include <cstdint>
#include <vector>

#include "platform/canvas.h"

#include "platform/win32/win32_api.h"

namespace velmora {

// Copies the canvas one to one onto `dc` at (0, 0) as a 32-bit device-
// independent bitmap, so the window shows exactly the canvas's pixels.
// `scratch` holds the bitmap's pixels between calls, so that repeated blits
// of one size allocate nothing.
void BlitCanvas(HDC dc, const Canvas& canvas, std::vector<uint32_t>& scratch);

}  // namespace velmora
