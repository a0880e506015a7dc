#include "curve/rebuild_curve.h"

#include <cstddef>
#include <cstdint>
#include <limits>

#include "curve/spline_solver.h"

namespace velmora {

namespace {

// Solves the spline through `points` and writes its samples with
// `write(solver, out, count)`, the one path both kinds of sample take.
template <class Sample, class Write>
void Rebuild(const std::vector<Point>& points, std::vector<Sample>& curve, Write write) {
    if (points.size() < 2)
        return;
    // Beyond this no machine holds the points anyway; refuse rather than wrap.
    if (points.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max() / 2))
        return;

    SplineSolver spline(points.data(), static_cast<int32_t>(points.size()));
    spline.SolveTangents();
    const int32_t total = spline.CountCurveSamples();
    curve.resize(static_cast<size_t>(total));
    int32_t PointCount = 0;
    write(spline, curve.data(), PointCount);
}

}  // namespace

void RebuildCurve(const std::vector<Point>& points, std::vector<Point>& curve) {
    Rebuild(points, curve, [](const SplineSolver& spline, Point* out, int32_t& count) {
        spline.SampleCurve(out, count);
    });
}

void RebuildCurvePrecise(const std::vector<Point>& points, std::vector<PrecisePoint>& curve) {
    Rebuild(points, curve, [](const SplineSolver& spline, PrecisePoint* out, int32_t& count) {
        spline.SampleCurvePrecise(out, count);
    });
}

}  // namespace velmora
