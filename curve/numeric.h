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
    // Every double strictly between these bounds truncates into the range;
    // NaN fails both tests and takes the slow path.
    if (value > -2147483649.0 && value < 2147483648.0)
        return static_cast<int32_t>(value);
    if (std::isnan(value))
        return 0;
    return value < 0 ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
}

}  // namespace velmora::detail
