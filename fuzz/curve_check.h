#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace velmora::fuzz {

// Decodes up to 64 control points from the bytes: any int32_t coordinates,
// points on the canvas, small steps from the previous point and repeats of
// earlier points.
std::vector<Point> DecodeControlPoints(const uint8_t* data, size_t size);

// Rebuilds the curve through the decoded points and draws it on a 480 x 360
// canvas. Returns an empty string when the curve keeps its promises (it ends
// exactly on the first and last control point when every coordinate lies
// within +-16384; fewer than two points leave it untouched), else what broke.
std::string CheckCurveInput(const uint8_t* data, size_t size);

}  // namespace velmora::fuzz
