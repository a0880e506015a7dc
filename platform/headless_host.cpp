#include "platform/headless_host.h"

namespace velmora {

// Creates the host with a black canvas of the client size.
HeadlessHost::HeadlessHost(int32_t width, int32_t height) : m_canvas(width, height) {}

// Reports the client rectangle from the canvas size.
Rect HeadlessHost::ClientRect() const {
    // The canvas clamps a negative size to zero; the rectangle follows it.
    return Rect{0, 0, m_canvas.Width(), m_canvas.Height()};
}

// Records the caption.
void HeadlessHost::SetCaption(const std::string& text) { m_captions.push_back(text); }

// Returns the latest caption.
std::string HeadlessHost::Caption() const {
    return m_captions.empty() ? std::string() : m_captions.back();
}

// Hands out the canvas as a fresh device context (black pen, position at
// the origin; the pixels stay) and counts the call.
Canvas& HeadlessHost::GetDC() {
    ++m_getDCCount;
    m_canvas.ResetDrawingState();
    return m_canvas;
}

// Counts the release and notes a canvas that is not ours.
void HeadlessHost::ReleaseDC(Canvas& canvas) {
    ++m_releaseDCCount;
    if (&canvas != &m_canvas) {
        ++m_foreignReleaseCount;
    }
}

// Reads the scripted cursor position.
bool HeadlessHost::GetCursorPos(Point& clientPos) const {
    if (!m_cursorAvailable) {
        return false;
    }
    clientPos = m_cursor;
    return true;
}

// Records the question and answers from the script.
bool HeadlessHost::AskYesNo(const std::string& text, const std::string& caption) {
    m_questions.push_back(Message{text, caption});
    if (m_answers.empty()) {
        return false;
    }
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

// Records the warning.
void HeadlessHost::ShowWarning(const std::string& text, const std::string& caption) {
    m_warnings.push_back(Message{text, caption});
}

// Counts the About box.
void HeadlessHost::RunAboutBox() { ++m_aboutBoxCount; }

// Records the menu entry.
void HeadlessHost::AppendSystemMenuItem(uint32_t id, const std::string& text) {
    m_systemMenu.push_back(MenuItem{id, id == 0 ? std::string() : text});
}

// Moves the scripted cursor and makes it readable.
void HeadlessHost::SetCursor(Point clientPos) {
    m_cursor = clientPos;
    m_cursorAvailable = true;
}

}  // namespace velmora
