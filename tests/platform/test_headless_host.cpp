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
    dc.SelectPen(0x000000FF);
    dc.FillRect(Rect{0, 0, 1, 1}, 0x00C0C0C0);
    host.ReleaseDC(dc);
    // The next device context starts with the default pen again; the
    // pixels drawn so far stay on screen.
    EXPECT_EQ(host.GetDC().CurrentPen(), kBlack);
    EXPECT_EQ(host.ClientCanvas().PixelAt(0, 0), 0x00C0C0C0u);
    host.ReleaseDC(dc);
    Canvas stranger(1, 1);
    host.ReleaseDC(stranger);
    EXPECT_EQ(host.GetDCCount(), 2);
    EXPECT_EQ(host.ReleaseDCCount(), 3);
    EXPECT_EQ(host.ForeignReleaseCount(), 1);

    host.ShowWarning("disk full", "Velmora");
    ASSERT_EQ(host.Warnings().size(), 1u);
    EXPECT_EQ(host.Warnings()[0].text, "disk full");
    host.RunAboutBox();
    EXPECT_EQ(host.AboutBoxCount(), 1);
}

}  // namespace
}  // namespace velmora
