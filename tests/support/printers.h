#pragma once

#include <ostream>

#include "model/geometry.h"

// Lets GoogleTest print points and rectangles in failure messages.
namespace velmora {

inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }

inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "[" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "]";
}

}  // namespace velmora
