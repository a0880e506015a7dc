#pragma once

#include <cstdint>

namespace velmora {

// A point in the editor's client pixels: x to the right, y downwards.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

inline bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(Point a, Point b) { return !(a == b); }

// A sample of the curve before it is truncated to whole pixels.
struct PrecisePoint {
    double x = 0;
    double y = 0;
};

}  // namespace velmora
