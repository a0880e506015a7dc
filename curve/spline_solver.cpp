#include "curve/spline_solver.h"

#include <cmath>
#include <utility>

#include "curve/curve_segment.h"
#include "curve/jacobi_rows.h"
#include "curve/numeric.h"
#include "curve/sample_budget.h"

namespace velmora {

using detail::Store;

namespace {

constexpr int kJacobiIterations = 10;

// Length of a chord: the sum of squares is stored as a float before the root.
float ChordLength(float dx, float dy) {
    const float squares = Store(double{dx} * dx + double{dy} * dy);
    return Store(std::sqrt(double{squares}));
}

// Chord-length ratio of two neighbouring segments. A zero-length chord on
// either side (coincident control points) would divide by zero; a ratio of 1
// keeps every value finite and leaves the neighbouring segments' shape alone.
float ChordRatio(float length, float nextLength) {
    if (length == 0.0f || nextLength == 0.0f)
        return 1.0f;
    return Store(double{length} / nextLength);
}

}  // namespace

SplineSolver::SplineSolver(const Point* points, int32_t count)
    : m_x(count),
      m_y(count),
      m_dx(count),
      m_dy(count),
      m_tanX(count),
      m_tanY(count),
      m_endTanX(count),
      m_endTanY(count),
      m_ratio(count),
      m_lower(count),
      m_diag(count),
      m_upper(count),
      m_count(count) {
    for (int32_t i = 0; i < count; ++i) {
        m_x[i] = static_cast<float>(points[i].x);
        m_y[i] = static_cast<float>(points[i].y);
    }
}

void SplineSolver::SolveTangents() {
    const int32_t n = m_count;
    std::vector<float>& ratio = m_ratio;

    for (int32_t i = 0; i <= n - 2; ++i) {
        m_dx[i] = Store(double{m_x[i + 1]} - m_x[i]);
        m_dy[i] = Store(double{m_y[i + 1]} - m_y[i]);
    }

    float length = ChordLength(m_dx[0], m_dy[0]);
    for (int32_t i = 0; i <= n - 3; ++i) {
        const float nextLength = ChordLength(m_dx[i + 1], m_dy[i + 1]);
        ratio[i] = ChordRatio(length, nextLength);
        length = nextLength;
    }
    ratio[n - 2] = 1.0f;

    for (int32_t j = 1; j <= n - 2; ++j) {
        m_lower[j] = 1.0f;
        m_diag[j] = Store((double{ratio[j - 1]} * 2.0) * (double{ratio[j - 1]} + 1.0));
        m_upper[j] = Store((double{ratio[j - 1]} * ratio[j - 1]) * ratio[j]);
    }
    m_diag[0] = 2.0f;
    m_upper[0] = ratio[0];
    m_lower[n - 1] = 1.0f;
    m_diag[n - 1] = Store(double{ratio[n - 2]} * 2.0);

    for (int32_t j = 1; j <= n - 2; ++j) {
        const double squared = double{ratio[j - 1]} * ratio[j - 1];
        m_tanX[j] = Store((squared * m_dx[j] + m_dx[j - 1]) * 3.0);
        m_tanY[j] = Store((squared * m_dy[j] + m_dy[j - 1]) * 3.0);
    }
    m_tanX[0] = Store(double{m_dx[0]} * 3.0);
    m_tanY[0] = Store(double{m_dy[0]} * 3.0);
    m_tanX[n - 1] = Store(double{m_dx[n - 2]} * 3.0);
    m_tanY[n - 1] = Store(double{m_dy[n - 2]} * 3.0);

    SolveTridiagonal(m_tanX);
    SolveTridiagonal(m_tanY);

    for (int32_t j = 0; j <= n - 2; ++j) {
        m_endTanX[j] = Store(double{ratio[j]} * m_tanX[j + 1]);
        m_endTanY[j] = Store(double{ratio[j]} * m_tanY[j + 1]);
    }

    m_stepLimit = SegmentStepLimit(m_dx, m_dy, n - 1);
}

void SplineSolver::SolveTridiagonal(std::vector<float>& v) {
    const int32_t n = m_count;
    std::vector<float> q(n);
    std::vector<float> r(n);

    for (int32_t i = 0; i < n; ++i) {
        q[i] = Store(double{v[i]} / m_diag[i]);
        r[i] = q[i];
    }

    // Jacobi: every new value comes from the previous iteration's values.
    for (int iteration = 0; iteration < kJacobiIterations; ++iteration) {
        q[0] = Store((double{v[0]} - double{m_upper[0]} * r[1]) / m_diag[0]);
        detail::JacobiRows(v.data(), m_lower.data(), m_diag.data(), m_upper.data(), r.data(),
                           q.data(), 1, n - 2);
        q[n - 1] = Store((double{v[n - 1]} - double{m_lower[n - 1]} * r[n - 2]) / m_diag[n - 1]);
        // Every entry of q is new, so swapping is the copy r = q made cheap;
        // the next iteration overwrites all of q again.
        std::swap(q, r);
    }

    v = r;
}

int32_t SplineSolver::CountCurveSamples() const {
    CurveSegment c(m_stepLimit);
    int32_t total = 0;
    for (int32_t i = 0; i <= m_count - 2; ++i) {
        c.SetSegment(m_dx[i], m_dy[i], m_tanX[i], m_tanY[i], m_endTanX[i], m_endTanY[i]);
        total += c.SampleCount();
    }
    return total;
}

void SplineSolver::SampleCurve(Point* out, int32_t& PointCount) const {
    CurveSegment c(m_stepLimit);
    for (int32_t i = 0; i <= m_count - 2; ++i) {
        c.SetSegment(m_dx[i], m_dy[i], m_tanX[i], m_tanY[i], m_endTanX[i], m_endTanY[i]);
        c.SampleSegment(m_x[i], m_y[i], out, PointCount);
    }
}

void SplineSolver::SampleCurvePrecise(PrecisePoint* out, int32_t& PointCount) const {
    CurveSegment c(m_stepLimit);
    for (int32_t i = 0; i <= m_count - 2; ++i) {
        c.SetSegment(m_dx[i], m_dy[i], m_tanX[i], m_tanY[i], m_endTanX[i], m_endTanY[i]);
        c.SampleSegmentPrecise(m_x[i], m_y[i], out, PointCount);
    }
}

}  // namespace velmora
