#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dialog.h"

namespace velmora {
namespace {

// A dialog that records where each message went. It maps WM_KEYDOWN and
// WM_LBUTTONDOWN, and its PreTranslateMessage consumes VK_TAB only when asked
// to override the base one.
class RecordingDialog : public CDialog {
public:
    explicit RecordingDialog(bool overridePreTranslate) : m_override(overridePreTranslate) {}

    bool PreTranslateMessage(const Message& msg) override {
        log.push_back("pre");
        if (!m_override) {
            return CDialog::PreTranslateMessage(msg);
        }
        return msg.message == WM_KEYDOWN && msg.wParam == VK_TAB;
    }

    std::vector<std::string> log;
    std::vector<Message> mapped;

protected:
    const MessageMap& GetMessageMap() const override {
        static const MessageMapEntry kEntries[] = {
            {WM_KEYDOWN, &RecordingDialog::OnMapped},
            {WM_LBUTTONDOWN, &RecordingDialog::OnMapped},
        };
        static const MessageMap kMap{kEntries, sizeof(kEntries) / sizeof(kEntries[0])};
        return kMap;
    }

    void DefaultHandling(const Message& msg) override {
        log.push_back("default");
        CDialog::DefaultHandling(msg);
    }

private:
    static void OnMapped(CDialog& dialog, const Message& msg) {
        auto& self = static_cast<RecordingDialog&>(dialog);
        self.log.push_back("map");
        self.mapped.push_back(msg);
    }

    bool m_override;
};

// A dialog that handles nothing at all itself.
class PlainDialog : public CDialog {};

Message Make(uint32_t id, uint32_t wParam = 0, Point p = {}) {
    Message msg;
    msg.message = id;
    msg.wParam = wParam;
    msg.point = p;
    return msg;
}

TEST(DialogDispatch, MappedMessageGoesPreTranslateThenMap) {
    RecordingDialog dlg(true);
    dlg.Dispatch(Make(WM_LBUTTONDOWN, MK_LBUTTON, {17, -3}));
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"pre", "map"}));
    ASSERT_EQ(dlg.mapped.size(), 1u);
    EXPECT_EQ(dlg.mapped[0].wParam, MK_LBUTTON);
    EXPECT_EQ(dlg.mapped[0].point, (Point{17, -3}));
}

TEST(DialogDispatch, UnmappedMessageGoesToDefaultHandling) {
    RecordingDialog dlg(true);
    dlg.Dispatch(Make(WM_MOUSEMOVE));
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"pre", "default"}));
    EXPECT_FALSE(dlg.IsEnded());
}

TEST(DialogDispatch, ConsumedMessageStopsAtPreTranslate) {
    RecordingDialog dlg(true);
    dlg.Dispatch(Make(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"pre"}));
    EXPECT_TRUE(dlg.mapped.empty());
    // A key the override lets through reaches the map.
    dlg.Dispatch(Make(WM_KEYDOWN, 'S'));
    ASSERT_EQ(dlg.mapped.size(), 1u);
    EXPECT_EQ(dlg.mapped[0].wParam, uint32_t{'S'});
    // A host that pre-translated the message itself routes it past the hook.
    dlg.log.clear();
    dlg.RouteMessage(Make(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"map"}));
}

// Every system command whose masked value is SC_CLOSE ends the dialog with
// IDCANCEL; other system commands leave it running.
TEST(DialogDispatch, SystemCommandsByDefault) {
    struct Case {
        uint32_t command;
        bool ends;
    };
    const Case cases[] = {
        {SC_CLOSE, true},    {SC_CLOSE | 0x0002, true}, {SC_CLOSE | 0x000F, true}, {SC_MOVE, false},
        {SC_KEYMENU, false}, {0x0010, false},           {SC_CLOSE + 0x10, false},
    };
    for (const Case& c : cases) {
        PlainDialog dlg;
        dlg.Dispatch(Make(WM_SYSCOMMAND, c.command));
        EXPECT_EQ(dlg.IsEnded(), c.ends) << std::hex << c.command;
        EXPECT_EQ(dlg.Result(), c.ends ? IDCANCEL : CDialog::kNotEnded) << std::hex << c.command;
    }
}

// Without an override, Escape and Enter end the dialog the usual way and
// never reach the map.
TEST(DialogDispatch, BasePreTranslateEndsOnEscapeAndEnter) {
    struct Case {
        uint32_t key;
        int result;
    };
    for (const Case& c : {Case{VK_ESCAPE, IDCANCEL}, Case{VK_RETURN, IDOK}}) {
        RecordingDialog dlg(false);
        dlg.Dispatch(Make(WM_KEYDOWN, c.key));
        EXPECT_TRUE(dlg.IsEnded());
        EXPECT_EQ(dlg.Result(), c.result);
        EXPECT_TRUE(dlg.mapped.empty());
    }
    RecordingDialog dlg(false);
    dlg.Dispatch(Make(WM_KEYDOWN, VK_SPACE));
    EXPECT_FALSE(dlg.IsEnded());
    EXPECT_EQ(dlg.mapped.size(), 1u);
}

// An overriding dialog that consumes Escape and Enter stays open.
TEST(DialogDispatch, OverrideKeepsDialogOpenOnEscapeAndEnter) {
    class KeepOpen : public CDialog {
    public:
        bool PreTranslateMessage(const Message& msg) override {
            return msg.message == WM_KEYDOWN &&
                   (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN);
        }
    };
    KeepOpen dlg;
    dlg.Dispatch(Make(WM_KEYDOWN, VK_ESCAPE));
    dlg.Dispatch(Make(WM_KEYDOWN, VK_RETURN));
    EXPECT_FALSE(dlg.IsEnded());
}

TEST(DialogDispatch, OnSysCommandIsTheDefaultHandling) {
    class Forwarding : public CDialog {
    public:
        void Forward(uint32_t id) { OnSysCommand(id, 0); }
    };
    Forwarding dlg;
    dlg.Forward(SC_MOVE);
    EXPECT_FALSE(dlg.IsEnded());
    dlg.Forward(SC_CLOSE);
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.Result(), IDCANCEL);
}

// A host that offers nothing; only its identity matters here.
class NullHost : public WindowHost {
public:
    NullHost() : m_canvas(1, 1) {}
    Rect ClientRect() const override { return {}; }
    void SetCaption(const std::string&) override {}
    Canvas& GetDC() override { return m_canvas; }
    void ReleaseDC(Canvas&) override {}
    bool GetCursorPos(Point&) const override { return false; }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void ShowWarning(const std::string&, const std::string&) override {}
    void RunAboutBox() override {}
    void AppendSystemMenuItem(uint32_t, const std::string&) override {}
    void SetIcon(int32_t, bool) override {}

private:
    Canvas m_canvas;
};

TEST(DialogLifecycle, AttachBindsHostAndStartsAFreshRun) {
    NullHost host;
    PlainDialog dlg;
    EXPECT_FALSE(dlg.IsAttached());
    EXPECT_TRUE(dlg.OnInitDialog());
    dlg.EndDialog(IDOK);
    dlg.Attach(host);
    EXPECT_EQ(&dlg.Host(), &host);
    EXPECT_FALSE(dlg.IsEnded());
    EXPECT_EQ(dlg.Result(), CDialog::kNotEnded);
    dlg.EndDialog(IDOK);
    dlg.EndDialog(IDCANCEL);
    EXPECT_EQ(dlg.Result(), IDCANCEL);
}

TEST(DialogLifecycleDeathTest, HostBeforeAttachAborts) {
    PlainDialog dlg;
    EXPECT_DEATH(dlg.Host(), "before Attach");
}

}  // namespace
}  // namespace velmora
