#include <cmath>
#include <cstdint>
#include <limits>

#include "editor/point_distance.h"
#include "tests/editor/editor_fixture.h"

namespace velmora {
namespace {

using testing_support::ReadFile;

TEST_F(EditorTest, StartWithoutAFileShowsNoteZeroOnDefaults) {
    Start();
    for (int n = 0; n < kNoteCount; ++n) {
        EXPECT_EQ(dlg->NoteSplines()[n], SplineList{DefaultOf(n)}) << n;
        EXPECT_EQ(dlg->CurrentSpline(n), 0);
    }
    EXPECT_EQ(dlg->CurrentNote(), 0);
    EXPECT_EQ(dlg->Points(), DefaultOf(0));
    EXPECT_EQ(dlg->DragIndex(), -1);
    EXPECT_EQ(dlg->ClientRect(), (Rect{0, 0, 480, 360}));
    EXPECT_EQ(host.Captions(), std::vector<std::string>{"Velmora (Editing note 0 spline 1 / 1)"});
    EXPECT_EQ(host.GetDCCount(), 1);
    EXPECT_EQ(host.ReleaseDCCount(), 1);
    // The file now exists with zero bytes, and the next start reads nothing from it.
    EXPECT_TRUE(std::filesystem::exists(FilePath()));
    EXPECT_EQ(ReadFile(FilePath()), "");
    EXPECT_TRUE(host.Warnings().empty());
}

TEST_F(EditorTest, StartAddsTheAboutEntryAndTheIcons) {
    Start();
    ASSERT_EQ(host.SystemMenu().size(), 2u);
    EXPECT_EQ(host.SystemMenu()[0].id, 0u);
    EXPECT_EQ(host.SystemMenu()[1].id, 0x0010u);
    EXPECT_EQ(host.SystemMenu()[1].text, "&About Velmora...");
    EXPECT_EQ(host.BigIcon(), 128);
    EXPECT_EQ(host.SmallIcon(), 128);
    EXPECT_EQ(dlg->OnQueryDragIcon(), 128);
}

TEST_F(EditorTest, DesignToClientUsesTheCapturedClientRect) {
    host = HeadlessHost(640, 300);
    Start();
    EXPECT_EQ(dlg->DesignToClient(0, 0), (Point{0, 0}));
    EXPECT_EQ(dlg->DesignToClient(320, 240), (Point{640, 300}));
    EXPECT_EQ(dlg->Points().front(), dlg->DesignToClient(283, 159));
}

TEST_F(EditorTest, HitTestIsStrictlyInsideFivePixels) {
    StartWithSplines({{{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}, {50, 0}}});
    const struct {
        Point p;
        int expected;
    } cases[] = {
        {{13, 3}, 1},   // 4.24 pixels from point 1
        {{10, 5}, -1},  // exactly 5.0 from point 1: no hit
        {{14, 0}, 1},   // 4 from point 1
        {{16, 0}, 2},   // 6 from point 1, 4 from point 2
        {{5, 0}, -1},   // exactly 5.0 from points 0 and 1
        {{200, 200}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dlg->HitTestPoint(c.p), c.expected) << c.p.x << "," << c.p.y;
}

TEST_F(EditorTest, HitTestPrefersTheLowerIndexEvenWhenALaterPointIsCloser) {
    StartWithSplines({{{100, 100}, {104, 100}, {105, 100}}});
    EXPECT_EQ(dlg->HitTestPoint({105, 100}), 1);
}

TEST_F(EditorTest, HitTestOnAnEmptySplineMisses) {
    StartWith("<NewNoteSpline Index=\"0\"><NewSpline /></NewNoteSpline>");
    ASSERT_TRUE(dlg->Points().empty());
    EXPECT_EQ(dlg->HitTestPoint({0, 0}), -1);
}

TEST(PointDistance, ExactEverywhereAndWithoutOverflow) {
    constexpr int32_t lo = std::numeric_limits<int32_t>::min();
    constexpr int32_t hi = std::numeric_limits<int32_t>::max();
    const struct {
        Point a, b;
        double distance;
    } cases[] = {
        {{0, 0}, {3, 4}, 5.0},
        {{13, 3}, {10, 0}, std::sqrt(18.0)},
        {{-7, -7}, {-7, -7}, 0.0},
        {{0, 0}, {46340, 0}, 46340.0},
        {{0, 0}, {46341, 0}, 46341.0},
        {{lo, 0}, {hi, 0}, 4294967295.0},
        {{lo, lo}, {hi, hi}, std::sqrt(2.0) * 4294967295.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(PointDistance(c.a, c.b), c.distance);
        EXPECT_DOUBLE_EQ(PointDistance(c.b, c.a), c.distance);
    }
}

TEST_F(EditorTest, NotesTheFileLeavesEmptyGetTheirDefaultSpline) {
    StartWith(
        "<NewNoteSpline Index=\"1\" />"
        "<NewNoteSpline Index=\"2\"><NewSpline><ControlPoint PosX=\"1\" PosY=\"2\" />"
        "<ControlPoint PosX=\"3\" PosY=\"4\" /></NewSpline></NewNoteSpline>");
    EXPECT_EQ(dlg->NoteSplines()[0], SplineList{DefaultOf(0)});
    EXPECT_EQ(dlg->NoteSplines()[1], SplineList{DefaultOf(1)});
    EXPECT_EQ(dlg->NoteSplines()[2], (SplineList{{{1, 2}, {3, 4}}}));
    Key(VK_ADD);
    Key(VK_DELETE);  // No is the scripted default: nothing happens
    EXPECT_EQ(host.Caption(), "Velmora (Editing note 1 spline 1 / 1)");
}

}  // namespace
}  // namespace velmora
