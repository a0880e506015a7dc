#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

// The most samples one rebuild writes while every segment keeps its step
// count: 32 MiB of points. Every drag move rebuilds and redraws the whole
// curve, so a file of far-apart points must not cost more than this per move.
constexpr int64_t kMaxCurveSamples = int64_t{1} << 22;

// The step limit per segment for the chords (dx[i], dy[i]), i < segments.
// When all segments at their own step counts fit in `budget` samples, it is
// the per-segment cap, so nothing is cut. Otherwise it is the largest limit
// that fits, which shortens the longest segments first. It is never below 1:
// every segment still ends on its control point, so a spline of more than
// budget / 2 segments gets two samples per segment, over the budget.
int32_t SegmentStepLimit(const std::vector<float>& dx, const std::vector<float>& dy,
                         int32_t segments, int64_t budget = kMaxCurveSamples);

}  // namespace velmora
