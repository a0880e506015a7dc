// A spline file can hold a thousand control points spread over the whole
// int32_t range; every show and every drag move rebuilds and draws its curve,
// so the samples of one rebuild are bounded. Ordinary splines keep one step
// per 4 units on every segment.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "curve/rebuild_curve.h"
#include "tests/support/case_names.h"

namespace velmora {
namespace {

struct BoundCase {
    const char* name;
    int32_t points;
    int32_t low;  // the points alternate between (low, low) and (high, high)
    int32_t high;
    size_t expectedSamples;
};

class BoundedCurveTest : public testing::TestWithParam<BoundCase> {};

TEST_P(BoundedCurveTest, SampleCount) {
    const BoundCase& c = GetParam();
    std::vector<Point> points;
    for (int32_t i = 0; i < c.points; ++i) {
        const int32_t v = i % 2 == 0 ? c.low : c.high;
        points.push_back(Point{v, v});
    }
    std::vector<Point> curve;
    RebuildCurve(points, curve);
    // The budget, or two samples per segment where that is more.
    EXPECT_LE(curve.size(), std::max(size_t{1} << 22, static_cast<size_t>(c.points - 1) * 2));
    EXPECT_EQ(curve.size(), c.expectedSamples);
}

INSTANTIATE_TEST_SUITE_P(
    Splines, BoundedCurveTest,
    testing::Values(
        // 1199 segments over the whole range: capped to 3,497 steps each
        // instead of 4,096 (4.9 million samples per show and drag move).
        BoundCase{"FarApartFilePoints", 1200, INT32_MIN, INT32_MAX, 1199 * 3498},
        // 63 segments of 16,000 units keep their 4,000 steps.
        BoundCase{"LongChordsUncapped", 64, 0, 16000, 63 * 4001},
        // 1500 segments of 400 units, across the canvas, keep their 100 steps.
        BoundCase{"ManyCanvasChordsUncapped", 1501, 0, 400, 1500 * 101},
        // A spline people draw: 40 segments across the canvas.
        BoundCase{"CanvasSpline", 41, 10, 350, 40 * 86},
        // 20,000 segments of 250 steps are over the budget: 208 steps each.
        BoundCase{"ManyCanvasChords", 20001, 0, 1000, 20000 * 209},
        // 10,000 far-apart points: 418 steps each.
        BoundCase{"ManyFarApartPoints", 10000, INT32_MIN, INT32_MAX, 9999 * 419}),
    testing_support::CaseName());

}  // namespace
}  // namespace velmora
