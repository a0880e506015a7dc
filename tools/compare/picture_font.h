#pragma once

#include <memory>
#include <string>

#include "tools/compare/text_painter.h"

namespace velmora::tool {

// The font of the words in the review pictures, DejaVu Sans, `pixels` high:
// the file Debian installs on Linux, the copy built into velmora-tool.exe on
// Windows, so that both draw the same words. Ok() is false when it could not
// be loaded.
std::unique_ptr<TextPainter> OpenPictureFont(int pixels);

// Why OpenPictureFont's font did not load, for a warning.
std::string PictureFontProblem();

}  // namespace velmora::tool
