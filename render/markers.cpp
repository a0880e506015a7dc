#include "render/markers.h"

#include <algorithm>
#include <limits>

namespace velmora {
namespace {

constexpr int64_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();

// Selects a marker's pen for the guard's lifetime, then puts the previous
// pen back, so the caller's pen survives every marker.
class PenGuard {
public:
    PenGuard(Canvas& dc, Colour pen) : m_dc(dc), m_previous(dc.SelectPen(pen)) {}
    ~PenGuard() { m_dc.SelectPen(m_previous); }
    PenGuard(const PenGuard&) = delete;
    PenGuard& operator=(const PenGuard&) = delete;

private:
    Canvas& m_dc;
    Colour m_previous;
};

// Returns -1, 0 or 1.
int64_t Sign(int64_t v) { return (v > 0) - (v < 0); }

// Narrows [lo, hi] to the t for which start + step * t fits in int32_t.
void FitAxis(int64_t start, int64_t step, int64_t& lo, int64_t& hi) {
    if (step > 0) {
        lo = std::max(lo, kIntMin - start);
        hi = std::min(hi, kIntMax - start);
    } else if (step < 0) {
        lo = std::max(lo, start - kIntMax);
        hi = std::min(hi, start - kIntMin);
    } else if (start < kIntMin || start > kIntMax) {
        lo = 1;
        hi = 0;
    }
}

// One MoveTo/LineTo stroke of a marker arm: horizontal, vertical or at 45
// degrees. An arm near the edge of the int32_t range may reach beyond it;
// such an arm is shortened along its own direction to the part that fits.
// Every pixel cut off has a coordinate of at least 2^31 - 1 or below zero,
// so nothing on a canvas changes, and the pixels that stay are the same
// because a 45-degree or axis stroke steps exactly one pixel per unit.
void Arm(Canvas& dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    const int64_t ux = Sign(x1 - x0);
    const int64_t uy = Sign(y1 - y0);
    const int64_t length = std::max(x1 > x0 ? x1 - x0 : x0 - x1, y1 > y0 ? y1 - y0 : y0 - y1);
    int64_t lo = 0;
    int64_t hi = length;
    FitAxis(x0, ux, lo, hi);
    FitAxis(y0, uy, lo, hi);
    if (lo > hi) {
        return;
    }
    dc.MoveTo(Point{static_cast<int32_t>(x0 + ux * lo), static_cast<int32_t>(y0 + uy * lo)});
    dc.LineTo(Point{static_cast<int32_t>(x0 + ux * hi), static_cast<int32_t>(y0 + uy * hi)});
}

}  // namespace

void DrawCross(int32_t x, int32_t y, Colour colour, int32_t size, Canvas& dc) {
    const PenGuard pen(dc, colour);
    const int64_t a = size;
    Arm(dc, int64_t(x) - a, y, int64_t(x) + a, y);
    Arm(dc, x, int64_t(y) - a, x, int64_t(y) + a);
}

void DrawStar(int32_t x, int32_t y, Colour colour, int32_t size, Canvas& dc) {
    // Widened, so that the arms' ends are exact for any centre and size.
    const int64_t cx = x;
    const int64_t cy = y;
    const PenGuard pen(dc, colour);
    const int64_t c = size;
    Arm(dc, cx - c, cy, cx + c, cy);
    Arm(dc, cx, cy - c, cx, cy + c);
    // Integer shift, not a rounded 0.75: size 10 gives 7, size 8 gives 6.
    // (For a negative size the shift rounds toward minus infinity.)
    const int64_t d = (3 * c) >> 2;
    Arm(dc, cx - d, cy - d, cx + d, cy + d);
    Arm(dc, cx + d, cy - d, cx - d, cy + d);
}

}  // namespace velmora
