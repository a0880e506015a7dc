#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "curve/rebuild_curve.h"
#include "model/note_set.h"
#include "platform/dialog.h"
#include "render/scene.h"

#include "platform/win32/win32_host.h"

namespace velmora {

// A dialog shaped like the editor for the window's tests: it sets the
// editor's caption, system menu and icons, draws the editor's first scene
// (note 0's default spline), adds a control point per click, and logs every
// key and mouse message with where it arrived ("pre" for PreTranslateMessage,
// "map" for the message map). Like the editor, it takes Enter, Escape, Left
// and Right in PreTranslateMessage and asks before Delete. A test drives it
// with `script`: step i runs on WM_APP with wParam i, and each step's own
// posted input comes before the next step.
class ProbeDialog : public CDialog {
public:
    explicit ProbeDialog(Win32Host& host) : m_win32(host) {}

    HWND Window() const { return m_win32.Window(); }

    bool OnInitDialog() override {
        Host().SetCaption("Velmora (Editing note 0 spline 1 / 1)");
        Host().AppendSystemMenuItem(0, "");
        Host().AppendSystemMenuItem(0x0010, "&About Velmora...");
        Host().SetIcon(128, true);
        Host().SetIcon(128, false);
        initClient = Host().ClientRect();
        points = DefaultSpline(initClient, kDesignTargets[0]);
        Redraw();
        if (!script.empty()) {
            PostMessageW(Window(), WM_APP, 0, 0);
        }
        return true;
    }

    bool PreTranslateMessage(const Message& msg) override {
        if (msg.message != WM_KEYDOWN) {
            return false;
        }
        Log("pre", msg);
        const uint32_t key = msg.wParam;
        return key == VK_RETURN || key == VK_ESCAPE || key == VK_LEFT || key == VK_RIGHT;
    }

    // The scene as the editor draws it for `points`.
    void DrawScene(Canvas& dc) const {
        std::vector<Point> curve;
        if (points.size() > 1) {
            RebuildCurve(points, curve);
        }
        const SceneView view{points, curve, MapTargets(initClient, kDesignTargets), 0};
        velmora::DrawScene(dc, initClient, view);
    }

    std::vector<std::function<void()>> script;
    std::vector<std::string> log;
    std::FILE* echo = nullptr;  // where each log line is also printed, if anywhere
    std::vector<Point> points;
    Rect initClient;

protected:
    const MessageMap& GetMessageMap() const override {
        static const MessageMapEntry kEntries[] = {
            {WM_SYSCOMMAND, [](CDialog& d, const Message& m) { Self(d).OnSysCommand(m.wParam); }},
            {WM_PAINT, [](CDialog& d, const Message&) { Self(d).Redraw(); }},
            {WM_KEYDOWN, [](CDialog& d, const Message& m) { Self(d).OnKey(m); }},
            {WM_LBUTTONDOWN, [](CDialog& d, const Message& m) { Self(d).OnClick(m); }},
            {WM_MOUSEMOVE, [](CDialog& d, const Message& m) { Self(d).Log("map", m); }},
            {WM_LBUTTONUP, [](CDialog& d, const Message& m) { Self(d).Log("map", m); }},
            {WM_APP, [](CDialog& d, const Message& m) { Self(d).RunStep(m.wParam); }},
        };
        static const MessageMap kMap{kEntries, sizeof(kEntries) / sizeof(kEntries[0])};
        return kMap;
    }

private:
    Win32Host& m_win32;

    static ProbeDialog& Self(CDialog& d) { return static_cast<ProbeDialog&>(d); }

    void Log(const char* where, const Message& msg) {
        char line[64];
        std::snprintf(line, sizeof line, "%s %04X %02X %d,%d", where, msg.message, msg.wParam,
                      msg.point.x, msg.point.y);
        log.push_back(line);
        if (echo != nullptr) {
            std::fprintf(echo, "%s\n", line);
            std::fflush(echo);
        }
    }

    void Redraw() {
        Canvas& dc = Host().GetDC();
        DrawScene(dc);
        Host().ReleaseDC(dc);
    }

    void OnSysCommand(uint32_t id) {
        if ((id & 0xFFF0) == 0x0010) {
            Host().RunAboutBox();
        } else {
            CDialog::OnSysCommand(id, 0);
        }
    }

    void OnKey(const Message& msg) {
        Log("map", msg);
        if (msg.wParam == VK_DELETE) {
            const bool yes = Host().AskYesNo("Do you really want to delete that spline ?",
                                             "Delete current spline");
            log.push_back(yes ? "answer yes" : "answer no");
        }
    }

    void OnClick(const Message& msg) {
        Log("map", msg);
        points.push_back(msg.point);
        Redraw();
    }

    void RunStep(size_t i) {
        if (i >= script.size()) {
            return;
        }
        script[i]();
        if (i + 1 < script.size()) {
            PostMessageW(Window(), WM_APP, i + 1, 0);
        }
    }
};

}  // namespace velmora
