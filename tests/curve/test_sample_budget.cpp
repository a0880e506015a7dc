#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "curve/curve_segment.h"
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
        CurveSegment c;
        c.SetSegment(static_cast<float>(points[i + 1].x - points[i].x),
                     static_cast<float>(points[i + 1].y - points[i].y), spline.TanX()[i],
                     spline.TanY()[i], spline.EndTanX()[i], spline.EndTanY()[i]);
        int32_t PointCount = static_cast<int32_t>(curve.size());
        curve.resize(curve.size() + static_cast<size_t>(c.SampleCount()));
        c.SampleSegment(static_cast<float>(points[i].x), static_cast<float>(points[i].y),
                        curve.data(), PointCount);
    }
    return curve;
}

// (0,0), (16128,0), then 64 points 8 apart in x, with y 0, 3, 0, 3, ...
std::vector<Point> LongChordThenShortOnes() {
    std::vector<Point> points = {{0, 0}, {16128, 0}};
    for (int32_t i = 1; i <= 64; ++i) points.push_back({16128 + 8 * i, i % 2 == 0 ? 3 : 0});
    return points;
}

std::vector<Point> CanvasPoints(int count) {
    std::mt19937 random(2000);
    std::uniform_int_distribution<int32_t> x(0, 479), y(0, 359);
    std::vector<Point> points(count);
    for (Point& p : points) p = {x(random), y(random)};
    return points;
}

std::vector<Point> Alternating(int count, Point a, Point b) {
    std::vector<Point> points(count);
    for (int i = 0; i < count; ++i) points[i] = i % 2 == 0 ? a : b;
    return points;
}

TEST(SampleBudget, CurvesWithinTheBudgetKeepEveryStep) {
    const struct {
        const char* name;
        std::vector<Point> points;
        size_t samples;
        size_t probe;
        Point probeSample;
    } cases[] = {
        {"66 points, one long chord", LongChordThenShortOnes(), 4033 + 64 * 3, 33, {130, 10}},
        {"2,000 canvas points", CanvasPoints(2000), 99'011, 1000, {217, 188}},
        {"1,025 points, chords of 1,028", Alternating(1025, {0, 0}, {1028, 0}), 1024 * 258,
         257, {1028, 0}},
    };
    for (const auto& c : cases) {
        std::vector<Point> curve;
        RebuildCurve(c.points, curve);
        EXPECT_EQ(curve.size(), c.samples) << c.name;
        EXPECT_EQ(curve, UnbudgetedCurve(c.points)) << c.name;
        EXPECT_EQ(curve.at(c.probe), c.probeSample) << c.name;
    }
}

TEST(SampleBudget, OverTheBudgetTheLongestSegmentsLoseStepsFirst) {
    // Segments of 1, 5, 10 and 100 steps: 120 samples in full.
    const std::vector<float> dx = {3, 20, -40, 400}, dy = {0, 0, 0, -7};
    const struct {
        int64_t budget;
        int32_t limit;
    } cases[] = {{120, kMaxSegmentSteps}, {119, 99}, {30, 10}, {29, 9}, {20, 5},
                 {8, 1}, {7, 1}};  // below two samples per segment, still one step each
    for (const auto& c : cases)
        EXPECT_EQ(SegmentStepLimit(dx, dy, 4, c.budget), c.limit) << c.budget;
}

}  // namespace
}  // namespace velmora
