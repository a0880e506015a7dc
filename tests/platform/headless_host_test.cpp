#include "platform/headless_host.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(HeadlessHostTest, QuestionsTakeScriptedAnswersThenNo) {
    HeadlessHost host;
    host.AnswerNext(true);
    host.AnswerNext(false);
    host.AnswerNext(true);
    EXPECT_TRUE(host.AskYesNo("a", "A"));
    EXPECT_FALSE(host.AskYesNo("b", "B"));
    EXPECT_TRUE(host.AskYesNo("c", "C"));
    EXPECT_FALSE(host.AskYesNo("d", "D"));
    ASSERT_EQ(host.Questions().size(), 4u);
    EXPECT_EQ(host.Questions()[1].text, "b");
    EXPECT_EQ(host.Questions()[3].caption, "D");
}

TEST(HeadlessHostTest, CursorCanBecomeUnavailableAndComeBack) {
    HeadlessHost host;
    Point p{-1, -1};
    host.SetCursor(Point{12, 34});
    ASSERT_TRUE(host.GetCursorPos(p));
    EXPECT_EQ(p, (Point{12, 34}));
    host.SetCursorUnavailable();
    p = Point{-1, -1};
    EXPECT_FALSE(host.GetCursorPos(p));
    EXPECT_EQ(p, (Point{-1, -1})) << "a failed read leaves the output alone";
    host.SetCursor(Point{5, 6});
    EXPECT_TRUE(host.GetCursorPos(p));
}

TEST(HeadlessHostTest, RecordsCaptionsDevicesWarningsAndAboutBoxes) {
    HeadlessHost host;
    EXPECT_EQ(host.Caption(), "");
    host.SetCaption("one");
    host.SetCaption("two");
    EXPECT_EQ(host.Captions(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(host.Caption(), "two");

    Canvas& dc = host.GetDC();
    EXPECT_EQ(&dc, &host.ClientCanvas());
    host.ReleaseDC(dc);
    Canvas stranger(1, 1);
    host.ReleaseDC(stranger);
    EXPECT_EQ(host.GetDCCount(), 1);
    EXPECT_EQ(host.ReleaseDCCount(), 2);
    EXPECT_EQ(host.ForeignReleaseCount(), 1);

    host.ShowWarning("disk full", "Velmora");
    ASSERT_EQ(host.Warnings().size(), 1u);
    EXPECT_EQ(host.Warnings()[0].text, "disk full");
    host.RunAboutBox();
    EXPECT_EQ(host.AboutBoxCount(), 1);
}

}  // namespace
}  // namespace velmora
