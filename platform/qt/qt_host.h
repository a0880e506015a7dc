#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include <QtGui/QIcon>
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include "model/note_set.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/message.h"
#include "platform/window_host.h"

class QEventLoop;
class QMenu;
class QMessageBox;

namespace velmora {

// The Qt window that shows one CDialog: a top-level window with a fixed
// client area whose pixels are the host's Canvas, drawn unstretched in the
// top-left corner whatever size a window manager gives the window. Mouse and key events become
// Messages handed to the dialog's Dispatch; a paint blits the canvas, asking
// the dialog to redraw it first (WM_PAINT) unless a ReleaseDC has just
// refreshed it. The right button opens the system menu the dialog built with
// AppendSystemMenuItem. Needs a QApplication.
class QtHost : public QWidget, public WindowHost {
public:
    // Opens the About box owned by `owner` and returns when it has closed.
    using AboutBoxRunner = std::function<void(QWidget* owner)>;

    // A hidden window whose client area is width x height logical pixels
    // (at least 1 x 1).
    explicit QtHost(int32_t width = kEditorClient.right, int32_t height = kEditorClient.bottom);
    ~QtHost() override;

    // Shows `dlg` modally: Attach, OnInitDialog (before the window is first
    // shown), then events until the dialog ends or the window is closed.
    // Warnings raised before the window is shown come once it is first
    // painted, over it, in their order. The window is hidden again on return. Returns dlg.Result(),
    // which is CDialog::kNotEnded if the window went away without the dialog ending.
    int RunModal(CDialog& dlg);

    // Sets what RunAboutBox runs; without one RunAboutBox does nothing.
    void SetAboutBoxRunner(AboutBoxRunner runner);

    // Makes `icon` the picture of icon resource `iconId` for SetIcon.
    void RegisterIcon(int32_t iconId, const QIcon& icon);

    // The menu the right button opens, and the Yes/No question while it is
    // open (else null), for inspection.
    QMenu* SystemMenu() const { return m_systemMenu; }
    QMessageBox* Question() const { return m_question; }

    // WindowHost.
    Rect ClientRect() const override;
    // Sets the window title; the text is read as Latin-1.
    void SetCaption(const std::string& text) override;
    Canvas& GetDC() override;
    // Marks the canvas as freshly drawn and schedules a repaint that shows it
    // without asking the dialog to draw again.
    void ReleaseDC(Canvas& canvas) override;
    // The cursor in client pixels; false when there is no screen.
    bool GetCursorPos(Point& clientPos) const override;
    // Waits for the answer while the window stays usable with the mouse;
    // keys go to the question. No when the dialog ends meanwhile, or when a
    // question is open already.
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    // A modal box over the window; before the window is first shown, on its
    // own, after the warnings waiting for the window. No when the dialog has
    // ended, or when a question is open already.
    bool AskQuestion(const std::string& text, const std::string& caption) override;
    // Before the window is first shown the warning waits for it (RunModal).
    void ShowWarning(const std::string& text, const std::string& caption) override;
    // Runs the About box runner with this window as the owner.
    void RunAboutBox() override;
    void AppendSystemMenuItem(uint32_t id, const std::string& text) override;
    // Qt keeps one window icon in several sizes, so the big and the small
    // icon are the same; an unregistered id leaves the icon unchanged.
    void SetIcon(int32_t iconId, bool big) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Send(uint32_t message, uint32_t wParam, Point point = {});
    void SendMouse(uint32_t message, QMouseEvent* event);
    void FinishIfEnded();
    void ShowWarningBox(const std::string& text, const std::string& caption);
    void ShowPendingWarnings();

    Canvas m_canvas;
    QImage m_picture;
    bool m_canvasFresh = false;
    bool m_painting = false;
    bool m_aboutBoxOpen = false;
    bool m_showingWarnings = false;
    CDialog* m_dialog = nullptr;
    QEventLoop* m_loop = nullptr;
    QMenu* m_systemMenu = nullptr;
    QMessageBox* m_question = nullptr;  // the Yes/No question while it is open
    std::deque<std::pair<std::string, std::string>> m_pendingWarnings;  // text, caption
    AboutBoxRunner m_aboutBoxRunner;
    std::map<int32_t, QIcon> m_icons;
};

}  // namespace velmora
