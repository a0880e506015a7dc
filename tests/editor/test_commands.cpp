#include "tests/editor/editor_fixture.h"

namespace velmora {
namespace {

const Spline P = {{10, 10}, {50, 50}};
const Spline Q = {{20, 20}, {60, 60}, {90, 20}};
const Spline R = {{30, 30}, {70, 70}};

class CommandTest : public EditorTest {
protected:
    void SetUp() override { StartWithSplines({P, Q, R}); }
};

TEST_F(CommandTest, NextAndPrevSplineWrapAround) {
    const struct {
        uint32_t key;
        int32_t index;
    } steps[] = {{VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_RIGHT, 0}, {VK_LEFT, 2}, {VK_LEFT, 1}};
    for (const auto& step : steps) {
        Key(step.key);
        EXPECT_EQ(dlg->CurrentSpline(0), step.index);
        EXPECT_EQ(dlg->Points(), dlg->NoteSplines()[0][step.index]);
    }
    EXPECT_EQ(host.Caption(), "Velmora (Editing note 0 spline 2 / 3)");
}

TEST_F(EditorTest, WithOneSplineNextAndPrevStayButStoreAndShowAgain) {
    Start();
    Click({200, 200});
    const size_t captions = host.Captions().size();
    Key(VK_RIGHT);
    Key(VK_LEFT);
    EXPECT_EQ(dlg->CurrentSpline(0), 0);
    EXPECT_EQ(Current(), (Spline{{424, 238}, {75, 75}, {200, 200}}));
    EXPECT_EQ(host.Captions().size(), captions + 2);
}

TEST_F(CommandTest, NotesWrapAndComeBackOnTheirOwnSpline) {
    Key(VK_RIGHT);  // note 0 on spline 1
    const struct {
        uint32_t key;
        int32_t note;
    } steps[] = {{VK_SUBTRACT, 3}, {VK_SUBTRACT, 2}, {VK_ADD, 3}, {VK_ADD, 0}};
    for (const auto& step : steps) {
        Key(step.key);
        EXPECT_EQ(dlg->CurrentNote(), step.note);
    }
    EXPECT_EQ(dlg->CurrentSpline(0), 1);
    EXPECT_EQ(dlg->Points(), Q);
    EXPECT_EQ(host.Caption(), "Velmora (Editing note 0 spline 2 / 3)");
}

TEST_F(CommandTest, AppendFromTheMiddleMakesTheNextSplineCurrent) {
    Key(VK_RIGHT);  // Q
    Key(VK_RETURN);
    EXPECT_EQ(dlg->NoteSplines()[0], (SplineList{P, Q, R, DefaultOf(0)}));
    EXPECT_EQ(dlg->CurrentSpline(0), 2);
    EXPECT_EQ(dlg->Points(), R);
    EXPECT_EQ(host.Caption(), "Velmora (Editing note 0 spline 3 / 4)");
}

TEST_F(CommandTest, AppendFromTheEndMakesTheNewSplineCurrent) {
    Key(VK_LEFT);  // R
    Key(VK_RETURN);
    EXPECT_EQ(dlg->CurrentSpline(0), 3);
    EXPECT_EQ(dlg->Points(), DefaultOf(0));
    EXPECT_EQ(host.Caption(), "Velmora (Editing note 0 spline 4 / 4)");
}

TEST_F(CommandTest, DeleteAsksTheQuestionAndNoLeavesEverything) {
    Click({300, 300});  // an unsaved edit of P
    const Spline edited = dlg->Points();
    Key(VK_DELETE);
    ASSERT_EQ(host.Questions().size(), 1u);
    EXPECT_EQ(host.Questions()[0].text, "Do you really want to delete that spline ?");
    EXPECT_EQ(host.Questions()[0].caption, "Delete current spline");
    EXPECT_EQ(dlg->NoteSplines()[0], (SplineList{P, Q, R}));
    EXPECT_EQ(dlg->Points(), edited);
    EXPECT_EQ(dlg->CurrentSpline(0), 0);
}

TEST_F(CommandTest, DeleteTheFirstMakesTheFormerSecondCurrent) {
    Click({300, 300});  // dropped with the spline
    host.AnswerNext(true);
    Key(VK_DECIMAL);
    EXPECT_EQ(dlg->NoteSplines()[0], (SplineList{Q, R}));
    EXPECT_EQ(dlg->CurrentSpline(0), 0);
    EXPECT_EQ(dlg->Points(), Q);
    EXPECT_EQ(host.Caption(), "Velmora (Editing note 0 spline 1 / 2)");
}

TEST_F(CommandTest, DeleteTheLastMakesTheNewLastCurrent) {
    Key(VK_LEFT);
    host.AnswerNext(true);
    Key(VK_DELETE);
    EXPECT_EQ(dlg->NoteSplines()[0], (SplineList{P, Q}));
    EXPECT_EQ(dlg->CurrentSpline(0), 1);
    EXPECT_EQ(host.Caption(), "Velmora (Editing note 0 spline 2 / 2)");
}

TEST_F(EditorTest, DeleteTheOnlySplineLeavesADefaultOne) {
    StartWithSplines({Q});
    host.AnswerNext(true);
    Key(VK_DELETE);
    EXPECT_EQ(dlg->NoteSplines()[0], SplineList{DefaultOf(0)});
    EXPECT_EQ(dlg->CurrentSpline(0), 0);
    EXPECT_EQ(host.Caption(), "Velmora (Editing note 0 spline 1 / 1)");
}

TEST_F(CommandTest, RemoveLastPointKeepsTwoPointsAndStoresAtOnce) {
    Key(VK_RIGHT);  // Q has three points
    Key(VK_BACK);
    EXPECT_EQ(Current(), (Spline{{20, 20}, {60, 60}}));
    const size_t redraws = host.GetDCCount();
    Key(VK_BACK);  // two points: nothing, not even a redraw
    EXPECT_EQ(Current(), (Spline{{20, 20}, {60, 60}}));
    EXPECT_EQ(host.GetDCCount(), static_cast<int>(redraws));
}

TEST_F(EditorTest, RemovePointUnderCursorTakesTheFirstHitOnly) {
    StartWithSplines({{{0, 0}, {100, 0}, {104, 3}, {200, 0}, {300, 0}, {104, 5}}});
    const struct {
        Point cursor;
        Spline expected;
    } cases[] = {
        {{104, 0}, {{0, 0}, {104, 3}, {200, 0}, {300, 0}, {104, 5}}},   // 4 from 1, 3 from 2
        {{104, 10}, {{0, 0}, {104, 3}, {200, 0}, {300, 0}, {104, 5}}},  // exactly 5.0: nothing
        {{0, 1}, {{104, 3}, {200, 0}, {300, 0}, {104, 5}}},             // the first point too
        {{104, 6}, {{200, 0}, {300, 0}, {104, 5}}},                     // 3 from 0, 1 from 3
        {{303, 0}, {{200, 0}, {104, 5}}},
        {{200, 0}, {{200, 0}, {104, 5}}},  // two points are the minimum
    };
    for (const auto& c : cases) {
        host.SetCursor(c.cursor);
        Key(VK_DIVIDE);
        EXPECT_EQ(Current(), c.expected) << c.cursor.x << "," << c.cursor.y;
        EXPECT_EQ(dlg->Points(), c.expected);
    }
    host.SetCursorUnavailable();
    Key(VK_DIVIDE);
    EXPECT_EQ(Current(), (Spline{{200, 0}, {104, 5}}));
}

TEST_F(CommandTest, EditsSurviveNextAndPrev) {
    Click({300, 300});
    Down({10, 10});
    Move({15, 12});
    Up({15, 12});
    Key(VK_RIGHT);
    Key(VK_LEFT);
    EXPECT_EQ(dlg->Points(), (Spline{{15, 12}, {50, 50}, {300, 300}}));
}

TEST_F(CommandTest, EveryCommandRedrawsExactlyOnce) {
    const uint32_t keys[] = {VK_RIGHT, VK_LEFT, VK_ADD, VK_SUBTRACT, VK_RETURN};
    for (uint32_t key : keys) {
        const int before = host.GetDCCount();
        Key(key);
        EXPECT_EQ(host.GetDCCount(), before + 1) << key;
        EXPECT_EQ(host.ReleaseDCCount(), host.GetDCCount());
    }
}

}  // namespace
}  // namespace velmora
