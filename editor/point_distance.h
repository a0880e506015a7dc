#pragma once

#include "model/geometry.h"

namespace velmora {

// The distance between two points in pixels, for any pair of int32_t points:
// nothing overflows however far apart they are. It is the correctly rounded
// root of the exact squared distance while both differences are below 2^26
// pixels; beyond that the squares round, and the result may be off by a few
// units in the last place.
double PointDistance(Point a, Point b);

}  // namespace velmora
