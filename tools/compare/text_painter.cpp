#include "tools/compare/text_painter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace velmora::tool {

struct TextPainter::Library {
    FT_Library handle = nullptr;
    ~Library() {
        if (handle != nullptr)
            FT_Done_FreeType(handle);
    }
};

namespace {

FT_Face Face(void* face) { return static_cast<FT_Face>(face); }

// `over` laid on `under` with `alpha` of 255.
Colour Blend(Colour under, Colour over, unsigned alpha) {
    Colour out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned a = (under >> shift) & 0xFF;
        const unsigned b = (over >> shift) & 0xFF;
        out |= static_cast<Colour>((a * (255 - alpha) + b * alpha + 127) / 255) << shift;
    }
    return out;
}

}  // namespace

TextPainter::TextPainter(const std::string& fontFile, int pixels) : m_library(new Library) {
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&m_library->handle) == 0 &&
        FT_New_Face(m_library->handle, fontFile.c_str(), 0, &face) != 0)
        face = nullptr;
    Adopt(face, pixels);
}

TextPainter::TextPainter(const unsigned char* font, std::size_t size, int pixels)
    : m_library(new Library) {
    FT_Face face = nullptr;
    if (font != nullptr && size > 0 && FT_Init_FreeType(&m_library->handle) == 0 &&
        FT_New_Memory_Face(m_library->handle, font, static_cast<FT_Long>(size), 0, &face) != 0)
        face = nullptr;
    Adopt(face, pixels);
}

void TextPainter::Adopt(void* opened, int pixels) {
    const FT_Face face = Face(opened);
    if (face == nullptr)
        return;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
        FT_Done_Face(face);
        return;
    }
    m_face = face;
    // Metrics in 26.6 fixed point.
    m_lineHeight = static_cast<int32_t>((face->size->metrics.height + 63) / 64);
    m_ascent = static_cast<int32_t>((face->size->metrics.ascender + 63) / 64);
}

TextPainter::~TextPainter() {
    if (m_face != nullptr)
        FT_Done_Face(Face(m_face));
}

int32_t TextPainter::Draw(Canvas& canvas, int32_t x, int32_t y, const std::string& text,
                          Colour colour) {
    if (m_face == nullptr)
        return x;
    const FT_Face face = Face(m_face);
    for (const char c : text) {
        if (FT_Load_Char(face, static_cast<unsigned char>(c), FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const unsigned alpha =
                    bitmap.buffer[static_cast<long>(row) * bitmap.pitch + column];
                if (alpha == 0)
                    continue;
                const int32_t px = x + glyph->bitmap_left + static_cast<int32_t>(column);
                const int32_t py = y - glyph->bitmap_top + static_cast<int32_t>(row);
                if (px < 0 || py < 0 || px >= canvas.Width() || py >= canvas.Height())
                    continue;
                canvas.FillRect(Rect{px, py, px + 1, py + 1},
                                Blend(canvas.PixelAt(px, py), colour, alpha));
            }
        }
        x += static_cast<int32_t>(glyph->advance.x / 64);
    }
    return x;
}

}  // namespace velmora::tool
