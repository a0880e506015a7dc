// The Win32 window host under a real (Wine) window: the messages are posted
// to the window, so they take the program's own loop and the dialog manager.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/wide_utf8.h"
#include "probe_dialog.h"
#include "resources/resource_ids.h"

#include "platform/win32/win32_api.h"

namespace velmora {
namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

struct WindowRun {
    Win32Host host{Module(), IDD_VELMORA_DIALOG, IDD_ABOUTBOX};
    ProbeDialog dlg{host};
    // Posts a message to the window.
    void Post(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        PostMessageW(host.Window(), message, wParam, lParam);
    }
    int Modal() { return host.RunModal(dlg); }
};

// The messages' texts are UTF-8, file names included, whatever the system's
// code page.
TEST(Win32Host, MessageTextsAreReadAsUtf8) {
    const struct {
        std::string utf8;
        std::wstring wide;
    } rows[] = {
        {"", L""},
        {"C:\\Jeux\\Caf\xc3\xa9 \xe3\x83\x8e\xe3\x83\xbc\xe3\x83\x88",
         L"C:\\Jeux\\Caf\u00e9 \u30ce\u30fc\u30c8"},
        {"a\xffz", L"a\ufffdz"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(WideFromUtf8(row.utf8), row.wide) << row.utf8;
}

// What the editor sets up reaches the real window: the client area is
// 480 x 360 before the dialog reads it, the About entry ends the real system
// menu after a separator (its text is string 101 too), and both icons are set.
// (Size, caption, keys, mouse and pixels on the screen: window_input.sh.)
TEST(Win32Host, WindowAsTheEditorSetsItUp) {
    WindowRun run;
    run.dlg.script = {[&] {
        const HMENU menu = GetSystemMenu(run.host.Window(), FALSE);
        const int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_EQ(GetMenuItemID(menu, count - 1), 0x0010u);
        wchar_t text[64] = {};
        GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, L"&About Velmora...");
        LoadStringW(Module(), IDS_ABOUTBOX, text, 64);
        EXPECT_STREQ(text, L"&About Velmora...");
        EXPECT_NE(SendMessageW(run.host.Window(), WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageW(run.host.Window(), WM_GETICON, ICON_SMALL, 0), 0);
        run.Post(WM_SYSCOMMAND, SC_CLOSE);
    }};
    EXPECT_EQ(run.Modal(), IDCANCEL);
    EXPECT_EQ(run.dlg.initClient, (Rect{0, 0, 480, 360}));
    EXPECT_EQ(run.host.Window(), nullptr);
}

// The close button, Alt+F4, the system menu's Close and another program's
// WM_CLOSE all end the dialog with IDCANCEL.
TEST(Win32Host, EveryWayOfClosingEndsTheDialog) {
    struct Way {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    for (const Way& way :
         {Way{WM_SYSCOMMAND, SC_CLOSE, 0}, Way{WM_SYSCOMMAND, SC_CLOSE | 2, 0},
          Way{WM_SYSKEYDOWN, VK_F4, LPARAM{1} | (KF_ALTDOWN << 16)}, Way{WM_CLOSE, 0, 0}}) {
        WindowRun run;
        run.dlg.script = {[&] { run.Post(way.message, way.wParam, way.lParam); }};
        EXPECT_EQ(run.Modal(), IDCANCEL) << way.message;
    }
}

// The About command opens template 100 modally over the disabled window;
// OK returns to the dialog.
TEST(Win32Host, AboutBoxFromItsTemplate) {
    WindowRun run;
    bool seen = false;
    run.dlg.script = {[&] { run.Post(WM_SYSCOMMAND, 0x0010); },
                      [&] {
                          const HWND box = FindWindowW(nullptr, L"About Velmora");
                          ASSERT_NE(box, nullptr);
                          EXPECT_EQ(GetWindow(box, GW_OWNER), run.host.Window());
                          EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
                          EXPECT_FALSE(IsWindowEnabled(run.host.Window()));
                          seen = true;
                          PostMessageW(box, WM_COMMAND, IDOK, 0);
                      },
                      [&] {
                          EXPECT_TRUE(IsWindowEnabled(run.host.Window()));
                          run.Post(WM_SYSCOMMAND, SC_CLOSE);
                      }};
    EXPECT_EQ(run.Modal(), IDCANCEL);
    EXPECT_TRUE(seen);
}

// While the Yes/No question waits, the window keeps taking the mouse but not
// keys; No answers no, and closing the window closes the question too.
TEST(Win32Host, QuestionLeavesTheMouseToTheWindow) {
    for (const bool closeWindow : {false, true}) {
        WindowRun run;
        HWND question = nullptr;
        run.dlg.script = {[&] { run.Post(WM_KEYDOWN, VK_DELETE, 1); },
                          [&] {
                              question = FindWindowW(nullptr, L"Delete current spline");
                              ASSERT_NE(question, nullptr);
                              EXPECT_TRUE(IsWindowEnabled(run.host.Window()));
                              run.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
                              run.Post(WM_KEYDOWN, 'S', 1);
                              if (closeWindow) {
                                  run.Post(WM_SYSCOMMAND, SC_CLOSE);
                              } else {
                                  PostMessageW(question, WM_COMMAND, IDNO, 0);
                              }
                          },
                          [&] { run.Post(WM_SYSCOMMAND, SC_CLOSE); }};
        EXPECT_EQ(run.Modal(), IDCANCEL);
        EXPECT_EQ(run.dlg.log, (std::vector<std::string>{"pre 0100 2E 0,0", "map 0100 2E 0,0",
                                                         "map 0201 01 7,9", "answer no"}))
            << closeWindow;
        EXPECT_FALSE(IsWindow(question));
    }
}

}  // namespace
}  // namespace velmora
