#include "platform/qt/qt_host.h"

#include <utility>

#include <QtCore/QEventLoop>
#include <QtCore/QTimer>
#include <QtGui/QCloseEvent>
#include <QtGui/QContextMenuEvent>
#include <QtGui/QCursor>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QRegion>
#include <QtGui/QScreen>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>

#include "platform/qt/canvas_picture.h"
#include "platform/qt/qt_keys.h"

namespace velmora {

namespace {

// Message-box text as the program builds it: its own words with file paths
// and the system's error texts, all in the locale's 8-bit encoding.
QString FromLocalText(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

// Whether a message carries the user's input: mouse, keys, or a system
// command from the menu or the close button.
bool IsInput(uint32_t message) {
    return message == WM_KEYDOWN || message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE ||
           message == WM_LBUTTONUP || message == WM_SYSCOMMAND;
}

}  // namespace

// A fixed-size top-level window without minimise or maximise buttons; every
// pixel comes from the canvas, so Qt neither fills nor erases the background.
QtHost::QtHost(int32_t width, int32_t height)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      m_canvas(width < 1 ? 1 : width, height < 1 ? 1 : height),
      m_systemMenu(new QMenu(this)) {
    setFixedSize(m_canvas.Width(), m_canvas.Height());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

QtHost::~QtHost() = default;

// Runs a nested event loop for the dialog, like a modal dialog box.
int QtHost::RunModal(CDialog& dlg) {
    if (m_loop != nullptr) {  // one dialog per window at a time
        return CDialog::kNotEnded;
    }
    m_dialog = &dlg;
    m_canvasFresh = false;
    m_systemMenu->clear();  // each run builds its menu afresh in OnInitDialog
    dlg.Attach(*this);
    dlg.OnInitDialog();
    if (!dlg.IsEnded()) {
        show();
        raise();
        activateWindow();
        setFocus(Qt::ActiveWindowFocusReason);
        QEventLoop loop;
        m_loop = &loop;
        loop.exec(QEventLoop::DialogExec);
        m_loop = nullptr;
    }
    ShowPendingWarnings();  // a window that never came up still tells them
    hide();
    m_dialog = nullptr;
    return dlg.Result();
}

void QtHost::SetAboutBoxRunner(AboutBoxRunner runner) { m_aboutBoxRunner = std::move(runner); }

void QtHost::RegisterIcon(int32_t iconId, const QIcon& icon) { m_icons[iconId] = icon; }

void QtHost::SetIcon(int32_t iconId, bool /*big*/) {
    const auto found = m_icons.find(iconId);
    if (found != m_icons.end()) {
        setWindowIcon(found->second);
    }
}

Rect QtHost::ClientRect() const {
    Rect rect;
    rect.right = m_canvas.Width();
    rect.bottom = m_canvas.Height();
    return rect;
}

// Narrow text is taken byte for byte as Latin-1.
void QtHost::SetCaption(const std::string& text) {
    setWindowTitle(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

Canvas& QtHost::GetDC() {
    m_canvas.ResetDrawingState();
    return m_canvas;
}

// Inside a paint the blit follows anyway, so no second paint is scheduled.
void QtHost::ReleaseDC(Canvas& canvas) {
    if (&canvas != &m_canvas) {
        return;
    }
    m_canvasFresh = true;
    if (!m_painting) {
        update();
    }
}

bool QtHost::GetCursorPos(Point& clientPos) const {
    if (QGuiApplication::primaryScreen() == nullptr) {
        return false;
    }
    clientPos = CanvasPixelAt(mapFromGlobal(QPointF(QCursor::pos())), devicePixelRatio());
    return true;
}

// A warning box with Yes and No; No is the default and Escape answers No.
// It has no owner and blocks nothing: the canvas goes on taking the mouse
// while a loop of its own waits for the answer, and keys that reach the
// window are handed to the box. Ending the dialog meanwhile answers No.
bool QtHost::AskYesNo(const std::string& text, const std::string& caption) {
    if (m_question != nullptr || (m_dialog != nullptr && m_dialog->IsEnded())) {
        return false;
    }
    QMessageBox box(QMessageBox::Warning, FromLocalText(caption), FromLocalText(text),
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.setWindowModality(Qt::NonModal);
    QEventLoop answered;
    connect(&box, &QDialog::finished, &answered, &QEventLoop::quit);
    m_question = &box;
    box.show();
    box.raise();
    box.activateWindow();
    answered.exec(QEventLoop::DialogExec);
    m_question = nullptr;
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes;
}

// Yes is the default and Escape answers No; the buttons' own texts give
// Alt+Y and Alt+N. A question at start-up cannot wait for the window as
// warnings do, for the answer decides what the window shows: it comes
// first, after the warnings raised before it, in their order.
bool QtHost::AskQuestion(const std::string& text, const std::string& caption) {
    if (m_question != nullptr || (m_dialog != nullptr && m_dialog->IsEnded())) {
        return false;
    }
    const bool shown = isVisible();
    if (!shown) {
        ShowPendingWarnings();
    }
    QMessageBox box(QMessageBox::Question, FromLocalText(caption), FromLocalText(text),
                    QMessageBox::Yes | QMessageBox::No, shown ? this : nullptr);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// Before the window is up there is nothing to show the box over, so it
// waits until the window is shown.
void QtHost::ShowWarning(const std::string& text, const std::string& caption) {
    if (m_dialog != nullptr && !isVisible()) {
        m_pendingWarnings.emplace_back(text, caption);
        return;
    }
    ShowWarningBox(text, caption);
}

// A modal warning box with OK, centred over the window.
void QtHost::ShowWarningBox(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Warning, FromLocalText(caption), FromLocalText(text),
                    QMessageBox::Ok, this);
    box.exec();
}

// Shows the waiting warnings in the order they came, one at a time.
void QtHost::ShowPendingWarnings() {
    if (m_showingWarnings) {
        return;
    }
    m_showingWarnings = true;
    while (!m_pendingWarnings.empty()) {
        const auto [text, caption] = std::move(m_pendingWarnings.front());
        m_pendingWarnings.pop_front();
        ShowWarningBox(text, caption);
    }
    m_showingWarnings = false;
}

// The About box is modal; input that still reaches this window while it is
// open (say from a runner that forgot to be modal) is dropped in Send.
void QtHost::RunAboutBox() {
    if (!m_aboutBoxRunner || m_aboutBoxOpen) {
        return;
    }
    m_aboutBoxOpen = true;
    m_aboutBoxRunner(this);
    m_aboutBoxOpen = false;
}

// Separators for id 0, otherwise an entry that sends its system command.
void QtHost::AppendSystemMenuItem(uint32_t id, const std::string& text) {
    if (id == 0) {
        m_systemMenu->addSeparator();
        return;
    }
    QAction* action = m_systemMenu->addAction(QString::fromLatin1(text.c_str()));
    connect(action, &QAction::triggered, this, [this, id] { Send(WM_SYSCOMMAND, id); });
}

// Tab would move the focus and a shortcut could take a key before the window
// sees it; every key that has a virtual-key code goes to keyPressEvent.
bool QtHost::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (VirtualKeyFromQt(key->key(), key->modifiers()) != 0) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

// Lets the dialog redraw the canvas unless a ReleaseDC already did, then
// shows it at its own size in the top-left corner, whole pixels scaled up
// on high-density screens. A window manager may make the window larger than
// its fixed size; the rest is plain background, never a stretched canvas,
// so what the pointer is over is what a click stores.
void QtHost::paintEvent(QPaintEvent*) {
    if (!m_canvasFresh) {
        m_painting = true;
        Send(WM_PAINT, 0);
        m_painting = false;
    }
    m_canvasFresh = false;

    DrawCanvasPicture(m_canvas, devicePixelRatio(), m_picture);
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_picture);
    const QRect canvasArea(0, 0, m_canvas.Width(), m_canvas.Height());
    for (const QRect& strip : QRegion(rect()).subtracted(canvasArea)) {
        painter.fillRect(strip, palette().window());
    }
    // Painted means placed on screen: warnings of the start-up can be centred
    // over the window now (before, the window manager may not have placed it).
    if (!m_pendingWarnings.empty()) {
        QTimer::singleShot(0, this, &QtHost::ShowPendingWarnings);
    }
}

// Only the left button is a message; the right one opens the system menu
// through contextMenuEvent.
void QtHost::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SendMouse(WM_LBUTTONDOWN, event);
        event->accept();
        if (m_question != nullptr) {  // keep the open question in sight
            m_question->raise();
        }
        return;
    }
    QWidget::mousePressEvent(event);
}

// Moves arrive with or without a button (mouse tracking is on).
void QtHost::mouseMoveEvent(QMouseEvent* event) {
    SendMouse(WM_MOUSEMOVE, event);
    event->accept();
}

// Only the left button's release is a message.
void QtHost::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SendMouse(WM_LBUTTONUP, event);
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

// Auto-repeats are key-downs too; keys without a code are not sent. While
// a question is open, the keyboard belongs to it.
void QtHost::keyPressEvent(QKeyEvent* event) {
    if (m_question != nullptr) {
        m_question->raise();
        m_question->activateWindow();
        QCoreApplication::sendEvent(m_question, event);
        return;
    }
    const uint32_t vk = VirtualKeyFromQt(event->key(), event->modifiers());
    if (vk == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    Send(WM_KEYDOWN, vk);
    event->accept();
}

void QtHost::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_systemMenu->isEmpty()) {
        m_systemMenu->exec(event->globalPos());
    }
    event->accept();
}

// Closing is the close system command; the window goes only if the dialog
// ends on it.
void QtHost::closeEvent(QCloseEvent* event) {
    if (m_dialog != nullptr && !m_dialog->IsEnded()) {
        Send(WM_SYSCOMMAND, SC_CLOSE);
    }
    if (m_dialog != nullptr && !m_dialog->IsEnded()) {
        event->ignore();
        return;
    }
    event->accept();
    FinishIfEnded();
}

// Dispatches one message to the running dialog and leaves the modal loop
// once the dialog has ended.
void QtHost::Send(uint32_t message, uint32_t wParam, Point point) {
    if (m_dialog == nullptr || m_dialog->IsEnded()) {
        return;
    }
    if (m_aboutBoxOpen && IsInput(message)) {
        return;
    }
    Message msg;
    msg.message = message;
    msg.wParam = wParam;
    msg.point = point;
    m_dialog->Dispatch(msg);
    FinishIfEnded();
}

// Once the dialog has ended, an open question is answered No (its close
// button's answer) and the run's loop ends.
void QtHost::FinishIfEnded() {
    if (m_dialog == nullptr || !m_dialog->IsEnded()) {
        return;
    }
    if (m_question != nullptr) {
        m_question->close();
    }
    if (m_loop != nullptr) {
        m_loop->quit();
    }
}

// A mouse message with the position in client pixels and MK_LBUTTON while
// the left button is held. The window does not capture the mouse: Qt keeps
// reporting a held button outside the window, but those moves and the release
// there belong to whatever lies under the cursor, so they are not sent. A
// drag released outside therefore goes on until a release over the canvas.
void QtHost::SendMouse(uint32_t message, QMouseEvent* event) {
    const Point point = CanvasPixelAt(event->position(), devicePixelRatio());
    const Rect client = ClientRect();
    if (point.x < client.left || point.y < client.top || point.x >= client.right ||
        point.y >= client.bottom) {
        return;
    }
    const uint32_t flags = event->buttons().testFlag(Qt::LeftButton) ? MK_LBUTTON : 0;
    Send(message, flags, point);
}

}  // namespace velmora
