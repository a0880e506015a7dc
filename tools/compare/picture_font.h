#pragma once

#include <string>

#include "tools/compare/text_painter.h"

namespace velmora::tool {

// The font of the words in the review pictures, DejaVu Sans, `pixels` high:
// the file Debian installs on Linux, the copy built into velmora-tool.exe on
// Windows, so that both draw the same words. Ok() is false when it could not
// be loaded.
TextPainter OpenPictureFont(int pixels);

// The warning when OpenPictureFont's font did not load, and why.
std::string PictureFontWarning();

}  // namespace velmora::tool
