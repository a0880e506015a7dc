// The installed curve interface: the editor's RebuildCurve behind a C++ and a
// C entry point.
#include <limits>

#include "curve/rebuild_curve.h"
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

}  // namespace velmora

// No exception may cross into C: running out of memory reads as "no curve".
size_t velmora_curve(const int32_t* points_xy, size_t point_count, int32_t* samples_xy,
                     size_t capacity) {
    if (points_xy == nullptr || point_count < 2)
        return 0;
    if (point_count > std::numeric_limits<size_t>::max() / sizeof(velmora::Point))
        return 0;
    try {
        std::vector<velmora::Point> points(point_count);
        for (size_t i = 0; i < point_count; ++i) {
            points[i] = velmora::Point{points_xy[2 * i], points_xy[2 * i + 1]};
        }
        const std::vector<velmora::Point> curve = velmora::SampleCurve(points);
        if (samples_xy != nullptr) {
            const size_t written = curve.size() < capacity ? curve.size() : capacity;
            for (size_t i = 0; i < written; ++i) {
                samples_xy[2 * i] = curve[i].x;
                samples_xy[2 * i + 1] = curve[i].y;
            }
        }
        return curve.size();
    } catch (...) {
        return 0;
    }
}
