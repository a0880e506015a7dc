#pragma once

#include <string>

#include "platform/canvas.h"

namespace velmora::tool {

// The canvas's pixels as the bytes of a PNG file.
std::string EncodePng(const Canvas& canvas);

}  // namespace velmora::tool
