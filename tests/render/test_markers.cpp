#include "render/markers.h"

#include <gtest/gtest.h>

#include <limits>

#include "model/note_set.h"
#include "render/colours.h"
#include "shapes.h"
#include "tests/support/case_names.h"

namespace velmora {
namespace {

using test::PixelSet;
using test::PixelsOf;
using test::StarShape;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr Rect kClient{0, 0, 480, 360};

Canvas GreyCanvas(int32_t width = 480, int32_t height = 360) {
    Canvas canvas(width, height);
    canvas.FillRect(Rect{0, 0, width, height}, kBackgroundColour);
    return canvas;
}

TEST(DrawStarTest, OriginStarOfTheWorkedExample) {
    Canvas canvas = GreyCanvas();
    const Point origin = DesignToClient(kClient, 283, 159);
    DrawStar(origin.x, origin.y, kOriginStar.colour, 10, canvas);

    PixelSet expected;
    for (int32_t x = 414; x <= 433; ++x)
        expected.insert({x, 238});
    for (int32_t y = 228; y <= 247; ++y)
        expected.insert({424, y});
    for (int32_t i = 0; i < 14; ++i) {
        expected.insert({417 + i, 231 + i});  // (417,231) .. (430,244)
        expected.insert({431 - i, 231 + i});  // (431,231) .. (418,244)
    }
    EXPECT_EQ(PixelsOf(canvas, kOriginStar.colour), expected);
    // The excluded end pixels keep the background.
    for (auto [x, y] : {std::pair{434, 238}, {424, 248}, {431, 245}, {417, 245}}) {
        EXPECT_EQ(canvas.PixelAt(x, y), kBackgroundColour) << x << "," << y;
    }
}

struct StarCase {
    const char* name;
    Point design;
    Rect rect;
    Point centre;
};

class StarCentreTest : public ::testing::TestWithParam<StarCase> {};

TEST_P(StarCentreTest, LandsOnTheMappedCentre) {
    const StarCase& c = GetParam();
    Canvas canvas = GreyCanvas(700, 500);
    const Point centre = DesignToClient(c.rect, c.design.x, c.design.y);
    DrawStar(centre.x, centre.y, kOtherTargetStar.colour, 8, canvas);
    EXPECT_EQ(PixelsOf(canvas, kOtherTargetStar.colour), StarShape(c.centre.x, c.centre.y, 8));
}

INSTANTIATE_TEST_SUITE_P(
    Centres, StarCentreTest,
    ::testing::Values(StarCase{"Target0", {50, 50}, kClient, {75, 75}},
                      StarCase{"Target1", {123, 50}, kClient, {184, 75}},
                      StarCase{"Target2", {197, 50}, kClient, {295, 75}},
                      StarCase{"Target3", {270, 50}, kClient, {405, 75}},
                      // The product is rounded to float before truncating:
                      // 640 * float(283 / 320.0) is 565.99998... in double.
                      StarCase{"OriginIn640x480", {283, 159}, {0, 0, 640, 480}, {566, 318}},
                      // left and top play no part.
                      StarCase{"RectAwayFromCorner", {50, 50}, {100, 100, 480, 360}, {75, 75}}),
    testing_support::CaseName());

TEST(DrawCrossTest, SizeFourCoversEightPixelsEachWay) {
    Canvas canvas = GreyCanvas();
    DrawCross(100, 100, kCross.colour, 4, canvas);
    PixelSet expected;
    for (int32_t v = 96; v <= 103; ++v) {
        expected.insert({v, 100});
        expected.insert({100, v});
    }
    EXPECT_EQ(PixelsOf(canvas, kCross.colour), expected);
}

TEST(MarkersTest, EveryMarkerPutsThePreviousPenBack) {
    Canvas canvas = GreyCanvas();
    canvas.SelectPen(0x00123456);
    DrawCross(10, 10, kCross.colour, 4, canvas);
    EXPECT_EQ(canvas.CurrentPen(), 0x00123456u);
    DrawStar(100, 100, kOriginStar.colour, 10, canvas);
    EXPECT_EQ(canvas.CurrentPen(), 0x00123456u);
}

// Control points come from a file and may hold any int32_t value; arms
// reaching past the int32_t range must neither overflow nor lose the part
// that is on the canvas.
TEST(MarkersTest, ArmsNearTheIntLimitsKeepTheirVisiblePixels) {
    Canvas canvas = GreyCanvas(20, 20);
    DrawCross(10, 10, kCross.colour, kMax, canvas);
    PixelSet expected;
    for (int32_t v = 0; v < 20; ++v) {
        expected.insert({v, 10});
        expected.insert({10, v});
    }
    EXPECT_EQ(PixelsOf(canvas, kCross.colour), expected);

    Canvas far = GreyCanvas(20, 20);
    DrawCross(kMax, kMax, kCross.colour, 4, far);
    DrawCross(kMin, kMin, kCross.colour, kMax, far);
    // A negative size draws right to left: from far beyond the right edge
    // down to x = 0, which is the excluded end pixel.
    DrawCross(kMax, 3, kCross.colour, -kMax, far);
    PixelSet row3;
    for (int32_t x = 1; x < 20; ++x)
        row3.insert({x, 3});
    EXPECT_EQ(PixelsOf(far, kCross.colour), row3);

    Canvas stars = GreyCanvas(20, 20);
    DrawStar(kMax, kMin, kOriginStar.colour, kMax, stars);
    DrawStar(0, 0, kOriginStar.colour, kMax, stars);
    PixelSet diagonal;
    for (int32_t v = 0; v < 20; ++v) {
        diagonal.insert({v, 0});
        diagonal.insert({0, v});
        diagonal.insert({v, v});
    }
    EXPECT_EQ(PixelsOf(stars, kOriginStar.colour), diagonal);
}

}  // namespace
}  // namespace velmora
