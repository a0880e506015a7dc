#pragma once

#include <cstdint>

namespace velmora {

// A point in client pixels (or in design units where a caller says so).
struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

inline bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(Point a, Point b) { return !(a == b); }

// A rectangle as left, top, right, bottom; right and bottom are exclusive.
// The client rectangle has left = top = 0, so right is the width and bottom
// the height.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace velmora
