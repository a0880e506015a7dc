#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "io/spline_file.h"
#include "model/note_set.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/geometry.h"

namespace velmora {

// The main dialog: it owns the four notes' spline lists and the working copy
// of the spline being edited, and turns mouse and key messages into edits.
// It talks to its window only through the attached WindowHost.
class CVelmoraDlg : public CDialog {
public:
    // `splineFilePath` is the spline file, "Splines.xml" in the working folder.
    explicit CVelmoraDlg(std::string splineFilePath = "Splines.xml");

    // Start-up: About entry, icons, client rectangle, targets, default
    // splines, note 0, the spline file, then the first spline shown.
    bool OnInitDialog() override;
    // Takes Enter, Escape, Left and Right before any default dialog handling.
    bool PreTranslateMessage(const Message& msg) override;

    // Message handlers, bound in the message map.
    void OnSysCommand(uint32_t nID, uint32_t lParam);
    void OnPaint();
    int32_t OnQueryDragIcon() const { return m_hIcon; }
    void OnLButtonDown(uint32_t nFlags, Point point);
    void OnMouseMove(uint32_t nFlags, Point point);
    void OnLButtonUp(uint32_t nFlags, Point point);
    void OnKeyDown(uint32_t nChar, uint32_t nRepCnt, uint32_t nFlags);

    // Editor state helpers.
    Point DesignToClient(int32_t x, int32_t y) const;
    // The first control point strictly closer than 5 pixels to p, else -1.
    int HitTestPoint(Point p) const;

    // Commands.
    void ShowCurrentSpline();
    void StoreCurrentSpline();
    void AddDefaultSpline();
    void AppendSpline();
    void NextSpline();
    void PrevSpline();
    void NextNote();
    void PrevNote();
    void DeleteSpline();
    void RemoveLastPoint();
    void RemovePointUnderCursor();
    void LoadSplines();
    void SaveSplines();

    // Paints the whole scene onto `dc`.
    void DrawScene(Canvas& dc) const;

    // Read access for hosts and tests.
    const std::vector<Point>& Points() const { return m_points; }
    const std::vector<Point>& Curve() const { return m_curve; }
    const NoteSet& NoteSplines() const { return m_noteSplines; }
    int32_t CurrentNote() const { return m_currentNote; }
    int32_t CurrentSpline(int note) const { return m_currentSpline[note]; }
    int32_t DragIndex() const { return m_dragIndex; }
    const Rect& ClientRect() const { return m_clientRect; }
    const std::array<Point, kNoteCount>& Targets() const { return m_targets; }

protected:
    const MessageMap& GetMessageMap() const override;

private:
    // Draws the scene at once on the client area's canvas.
    void RedrawNow();
    // Rebuilds m_curve when the working copy has two points or more.
    void RebuildWorkingCurve();
    // Gives an empty note its default spline and pulls every current index
    // into its list, so no spline outside a list is ever addressed.
    void RepairNoteSet();
    Spline DefaultSplineOf(int note) const;

    int32_t m_dragIndex = -1;
    int32_t m_hIcon;
    std::vector<Point> m_points;
    std::vector<Point> m_curve;
    NoteSet m_noteSplines;
    Rect m_clientRect;
    int32_t m_currentNote = 0;
    std::array<int32_t, kNoteCount> m_currentSpline{};
    std::array<Point, kNoteCount> m_targets{};
    // m_targets and the origin in client pixels, mapped once at start-up.
    ClientTargets m_clientTargets{};
    SplineFile m_splineFile;
};

}  // namespace velmora
