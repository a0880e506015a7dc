#include "editor/point_distance.h"

#include <cmath>

namespace velmora {

double PointDistance(Point a, Point b) {
    // In double a difference of two int32_t values is exact and its square
    // (up to 2^64) cannot overflow; squares and their sum stay exact below 2^53.
    const double dx = std::fabs(static_cast<double>(a.x) - b.x);
    const double dy = std::fabs(static_cast<double>(a.y) - b.y);
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace velmora
