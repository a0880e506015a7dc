// The installed curve interface: the editor's RebuildCurve behind a C++ and a
// C entry point, for whole pixels and for the values before truncation.
#include "curve/rebuild_curve.h"
#include "library/c_points.h"
#include "library/float_environment.h"
#include "velmora/curve.h"
#include "velmora/curve.hpp"

namespace velmora {

std::vector<Point> SampleCurve(const std::vector<Point>& points) {
    const detail::DefaultFloatEnvironment environment;
    std::vector<Point> curve;
    RebuildCurve(points, curve);
    return curve;
}

std::vector<PrecisePoint> SampleCurvePrecise(const std::vector<Point>& points) {
    const detail::DefaultFloatEnvironment environment;
    std::vector<PrecisePoint> curve;
    RebuildCurvePrecise(points, curve);
    return curve;
}

}  // namespace velmora

namespace {

// Both C entry points: no exception may cross into C, so running out of
// memory reads as "no curve".
template <class Coordinate, class Sampler>
size_t SampleForC(const int32_t* points_xy, size_t point_count, Coordinate* samples_xy,
                  size_t capacity, Sampler sample) {
    if (points_xy == nullptr || point_count < 2)
        return 0;
    try {
        const auto curve = sample(velmora::detail::PointsFromPairs(points_xy, point_count));
        return velmora::detail::WritePairs(curve, samples_xy, capacity);
    } catch (...) {
        return 0;
    }
}

}  // namespace

size_t velmora_curve(const int32_t* points_xy, size_t point_count, int32_t* samples_xy,
                     size_t capacity) {
    return SampleForC(points_xy, point_count, samples_xy, capacity, velmora::SampleCurve);
}

size_t velmora_curve_precise(const int32_t* points_xy, size_t point_count, double* samples_xy,
                             size_t capacity) {
    return SampleForC(points_xy, point_count, samples_xy, capacity, velmora::SampleCurvePrecise);
}
