#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "editor/velmora_dlg.h"
#include "platform/headless_host.h"
#include "platform/message.h"

namespace velmora::testing_support {

// One input of a designer's, as the window turns it into messages.
struct EditStep {
    enum Kind { kClick, kDrag, kKey } kind = kClick;
    Point at;          // the click, the press of a drag, the cursor during a key
    Point to;          // the release of a drag
    uint32_t key = 0;  // the virtual key
    bool yes = false;  // the answer to the delete question
};

// Plays `step` on `dlg`, whose host is `host`, through its dispatch.
inline void Play(CVelmoraDlg& dlg, HeadlessHost& host, const EditStep& step) {
    host.SetCursor(step.at);
    if (step.key == VK_DELETE)
        host.AnswerNext(step.yes);
    if (step.kind == EditStep::kKey) {
        dlg.Dispatch(Message{WM_KEYDOWN, step.key, {}});
        return;
    }
    const Point release = step.kind == EditStep::kDrag ? step.to : step.at;
    dlg.Dispatch(Message{WM_LBUTTONDOWN, MK_LBUTTON, step.at});
    if (step.kind == EditStep::kDrag)
        dlg.Dispatch(Message{WM_MOUSEMOVE, MK_LBUTTON, release});
    dlg.Dispatch(Message{WM_LBUTTONUP, 0, release});
}

// `count` random steps, each played on `dlg` as it is made, so that drags
// pick up and the keypad divide aims at points that are there: clicks and
// drags on the client area and the keys of every command but Delete and S
// (`withDeleteAndSave` adds those, the delete question answered at random).
inline std::vector<EditStep> RandomEdits(CVelmoraDlg& dlg, HeadlessHost& host, std::mt19937& random,
                                         int count, bool withDeleteAndSave = false) {
    static const uint32_t kKeys[] = {VK_BACK,     VK_RETURN, VK_LEFT,   VK_RIGHT, VK_ADD,
                                     VK_SUBTRACT, VK_DIVIDE, VK_DELETE, 'S'};
    const int keys = withDeleteAndSave ? 9 : 7;
    std::uniform_int_distribution<int32_t> x(0, dlg.ClientRect().right - 1);
    std::uniform_int_distribution<int32_t> y(0, dlg.ClientRect().bottom - 1);
    std::vector<EditStep> steps;
    for (int i = 0; i < count; ++i) {
        EditStep step;
        step.at = Point{x(random), y(random)};
        const int pick = static_cast<int>(random() % 3);
        const std::vector<Point>& points = dlg.Points();
        if (pick > 0 && !points.empty())
            step.at = points[random() % points.size()];  // a point to drag or to remove
        if (pick == 1) {
            step.kind = EditStep::kDrag;
            step.to = Point{x(random), y(random)};
        } else if (pick == 2) {
            step.kind = EditStep::kKey;
            step.key = kKeys[random() % keys];
            step.yes = random() % 2 == 0;
        }
        Play(dlg, host, step);
        steps.push_back(step);
    }
    return steps;
}

}  // namespace velmora::testing_support
