#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "velmora/point.h"

namespace velmora::detail {

// The control points a C caller passes as x,y pairs. Throws std::bad_alloc
// (as the vector does) for a count no memory can hold.
inline std::vector<Point> PointsFromPairs(const int32_t* points_xy, size_t point_count) {
    if (point_count > std::numeric_limits<size_t>::max() / sizeof(Point))
        throw std::bad_alloc();
    std::vector<Point> points(point_count);
    for (size_t i = 0; i < point_count; ++i)
        points[i] = Point{points_xy[2 * i], points_xy[2 * i + 1]};
    return points;
}

// Writes the first min(samples.size(), capacity) samples to `out` as x,y
// pairs (nothing when `out` is NULL) and returns samples.size().
template <class Sample, class Coordinate>
size_t WritePairs(const std::vector<Sample>& samples, Coordinate* out, size_t capacity) {
    if (out != nullptr) {
        const size_t written = samples.size() < capacity ? samples.size() : capacity;
        for (size_t i = 0; i < written; ++i) {
            out[2 * i] = samples[i].x;
            out[2 * i + 1] = samples[i].y;
        }
    }
    return samples.size();
}

}  // namespace velmora::detail
