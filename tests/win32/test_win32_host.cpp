// The Win32 window host under a real (Wine) window: the messages are posted
// to the window, so they take the program's own loop and the dialog manager.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "probe_dialog.h"
#include "resources/resource_ids.h"

#include "platform/win32/win32_api.h"

namespace velmora {
namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

// The client area as the window shows it, read back through the window's
// own device context.
std::vector<Colour> ShownPixels(HWND window, int width, int height) {
    UpdateWindow(window);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = GetDC(window);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    std::vector<Colour> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t p = static_cast<const uint32_t*>(bits)[i];  // 0x00RRGGBB
        pixels[i] = MakeColour((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixels;
}

struct WindowRun {
    Win32Host host{Module(), IDD_VELMORA_DIALOG, IDD_ABOUTBOX};
    ProbeDialog dlg{host};
    // Posts a message to the window.
    void Post(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        PostMessageW(host.Window(), message, wParam, lParam);
    }
    int Modal() {
        DWORD t0 = GetTickCount();
        dlg.script.insert(dlg.script.begin(),
                          [t0] { printf("first step %lu\n", GetTickCount() - t0); });
        int r = host.RunModal(dlg);
        printf("modal %lu\n", GetTickCount() - t0);
        return r;
    }
};

// The window the template and the host make: a 480 x 360 client area before
// the dialog reads it, the caption, the About entry at the end of the real
// system menu, both icons, and the canvas shown pixel for pixel.
TEST(Win32Host, WindowAsTheEditorSetsItUp) {
    WindowRun run;
    run.dlg.script = {[&] {
        const HWND window = run.host.Window();
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, 480);
        EXPECT_EQ(client.bottom, 360);
        char caption[64] = {};
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "Velmora (Editing note 0 spline 1 / 1)");

        const HMENU menu = GetSystemMenu(window, FALSE);
        const int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_EQ(GetMenuItemID(menu, count - 1), 0x0010u);
        wchar_t text[64] = {};
        GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, L"&About Velmora...");
        LoadStringW(Module(), IDS_ABOUTBOX, text, 64);
        EXPECT_STREQ(text, L"&About Velmora...");
        EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);

        Canvas expected(480, 360);
        run.dlg.DrawScene(expected);
        const std::vector<Colour> shown = ShownPixels(window, 480, 360);
        EXPECT_EQ(shown, expected.Pixels());
        // The background, the white origin star and note 0's yellow target.
        EXPECT_EQ(shown[0], MakeColour(192, 192, 192));
        EXPECT_EQ(shown[238 * 480 + 414], MakeColour(255, 255, 255));
        EXPECT_EQ(shown[75 * 480 + 75 + 10], MakeColour(192, 192, 192));
        EXPECT_EQ(shown[75 * 480 + 75 - 10], MakeColour(255, 255, 0));
        run.Post(WM_SYSCOMMAND, SC_CLOSE);
    }};
    EXPECT_EQ(run.Modal(), IDCANCEL);
    EXPECT_EQ(run.dlg.initClient, (Rect{0, 0, 480, 360}));
    EXPECT_EQ(run.host.Window(), nullptr);
}

// Every key goes to PreTranslateMessage first; the four the dialog takes
// there never reach the dialog manager (which would end the dialog on Enter
// and Escape), the rest reach the message map once. Mouse messages carry
// their client position.
TEST(Win32Host, InputTakesTheLoopThenTheMessageMap) {
    struct Key {
        uint32_t code;
        bool taken;
    };
    const Key keys[] = {{VK_RETURN, true}, {VK_ESCAPE, true},    {VK_LEFT, true},
                        {VK_RIGHT, true},  {VK_BACK, false},     {'S', false},
                        {VK_ADD, false},   {VK_SUBTRACT, false}, {VK_DECIMAL, false},
                        {VK_DIVIDE, false}};
    WindowRun run;
    std::vector<std::string> expected;
    run.dlg.script = {
        [&] {
            char line[64];
            for (const Key& key : keys) {
                run.Post(WM_KEYDOWN, key.code, 1);
                std::snprintf(line, sizeof line, "pre 0100 %02X 0,0", key.code);
                expected.push_back(line);
                if (!key.taken) {
                    expected.push_back(std::string("map") + (line + 3));
                }
            }
            run.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 120));
            run.Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(479, 359));
            run.Post(WM_LBUTTONUP, 0, MAKELPARAM(479, 359));
            expected.insert(expected.end(),
                            {"map 0201 01 100,120", "map 0200 01 479,359", "map 0202 00 479,359"});
        },
        [&] { run.Post(WM_SYSCOMMAND, SC_CLOSE); }};
    EXPECT_EQ(run.Modal(), IDCANCEL);
    EXPECT_EQ(run.dlg.log, expected);
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
