#include "curve/rebuild_curve.h"

#include <cstddef>
#include <cstdint>
#include <limits>

#include "curve/spline_solver.h"

namespace velmora {

void RebuildCurve(const std::vector<Point>& points, std::vector<Point>& curve) {
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
    spline.SampleCurve(curve.data(), PointCount);
}

}  // namespace velmora
