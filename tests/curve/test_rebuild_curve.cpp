#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "curve/curve_segment.h"
#include "curve/numeric.h"
#include "curve/rebuild_curve.h"
#include "tests/support/case_names.h"
#include "tests/support/printers.h"

namespace velmora {
namespace {

std::vector<Point> Curve(const std::vector<Point>& points) {
    std::vector<Point> curve;
    RebuildCurve(points, curve);
    return curve;
}

TEST(RebuildCurve, StraightChordOf40) {
    // The tangents' 2049/2048 bow the curve by a fraction of a unit, and
    // truncation turns that into 23 rather than 24 at t = 0.6.
    const std::vector<Point> expected = {{0, 0},  {4, 0},  {8, 0},  {12, 0}, {16, 0}, {20, 0},
                                         {23, 0}, {27, 0}, {31, 0}, {35, 0}, {40, 0}};
    EXPECT_EQ(Curve({{0, 0}, {40, 0}}), expected);
}

TEST(RebuildCurve, NegativeValuesTruncateTowardZero) {
    // The mirror image of the chord of 40: flooring would give -24 at t = 0.6.
    const std::vector<Point> expected = {{0, 0},   {-4, 0},  {-8, 0},  {-12, 0}, {-16, 0}, {-20, 0},
                                         {-23, 0}, {-27, 0}, {-31, 0}, {-35, 0}, {-40, 0}};
    EXPECT_EQ(Curve({{0, 0}, {-40, 0}}), expected);
}

TEST(RebuildCurve, SecondSampleIsTruncatedNotRounded) {
    const std::vector<Point> curve = Curve({{100, 100}, {60, 20}});
    ASSERT_EQ(curve.size(), 21u);
    EXPECT_EQ(curve[0], (Point{100, 100}));
    EXPECT_EQ(curve[1], (Point{97, 95}));
    EXPECT_EQ(curve[20], (Point{60, 20}));
}

TEST(RebuildCurve, ThreePointExample) {
    const std::vector<Point> curve = Curve({{10, 10}, {50, 90}, {130, 90}});
    ASSERT_EQ(curve.size(), 42u);
    EXPECT_EQ(curve[0], (Point{10, 10}));
    EXPECT_EQ(curve[20], (Point{50, 90}));
    EXPECT_EQ(curve[21], (Point{50, 90}));
    EXPECT_EQ(curve[41], (Point{130, 90}));
}

struct StepCase {
    const char* name;
    Point end;
    std::vector<Point> samples;
};

class ShortChords : public testing::TestWithParam<StepCase> {};

TEST_P(ShortChords, UseAtLeastOneStep) {
    EXPECT_EQ(Curve({{0, 0}, GetParam().end}), GetParam().samples);
}

INSTANTIATE_TEST_SUITE_P(StepCounts, ShortChords,
                         testing::Values(StepCase{"UnderFour", {3, 2}, {{0, 0}, {3, 2}}},
                                         StepCase{"Seven", {7, 0}, {{0, 0}, {7, 0}}},
                                         StepCase{"Eight", {8, 0}, {{0, 0}, {4, 0}, {8, 0}}},
                                         StepCase{"ZeroLength", {0, 0}, {{0, 0}, {0, 0}}}),
                         testing_support::CaseName());

TEST(CurveSegment, StepCountIsTheLongerComponentOverFour) {
    const struct {
        float dx, dy;
        int32_t steps;
    } cases[] = {{0, 0, 0},        {7, 0, 1},
                 {-8, 3, 2},       {11, -11, 2},
                 {40, 0, 10},      {3, -40, 10},
                 {16383, 0, 4095}, {0, -16384, 4096},
                 {1e9f, 0, 4096},  {-4.2e9f, 4.2e9f, 4096}};
    for (const auto& c : cases) {
        CurveSegment segment;
        segment.SetSegment(c.dx, c.dy, 0, 0, 0, 0);
        EXPECT_EQ(segment.Steps(), c.steps) << c.dx << "," << c.dy;
    }
}

TEST(RebuildCurve, EverySegmentEndsExactlyOnItsControlPoint) {
    // t is rounded to float, so the last step is exactly 1 for every count;
    // all-float arithmetic fails at 41 steps and all-double at 49.
    for (int steps = 1; steps <= 600; ++steps) {
        const std::vector<Point> curve = Curve({{0, 0}, {4 * steps, 2 * steps}});
        ASSERT_EQ(curve.size(), static_cast<size_t>(steps + 1));
        ASSERT_EQ(curve.back(), (Point{4 * steps, 2 * steps})) << steps << " steps";
    }
    EXPECT_EQ(Curve({{18, 196}, {209, 82}}).back(), (Point{209, 82}));
}

TEST(RebuildCurve, SamplesGoFromDoubleStraightToInteger) {
    // Rounding the coordinate to float before truncating gives (184,172).
    const std::vector<Point> curve = Curve({{75, 249}, {406, 18}});
    ASSERT_GT(curve.size(), 27u);
    EXPECT_EQ(curve[27], (Point{183, 172}));
}

TEST(RebuildCurve, FewerThanTwoPointsLeaveTheCurveAlone) {
    const std::vector<Point> previous = {{1, 2}, {3, 4}};
    for (const std::vector<Point>& points : {std::vector<Point>{}, std::vector<Point>{{9, 9}}}) {
        std::vector<Point> curve = previous;
        RebuildCurve(points, curve);
        EXPECT_EQ(curve, previous);
    }
}

TEST(RebuildCurve, InteriorPointsOccurTwiceAndEndsAreExact) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> x(0, 479), y(0, 359);
    for (int round = 0; round < 200; ++round) {
        std::vector<Point> points(2 + round % 9);
        for (Point& p : points)
            p = {x(random), y(random)};
        const std::vector<Point> curve = Curve(points);
        EXPECT_EQ(curve.front(), points.front());
        EXPECT_EQ(curve.back(), points.back());
    }
}

TEST(RebuildCurve, CoincidentPointsGiveAFiniteCurveThroughEveryPoint) {
    const std::vector<Point> points = {{10, 10}, {60, 40}, {60, 40}, {120, 10}, {200, 90}};
    const std::vector<Point> curve = Curve(points);
    // Segments of 12, 1, 15 and 20 steps; each writes its start point first.
    ASSERT_EQ(curve.size(), 13u + 2u + 16u + 21u);
    EXPECT_EQ(curve[0], points[0]);
    EXPECT_EQ(curve[12], points[1]);
    EXPECT_EQ(curve[13], points[2]);
    EXPECT_EQ(curve[14], points[2]);
    EXPECT_EQ(curve[30], points[3]);
    EXPECT_EQ(curve[31], points[3]);
    EXPECT_EQ(curve.back(), points[4]);
    for (const Point& p : curve) {
        EXPECT_GT(p.x, -200);
        EXPECT_LT(p.x, 400);
        EXPECT_GT(p.y, -200);
        EXPECT_LT(p.y, 300);
    }
}

TEST(RebuildCurve, CoordinatesAnywhereInTheIntRangeStayDefinedAndBounded) {
    constexpr int32_t lo = std::numeric_limits<int32_t>::min();
    constexpr int32_t hi = std::numeric_limits<int32_t>::max();
    const std::vector<std::vector<Point>> cases = {
        {{lo, lo}, {hi, hi}},
        {{hi, lo}, {lo, hi}, {hi, lo}},
        {{0, 0}, {hi, 0}, {hi, 0}, {1, 1}},
        {{lo, 0}, {0, 1}, {hi, 2}, {0, 3}, {lo, 4}},
    };
    for (const auto& points : cases) {
        const std::vector<Point> curve = Curve(points);
        EXPECT_LE(curve.size(), (points.size() - 1) * (kMaxSegmentSteps + 1));
    }
}

TEST(TruncateToInt32, TowardZeroAndClamped) {
    using detail::TruncateToInt32;
    constexpr int32_t lo = std::numeric_limits<int32_t>::min();
    constexpr int32_t hi = std::numeric_limits<int32_t>::max();
    const struct {
        double in;
        int32_t out;
    } cases[] = {{-0.6, 0},
                 {-1.4, -1},
                 {0.99, 0},
                 {97.999, 97},
                 {2147483648.0, hi},
                 {-2147483649.0, lo},
                 {1e300, hi},
                 {-1e300, lo},
                 {std::numeric_limits<double>::infinity(), hi},
                 {-std::numeric_limits<double>::infinity(), lo},
                 {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TruncateToInt32(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace velmora
