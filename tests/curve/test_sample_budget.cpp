#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "curve/rebuild_curve.h"
#include "curve/sample_budget.h"
#include "curve/spline_solver.h"
#include "tests/support/printers.h"

namespace velmora {
namespace {

// The curve with every segment sampled at its own step count, one by one.
std::vector<Point> UnbudgetedCurve(const std::vector<Point>& points) {
    SplineSolver spline(points.data(), static_cast<int32_t>(points.size()));
    spline.SolveTangents();
    std::vector<Point> curve;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const Point a = points[i], b = points[i + 1];
        CurveSegment c;
        c.SetSegment(float(b.x - a.x), float(b.y - a.y), spline.TanX()[i], spline.TanY()[i],
                     spline.EndTanX()[i], spline.EndTanY()[i]);
        int32_t PointCount = static_cast<int32_t>(curve.size());
        curve.resize(curve.size() + static_cast<size_t>(c.SampleCount()));
        c.SampleSegment(float(a.x), float(a.y), curve.data(), PointCount);
    }
    return curve;
}

TEST(SampleBudget, CurvesWithinTheBudgetKeepEveryStep) {
    // (0,0), (16128,0), then 64 points 8 apart with y 0, 3, 0, ...: the old
    // cut gave 4,224 samples, sample 33 at (131,10) instead of (130,10).
    std::vector<Point> longChord = {{0, 0}, {16128, 0}}, canvas(2000);
    for (int32_t i = 1; i <= 64; ++i)
        longChord.push_back({16128 + 8 * i, i % 2 == 0 ? 3 : 0});
    std::mt19937 random(2000);
    for (Point& p : canvas)
        p = {int32_t(random() % 480), int32_t(random() % 360)};
    const std::pair<std::vector<Point>, size_t> cases[] = {{longChord, 4033 + 64 * 3},
                                                           {canvas, 101'757}};
    for (const auto& [points, samples] : cases) {
        std::vector<Point> curve;
        RebuildCurve(points, curve);
        EXPECT_EQ(curve.size(), samples);
        EXPECT_EQ(curve, UnbudgetedCurve(points)) << points.size() << " points";
    }
}

TEST(SampleBudget, OverTheBudgetTheLongestSegmentsLoseStepsFirst) {
    // Steps 1, 5, 10, 100: 120 samples in full; never below one step each.
    const std::vector<float> dx = {3, 20, -40, 400}, dy = {0, 0, 0, -7};
    const int64_t budgets[] = {120, 119, 29, 20, 7};
    const int32_t limits[] = {kMaxSegmentSteps, 99, 9, 5, 1};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(SegmentStepLimit(dx, dy, 4, budgets[i]), limits[i]);
}

}  // namespace
}  // namespace velmora
