#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// The curve's numeric rule: every stored value is a float, every formula is
// evaluated in double from float operands and rounded once when stored, and
// samples are truncated from double straight to int32_t. These helpers make
// each rounding visible at its point of use.
namespace velmora::detail {

// Rounds a double-precision result to the float it is stored as.
inline float Store(double value) { return static_cast<float>(value); }

// Truncates toward zero into int32_t. Values beyond the range are clamped and
// NaN becomes 0, so no conversion is ever undefined.
inline int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

}  // namespace velmora::detail
