#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "io/spline_file.h"
#include "model/geometry.h"
#include "model/note_set.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "recovery/session_state.h"

namespace velmora {

class SessionRecovery;

// The main dialog: it owns the four notes' spline lists and the working copy
// of the spline being edited, and turns mouse and key messages into edits.
// It talks to its window only through the attached WindowHost.
//
// Where the members are defined:
//   velmora_dlg.cpp           construction, message map, OnInitDialog, OnSysCommand,
//                             OnPaint, the state helpers, DrawScene, the private helpers
//   mouse_editing.cpp         OnLButtonDown, OnMouseMove, OnLButtonUp
//   keyboard.cpp              PreTranslateMessage, OnKeyDown (the key table)
//   spline_commands.cpp       ShowCurrentSpline to RemovePointUnderCursor
//   spline_file_commands.cpp  LoadSplines, SaveSplines
//   recovery_commands.cpp     offering an ended session's unsaved edits back,
//                             recording the state after each command
class CVelmoraDlg : public CDialog {
public:
    // `splineFilePath` is the spline file, "Splines.xml" in the working folder;
    // messages name it `shownPath`, or, when that is empty, the path made
    // absolute against the working folder at start-up.
    explicit CVelmoraDlg(std::string splineFilePath = "Splines.xml", std::string shownPath = "");

    // Keeps the unsaved edits recoverable through `recovery` (none by
    // default): at start-up, right after the load, an ended session's
    // unsaved edits of the same folder are offered back; after every command
    // that may change the state it is recorded. Set before OnInitDialog.
    void SetRecovery(SessionRecovery* recovery) { m_recovery = recovery; }

    // Start-up: About entry, icons, client rectangle, targets, default
    // splines, note 0, the spline file, the offer of unsaved edits an ended
    // session left (when there is a recovery), then the first spline shown.
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

    // Commands. Below, "stores" means StoreCurrentSpline and "shows" means
    // ShowCurrentSpline; every command that leaves the current spline or note
    // stores first, then changes the index, then shows.

    // Copies the current note's current spline into m_points, sets the caption
    // "Velmora (Editing note N spline S / COUNT)", rebuilds m_curve when there
    // are two points or more, and redraws at once. Stores nothing.
    void ShowCurrentSpline();
    // Copies m_points over the current note's current spline. Draws nothing.
    void StoreCurrentSpline();
    // Appends the current note's default spline (origin to its target) to its
    // list; the current index stays. Stores and draws nothing.
    void AddDefaultSpline();
    // Enter: stores, appends the note's default spline, then runs NextSpline,
    // which shows the spline after the current one (the new one only when the
    // current one was the last).
    void AppendSpline();
    // Right: stores, makes the note's next spline current (after the last, the
    // first) and shows.
    void NextSpline();
    // Left: stores, makes the note's previous spline current (before the first,
    // the last) and shows.
    void PrevSpline();
    // Keypad plus: stores, makes the next note current (after note 3, note 0)
    // and shows; each note keeps its own current spline.
    void NextNote();
    // Keypad minus: stores, makes the previous note current (before note 0,
    // note 3) and shows.
    void PrevNote();
    // Delete or keypad decimal point: asks; on Yes deletes the current spline
    // with its unstored edits, gives an emptied note its default spline, keeps
    // the index (the new last one after deleting the last) and shows. On No
    // changes nothing.
    void DeleteSpline();
    // Backspace: when m_points holds more than two points, drops the last one,
    // stores and shows; otherwise changes nothing.
    void RemoveLastPoint();
    // Keypad divide: when the cursor can be read, HitTestPoint finds a control
    // point under it and m_points holds more than two points, removes that
    // point, stores and shows; otherwise changes nothing.
    void RemovePointUnderCursor();
    // Start-up: reads the spline file into m_noteSplines (each note it names
    // replaces its list), shows a warning when the file is not a file, cannot
    // be read, holds no note or was read only in part, gives empty notes their
    // default spline, pulls the indices into their lists and tells the file
    // what was read, so the first save can decide on a backup. Draws nothing.
    void LoadSplines();
    // S: stores, then writes every note and the client size to the spline
    // file; shows a warning when the save failed (the notes stay open) or
    // another program had changed the file (naming the backup of its version).
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

protected:
    const MessageMap& GetMessageMap() const override;

private:
    // Draws the scene at once on the client area's canvas.
    void RedrawNow();
    // Rebuilds m_curve when the working copy has two points or more.
    void RebuildWorkingCurve();
    // ShowCurrentSpline without loading the working copy: the caption, the
    // curve rebuilt and the scene drawn at once.
    void ShowWorkingCopy();
    // The editor's state as the recovery records it.
    SessionView View() const;
    // Asks whether to restore the unsaved edits an ended session left, if
    // any; on Yes sets the notes, the indices and the working copy. True
    // when they were restored.
    bool OfferRecoveredEdits();
    // Records the state after a command; the first failure is told.
    void RecordSession();
    void TellIfNotRecorded(const Status& recorded);
    // Pulls every current index into its list (the load gave every empty
    // note its default spline), so no spline outside a list is ever addressed.
    void RepairNoteSet();

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
    std::string m_shownPath;       // the spline file as messages name it
    std::string m_promisedBackup;  // the backup the start-up message named, or ""
    SessionRecovery* m_recovery = nullptr;
    bool m_toldRecordingFailed = false;
};

}  // namespace velmora
