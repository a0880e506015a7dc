#pragma once

#include <cstdint>
#include <string>

#include "model/geometry.h"
#include "platform/canvas.h"

namespace velmora {

// The window services the editor uses. A host (the Qt window for people, a
// headless one for tests) implements them; the editor never sees a toolkit.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    // The client rectangle: left = top = 0, right = width, bottom = height.
    virtual Rect ClientRect() const = 0;

    // Sets the window caption (narrow, 8-bit text).
    virtual void SetCaption(const std::string& text) = 0;

    // The client area's canvas for drawing at once; every GetDC is paired with
    // a ReleaseDC, which lets the host show what was drawn.
    virtual Canvas& GetDC() = 0;
    virtual void ReleaseDC(Canvas& canvas) = 0;

    // The mouse cursor in client coordinates; false when it cannot be read.
    virtual bool GetCursorPos(Point& clientPos) const = 0;

    // A Yes/No question with the warning icon and No as the default button.
    // It has no owner window: while it waits for the answer, the dialog's
    // mouse messages are still handled. Returns true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;

    // A Yes/No question with the question icon, Yes as the default button
    // (Enter) and No for Escape. One asked before the window is first shown
    // comes before it, after the warnings raised until then. The base asks
    // with AskYesNo. Returns true for Yes.
    virtual bool AskQuestion(const std::string& text, const std::string& caption) {
        return AskYesNo(text, caption);
    }

    // A modal message with an OK button, for failures the user must know of.
    // Text is in the locale's 8-bit encoding (it may carry system error texts).
    // One raised before the window is first shown may wait until it is.
    virtual void ShowWarning(const std::string& text, const std::string& caption) = 0;

    // Opens the modal About box and returns when it is closed.
    virtual void RunAboutBox() = 0;

    // Appends an entry to the window's system menu: a text entry that sends
    // WM_SYSCOMMAND with `id` when chosen, or a separator when `id` is 0
    // (`text` is then ignored). Entries stay in the order they were added.
    virtual void AppendSystemMenuItem(uint32_t id, const std::string& text) = 0;

    // Sets the window's big (title bar, task switcher) or small icon from the
    // icon resource `iconId`.
    virtual void SetIcon(int32_t iconId, bool big) = 0;
};

}  // namespace velmora
