#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/support/case_names.h"

namespace velmora {
namespace {

constexpr Colour kPen = 0x00FFFFFF;

// The pixels of `canvas` that hold the pen colour, in row-major order.
std::vector<Point> PenPixels(const Canvas& canvas) {
    std::vector<Point> found;
    for (int32_t y = 0; y < canvas.Height(); ++y) {
        for (int32_t x = 0; x < canvas.Width(); ++x) {
            if (canvas.PixelAt(x, y) == kPen) {
                found.push_back(Point{x, y});
            }
        }
    }
    return found;
}

// Sorts points row-major so they compare with PenPixels.
std::vector<Point> RowMajor(std::vector<Point> points) {
    std::sort(points.begin(), points.end(),
              [](Point a, Point b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    return points;
}

std::string Describe(const std::vector<Point>& points) {
    std::string text;
    for (Point p : points) {
        text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    }
    return text;
}

struct StrokeCase {
    const char* name;
    Point from;
    Point to;
    std::vector<Point> pixels;
};

class StrokeTest : public ::testing::TestWithParam<StrokeCase> {};

TEST_P(StrokeTest, CoversExactlyTheExpectedPixels) {
    const StrokeCase& c = GetParam();
    Canvas canvas(20, 20);
    canvas.SelectPen(kPen);
    canvas.MoveTo(c.from);
    canvas.LineTo(c.to);
    EXPECT_EQ(Describe(PenPixels(canvas)), Describe(RowMajor(c.pixels)));
    EXPECT_EQ(canvas.PixelAt(c.to.x, c.to.y), kBlack) << "the end point is never drawn";
}

INSTANTIATE_TEST_SUITE_P(
    Strokes, StrokeTest,
    ::testing::Values(
        StrokeCase{
            "RightwardLeavesRightEnd", {5, 10}, {9, 10}, {{5, 10}, {6, 10}, {7, 10}, {8, 10}}},
        StrokeCase{"LeftwardLeavesLeftEnd", {9, 10}, {5, 10}, {{9, 10}, {8, 10}, {7, 10}, {6, 10}}},
        StrokeCase{"DownwardLeavesLowerEnd", {10, 5}, {10, 8}, {{10, 5}, {10, 6}, {10, 7}}},
        StrokeCase{"UpwardLeavesUpperEnd", {10, 8}, {10, 5}, {{10, 8}, {10, 7}, {10, 6}}},
        StrokeCase{"DiagonalDownRight", {2, 2}, {5, 5}, {{2, 2}, {3, 3}, {4, 4}}},
        StrokeCase{"DiagonalDownLeft", {5, 2}, {2, 5}, {{5, 2}, {4, 3}, {3, 4}}},
        StrokeCase{"DiagonalUpRight", {2, 5}, {5, 2}, {{2, 5}, {3, 4}, {4, 3}}},
        StrokeCase{"Shallow", {0, 0}, {5, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        // k * 2 / 4 is exactly 0.5 at k = 1 and 1.5 at k = 3: ties go away
        // from the first point.
        StrokeCase{"ShallowTiesRoundAway", {0, 0}, {4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        StrokeCase{
            "ShallowTiesRoundAwayReversed", {4, 2}, {0, 0}, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        StrokeCase{"Steep", {0, 0}, {2, 5}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}},
        StrokeCase{"SteepUpLeft", {3, 6}, {1, 1}, {{3, 6}, {3, 5}, {2, 4}, {2, 3}, {1, 2}}},
        StrokeCase{"ZeroLengthDrawsNothing", {7, 7}, {7, 7}, {}},
        StrokeCase{"SinglePixelStep", {7, 7}, {8, 8}, {{7, 7}}},
        StrokeCase{"PartlyOffCanvas", {-2, 3}, {3, 3}, {{0, 3}, {1, 3}, {2, 3}}}),
    testing_support::CaseName());

TEST(CanvasTest, NewCanvasIsBlackWithBlackPen) {
    Canvas canvas(7, 5);
    EXPECT_EQ(canvas.Width(), 7);
    EXPECT_EQ(canvas.Height(), 5);
    EXPECT_EQ(canvas.CurrentPen(), kBlack);
    ASSERT_EQ(canvas.Pixels().size(), 35u);
    for (Colour c : canvas.Pixels()) {
        EXPECT_EQ(c, kBlack);
    }
}

TEST(CanvasTest, NegativeSizeGivesAnEmptyCanvasThatIgnoresDrawing) {
    Canvas canvas(-3, 10);
    EXPECT_EQ(canvas.Width(), 0);
    EXPECT_TRUE(canvas.Pixels().empty());
    canvas.FillRect(Rect{-5, -5, 5, 5}, kPen);
    canvas.MoveTo(Point{-5, -5});
    canvas.LineTo(Point{5, 5});
    EXPECT_EQ(canvas.PixelAt(0, 0), 0u);
}

TEST(CanvasTest, SelectPenReturnsThePreviousPen) {
    Canvas canvas(4, 4);
    EXPECT_EQ(canvas.SelectPen(0x00123456), kBlack);
    EXPECT_EQ(canvas.SelectPen(0x00ABCDEF), 0x00123456u);
    EXPECT_EQ(canvas.CurrentPen(), 0x00ABCDEFu);
}

TEST(CanvasTest, LineToContinuesFromTheLastEndPoint) {
    Canvas canvas(10, 10);
    canvas.SelectPen(kPen);
    canvas.MoveTo(Point{1, 1});
    canvas.LineTo(Point{4, 1});
    canvas.LineTo(Point{4, 3});
    EXPECT_EQ(Describe(PenPixels(canvas)), "(1,1)(2,1)(3,1)(4,1)(4,2)");
}

TEST(CanvasTest, PolylineLeavesOnlyTheLastPointUndrawn) {
    Canvas canvas(10, 10);
    canvas.SelectPen(kPen);
    canvas.MoveTo(Point{0, 9});
    const Point points[] = {{2, 2}, {5, 2}, {5, 4}, {3, 4}};
    canvas.Polyline(points, 4);
    EXPECT_EQ(Describe(PenPixels(canvas)), "(2,2)(3,2)(4,2)(5,2)(5,3)(4,4)(5,4)");
    EXPECT_EQ(canvas.PixelAt(3, 4), kBlack);

    // The current position is where MoveTo left it, not the polyline's end.
    canvas.LineTo(Point{0, 8});
    EXPECT_EQ(canvas.PixelAt(0, 9), kPen);
}

TEST(CanvasTest, PolylineOfFewerThanTwoPointsDrawsNothing) {
    Canvas canvas(5, 5);
    canvas.SelectPen(kPen);
    const Point one[] = {{2, 2}};
    canvas.Polyline(nullptr, 0);
    canvas.Polyline(one, 1);
    EXPECT_TRUE(PenPixels(canvas).empty());
}

struct FillCase {
    const char* name;
    Rect rect;
    int left, top, right, bottom;  // the filled area after clipping; empty if left == right
};

class FillRectTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillRectTest, FillsOnlyTheClippedArea) {
    const FillCase& c = GetParam();
    Canvas canvas(8, 6);
    canvas.FillRect(c.rect, kPen);
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
            EXPECT_EQ(canvas.PixelAt(x, y), inside ? kPen : kBlack) << x << "," << y;
        }
    }
}

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Fills, FillRectTest,
    ::testing::Values(FillCase{"Inside", {1, 2, 4, 5}, 1, 2, 4, 5},
                      FillCase{"WholeCanvas", {0, 0, 8, 6}, 0, 0, 8, 6},
                      FillCase{"OverlapsTopLeft", {-3, -3, 2, 2}, 0, 0, 2, 2},
                      FillCase{"OverlapsBottomRight", {6, 4, 20, 20}, 6, 4, 8, 6},
                      FillCase{"WholeIntRange", {kMin, kMin, kMax, kMax}, 0, 0, 8, 6},
                      FillCase{"OffCanvas", {10, 0, 20, 6}, 0, 0, 0, 0},
                      FillCase{"Inverted", {5, 5, 1, 1}, 0, 0, 0, 0},
                      FillCase{"EmptyWidth", {3, 1, 3, 5}, 0, 0, 0, 0}),
    testing_support::CaseName());

// The stroke's pixels by definition: for the major axis (x when |dx| >= |dy|)
// step k = 0 .. |major| - 1, the minor offset is
// floor((2 k |minor| + |major|) / (2 |major|)). Only the steps whose major
// coordinate lies on the canvas are evaluated, so the walk is short however
// far the end points lie.
std::vector<Colour> ReferenceStroke(Point from, Point to, int32_t width, int32_t height) {
    std::vector<Colour> pixels(static_cast<size_t>(width) * height, kBlack);
    const int64_t dx = int64_t(to.x) - from.x;
    const int64_t dy = int64_t(to.y) - from.y;
    if (dx == 0 && dy == 0) {
        return pixels;
    }
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t major = std::llabs(xMajor ? dx : dy);
    const int64_t minor = std::llabs(xMajor ? dy : dx);
    const int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int64_t minorStep = (xMajor ? dy : dx) >= 0 ? 1 : -1;
    const int64_t major0 = xMajor ? from.x : from.y;
    const int64_t minor0 = xMajor ? from.y : from.x;
    const int32_t majorSize = xMajor ? width : height;
    const int32_t minorSize = xMajor ? height : width;
    for (int32_t m = 0; m < majorSize; ++m) {
        const int64_t k = (m - major0) * majorStep;
        if (k < 0 || k >= major) {
            continue;
        }
        const __int128 offset = (__int128(2) * k * minor + major) / (__int128(2) * major);
        const __int128 n = minor0 + minorStep * offset;
        if (n < 0 || n >= minorSize) {
            continue;
        }
        const int64_t x = xMajor ? m : static_cast<int64_t>(n);
        const int64_t y = xMajor ? static_cast<int64_t>(n) : m;
        pixels[static_cast<size_t>(y * width + x)] = kPen;
    }
    return pixels;
}

// The same pixels from a plain walk over every step, for short strokes only.
std::vector<Colour> FullWalk(Point from, Point to, int32_t width, int32_t height) {
    std::vector<Colour> pixels(static_cast<size_t>(width) * height, kBlack);
    const int64_t dx = int64_t(to.x) - from.x;
    const int64_t dy = int64_t(to.y) - from.y;
    const int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
    for (int64_t k = 0; k < steps; ++k) {
        // Rounded to nearest, halves away from the first point.
        auto along = [&](int64_t d) {
            const int64_t s = d < 0 ? -1 : 1;
            return s * ((2 * k * std::llabs(d) + steps) / (2 * steps));
        };
        const int64_t x = from.x + along(dx);
        const int64_t y = from.y + along(dy);
        if (x >= 0 && x < width && y >= 0 && y < height) {
            pixels[static_cast<size_t>(y * width + x)] = kPen;
        }
    }
    return pixels;
}

std::vector<Colour> Draw(Point from, Point to, int32_t width, int32_t height) {
    Canvas canvas(width, height);
    canvas.SelectPen(kPen);
    canvas.MoveTo(from);
    canvas.LineTo(to);
    return canvas.Pixels();
}

TEST(CanvasClipTest, ShortStrokesMatchTheFullWalk) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int32_t> coord(-40, 80);
    for (int i = 0; i < 3000; ++i) {
        const Point from{coord(random), coord(random)};
        const Point to{coord(random), coord(random)};
        const auto full = FullWalk(from, to, 41, 29);
        ASSERT_EQ(Draw(from, to, 41, 29), full) << Describe({from}) << " -> " << Describe({to});
        ASSERT_EQ(ReferenceStroke(from, to, 41, 29), full) << "the reference itself is off";
    }
}

TEST(CanvasClipTest, FarStrokesMatchTheReference) {
    std::mt19937 random(777);
    std::uniform_int_distribution<int32_t> any(kMin, kMax);
    std::uniform_int_distribution<int32_t> near(-60, 100);
    std::uniform_int_distribution<int32_t> pick(0, 3);
    for (int i = 0; i < 4000; ++i) {
        // Mix end points anywhere in the int32_t range with end points on or
        // near the canvas, so that many far strokes actually cross it.
        const int kind = pick(random);
        Point from{any(random), any(random)};
        Point to{any(random), any(random)};
        if (kind == 1 || kind == 3) {
            from = Point{near(random), near(random)};
        }
        if (kind == 2 || kind == 3) {
            // A far end point on the line through a visible pixel and `from`,
            // scaled out, so the stroke crosses the canvas.
            const Point via{near(random), near(random)};
            const int64_t sx = int64_t(via.x) - from.x;
            const int64_t sy = int64_t(via.y) - from.y;
            const int64_t limit = std::max<int64_t>({std::llabs(sx), std::llabs(sy), 1});
            const int64_t scale = (int64_t(kMax) / 2) / limit;
            to = Point{static_cast<int32_t>(from.x / 2 + sx * scale),
                       static_cast<int32_t>(from.y / 2 + sy * scale)};
        }
        ASSERT_EQ(Draw(from, to, 53, 37), ReferenceStroke(from, to, 53, 37))
            << Describe({from}) << " -> " << Describe({to});
    }
}

// Polyline walks strokes that lie wholly on the canvas without clipping; it
// must give LineTo's pixels for any mix of strokes on, across and far off it.
TEST(CanvasClipTest, PolylineMatchesLineTo) {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int32_t> pick(0, 3), onX(0, 12), onY(0, 10), edge(-4, 16);
    std::uniform_int_distribution<int32_t> any(kMin, kMax);
    std::vector<Point> points{{6, 5}, {7, 5}};
    for (int i = 0; i < 8000; ++i) {
        const int kind = pick(random);
        points.push_back(kind == 0   ? Point{onX(random), onY(random)}
                         : kind == 1 ? Point{edge(random), edge(random)}
                         : kind == 2 ? Point{any(random), any(random)}
                                     : points.back());
        Canvas polyline(13, 11), strokes(13, 11);
        polyline.SelectPen(kPen);
        strokes.SelectPen(kPen);
        polyline.Polyline(&points[points.size() - 3], 3);
        strokes.MoveTo(points[points.size() - 3]);
        strokes.LineTo(points[points.size() - 2]);
        strokes.LineTo(points.back());
        ASSERT_EQ(polyline.Pixels(), strokes.Pixels())
            << Describe({points.end() - 3, points.end()});
    }
}

struct ExtremeCase {
    const char* name;
    Point from;
    Point to;
};

class ExtremeStrokeTest : public ::testing::TestWithParam<ExtremeCase> {};

TEST_P(ExtremeStrokeTest, MatchesTheReference) {
    const ExtremeCase& c = GetParam();
    EXPECT_EQ(Draw(c.from, c.to, 48, 36), ReferenceStroke(c.from, c.to, 48, 36));
}

INSTANTIATE_TEST_SUITE_P(
    Extremes, ExtremeStrokeTest,
    ::testing::Values(ExtremeCase{"CornerToCorner", {kMin, kMin}, {kMax, kMax}},
                      ExtremeCase{"CornerToCornerBack", {kMax, kMax}, {kMin, kMin}},
                      ExtremeCase{"AntiDiagonal", {kMax, kMin}, {kMin, kMax}},
                      ExtremeCase{"HorizontalAcross", {kMin, 5}, {kMax, 5}},
                      ExtremeCase{"VerticalAcross", {7, kMax}, {7, kMin}},
                      ExtremeCase{"NearlyFlat", {kMin, 0}, {kMax, 35}},
                      ExtremeCase{"NearlyUpright", {0, kMax}, {47, kMin}},
                      ExtremeCase{"FromCanvasOutward", {10, 10}, {kMax, kMax - 1000}},
                      ExtremeCase{"IntoCanvasCorner", {kMin, kMin + 12345}, {0, 0}},
                      ExtremeCase{"WhollyOff", {kMin, -5}, {kMax, -1}}),
    testing_support::CaseName());

TEST(CanvasClipTest, HugeDiagonalDrawsJustTheVisibleDiagonal) {
    Canvas canvas(480, 360);
    canvas.SelectPen(kPen);
    canvas.MoveTo(Point{-2000000000, -2000000000});
    canvas.LineTo(Point{2000000000, 2000000000});
    std::vector<Point> expected;
    for (int32_t i = 0; i < 360; ++i) {
        expected.push_back(Point{i, i});
    }
    EXPECT_EQ(Describe(PenPixels(canvas)), Describe(expected));
}

}  // namespace
}  // namespace velmora
