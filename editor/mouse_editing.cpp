// Adding control points with a click and dragging them with the left button.
#include "editor/velmora_dlg.h"
#include "render/colours.h"
#include "render/markers.h"

namespace velmora {

void CVelmoraDlg::OnLButtonDown(uint32_t nFlags, Point point) {
    const int i = HitTestPoint(point);
    if (i >= 0) {
        m_dragIndex = i;
    } else {
        Canvas& dc = Host().GetDC();
        DrawCross(point.x, point.y, kClickCross.colour, kClickCross.size, dc);
        m_points.push_back(point);
        RebuildWorkingCurve();
        DrawScene(dc);
        Host().ReleaseDC(dc);
        RecordSession();
    }
    CDialog::OnLButtonDown(nFlags, point);
}

void CVelmoraDlg::OnMouseMove(uint32_t nFlags, Point point) {
    if (m_dragIndex >= 0) {
        // A key command may have shortened the working copy mid-drag; a stale
        // index would write past its end, so such a drag simply ends.
        if (static_cast<size_t>(m_dragIndex) < m_points.size()) {
            m_points[m_dragIndex] = point;
            RebuildWorkingCurve();
            RedrawNow();
        } else {
            m_dragIndex = -1;
        }
    }
    CDialog::OnMouseMove(nFlags, point);
}

// A drag is recorded once, at its release: its moves are not slowed down.
void CVelmoraDlg::OnLButtonUp(uint32_t nFlags, Point point) {
    const bool dragging = m_dragIndex >= 0;
    m_dragIndex = -1;
    if (dragging) {
        RecordSession();
    }
    CDialog::OnLButtonUp(nFlags, point);
}

}  // namespace velmora
