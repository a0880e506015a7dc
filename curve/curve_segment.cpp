#include "curve/curve_segment.h"

#include <algorithm>
#include <cmath>

#include "curve/hermite.h"
#include "curve/numeric.h"

namespace velmora {

using detail::TruncateToInt32;

void CurveSegment::SetSegment(float dx, float dy, float startTanX, float startTanY, float endTanX,
                              float endTanY) {
    m_dx = dx;
    m_dy = dy;
    m_startTanX = startTanX;
    m_startTanY = startTanY;
    m_endTanX = endTanX;
    m_endTanY = endTanY;

    // Chords are differences of integers, so truncating them changes nothing;
    // comparing before converting keeps huge (or non-finite) values defined.
    const double longer =
        std::max(std::fabs(static_cast<double>(dx)), std::fabs(static_cast<double>(dy)));
    const int32_t maxSteps = std::max<int32_t>(m_maxSteps, 1);
    if (longer < 4.0 * maxSteps)
        m_steps = static_cast<int32_t>(longer) / 4;
    else
        m_steps = maxSteps;
}

int32_t CurveSegment::SampleCount() const { return std::max<int32_t>(m_steps, 1) + 1; }

detail::HermiteSegment CurveSegment::Prepare(float x0, float y0) {
    if (m_steps == 0)
        m_steps = 1;
    return detail::HermiteSegment{m_dx,      m_dy,       m_startTanX, m_startTanY,  m_endTanX,
                                  m_endTanY, double{x0}, double{y0},  1.0 / m_steps};
}

void CurveSegment::SampleSegment(float x0, float y0, Point* out, int32_t& PointCount) {
    const detail::HermiteSegment c = Prepare(x0, y0);
    const int32_t s = m_steps;

    // A local index lets the compiler keep it in a register.
    int32_t index = PointCount;
    out[index++] = Point{TruncateToInt32(x0), TruncateToInt32(y0)};

    int32_t k = 1;
    for (; k < s; k += 2, index += 2)
        detail::SamplePair(c, k, out + index);
    if (k == s)
        out[index++] = detail::SampleAt(c, k);
    PointCount = index;
}

void CurveSegment::SampleSegmentPrecise(float x0, float y0, PrecisePoint* out,
                                        int32_t& PointCount) {
    const detail::HermiteSegment c = Prepare(x0, y0);
    int32_t index = PointCount;
    out[index++] = PrecisePoint{c.x0, c.y0};
    for (int32_t k = 1; k <= m_steps; ++k)
        out[index++] = detail::PreciseAt(c, k);
    PointCount = index;
}

}  // namespace velmora
