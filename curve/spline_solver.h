#pragma once

#include <cstdint>
#include <vector>

#include "curve/curve_segment.h"
#include "velmora/point.h"

namespace velmora {

// Tangents for a natural cubic spline over chord-length parameters through n
// control points (n >= 2), from exactly ten Jacobi iterations of one shared
// tridiagonal system per axis; then the samples of the curve they define.
// The ten iterations, not the exact solution, define the curve the editor
// shows, so their residual is part of the result.
class SplineSolver {
public:
    // Copies the n control points (n >= 2) as floats.
    SplineSolver(const Point* points, int32_t count);

    SplineSolver(const SplineSolver&) = delete;
    SplineSolver& operator=(const SplineSolver&) = delete;

    // Computes chords, ratios, the system, the tangents and the end tangents,
    // and the step limit that keeps the samples within the rebuild's budget.
    void SolveTangents();

    // Replaces the right-hand sides in `values` (m_tanX or m_tanY) by the
    // result of ten Jacobi iterations.
    void SolveTridiagonal(std::vector<float>& values);

    // The total number of samples of all segments; call after SolveTangents.
    int32_t CountCurveSamples() const;

    // Writes CountCurveSamples() samples into out[PointCount...], advancing PointCount.
    void SampleCurve(Point* out, int32_t& PointCount) const;

    // The same samples before truncation to whole pixels.
    void SampleCurvePrecise(PrecisePoint* out, int32_t& PointCount) const;

    // Results, read by the sampling and by tests.
    int32_t Count() const { return m_count; }
    const std::vector<float>& TanX() const { return m_tanX; }
    const std::vector<float>& TanY() const { return m_tanY; }
    const std::vector<float>& EndTanX() const { return m_endTanX; }
    const std::vector<float>& EndTanY() const { return m_endTanY; }
    const std::vector<float>& Ratio() const { return m_ratio; }
    const std::vector<float>& Lower() const { return m_lower; }
    const std::vector<float>& Diag() const { return m_diag; }
    const std::vector<float>& Upper() const { return m_upper; }

private:
    std::vector<float> m_x;
    std::vector<float> m_y;
    std::vector<float> m_dx;
    std::vector<float> m_dy;
    std::vector<float> m_tanX;
    std::vector<float> m_tanY;
    std::vector<float> m_endTanX;
    std::vector<float> m_endTanY;
    std::vector<float> m_ratio;
    std::vector<float> m_lower;
    std::vector<float> m_diag;
    std::vector<float> m_upper;
    int32_t m_count;
    int32_t m_stepLimit = kMaxSegmentSteps;
};

}  // namespace velmora
