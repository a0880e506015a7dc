// The precise samples are the drawn curve before truncation, and a path runs
// along them: the C and C++ interfaces give the same bits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include <velmora/curve.h>
#include <velmora/curve.hpp>

#include "tests/support/case_names.h"

namespace {

using velmora::Point;
using velmora::PrecisePoint;

struct PathFree {
    void operator()(velmora_path* path) const { velmora_path_free(path); }
};

struct PreciseCase {
    const char* name;
    std::vector<Point> points;
    size_t count;
};

class PreciseCurve : public testing::TestWithParam<PreciseCase> {};

TEST_P(PreciseCurve, TruncatesToTheDrawnCurveAndCarriesThePath) {
    const PreciseCase& c = GetParam();
    std::vector<int32_t> xy;
    for (Point p : c.points)
        xy.insert(xy.end(), {p.x, p.y});
    const size_t n = c.points.size();

    const size_t count = velmora_curve_precise(xy.data(), n, nullptr, 0);
    ASSERT_EQ(count, c.count);
    std::vector<int32_t> drawn(2 * count);
    ASSERT_EQ(velmora_curve(xy.data(), n, drawn.data(), count), count);
    std::vector<double> precise(2 * count + 2, -7.0);
    ASSERT_EQ(velmora_curve_precise(xy.data(), n, precise.data(), count), count);
    EXPECT_EQ(precise[2 * count], -7.0) << "wrote past the capacity";
    for (size_t i = 0; i < 2 * count; ++i)
        ASSERT_EQ(std::trunc(precise[i]), drawn[i]) << "value " << i;
    EXPECT_EQ(precise[0], c.points.front().x);
    EXPECT_EQ(precise[1], c.points.front().y);
    EXPECT_EQ(precise[2 * count - 2], c.points.back().x);
    EXPECT_EQ(precise[2 * count - 1], c.points.back().y);

    const std::vector<PrecisePoint> samples = velmora::SampleCurvePrecise(c.points);
    ASSERT_EQ(samples.size(), count);
    std::vector<double> along{0.0};  // from the start to each sample
    for (size_t i = 0; i < count; ++i) {
        ASSERT_EQ(samples[i].x, precise[2 * i]);
        ASSERT_EQ(samples[i].y, precise[2 * i + 1]);
        if (i > 0) {
            const double dx = samples[i].x - samples[i - 1].x;
            const double dy = samples[i].y - samples[i - 1].y;
            along.push_back(along.back() + std::sqrt(dx * dx + dy * dy));
        }
    }

    const std::unique_ptr<velmora_path, PathFree> path(velmora_path_new(xy.data(), n));
    ASSERT_NE(path, nullptr);
    const velmora::CurvePath curvePath(c.points);
    EXPECT_EQ(velmora_path_length(path.get()), along.back());
    EXPECT_EQ(curvePath.Length(), along.back());
    const auto at = [&](double distance) {
        PrecisePoint p{-7, -7};
        velmora_path_at(path.get(), distance, &p.x, &p.y);
        const PrecisePoint q = curvePath.PointAt(distance);
        EXPECT_TRUE(p.x == q.x && p.y == q.y) << "the C and C++ paths differ at " << distance;
        return p;
    };
    const auto expectAt = [&](double distance, PrecisePoint want) {
        const PrecisePoint got = at(distance);
        EXPECT_NEAR(got.x, want.x, 1e-9) << distance;
        EXPECT_NEAR(got.y, want.y, 1e-9) << distance;
    };
    const double inf = std::numeric_limits<double>::infinity();
    for (double before : {-1.0, -inf, std::numeric_limits<double>::quiet_NaN(), 0.0})
        expectAt(before, samples.front());
    for (double beyond : {along.back(), along.back() + 1.0, inf})
        expectAt(beyond, samples.back());
    for (size_t i = 0; i + 1 < count; ++i) {
        expectAt(along[i], samples[i]);
        const PrecisePoint a = samples[i], b = samples[i + 1];
        expectAt(along[i] + (along[i + 1] - along[i]) / 4,
                 PrecisePoint{a.x + (b.x - a.x) / 4, a.y + (b.y - a.y) / 4});
    }

    // Each piece of positive length is the direction from its start to just
    // before its end; the first one also before the start, the last one at
    // and beyond the end. A path of length 0 has none.
    const auto expectDirection = [&](double distance, PrecisePoint want) {
        PrecisePoint d{-7, -7};
        velmora_path_direction(path.get(), distance, &d.x, &d.y);
        const PrecisePoint q = curvePath.DirectionAt(distance);
        EXPECT_TRUE(d.x == q.x && d.y == q.y) << "the C and C++ paths differ at " << distance;
        EXPECT_NEAR(d.x, want.x, 1e-12) << distance;
        EXPECT_NEAR(d.y, want.y, 1e-12) << distance;
    };
    PrecisePoint first{}, last{};
    for (size_t i = 0; i + 1 < count; ++i) {
        const double dx = samples[i + 1].x - samples[i].x, dy = samples[i + 1].y - samples[i].y;
        if (along[i + 1] > along[i]) {
            last = {dx / std::hypot(dx, dy), dy / std::hypot(dx, dy)};
            first = first.x == 0 && first.y == 0 ? last : first;
            expectDirection(along[i], last);
            expectDirection(std::nextafter(along[i + 1], 0.0), last);
        }
    }
    for (double before : {-1.0, -inf, std::numeric_limits<double>::quiet_NaN()})
        expectDirection(before, first);
    for (double beyond : {along.back(), along.back() + 1.0, inf})
        expectDirection(beyond, last);
    if (along.back() == 0.0)
        expectAt(1.0, samples.front());
}

INSTANTIATE_TEST_SUITE_P(
    Splines, PreciseCurve,
    testing::Values(PreciseCase{"TwoPoints", {{100, 100}, {60, 20}}, 21},
                    PreciseCase{"ThreePoints", {{10, 10}, {50, 90}, {130, 90}}, 42},
                    PreciseCase{"EndsOnItsPoint", {{18, 196}, {209, 82}}, 48},
                    PreciseCase{"TruncatedFromDouble", {{75, 249}, {406, 18}}, 83},
                    PreciseCase{"NegativeTruncatesTowardZero", {{0, 0}, {-40, 0}}, 11},
                    PreciseCase{"CoincidentPoints", {{5, 5}, {5, 5}, {40, 0}, {40, 0}}, 13},
                    PreciseCase{"LongestChord", {{-10000, 0}, {10000, 30}}, 4097},
                    PreciseCase{"ZeroLength", {{7, 9}, {7, 9}, {7, 9}}, 4}),
    velmora::testing_support::CaseName());

// Sample 27 of this chord is 183.99999... in double: truncating that gives
// the drawn 183, while rounding it to float first would give 184.
TEST(PreciseCurve, KeepsTheDoubleBeforeTruncation) {
    const std::vector<PrecisePoint> samples = velmora::SampleCurvePrecise({{75, 249}, {406, 18}});
    ASSERT_GT(samples.size(), 27u);
    EXPECT_EQ(std::trunc(samples[27].x), 183.0);
    EXPECT_EQ(std::trunc(static_cast<float>(samples[27].x)), 184.0f);
}

TEST(PreciseCurve, FewerThanTwoPointsMakeNoPath) {
    const int32_t one[] = {5, 5};
    double x = -7, y = -7;
    EXPECT_EQ(velmora_path_new(one, 1), nullptr);
    EXPECT_EQ(velmora_path_new(nullptr, 3), nullptr);
    EXPECT_EQ(velmora_path_length(nullptr), 0.0);
    velmora_path_at(nullptr, 3.0, &x, &y);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
    x = y = -7;
    velmora_path_direction(nullptr, 3.0, &x, &y);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
    velmora_path_free(nullptr);
    EXPECT_EQ(velmora_curve_precise(one, 1, nullptr, 0), 0u);
    EXPECT_EQ(velmora::CurvePath({{5, 5}}).Length(), 0.0);
    EXPECT_EQ(velmora::CurvePath({{5, 5}}).DirectionAt(0.0).x, 0.0);
}

}  // namespace
