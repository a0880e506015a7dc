#include "tests/editor/editor_fixture.h"
#include "tests/support/case_names.h"

namespace velmora {
namespace {

using testing_support::ReadFile;

// What one key press did, seen from outside.
struct KeyEffect {
    const char* name;
    uint32_t key;
    size_t splines;    // splines of note 0 afterwards (it starts with 3)
    int32_t note;      // current note afterwards
    int32_t index;     // current spline of that note afterwards
    size_t points;     // points of the working copy afterwards
    size_t questions;  // delete questions asked
    bool saved;        // Splines.xml written
};

class KeyTable : public EditorTest, public ::testing::WithParamInterface<KeyEffect> {};

// Note 0 holds three splines; the second, current one has three points.
TEST_P(KeyTable, EachKeyRunsItsCommandExactlyOnce) {
    const Spline three = {{20, 20}, {60, 60}, {90, 20}};
    StartWithSplines({{{10, 10}, {50, 50}}, three, {{30, 30}, {70, 70}}});
    Key(VK_RIGHT);
    host.SetCursor({90, 20});
    const KeyEffect& e = GetParam();

    Key(e.key);

    EXPECT_EQ(dlg->NoteSplines()[0].size(), e.splines);
    EXPECT_EQ(dlg->CurrentNote(), e.note);
    EXPECT_EQ(dlg->CurrentSpline(dlg->CurrentNote()), e.index);
    EXPECT_EQ(dlg->Points().size(), e.points);
    EXPECT_EQ(host.Questions().size(), e.questions);
    EXPECT_EQ(ReadFile(FilePath()).find("<RectSize") != std::string::npos, e.saved);
    EXPECT_FALSE(dlg->IsEnded());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTable,
    ::testing::Values(KeyEffect{"Backspace", VK_BACK, 3, 0, 1, 2, 0, false},
                      KeyEffect{"Enter", VK_RETURN, 4, 0, 2, 2, 0, false},
                      KeyEffect{"Left", VK_LEFT, 3, 0, 0, 2, 0, false},
                      KeyEffect{"Right", VK_RIGHT, 3, 0, 2, 2, 0, false},
                      KeyEffect{"Delete", VK_DELETE, 3, 0, 1, 3, 1, false},
                      KeyEffect{"S", 'S', 3, 0, 1, 3, 0, true},
                      KeyEffect{"KeypadPlus", VK_ADD, 3, 1, 0, 2, 0, false},
                      KeyEffect{"KeypadMinus", VK_SUBTRACT, 3, 3, 0, 2, 0, false},
                      KeyEffect{"KeypadDecimal", VK_DECIMAL, 3, 0, 1, 3, 1, false},
                      KeyEffect{"KeypadDivide", VK_DIVIDE, 3, 0, 1, 2, 0, false},
                      KeyEffect{"Escape", VK_ESCAPE, 3, 0, 1, 3, 0, false},
                      KeyEffect{"MainPlus", VK_OEM_PLUS, 3, 0, 1, 3, 0, false},
                      KeyEffect{"MainMinus", VK_OEM_MINUS, 3, 0, 1, 3, 0, false},
                      KeyEffect{"LowerS", 's', 3, 0, 1, 3, 0, false},
                      KeyEffect{"Up", VK_UP, 3, 0, 1, 3, 0, false},
                      KeyEffect{"Space", VK_SPACE, 3, 0, 1, 3, 0, false}),
    testing_support::CaseName());

TEST_F(EditorTest, EnterAndEscapeNeverEndTheDialog) {
    Start();
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_FALSE(dlg->IsEnded());
    EXPECT_EQ(host.Caption(), "Velmora (Editing note 0 spline 2 / 2)");
}

TEST_F(EditorTest, KeysOutsideTheDialogsMessagesAreLeftAlone) {
    Start();
    Send(0x0101 /* key up */, VK_RETURN);
    Send(0x0102 /* character */, 'S');
    EXPECT_EQ(SplineCount(), 1u);
    EXPECT_EQ(ReadFile(FilePath()), "");
}

TEST_F(EditorTest, AboutCommandRangeOpensTheAboutBoxOthersGetDefaults) {
    Start();
    for (uint32_t id = 0x0010; id <= 0x001F; ++id)
        Send(WM_SYSCOMMAND, id);
    EXPECT_EQ(host.AboutBoxCount(), 16);
    Send(WM_SYSCOMMAND, 0x0020);
    Send(WM_SYSCOMMAND, SC_MOVE);
    Send(WM_SYSCOMMAND, SC_KEYMENU);
    EXPECT_EQ(host.AboutBoxCount(), 16);
    EXPECT_FALSE(dlg->IsEnded());
    Send(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_TRUE(dlg->IsEnded());
    // Closing saves nothing.
    EXPECT_EQ(ReadFile(FilePath()), "");
}

TEST_F(EditorTest, PaintRedrawsTheWholeScene) {
    Start();
    const int before = host.GetDCCount();
    Send(WM_PAINT);
    EXPECT_EQ(host.GetDCCount(), before + 1);
    EXPECT_EQ(host.ClientCanvas().PixelAt(0, 0), 0x00C0C0C0u);
    EXPECT_EQ(host.ClientCanvas().PixelAt(479, 359), 0x00C0C0C0u);
}

TEST_F(EditorTest, ClickOnEmptyCanvasAppendsAndRebuildsWithoutCaptionChange) {
    Start();
    const size_t captions = host.Captions().size();
    Click({200, 300});
    EXPECT_EQ(dlg->Points(), (Spline{{424, 238}, {75, 75}, {200, 300}}));
    EXPECT_EQ(dlg->Curve().back(), (Point{200, 300}));
    EXPECT_EQ(host.Captions().size(), captions);
    EXPECT_EQ(dlg->DragIndex(), -1);
    // Not stored until a command stores it.
    EXPECT_EQ(Current(), DefaultOf(0));
    // The new point shows as a red cross.
    EXPECT_EQ(host.ClientCanvas().PixelAt(196, 300), 0x000000FFu);
}

struct MouseCase {
    const char* name;
    Point press;
    int32_t dragAfterPress;
    size_t pointsAfterPress;
};

class MousePress : public EditorTest, public ::testing::WithParamInterface<MouseCase> {};

// Points (100,100), (200,100), (300,100), (204,100): a press 4 pixels from
// points 1 and 3 picks up point 1.
TEST_P(MousePress, HitStartsADragAndAMissAppends) {
    StartWithSplines({{{100, 100}, {200, 100}, {300, 100}, {204, 100}}});
    Down(GetParam().press);
    EXPECT_EQ(dlg->DragIndex(), GetParam().dragAfterPress);
    EXPECT_EQ(dlg->Points().size(), GetParam().pointsAfterPress);
}

INSTANTIATE_TEST_SUITE_P(Presses, MousePress,
                         ::testing::Values(MouseCase{"FourPixelsAway", {104, 100}, 0, 4},
                                           MouseCase{"ExactlyFiveAway", {105, 100}, -1, 5},
                                           MouseCase{"NearTwoPoints", {202, 103}, 1, 4},
                                           MouseCase{"EmptyCanvas", {400, 300}, -1, 5}),
                         testing_support::CaseName());

TEST_F(EditorTest, DragMovesThePointOnEveryMoveUntilTheRelease) {
    StartWithSplines({{{100, 100}, {200, 100}}});
    const std::vector<Point> curveBefore = dlg->Curve();
    Down({102, 101});
    EXPECT_EQ(dlg->DragIndex(), 0);
    Up({102, 101});
    // Picking up and dropping changes nothing.
    EXPECT_EQ(dlg->Points(), (Spline{{100, 100}, {200, 100}}));
    EXPECT_EQ(dlg->Curve(), curveBefore);

    Down({200, 100});
    const int redraws = host.GetDCCount();
    Move({250, 150}, 0);  // no button flag: the drag state alone counts
    Move({250, 150});     // same position: still redrawn
    EXPECT_EQ(host.GetDCCount(), redraws + 2);
    EXPECT_EQ(dlg->Points(), (Spline{{100, 100}, {250, 150}}));
    EXPECT_EQ(dlg->Curve().back(), (Point{250, 150}));

    Down({400, 300});  // a click on empty canvas while dragging appends
    EXPECT_EQ(dlg->DragIndex(), 1);
    EXPECT_EQ(dlg->Points().size(), 3u);
    Up({400, 300});
    Move({10, 10});
    EXPECT_EQ(dlg->Points(), (Spline{{100, 100}, {250, 150}, {400, 300}}));
}

TEST_F(EditorTest, FirstAndLastPointsDragAnywhere) {
    Start();
    Down({424, 238});
    Move({5, 5});
    Up({5, 5});
    Down({75, 75});
    Move({470, 350});
    Up({470, 350});
    EXPECT_EQ(dlg->Points(), (Spline{{5, 5}, {470, 350}}));
}

TEST_F(EditorTest, KeysLeaveTheDragGoingOnTheNewWorkingCopy) {
    StartWithSplines({{{0, 0}, {100, 0}, {200, 0}}, {{0, 50}, {100, 50}}});
    Down({100, 0});
    Key(VK_RIGHT);
    EXPECT_EQ(dlg->DragIndex(), 1);
    Move({120, 60});
    EXPECT_EQ(dlg->Points(), (Spline{{0, 50}, {120, 60}}));
}

TEST_F(EditorTest, ADragWhoseIndexWasCutAwayEndsInsteadOfWritingPastTheEnd) {
    StartWithSplines({{{0, 0}, {100, 0}, {200, 0}}, {{0, 50}, {100, 50}}});
    Down({200, 0});
    EXPECT_EQ(dlg->DragIndex(), 2);
    Key(VK_BACK);  // the dragged point is gone
    Move({300, 300});
    EXPECT_EQ(dlg->DragIndex(), -1);
    EXPECT_EQ(dlg->Points(), (Spline{{0, 0}, {100, 0}}));
    // A later click that makes the list long again starts no stale drag.
    Click({250, 250});
    Move({260, 260});
    EXPECT_EQ(dlg->Points(), (Spline{{0, 0}, {100, 0}, {250, 250}}));
}

TEST_F(EditorTest, ADraggedPointIsGoneWithItsDeletedSpline) {
    StartWithSplines({{{0, 0}, {100, 0}}, {{0, 50}, {100, 50}}});
    Down({100, 0});
    Move({150, 20});
    host.AnswerNext(true);
    Key(VK_DELETE);
    EXPECT_EQ(dlg->NoteSplines()[0], (SplineList{{{0, 50}, {100, 50}}}));
}

TEST_F(EditorTest, AClickOnAnEmptySplineKeepsTheOldCurve) {
    StartWith("<NewNoteSpline Index=\"0\"><NewSpline /></NewNoteSpline>");
    Click({10, 10});
    EXPECT_EQ(dlg->Points(), (Spline{{10, 10}}));
    EXPECT_TRUE(dlg->Curve().empty());
}

}  // namespace
}  // namespace velmora
