#pragma once

#include "platform/geometry.h"

namespace velmora {

// The distance between two points in pixels. Exact for every pair of int32_t
// points: the differences are taken in double, so nothing overflows however
// far apart the points are.
double PointDistance(Point a, Point b);

}  // namespace velmora
