#include "editor/point_distance.h"

#include <cmath>

namespace velmora {

double PointDistance(Point a, Point b) {
    // Squaring 32-bit differences overflows beyond 46,340 pixels. Below that
    // the squares are exact in double too, so the results there are unchanged.
    const double dx = std::fabs(static_cast<double>(a.x) - b.x);
    const double dy = std::fabs(static_cast<double>(a.y) - b.y);
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace velmora
