#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include <velmora/point.h>

namespace velmora::bench {

// `count` control points spread over the 480 x 360 client area, the same
// ones on every run.
inline std::vector<Point> RandomPoints(int count) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int32_t> x(0, 479), y(0, 359);
    std::vector<Point> points(count);
    for (auto& p : points)
        p = {x(random), y(random)};
    return points;
}

}  // namespace velmora::bench
