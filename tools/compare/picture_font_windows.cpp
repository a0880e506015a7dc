#include <cstddef>

#include "tools/compare/picture_font.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace velmora::tool {

// The font is the program's resource PICTURE_FONT (tools/picture_font.rc.in):
// a resource stays mapped as long as the program runs, as FreeType needs
// the bytes of a face it reads from memory.
TextPainter OpenPictureFont(int pixels) {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    if (const HRSRC found =
            FindResourceW(nullptr, L"PICTURE_FONT", MAKEINTRESOURCEW(10) /* RT_RCDATA */)) {
        if (const HGLOBAL loaded = LoadResource(nullptr, found)) {
            bytes = static_cast<const unsigned char*>(LockResource(loaded));
            size = bytes != nullptr ? SizeofResource(nullptr, found) : 0;
        }
    }
    return TextPainter(bytes, size, pixels);
}

std::string PictureFontWarning() {
    return "warning: the pictures carry no words: the font built into velmora-tool.exe cannot be "
           "read";
}

}  // namespace velmora::tool
