#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "curve/jacobi_rows.h"
#include "curve/spline_solver.h"

namespace velmora {
namespace {

// A solver for the points that has run SolveTangents; it is not copyable.
std::unique_ptr<SplineSolver> Solve(const std::vector<Point>& points) {
    auto solver =
        std::make_unique<SplineSolver>(points.data(), static_cast<int32_t>(points.size()));
    solver->SolveTangents();
    return solver;
}

TEST(SplineSolver, TwoPointsGiveTangentsOf2049Over2048OfTheChord) {
    const auto sptr = Solve({{0, 0}, {40, 0}});
    const SplineSolver& s = *sptr;
    EXPECT_EQ(s.Ratio()[0], 1.0f);
    EXPECT_EQ(s.Diag()[0], 2.0f);
    EXPECT_EQ(s.Diag()[1], 2.0f);
    EXPECT_EQ(s.Upper()[0], 1.0f);
    EXPECT_EQ(s.Lower()[1], 1.0f);
    EXPECT_EQ(s.TanX()[0], 40.01953125f);
    EXPECT_EQ(s.TanX()[1], 40.01953125f);
    EXPECT_EQ(s.TanY()[0], 0.0f);
    EXPECT_EQ(s.TanY()[1], 0.0f);
    EXPECT_EQ(s.EndTanX()[0], s.TanX()[1]);
}

TEST(SplineSolver, ExactlyFor2049Over2048OfEveryChordBelow4096) {
    for (int chord : {1, 3, 40, 100, 2048, 4095}) {
        const auto sptr = Solve({{0, 0}, {chord, -chord}});
        const SplineSolver& s = *sptr;
        const double expected = chord * 2049.0 / 2048.0;
        EXPECT_EQ(s.TanX()[0], static_cast<float>(expected)) << chord;
        EXPECT_EQ(s.TanY()[1], static_cast<float>(-expected)) << chord;
    }
}

TEST(SplineSolver, EvenlySpacedCollinearPoints) {
    const auto sptr = Solve({{0, 0}, {40, 0}, {80, 0}, {120, 0}});
    const SplineSolver& s = *sptr;
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(s.TanX()[j], 40.01953125f) << j;
        EXPECT_EQ(s.TanY()[j], 0.0f) << j;
    }
}

TEST(SplineSolver, ThreePointExampleToFourDecimals) {
    const auto sptr = Solve({{10, 10}, {50, 90}, {130, 90}});
    const SplineSolver& s = *sptr;
    const double eps = 0.00005;
    EXPECT_NEAR(s.Ratio()[0], 1.1180, eps);
    EXPECT_EQ(s.Ratio()[1], 1.0f);
    EXPECT_EQ(s.Diag()[0], 2.0f);
    EXPECT_NEAR(s.Diag()[1], 4.7361, eps);
    EXPECT_EQ(s.Diag()[2], 2.0f);
    EXPECT_NEAR(s.Upper()[0], 1.1180, eps);
    EXPECT_NEAR(s.Upper()[1], 1.25, eps);

    const double tanX[] = {26.9828, 59.1496, 90.4685};
    const double tanY[] = {101.1330, 33.7998, -16.8752};
    for (int j = 0; j < 3; ++j) {
        EXPECT_NEAR(s.TanX()[j], tanX[j], eps) << j;
        EXPECT_NEAR(s.TanY()[j], tanY[j], eps) << j;
    }
    EXPECT_NEAR(s.EndTanX()[0], 66.1313, eps);
    EXPECT_NEAR(s.EndTanX()[1], 90.4685, eps);
    EXPECT_NEAR(s.EndTanY()[0], 37.7893, eps);
    EXPECT_NEAR(s.EndTanY()[1], -16.8752, eps);
    // The last segment's end tangent is the last point's own tangent.
    EXPECT_EQ(s.EndTanX()[1], s.TanX()[2]);
    EXPECT_EQ(s.EndTanY()[1], s.TanY()[2]);
}

TEST(SplineSolver, AxisWithoutChordComponentsStaysExactlyZero) {
    const auto flatptr = Solve({{0, 7}, {13, 7}, {50, 7}, {51, 7}});
    const SplineSolver& flat = *flatptr;
    const auto uprightptr = Solve({{3, 0}, {3, 90}, {3, 91}});
    const SplineSolver& upright = *uprightptr;
    for (float v : flat.TanY())
        EXPECT_EQ(v, 0.0f);
    for (float v : upright.TanX())
        EXPECT_EQ(v, 0.0f);
}

TEST(SplineSolver, CoincidentPointsKeepEveryValueFinite) {
    const std::vector<std::vector<Point>> cases = {
        {{5, 5}, {5, 5}},
        {{0, 0}, {0, 0}, {40, 0}},
        {{0, 0}, {40, 0}, {40, 0}},
        {{0, 0}, {40, 0}, {40, 0}, {80, 30}},
        {{9, 9}, {9, 9}, {9, 9}, {9, 9}},
    };
    for (const auto& points : cases) {
        const auto sptr = Solve(points);
        const SplineSolver& s = *sptr;
        for (size_t j = 0; j < points.size(); ++j) {
            EXPECT_TRUE(std::isfinite(s.TanX()[j]) && std::isfinite(s.TanY()[j]));
        }
        for (size_t j = 0; j + 1 < points.size(); ++j) {
            EXPECT_TRUE(std::isfinite(s.EndTanX()[j]) && std::isfinite(s.EndTanY()[j]));
        }
    }
}

// Rows two at a time must give the bits of one at a time, odd counts included.
TEST(JacobiRows, GiveTheBitsOfJacobiRow) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> value(-1e4f, 1e4f), positive(0.01f, 50.0f);
    for (int n = 3; n < 40; ++n) {
        SCOPED_TRACE(n);
        std::vector<float> v(n), lower(n), diag(n), upper(n), r(n), q(n);
        for (int i = 0; i < n; ++i) {
            v[i] = value(random), r[i] = value(random), lower[i] = positive(random);
            diag[i] = positive(random), upper[i] = i % 7 == 0 ? 3e38f : positive(random);
        }
        const float* in[] = {v.data(), lower.data(), diag.data(), upper.data(), r.data()};
        detail::JacobiRows(in[0], in[1], in[2], in[3], in[4], q.data(), 1, n - 2);
        for (int j = 1; j <= n - 2; ++j)
            EXPECT_EQ(q[j], detail::JacobiRow(in[0], in[1], in[2], in[3], in[4], j)) << "row " << j;
    }
}

}  // namespace
}  // namespace velmora
