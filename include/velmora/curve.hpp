#pragma once

#include <vector>

#include "velmora/export.h"
#include "velmora/point.h"

namespace velmora {

// The samples of the curve the editor draws through `points`, in client
// pixels: the first sample is the first point and the last sample the last
// point. Empty for fewer than two points. The result is the same bit for bit
// on every machine, with any compiler flags and any rounding mode of the
// caller: the arithmetic runs inside the library, in the default
// floating-point environment, and the caller's is put back afterwards.
VELMORA_API std::vector<Point> SampleCurve(const std::vector<Point>& points);

}  // namespace velmora
