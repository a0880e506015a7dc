#include "platform/headless_host.h"

namespace velmora {

HeadlessHost::HeadlessHost(int32_t width, int32_t height) : m_canvas(width, height) {}

Rect HeadlessHost::ClientRect() const {
    // The canvas clamps a negative size to zero; the rectangle follows it.
    return Rect{0, 0, m_canvas.Width(), m_canvas.Height()};
}

void HeadlessHost::SetCaption(const std::string& text) { m_captions.push_back(text); }

std::string HeadlessHost::Caption() const {
    return m_captions.empty() ? std::string() : m_captions.back();
}

Canvas& HeadlessHost::GetDC() {
    ++m_getDCCount;
    m_canvas.ResetDrawingState();
    return m_canvas;
}

void HeadlessHost::ReleaseDC(Canvas& canvas) {
    ++m_releaseDCCount;
    if (&canvas != &m_canvas) {
        ++m_foreignReleaseCount;
    }
}

bool HeadlessHost::GetCursorPos(Point& clientPos) const {
    if (!m_cursorAvailable) {
        return false;
    }
    clientPos = m_cursor;
    return true;
}

bool HeadlessHost::AskYesNo(const std::string& text, const std::string& caption) {
    m_questions.push_back(BoxText{text, caption});
    if (m_answers.empty()) {
        return false;
    }
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

void HeadlessHost::ShowWarning(const std::string& text, const std::string& caption) {
    m_warnings.push_back(BoxText{text, caption});
}

void HeadlessHost::RunAboutBox() { ++m_aboutBoxCount; }

void HeadlessHost::AppendSystemMenuItem(uint32_t id, const std::string& text) {
    m_systemMenu.push_back(MenuItem{id, id == 0 ? std::string() : text});
}

void HeadlessHost::SetCursor(Point clientPos) {
    m_cursor = clientPos;
    m_cursorAvailable = true;
}

}  // namespace velmora
