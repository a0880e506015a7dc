#include "platform/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace velmora {
namespace {

// Products such as 2 * k * |dy| reach 2^65 for lines spanning the whole
// int32_t range, so the closed forms below are evaluated in 128 bits. Every
// operand is non-negative, which keeps the arithmetic unsigned and free of
// overflow checks.
using Wide = unsigned __int128;

// Narrows [lo, hi] to the steps k for which start + step * k lies in
// [0, size); step is +1 or -1.
void ClipToAxis(int64_t start, int step, int64_t size, int64_t& lo, int64_t& hi) {
    if (step > 0) {
        lo = std::max(lo, -start);
        hi = std::min(hi, size - 1 - start);
    } else {
        lo = std::max(lo, start - (size - 1));
        hi = std::min(hi, start);
    }
}

// A stroke seen along its major axis (the one with the larger extent): one
// pixel per major step k = 0 .. major - 1, and the minor offset
//   f(k) = floor((2 * k * minor + major) / (2 * major)),
// which is k * minor / major rounded to nearest. A tie (an exact half) is
// rounded up, away from the first point, so f(major) = minor exactly and the
// walk always heads for the true end point.
struct Walk {
    int64_t major = 0;  // |extent| along the major axis, > 0
    int64_t minor = 0;  // |extent| along the minor axis, <= major
};

// The first step whose minor offset is at least `offset` (0 <= offset <= minor).
int64_t FirstStepReaching(const Walk& w, int64_t offset) {
    if (offset == 0) {
        return 0;
    }
    const Wide num = Wide(w.major) * Wide(2 * offset - 1);
    const Wide den = Wide(2 * w.minor);
    return static_cast<int64_t>((num + den - 1) / den);
}

// The last step whose minor offset is at most `offset` (0 <= offset <= minor),
// capped at major so that the result fits in 64 bits.
int64_t LastStepWithin(const Walk& w, int64_t offset) {
    const Wide num = Wide(w.major) * Wide(2 * offset + 1) - 1;
    const Wide k = num / Wide(2 * w.minor);
    return k > Wide(w.major) ? w.major : static_cast<int64_t>(k);
}

// The walk of Canvas::DrawStroke for a stroke whose two points are on the
// canvas: every pixel lies in the box of the two points, so all of them are
// on the canvas and no step needs clipping.
inline void WalkOnCanvas(Colour* pixels, int64_t width, Colour pen, Point from, Point to) {
    const int64_t dx = int64_t(to.x) - from.x;
    const int64_t dy = int64_t(to.y) - from.y;
    const int64_t absX = dx < 0 ? -dx : dx;
    const int64_t absY = dy < 0 ? -dy : dy;
    Colour* pixel = pixels + from.y * width + from.x;
    // A zero extent on the minor axis never moves along it, so its sign is moot.
    const int64_t xStride = dx < 0 ? -1 : 1;
    const int64_t yStride = dy < 0 ? -width : width;
    const bool xMajor = absX >= absY;
    const int64_t major = xMajor ? absX : absY;
    const int64_t twoMajor = 2 * major;
    const int64_t twoMinor = 2 * (xMajor ? absY : absX);
    const int64_t majorStride = xMajor ? xStride : yStride;
    const int64_t minorStride = xMajor ? yStride : xStride;
    // DrawStroke's error term less (twoMajor - twoMinor): its sign alone
    // tells whether the next step also moves along the minor axis. Which
    // steps do is unforeseeable, so a mask of that sign picks the step; a
    // mispredicted branch costs more than the step itself.
    const int64_t diagonalStride = majorStride + minorStride;
    const int64_t diagonalError = twoMinor - twoMajor;
    int64_t error = twoMinor - major;
    for (int64_t k = 0; k < major; ++k) {
        *pixel = pen;
        const int64_t majorOnly = -int64_t(error < 0);  // all ones or zero
        error += diagonalError + (twoMajor & majorOnly);
        pixel += diagonalStride - (minorStride & majorOnly);
    }
}

}  // namespace

// A negative size is taken as zero: an empty canvas that ignores drawing.
Canvas::Canvas(int32_t width, int32_t height)
    : m_width(std::max<int32_t>(width, 0)),
      m_height(std::max<int32_t>(height, 0)),
      m_pixels(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), kBlack) {}

Colour Canvas::PixelAt(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return 0;
    }
    return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
}

Colour Canvas::SelectPen(Colour pen) {
    const Colour previous = m_pen;
    m_pen = pen;
    return previous;
}

void Canvas::FillRect(const Rect& rect, Colour colour) {
    const int32_t left = std::max<int32_t>(rect.left, 0);
    const int32_t top = std::max<int32_t>(rect.top, 0);
    const int32_t right = std::min(rect.right, m_width);
    const int32_t bottom = std::min(rect.bottom, m_height);
    if (left >= right || top >= bottom) {
        return;
    }
    // Fill one row pixel by pixel, then copy it: the library's block copy
    // is several times faster than a store loop the compiler may leave
    // scalar, and the background fill dominates every scene.
    const size_t count = static_cast<size_t>(right - left);
    Colour* first = m_pixels.data() + static_cast<size_t>(top) * static_cast<size_t>(m_width) +
                    static_cast<size_t>(left);
    std::fill(first, first + count, colour);
    for (int32_t y = top + 1; y < bottom; ++y) {
        Colour* row = first + static_cast<size_t>(y - top) * static_cast<size_t>(m_width);
        std::memcpy(row, first, count * sizeof(Colour));
    }
}

void Canvas::MoveTo(Point to) { m_position = to; }

void Canvas::LineTo(Point to) {
    DrawStroke(m_position, to);
    m_position = to;
}

// A curve has millions of short strokes that lie wholly on the canvas; those
// take the walk without clipping. The rest go the general way.
void Canvas::Polyline(const Point* points, size_t count) {
    const auto onCanvas = [this](Point p) {
        return static_cast<uint32_t>(p.x) < static_cast<uint32_t>(m_width) &&
               static_cast<uint32_t>(p.y) < static_cast<uint32_t>(m_height);
    };
    Colour* pixels = m_pixels.data();
    const Colour pen = m_pen;
    for (size_t i = 1; i < count; ++i) {
        if (onCanvas(points[i - 1]) && onCanvas(points[i])) {
            WalkOnCanvas(pixels, m_width, pen, points[i - 1], points[i]);
        } else {
            DrawStroke(points[i - 1], points[i]);
        }
    }
}

// Plots the pixels of the stroke from `from` up to, not including, `to`.
// Only the steps that land on the canvas are visited: their range is
// computed in closed form from the major-axis bounds and, since the minor
// offset never decreases along the walk, from the minor-axis bounds. The
// pixels are the same as those of a walk over every step.
void Canvas::DrawStroke(Point from, Point to) {
    const int64_t dx = int64_t(to.x) - from.x;
    const int64_t dy = int64_t(to.y) - from.y;
    if ((dx == 0 && dy == 0) || m_width == 0 || m_height == 0) {
        return;
    }
    // Every pixel of a stroke lies within the box of its two points, so a
    // stroke wholly to one side of the canvas draws nothing. Curves that run
    // far off the canvas are mostly such strokes; this skips their clipping.
    if ((from.x < 0 && to.x < 0) || (from.y < 0 && to.y < 0) ||
        (from.x >= m_width && to.x >= m_width) || (from.y >= m_height && to.y >= m_height)) {
        return;
    }
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t majorDelta = xMajor ? dx : dy;
    const int64_t minorDelta = xMajor ? dy : dx;
    const int64_t major0 = xMajor ? from.x : from.y;
    const int64_t minor0 = xMajor ? from.y : from.x;
    const int64_t majorSize = xMajor ? m_width : m_height;
    const int64_t minorSize = xMajor ? m_height : m_width;
    const int majorStep = majorDelta > 0 ? 1 : -1;
    const int minorStep = minorDelta >= 0 ? 1 : -1;
    const Walk walk{std::llabs(majorDelta), std::llabs(minorDelta)};

    // Steps whose major coordinate is on the canvas; the end point is excluded.
    int64_t kLo = 0;
    int64_t kHi = walk.major - 1;
    ClipToAxis(major0, majorStep, majorSize, kLo, kHi);
    // Minor offsets that are on the canvas, turned into steps.
    int64_t fLo = 0;
    int64_t fHi = walk.minor;
    ClipToAxis(minor0, minorStep, minorSize, fLo, fHi);
    if (kLo > kHi || fLo > fHi) {
        return;
    }
    // Only a stroke that leaves the canvas along the minor axis needs the
    // closed forms; one within it keeps every step of the major range.
    if (walk.minor > 0 && (fLo > 0 || fHi < walk.minor)) {
        kLo = std::max(kLo, FirstStepReaching(walk, fLo));
        kHi = std::min(kHi, LastStepWithin(walk, fHi));
        if (kLo > kHi) {
            return;
        }
    }

    // Walk the visible steps with the usual error term, starting from the
    // exact state of step kLo.
    const int64_t twoMajor = 2 * walk.major;
    const int64_t twoMinor = 2 * walk.minor;
    // At step 0 the offset is 0 and the error term is major; elsewhere both
    // come from the closed form.
    int64_t f = 0;
    int64_t remainder = walk.major;
    if (kLo > 0) {
        const Wide n = Wide(2) * Wide(kLo) * Wide(walk.minor) + Wide(walk.major);
        f = static_cast<int64_t>(n / Wide(twoMajor));
        remainder = static_cast<int64_t>(n % Wide(twoMajor));
    }

    const int64_t x = xMajor ? major0 + majorStep * kLo : minor0 + minorStep * f;
    const int64_t y = xMajor ? minor0 + minorStep * f : major0 + majorStep * kLo;
    const int64_t width = m_width;
    const int64_t majorStride = xMajor ? majorStep : majorStep * width;
    const int64_t minorStride = xMajor ? minorStep * width : minorStep;
    int64_t index = y * width + x;
    Colour* pixels = m_pixels.data();
    for (int64_t k = kLo;; ++k) {
        pixels[index] = m_pen;
        if (k == kHi) {
            break;
        }
        index += majorStride;
        remainder += twoMinor;
        if (remainder >= twoMajor) {
            remainder -= twoMajor;
            index += minorStride;
        }
    }
}

}  // namespace velmora
