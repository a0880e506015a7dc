#include "editor/velmora_dlg.h"

#include <iterator>
#include <utility>

#include "curve/rebuild_curve.h"
#include "editor/point_distance.h"
#include "platform/message.h"
#include "render/scene.h"
#include "resources/resource_ids.h"

namespace velmora {

namespace {

CVelmoraDlg& Self(CDialog& dialog) { return static_cast<CVelmoraDlg&>(dialog); }

constexpr double kHitRadius = 5.0;

}  // namespace

CVelmoraDlg::CVelmoraDlg(std::string splineFilePath, std::string shownPath)
    : m_hIcon(IDR_MAINFRAME),
      m_splineFile(std::move(splineFilePath)),
      m_shownPath(std::move(shownPath)) {}

const MessageMap& CVelmoraDlg::GetMessageMap() const {
    static const MessageMapEntry kEntries[] = {
        {WM_SYSCOMMAND, [](CDialog& d, const Message& m) { Self(d).OnSysCommand(m.wParam, 0); }},
        {WM_PAINT, [](CDialog& d, const Message&) { Self(d).OnPaint(); }},
        {WM_QUERYDRAGICON, [](CDialog& d, const Message&) { Self(d).OnQueryDragIcon(); }},
        {WM_LBUTTONDOWN,
         [](CDialog& d, const Message& m) { Self(d).OnLButtonDown(m.wParam, m.point); }},
        {WM_MOUSEMOVE,
         [](CDialog& d, const Message& m) { Self(d).OnMouseMove(m.wParam, m.point); }},
        {WM_LBUTTONUP,
         [](CDialog& d, const Message& m) { Self(d).OnLButtonUp(m.wParam, m.point); }},
        {WM_KEYDOWN, [](CDialog& d, const Message& m) { Self(d).OnKeyDown(m.wParam, 1, 0); }},
    };
    static const MessageMap kMap{kEntries, std::size(kEntries)};
    return kMap;
}

bool CVelmoraDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    Host().AppendSystemMenuItem(0, std::string());
    Host().AppendSystemMenuItem(IDM_ABOUTBOX, kAboutMenuText);

    Host().SetIcon(m_hIcon, true);
    Host().SetIcon(m_hIcon, false);

    m_clientRect = Host().ClientRect();
    for (int n = 0; n < kNoteCount; ++n)
        m_targets[n] = kDesignTargets[n];
    m_clientTargets = MapTargets(m_clientRect, m_targets);
    for (int n = 0; n < kNoteCount; ++n)
        m_currentSpline[n] = 0;
    m_currentNote = 0;

    LoadSplines();
    if (OfferRecoveredEdits()) {
        ShowWorkingCopy();
    } else {
        ShowCurrentSpline();
    }
    return true;
}

void CVelmoraDlg::OnSysCommand(uint32_t nID, uint32_t lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        Host().RunAboutBox();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CVelmoraDlg::OnPaint() {
    RedrawNow();
    CDialog::OnPaint();
}

Point CVelmoraDlg::DesignToClient(int32_t x, int32_t y) const {
    return velmora::DesignToClient(m_clientRect, x, y);
}

int CVelmoraDlg::HitTestPoint(Point p) const {
    for (size_t i = 0; i < m_points.size(); ++i) {
        if (PointDistance(m_points[i], p) < kHitRadius)
            return static_cast<int>(i);
    }
    return -1;
}

void CVelmoraDlg::DrawScene(Canvas& dc) const {
    const SceneView view{m_points, m_curve, m_clientTargets, m_currentNote};
    velmora::DrawScene(dc, Host().ClientRect(), view);
}

void CVelmoraDlg::RedrawNow() {
    Canvas& dc = Host().GetDC();
    DrawScene(dc);
    Host().ReleaseDC(dc);
}

void CVelmoraDlg::RebuildWorkingCurve() {
    if (m_points.size() > 1)
        RebuildCurve(m_points, m_curve);
}

void CVelmoraDlg::RepairNoteSet() {
    for (int n = 0; n < kNoteCount; ++n) {
        const auto size = static_cast<int32_t>(m_noteSplines[n].size());
        if (m_currentSpline[n] < 0 || m_currentSpline[n] >= size)
            m_currentSpline[n] = 0;
    }
    if (m_currentNote < 0 || m_currentNote >= kNoteCount)
        m_currentNote = 0;
}

}  // namespace velmora
