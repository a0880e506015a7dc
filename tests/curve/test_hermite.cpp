#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "curve/hermite.h"
#include "tests/support/printers.h"

namespace velmora::detail {
namespace {

// Two samples at once must give exactly the bits of one at a time, for
// ordinary segments and for values at and beyond the int32_t range.
TEST(SamplePair, GivesTheBitsOfSampleAt) {
    std::mt19937 random(99);
    std::uniform_int_distribution<int> coordinate(-3000, 3000);
    std::uniform_real_distribution<double> tangent(-5000.0, 5000.0);
    std::uniform_int_distribution<int> steps(1, 600);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double extremes[] = {2147483647.0, -2147483648.0, 3e9, -3e9, inf, -inf, nan};

    for (int round = 0; round < 20000; ++round) {
        const int s = steps(random);
        HermiteSegment c{double(coordinate(random)),
                         double(coordinate(random)),
                         static_cast<float>(tangent(random)),
                         static_cast<float>(tangent(random)),
                         static_cast<float>(tangent(random)),
                         static_cast<float>(tangent(random)),
                         double(coordinate(random)),
                         double(coordinate(random)),
                         1.0 / s};
        if (round % 10 == 0)
            c.startTanX = extremes[round / 10 % 7];
        if (round % 15 == 0)
            c.x0 = extremes[round / 15 % 7];
        const int k = 1 + round % s;
        Point pair[2];
        SamplePair(c, k, pair);
        ASSERT_EQ(pair[0], SampleAt(c, k)) << "round " << round;
        ASSERT_EQ(pair[1], SampleAt(c, k + 1)) << "round " << round;
    }
}

}  // namespace
}  // namespace velmora::detail
