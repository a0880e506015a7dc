// This program is compiled and linked with -O3 -ffast-math -march=native, as
// game code may be (linking with -ffast-math also turns on flush-to-zero for
// the process), and calls with directed rounding too. The library must still
// give the editor's samples.
#include <gtest/gtest.h>

#include <cfenv>
#include <utility>
#include <vector>

#include <velmora/curve.h>
#include <velmora/curve.hpp>

#include "tests/support/case_names.h"

namespace {

using velmora::Point;

struct WorkedCurve {
    const char* name;
    std::vector<Point> points;
    size_t count;
    std::vector<std::pair<size_t, Point>> samples;  // index, sample
};

// The samples with the caller's rounding mode set to `mode`, which the
// library must give back as it found it.
std::vector<Point> SampleUnder(int mode, const std::vector<Point>& points) {
    std::fesetround(mode);
    std::vector<Point> curve = velmora::SampleCurve(points);
    const int after = std::fegetround();
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(after, mode);
    return curve;
}

class FastMathConsumer : public testing::TestWithParam<WorkedCurve> {};

TEST_P(FastMathConsumer, GetsTheEditorsSamplesFromBothInterfaces) {
    const WorkedCurve& c = GetParam();
    const std::vector<Point> curve = velmora::SampleCurve(c.points);
    ASSERT_EQ(curve.size(), c.count);
    EXPECT_EQ(curve.front(), c.points.front());
    EXPECT_EQ(curve.back(), c.points.back());
    for (const auto& [index, sample] : c.samples)
        EXPECT_EQ(curve[index], sample) << index;
    EXPECT_EQ(SampleUnder(FE_UPWARD, c.points), curve);
    EXPECT_EQ(SampleUnder(FE_DOWNWARD, c.points), curve);

    // The values before truncation, and the path along them, are just as
    // independent of the caller's rounding mode.
    const std::vector<velmora::PrecisePoint> precise = velmora::SampleCurvePrecise(c.points);
    ASSERT_EQ(precise.size(), c.count);
    const double length = velmora::CurvePath(c.points).Length();
    std::fesetround(FE_UPWARD);
    const std::vector<velmora::PrecisePoint> upward = velmora::SampleCurvePrecise(c.points);
    const double upwardLength = velmora::CurvePath(c.points).Length();
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(upwardLength, length);
    for (size_t i = 0; i < c.count; ++i) {
        EXPECT_EQ(static_cast<int32_t>(precise[i].x), curve[i].x) << i;
        EXPECT_EQ(static_cast<int32_t>(precise[i].y), curve[i].y) << i;
        EXPECT_TRUE(upward[i].x == precise[i].x && upward[i].y == precise[i].y) << i;
    }

    std::vector<int32_t> xy;
    for (Point p : c.points)
        xy.insert(xy.end(), {p.x, p.y});
    const size_t n = c.points.size();
    ASSERT_EQ(velmora_curve(xy.data(), n, nullptr, 0), c.count);
    // A short buffer gets its first samples and nothing beyond it.
    std::vector<int32_t> out(2 * c.count + 2, -7);
    ASSERT_EQ(velmora_curve(xy.data(), n, out.data(), 3), c.count);
    EXPECT_EQ(out[6], -7);
    ASSERT_EQ(velmora_curve(xy.data(), n, out.data(), c.count), c.count);
    EXPECT_EQ(out[2 * c.count], -7);
    for (size_t i = 0; i < c.count; ++i) {
        EXPECT_EQ((Point{out[2 * i], out[2 * i + 1]}), curve[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, FastMathConsumer,
    testing::Values(
        WorkedCurve{"TwoPoints", {{100, 100}, {60, 20}}, 21, {{1, {97, 95}}}},
        WorkedCurve{
            "ThreePoints", {{10, 10}, {50, 90}, {130, 90}}, 42, {{20, {50, 90}}, {21, {50, 90}}}},
        WorkedCurve{"EndsOnItsPoint", {{18, 196}, {209, 82}}, 48, {}},
        WorkedCurve{"TruncatedFromDouble", {{75, 249}, {406, 18}}, 83, {{27, {183, 172}}}}),
    velmora::testing_support::CaseName());

TEST(FastMathConsumer, CInterfaceRefusesTooFewOrNoPoints) {
    const int32_t one[] = {5, 5};
    int32_t out[4] = {-7, -7, -7, -7};
    EXPECT_EQ(velmora_curve(nullptr, 5, out, 2), 0u);
    EXPECT_EQ(velmora_curve(one, 1, out, 2), 0u);
    EXPECT_EQ(velmora_curve(one, 0, out, 2), 0u);
    EXPECT_EQ(out[0], -7);
    EXPECT_TRUE(velmora::SampleCurve({{5, 5}}).empty());
}

}  // namespace
