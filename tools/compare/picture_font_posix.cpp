#include "tools/compare/picture_font.h"

namespace velmora::tool {

namespace {

#ifdef VELMORA_PICTURE_FONT
const char* const kFontFile = VELMORA_PICTURE_FONT;
#else
const char* const kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
#endif

}  // namespace

TextPainter OpenPictureFont(int pixels) { return TextPainter(kFontFile, pixels); }

std::string PictureFontWarning() {
    return std::string("warning: the pictures carry no words: the font \"") + kFontFile +
           "\" cannot be read (it comes with fonts-dejavu-core)";
}

}  // namespace velmora::tool
