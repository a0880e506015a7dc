// Moving between splines and notes, and editing the current spline as a whole.
#include <cstdio>

#include "editor/velmora_dlg.h"

namespace velmora {

void CVelmoraDlg::ShowCurrentSpline() {
    m_points = m_noteSplines[m_currentNote][m_currentSpline[m_currentNote]];
    ShowWorkingCopy();
}

void CVelmoraDlg::ShowWorkingCopy() {
    const int32_t n = m_currentNote;
    const int32_t s = m_currentSpline[n];
    char TextTitle[512];
    std::snprintf(TextTitle, sizeof TextTitle, "Velmora (Editing note %d spline %d / %d)",
                  static_cast<int>(n), static_cast<int>(s + 1),
                  static_cast<int>(m_noteSplines[n].size()));
    Host().SetCaption(TextTitle);

    RebuildWorkingCurve();
    RedrawNow();
}

void CVelmoraDlg::StoreCurrentSpline() {
    m_noteSplines[m_currentNote][m_currentSpline[m_currentNote]] = m_points;
}

void CVelmoraDlg::AddDefaultSpline() {
    m_noteSplines[m_currentNote].push_back(DefaultSpline(m_clientRect, m_targets[m_currentNote]));
}

void CVelmoraDlg::AppendSpline() {
    StoreCurrentSpline();
    AddDefaultSpline();
    NextSpline();
}

void CVelmoraDlg::NextSpline() {
    StoreCurrentSpline();
    int32_t& index = m_currentSpline[m_currentNote];
    const auto size = static_cast<int32_t>(m_noteSplines[m_currentNote].size());
    index = index + 1 < size ? index + 1 : 0;
    ShowCurrentSpline();
}

void CVelmoraDlg::PrevSpline() {
    StoreCurrentSpline();
    int32_t& index = m_currentSpline[m_currentNote];
    const auto size = static_cast<int32_t>(m_noteSplines[m_currentNote].size());
    index = index == 0 ? size - 1 : index - 1;
    ShowCurrentSpline();
}

void CVelmoraDlg::NextNote() {
    StoreCurrentSpline();
    m_currentNote = m_currentNote + 1 < kNoteCount ? m_currentNote + 1 : 0;
    ShowCurrentSpline();
}

void CVelmoraDlg::PrevNote() {
    StoreCurrentSpline();
    m_currentNote = m_currentNote == 0 ? kNoteCount - 1 : m_currentNote - 1;
    ShowCurrentSpline();
}

void CVelmoraDlg::DeleteSpline() {
    if (!Host().AskYesNo("Do you really want to delete that spline ?", "Delete current spline"))
        return;

    // Read after the answer: the dialog stays live while the question is open.
    const int32_t n = m_currentNote;
    const int32_t s = m_currentSpline[n];
    SplineList& list = m_noteSplines[n];
    list.erase(list.begin() + s);

    if (list.empty()) {
        AddDefaultSpline();
    } else if (s + 1 >= static_cast<int32_t>(list.size())) {
        m_currentSpline[n] = static_cast<int32_t>(list.size()) - 1;
    }
    ShowCurrentSpline();
}

void CVelmoraDlg::RemoveLastPoint() {
    if (m_points.size() <= 2)
        return;
    m_points.pop_back();
    StoreCurrentSpline();
    ShowCurrentSpline();
}

void CVelmoraDlg::RemovePointUnderCursor() {
    Point CursorPos;
    if (!Host().GetCursorPos(CursorPos))
        return;
    const int i = HitTestPoint(CursorPos);
    if (i < 0)
        return;
    if (m_points.size() <= 2)
        return;
    m_points.erase(m_points.begin() + i);
    StoreCurrentSpline();
    ShowCurrentSpline();
}

}  // namespace velmora
