#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "model/geometry.h"
#include "model/note_set.h"
#include "platform/canvas.h"
#include "platform/window_host.h"

namespace velmora {

// A window host without a window, for tests: a fixed client size, a canvas
// to inspect, a record of every caption, question and warning, scripted
// answers to the Yes/No questions and a cursor position the test sets.
class HeadlessHost : public WindowHost {
public:
    // The text and caption of one message box as the program showed it.
    struct BoxText {
        std::string text;
        std::string caption;
    };

    // One system-menu entry; id 0 is a separator with an empty text.
    struct MenuItem {
        uint32_t id = 0;
        std::string text;
    };

    // A host whose client area (and canvas) is width x height pixels.
    explicit HeadlessHost(int32_t width = kEditorClient.right,
                          int32_t height = kEditorClient.bottom);

    Rect ClientRect() const override;
    void SetCaption(const std::string& text) override;
    // The canvas with its pixels kept but its pen reset to black, as a
    // newly obtained device context has, so no caller inherits another's pen.
    Canvas& GetDC() override;
    // Counts the release; the canvas must be the one GetDC handed out.
    void ReleaseDC(Canvas& canvas) override;
    // The position set by SetCursor; false after SetCursorUnavailable.
    bool GetCursorPos(Point& clientPos) const override;
    // Records the question and answers with the next scripted answer, or
    // No when the script is used up.
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void ShowWarning(const std::string& text, const std::string& caption) override;
    void RunAboutBox() override;
    // Records the entry; a separator is kept with an empty text.
    void AppendSystemMenuItem(uint32_t id, const std::string& text) override;
    // Records the icon; BigIcon()/SmallIcon() read it back (0 before).
    void SetIcon(int32_t iconId, bool big) override { (big ? m_bigIcon : m_smallIcon) = iconId; }

    // Every caption set, oldest first.
    const std::vector<std::string>& Captions() const { return m_captions; }
    // The caption set last; empty before the first one.
    std::string Caption() const;

    // The client-area canvas, for reading pixels back.
    const Canvas& ClientCanvas() const { return m_canvas; }

    // How often GetDC and ReleaseDC were called, and how many releases did
    // not hand back this host's canvas.
    int GetDCCount() const { return m_getDCCount; }
    int ReleaseDCCount() const { return m_releaseDCCount; }
    int ForeignReleaseCount() const { return m_foreignReleaseCount; }

    // Queues the answer to the next unanswered question (true for Yes).
    void AnswerNext(bool yes) { m_answers.push_back(yes); }
    // Every question asked, oldest first.
    const std::vector<BoxText>& Questions() const { return m_questions; }
    // Every warning shown, oldest first.
    const std::vector<BoxText>& Warnings() const { return m_warnings; }
    // How often the About box was opened.
    int AboutBoxCount() const { return m_aboutBoxCount; }
    // The system-menu entries the program added, in order.
    const std::vector<MenuItem>& SystemMenu() const { return m_systemMenu; }
    int32_t BigIcon() const { return m_bigIcon; }
    int32_t SmallIcon() const { return m_smallIcon; }

    // Places the cursor at a client position and makes it readable.
    void SetCursor(Point clientPos);
    // Makes GetCursorPos fail until the next SetCursor.
    void SetCursorUnavailable() { m_cursorAvailable = false; }

private:
    Canvas m_canvas;
    std::vector<std::string> m_captions;
    int m_getDCCount = 0;
    int m_releaseDCCount = 0;
    int m_foreignReleaseCount = 0;
    std::deque<bool> m_answers;
    std::vector<BoxText> m_questions;
    std::vector<BoxText> m_warnings;
    int m_aboutBoxCount = 0;
    std::vector<MenuItem> m_systemMenu;
    int32_t m_bigIcon = 0;
    int32_t m_smallIcon = 0;
    Point m_cursor;
    bool m_cursorAvailable = true;
};

}  // namespace velmora
