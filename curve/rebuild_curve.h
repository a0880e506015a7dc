#pragma once

#include <vector>

#include "velmora/point.h"

namespace velmora {

// Refills `curve` with the samples of the smooth curve through `points`.
// With fewer than two points it does nothing and `curve` keeps its contents.
// The first sample is the first point and the last sample the last point.
// Every segment takes one step per 4 units of its chord's longer component
// (at least one, at most kMaxSegmentSteps) while the whole curve stays within
// kMaxCurveSamples; beyond that the longest segments get fewer steps, and
// the curve still passes through every point (see SegmentStepLimit).
void RebuildCurve(const std::vector<Point>& points, std::vector<Point>& curve);

// The same samples before they are truncated to whole pixels: as many, at
// the same parameters, and each truncates toward zero to RebuildCurve's.
void RebuildCurvePrecise(const std::vector<Point>& points, std::vector<PrecisePoint>& curve);

}  // namespace velmora
