#include "render/scene.h"

#include <gtest/gtest.h>

#include "render/colours.h"
#include "shapes.h"

namespace velmora {
namespace {

using test::CrossShape;
using test::PixelSet;
using test::PixelsOf;
using test::StarShape;
using test::Union;

constexpr Rect kClient{0, 0, 480, 360};

// The five stars of a 480 x 360 client with `current` highlighted.
struct ExpectedStars {
    PixelSet white, yellow, green;
};

ExpectedStars StarsFor(int current) {
    const Point centres[kNoteCount] = {{75, 75}, {184, 75}, {295, 75}, {405, 75}};
    ExpectedStars e;
    e.white = StarShape(424, 238, 10);
    for (int i = 0; i < kNoteCount; ++i) {
        if (i == current) {
            e.yellow = Union(e.yellow, StarShape(centres[i].x, centres[i].y, 10));
        } else {
            e.green = Union(e.green, StarShape(centres[i].x, centres[i].y, 8));
        }
    }
    return e;
}

class SceneTest : public ::testing::Test {
protected:
    // Draws the scene on a fresh 480 x 360 canvas, as a caller with a newly
    // obtained device context would.
    Canvas Draw(int currentNote = 0) {
        Canvas canvas(480, 360);
        const SceneView view{points, curve, MapTargets(kClient, kDesignTargets), currentNote};
        DrawScene(canvas, kClient, view);
        return canvas;
    }

    std::vector<Point> points;
    std::vector<Point> curve;
};

TEST_F(SceneTest, EmptySplineShowsOnlyBackgroundAndStars) {
    for (const std::vector<Point>& c : {std::vector<Point>{}, std::vector<Point>{{200, 200}}}) {
        curve = c;
        const Canvas canvas = Draw(0);
        const ExpectedStars e = StarsFor(0);
        EXPECT_EQ(PixelsOf(canvas, kOriginStar.colour), e.white);
        EXPECT_EQ(PixelsOf(canvas, kCurrentTargetStar.colour), e.yellow);
        EXPECT_EQ(PixelsOf(canvas, kOtherTargetStar.colour), e.green);
        const size_t grey = PixelsOf(canvas, kBackgroundColour).size();
        EXPECT_EQ(grey + e.white.size() + e.yellow.size() + e.green.size(), 480u * 360u)
            << "nothing but background and stars";
    }
}

TEST_F(SceneTest, CurrentNoteIsYellowAndLarger) {
    const Canvas canvas = Draw(2);
    const ExpectedStars e = StarsFor(2);
    EXPECT_EQ(PixelsOf(canvas, kCurrentTargetStar.colour), e.yellow);
    EXPECT_EQ(PixelsOf(canvas, kOtherTargetStar.colour), e.green);
    EXPECT_EQ(PixelsOf(canvas, kOriginStar.colour), e.white);
    // Diagonals of 7 for the current note, 6 for the others.
    EXPECT_EQ(canvas.PixelAt(295 + 6, 75 + 6), kCurrentTargetStar.colour);
    EXPECT_EQ(canvas.PixelAt(184 + 5, 75 + 5), kOtherTargetStar.colour);
    EXPECT_EQ(canvas.PixelAt(184 + 6, 75 + 6), kBackgroundColour);
}

TEST_F(SceneTest, FirstCrossIsLightBlueAndTheOthersRed) {
    points = {{100, 100}, {200, 150}, {300, 200}};
    const Canvas canvas = Draw();
    EXPECT_EQ(PixelsOf(canvas, kFirstCross.colour), CrossShape(100, 100, 6));
    EXPECT_EQ(PixelsOf(canvas, kCross.colour),
              Union(CrossShape(200, 150, 4), CrossShape(300, 200, 4)));
}

TEST_F(SceneTest, LaterCrossCoversAnEarlierOneAtTheSameSpot) {
    points = {{100, 100}, {100, 100}};
    const Canvas canvas = Draw();
    EXPECT_EQ(PixelsOf(canvas, kCross.colour), CrossShape(100, 100, 4));
    const PixelSet blueTips = {{94, 100}, {95, 100}, {104, 100}, {105, 100},
                               {100, 94}, {100, 95}, {100, 104}, {100, 105}};
    EXPECT_EQ(PixelsOf(canvas, kFirstCross.colour), blueTips);
}

TEST_F(SceneTest, CurveIsDrawnLastInBlackWithoutItsLastPoint) {
    points = {{100, 100}, {140, 100}};
    curve = {{100, 100}, {120, 100}, {140, 100}};
    const Canvas canvas = Draw();
    PixelSet line;
    for (int32_t x = 100; x < 140; ++x)
        line.insert({x, 100});
    EXPECT_EQ(PixelsOf(canvas, kBlack), line);
    EXPECT_EQ(canvas.PixelAt(140, 100), kCross.colour) << "the last point is not drawn";
    EXPECT_EQ(canvas.PixelAt(100, 100), kBlack) << "the curve covers the first cross";
}

TEST_F(SceneTest, OnePointSplineShowsOneCrossAndNoCurve) {
    points = {{250, 300}};
    curve = {{250, 300}};
    const Canvas canvas = Draw();
    EXPECT_EQ(PixelsOf(canvas, kFirstCross.colour), CrossShape(250, 300, 6));
    EXPECT_TRUE(PixelsOf(canvas, kCross.colour).empty());
    EXPECT_TRUE(PixelsOf(canvas, kBlack).empty());
}

TEST_F(SceneTest, LeavesTheCallersPenAndDrawsTheCurveWithIt) {
    points = {{10, 10}, {50, 10}};
    curve = {{10, 300}, {50, 300}};
    Canvas canvas(480, 360);
    canvas.SelectPen(0x00102030);
    const SceneView view{points, curve, MapTargets(kClient, kDesignTargets), 1};
    DrawScene(canvas, kClient, view);
    EXPECT_EQ(canvas.CurrentPen(), 0x00102030u);
    EXPECT_EQ(canvas.PixelAt(30, 300), 0x00102030u);
}

TEST_F(SceneTest, BackgroundFollowsTheCurrentClientWhileStarsKeepTheStartUpRect) {
    Canvas canvas(600, 400);
    const SceneView view{points, curve, MapTargets(kClient, kDesignTargets), 0};

    DrawScene(canvas, Rect{0, 0, 600, 400}, view);
    EXPECT_EQ(canvas.PixelAt(599, 399), kBackgroundColour);
    EXPECT_EQ(PixelsOf(canvas, kOriginStar.colour), StarShape(424, 238, 10));

    Canvas shrunk(600, 400);
    DrawScene(shrunk, Rect{0, 0, 300, 200}, view);
    EXPECT_EQ(shrunk.PixelAt(299, 199), kBackgroundColour);
    EXPECT_EQ(shrunk.PixelAt(300, 199), kBlack);
    EXPECT_EQ(shrunk.PixelAt(299, 200), kBlack);
    EXPECT_EQ(PixelsOf(shrunk, kOriginStar.colour), StarShape(424, 238, 10));
}

TEST_F(SceneTest, CurrentNoteOutOfRangeHighlightsNoStar) {
    const Canvas canvas = Draw(7);
    EXPECT_TRUE(PixelsOf(canvas, kCurrentTargetStar.colour).empty());
    EXPECT_EQ(PixelsOf(canvas, kOtherTargetStar.colour), StarsFor(-1).green);
}

}  // namespace
}  // namespace velmora
