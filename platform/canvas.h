#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/geometry.h"

namespace velmora {

// A colour laid out 0x00BBGGRR: red in the low byte.
using Colour = uint32_t;

constexpr Colour MakeColour(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) |
           (static_cast<Colour>(blue) << 16);
}

constexpr Colour kBlack = MakeColour(0, 0, 0);

// The drawing surface of the client area: a buffer of 32-bit pixels with a
// current pen (solid, one pixel wide) and a current position, drawn without
// anti-aliasing. Every stroke covers the pixels from its first point up to,
// but not including, its second point. Coordinates may lie anywhere in the
// int32_t range; whatever falls outside the buffer is clipped.
class Canvas {
public:
    // A canvas of the given size, filled with black, with a black pen.
    Canvas(int32_t width, int32_t height);

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }

    // The pixel at (x, y); 0 outside the buffer.
    Colour PixelAt(int32_t x, int32_t y) const;
    // Row-major pixels, Width() * Height() of them.
    const std::vector<Colour>& Pixels() const { return m_pixels; }

    // Makes `pen` the current pen and returns the one it replaces.
    Colour SelectPen(Colour pen);
    Colour CurrentPen() const { return m_pen; }

    // Gives the canvas the black pen and the position (0, 0) again, as a
    // freshly obtained device context has them; the pixels stay.
    void ResetDrawingState() {
        m_pen = kBlack;
        m_position = Point{};
    }

    // Fills the part of `rect` that lies on the canvas.
    void FillRect(const Rect& rect, Colour colour);

    // Moves the current position without drawing.
    void MoveTo(Point to);
    // Draws from the current position up to, not including, `to` with the
    // current pen; `to` becomes the current position.
    void LineTo(Point to);
    // Draws count - 1 connected strokes through the points, each by the
    // LineTo rule, so the last point itself is not drawn. The current
    // position is left unchanged.
    void Polyline(const Point* points, size_t count);

private:
    void DrawStroke(Point from, Point to);

    int32_t m_width;
    int32_t m_height;
    std::vector<Colour> m_pixels;
    Colour m_pen = kBlack;
    Point m_position;
};

}  // namespace velmora
