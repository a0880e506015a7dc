#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "velmora/point.h"

namespace velmora::fuzz {

// Decodes up to 64 control points from the bytes: any int32_t coordinates,
// points on the canvas, small steps from the previous point and repeats of
// earlier points.
std::vector<Point> DecodeControlPoints(const uint8_t* data, size_t size);

// Curves of about this many samples at most are built per fuzz input, so the
// fuzzer tries thousands of inputs a second; far-apart points, whose curves
// run to millions of samples, are left to the tests.
constexpr size_t kFuzzCurveSamples = size_t{1} << 14;

// Rebuilds the curve through the decoded points and draws it on a 480 x 360
// canvas. Points after the first whose curve would pass `maxSamples` (about
// one per 4 units of each chord's longer side) are dropped. Returns an empty
// string when the curve keeps its promises (it ends exactly on the first and
// last control point when every coordinate lies within +-16384; fewer than two
// points leave it untouched), else what broke.
std::string CheckCurveInput(const uint8_t* data, size_t size,
                            size_t maxSamples = std::numeric_limits<size_t>::max());

}  // namespace velmora::fuzz
