#pragma once

#include <vector>

#include "platform/geometry.h"

namespace velmora {

// Refills `curve` with the samples of the smooth curve through `points`.
// With fewer than two points it does nothing and `curve` keeps its contents.
// The first sample is the first point and the last sample the last point.
void RebuildCurve(const std::vector<Point>& points, std::vector<Point>& curve);

}  // namespace velmora
