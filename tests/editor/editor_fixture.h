#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/velmora_dlg.h"
#include "platform/headless_host.h"
#include "platform/message.h"
#include "tests/support/printers.h"
#include "tests/support/temp_dir.h"

namespace velmora {

// The editor started in an empty temporary folder on a headless 480 x 360
// host. Messages go through the same dispatch the Qt window uses.
class EditorTest : public ::testing::Test {
protected:
    // Starts the editor; with `fileText`, Splines.xml holds it beforehand.
    void Start(const std::string* fileText = nullptr) {
        if (fileText)
            testing_support::WriteFile(FilePath(), *fileText);
        dlg = std::make_unique<CVelmoraDlg>(FilePath());
        dlg->Attach(host);
        dlg->OnInitDialog();
    }
    void StartWith(const std::string& fileText) { Start(&fileText); }

    // Starts with note 0 holding these splines and the other notes defaults.
    void StartWithSplines(const std::vector<Spline>& splines) {
        std::string text = "<NewNoteSpline Index=\"0\">";
        for (const Spline& spline : splines) {
            text += "<NewSpline>";
            for (const Point& p : spline) {
                text += "<ControlPoint PosX=\"" + std::to_string(p.x) + "\" PosY=\"" +
                        std::to_string(p.y) + "\" />";
            }
            text += "</NewSpline>";
        }
        StartWith(text + "</NewNoteSpline>\n");
    }

    std::string FilePath() const { return dir.File("Splines.xml"); }

    void Send(uint32_t message, uint32_t wParam = 0, Point point = {}) {
        dlg->Dispatch(Message{message, wParam, point});
    }
    void Key(uint32_t vk) { Send(WM_KEYDOWN, vk); }
    void Down(Point p) { Send(WM_LBUTTONDOWN, MK_LBUTTON, p); }
    void Move(Point p, uint32_t flags = MK_LBUTTON) { Send(WM_MOUSEMOVE, flags, p); }
    void Up(Point p) { Send(WM_LBUTTONUP, 0, p); }
    void Click(Point p) {
        Down(p);
        Up(p);
    }

    const Spline& Current() const {
        const int n = dlg->CurrentNote();
        return dlg->NoteSplines()[n][dlg->CurrentSpline(n)];
    }
    size_t SplineCount() const { return dlg->NoteSplines()[dlg->CurrentNote()].size(); }

    testing_support::TempDir dir;
    HeadlessHost host;
    std::unique_ptr<CVelmoraDlg> dlg;
};

// The default spline of each note on a 480 x 360 client.
inline Spline DefaultOf(int note) {
    const Point targets[] = {{75, 75}, {184, 75}, {295, 75}, {405, 75}};
    return Spline{{424, 238}, targets[note]};
}

}  // namespace velmora
