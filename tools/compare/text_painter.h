#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/canvas.h"

namespace velmora::tool {

// Writes lines of plain text onto a canvas in one TrueType font at one size,
// each glyph's coverage blended over what is there. Text is taken as
// Latin-1 (the ASCII of every message, and a file name's bytes as they come).
class TextPainter {
public:
    // The font in `fontFile`, `pixels` high; Ok() tells whether it loaded.
    TextPainter(const std::string& fontFile, int pixels);
    // The font held in memory: `size` bytes at `font`, which must outlive
    // the painter.
    TextPainter(const unsigned char* font, std::size_t size, int pixels);
    ~TextPainter();
    TextPainter(const TextPainter&) = delete;
    TextPainter& operator=(const TextPainter&) = delete;

    bool Ok() const { return m_face != nullptr; }
    // From one baseline to the next, in pixels.
    int32_t LineHeight() const { return m_lineHeight; }
    // How far the tallest letters rise above the baseline.
    int32_t Ascent() const { return m_ascent; }

    // Draws `text` in `colour` with the left end of its baseline at (x, y);
    // returns the x where the next text would go. Draws nothing when the
    // font did not load.
    int32_t Draw(Canvas& canvas, int32_t x, int32_t y, const std::string& text, Colour colour);

private:
    struct Library;
    // Takes `face` (null when it could not be opened) at `pixels` high.
    void Adopt(void* face, int pixels);

    std::unique_ptr<Library> m_library;
    void* m_face = nullptr;  // FT_Face, kept out of this header
    int32_t m_lineHeight = 0;
    int32_t m_ascent = 0;
};

}  // namespace velmora::tool
