#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <QtCore/QTimer>
#include <QtGui/QCursor>
#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/qt/canvas_picture.h"
#include "platform/qt/qt_host.h"

namespace velmora {
namespace {

constexpr Colour kPaintColour = MakeColour(0, 128, 0);
constexpr int kTimedOut = 99;

// A dialog that records every message its map receives. Like the editor, it
// consumes Enter and Escape in PreTranslateMessage, adds a separator and the
// About entry to the system menu, and repaints the canvas on WM_PAINT.
class RecordingDialog : public CDialog {
public:
    bool PreTranslateMessage(const Message& msg) override {
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
            consumed.push_back(msg.wParam);
            return true;
        }
        return CDialog::PreTranslateMessage(msg);
    }

    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        Host().AppendSystemMenuItem(0, std::string());
        Host().AppendSystemMenuItem(0x0010, "&About Velmora...");
        Host().SetCaption("Velmora (Editing note 0 spline 1 / 1)");
        if (!startWarning.empty())
            Host().ShowWarning(startWarning, "Velmora");
        return true;
    }

    // Messages of one kind, in arrival order.
    std::vector<Message> Of(uint32_t id) const {
        std::vector<Message> out;
        for (const Message& m : received) {
            if (m.message == id) {
                out.push_back(m);
            }
        }
        return out;
    }

    std::vector<Message> received;
    std::vector<uint32_t> consumed;
    int paints = 0;
    bool closable = true;
    std::function<void()> onAbout;
    std::string startWarning;

protected:
    const MessageMap& GetMessageMap() const override {
        static const MessageMapEntry kEntries[] = {
            {WM_KEYDOWN, &RecordingDialog::Record},   {WM_LBUTTONDOWN, &RecordingDialog::Record},
            {WM_MOUSEMOVE, &RecordingDialog::Record}, {WM_LBUTTONUP, &RecordingDialog::Record},
            {WM_SYSCOMMAND, &RecordingDialog::OnSys}, {WM_PAINT, &RecordingDialog::OnPaintMsg},
        };
        static const MessageMap kMap{kEntries, sizeof(kEntries) / sizeof(kEntries[0])};
        return kMap;
    }

private:
    static void Record(CDialog& d, const Message& m) {
        static_cast<RecordingDialog&>(d).received.push_back(m);
    }
    static void OnSys(CDialog& d, const Message& m) {
        auto& self = static_cast<RecordingDialog&>(d);
        self.received.push_back(m);
        if ((m.wParam & 0xFFF0) == 0x0010) {
            if (self.onAbout) {
                self.onAbout();
            }
            self.Host().RunAboutBox();
        } else if (self.closable) {
            self.OnSysCommand(m.wParam, 0);
        }
    }
    static void OnPaintMsg(CDialog& d, const Message&) {
        auto& self = static_cast<RecordingDialog&>(d);
        ++self.paints;
        Canvas& canvas = self.Host().GetDC();
        canvas.FillRect(self.Host().ClientRect(), kPaintColour);
        self.Host().ReleaseDC(canvas);
        self.OnPaint();
    }
};

// Runs `dlg` in `host`, playing `script` once the loop runs. The script ends
// the run itself (usually by closing the window); if it does not within a few
// seconds, the run is ended with kTimedOut so a fault cannot hang the suite.
int RunScript(QtHost& host, RecordingDialog& dlg, const std::function<void()>& script) {
    QTimer::singleShot(0, &host, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
        script();
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &host, [&] {
        ADD_FAILURE() << "script did not end the dialog";
        dlg.EndDialog(kTimedOut);
        host.close();
    });
    watchdog.start(10000);
    return host.RunModal(dlg);
}

QRgb Rgb(Colour c) {
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

QRgb PixelOf(QtHost& host, int x, int y) { return host.grab().toImage().pixel(x, y) | 0xFF000000u; }

TEST(QtHost, WindowHasFixedClientAreaAndCaption) {
    QtHost host(480, 360);
    RecordingDialog dlg;
    const int result = RunScript(host, dlg, [&] {
        EXPECT_EQ(host.size(), QSize(480, 360));
        EXPECT_EQ(host.ClientRect(), (Rect{0, 0, 480, 360}));
        host.resize(600, 500);
        EXPECT_EQ(host.size(), QSize(480, 360));
        EXPECT_FALSE(host.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(host.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(host.windowTitle(), QStringLiteral("Velmora (Editing note 0 spline 1 / 1)"));
        host.SetCaption("caf\xE9");  // narrow text is Latin-1
        EXPECT_EQ(host.windowTitle(), QString::fromUtf8("caf\xC3\xA9"));
        host.close();
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(host.isVisible());
}

TEST(QtHost, MouseClicksAndDragsArriveInClientPixels) {
    QtHost host;
    RecordingDialog dlg;
    RunScript(host, dlg, [&] {
        QTest::mouseMove(&host, QPoint(5, 6));
        QTest::mousePress(&host, Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
        QTest::mouseMove(&host, QPoint(120, 61));
        QTest::mouseRelease(&host, Qt::LeftButton, Qt::NoModifier, QPoint(130, 70));
        QTest::mouseMove(&host, QPoint(479, 359));
        // Fractional logical positions (high-density screens) name the pixel
        // they lie in.
        QMouseEvent fractional(QEvent::MouseMove, QPointF(10.7, 0.5),
                               host.mapToGlobal(QPointF(10.7, 0.5)), Qt::NoButton, Qt::LeftButton,
                               Qt::NoModifier);
        QApplication::sendEvent(&host, &fractional);
        // Outside the window nothing is sent, held button or not: the window
        // does not capture the mouse.
        for (const QPointF outside : {QPointF(10.7, -0.5), QPointF(480, 10), QPointF(5, 360)}) {
            QMouseEvent move(QEvent::MouseMove, outside, host.mapToGlobal(outside), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&host, &move);
            QMouseEvent release(QEvent::MouseButtonRelease, outside, host.mapToGlobal(outside),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&host, &release);
        }
        // The right button is no editing message.
        QTest::mousePress(&host, Qt::RightButton, Qt::NoModifier, QPoint(200, 200));
        QTest::mouseRelease(&host, Qt::RightButton, Qt::NoModifier, QPoint(200, 200));
        host.close();
    });
    struct Expected {
        uint32_t message;
        uint32_t flags;
        Point point;
    };
    const Expected expected[] = {
        {WM_MOUSEMOVE, 0, {5, 6}},
        {WM_LBUTTONDOWN, MK_LBUTTON, {100, 50}},
        {WM_MOUSEMOVE, MK_LBUTTON, {120, 61}},
        {WM_LBUTTONUP, 0, {130, 70}},
        {WM_MOUSEMOVE, 0, {479, 359}},
        {WM_MOUSEMOVE, MK_LBUTTON, {10, 0}},
    };
    std::vector<Message> mouse;
    for (const Message& m : dlg.received) {
        if (m.message != WM_KEYDOWN && m.message != WM_SYSCOMMAND) {
            mouse.push_back(m);
        }
    }
    ASSERT_EQ(mouse.size(), std::size(expected));
    for (size_t i = 0; i < mouse.size(); ++i) {
        EXPECT_EQ(mouse[i].message, expected[i].message) << i;
        EXPECT_EQ(mouse[i].wParam, expected[i].flags) << i;
        EXPECT_EQ(mouse[i].point, expected[i].point) << i;
    }
}

TEST(QtHost, KeysArriveAsVirtualKeysAndEnterEscapeDoNotClose) {
    QtHost host;
    RecordingDialog dlg;
    RunScript(host, dlg, [&] {
        QTest::keyClick(&host, Qt::Key_S, Qt::ShiftModifier);
        QTest::keyClick(&host, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(&host, Qt::Key_Plus, Qt::KeypadModifier);
        QTest::keyClick(&host, Qt::Key_Plus, Qt::ShiftModifier);
        QTest::keyClick(&host, Qt::Key_Slash, Qt::KeypadModifier);
        QTest::keyClick(&host, Qt::Key_Tab);
        QTest::keyClick(&host, Qt::Key_Left);
        QTest::keyClick(&host, Qt::Key_Delete);
        QTest::keyClick(&host, Qt::Key_Backspace);
        QTest::keyClick(&host, Qt::Key_CapsLock);  // no code: not sent
        // An auto-repeated press is one more key-down.
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&host, &repeat);
        QTest::keyClick(&host, Qt::Key_Return);
        QTest::keyClick(&host, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(&host, Qt::Key_Escape);
        QTest::qWait(20);
        EXPECT_TRUE(host.isVisible());
        EXPECT_FALSE(dlg.IsEnded());
        host.close();
    });
    std::vector<uint32_t> keys;
    for (const Message& m : dlg.Of(WM_KEYDOWN)) {
        keys.push_back(m.wParam);
    }
    // QTest presses a modifier key before the key it modifies; like any key
    // it arrives as its own key-down.
    const std::vector<uint32_t> expectedKeys = {VK_SHIFT,  'S',         VK_CONTROL, 'S',    VK_ADD,
                                                VK_SHIFT,  VK_OEM_PLUS, VK_DIVIDE,  VK_TAB, VK_LEFT,
                                                VK_DELETE, VK_BACK,     VK_RIGHT};
    EXPECT_EQ(keys, expectedKeys);
    EXPECT_EQ(dlg.consumed, (std::vector<uint32_t>{VK_RETURN, VK_RETURN, VK_ESCAPE}));
}

TEST(QtHost, CloseEndsRunModalOnlyWhenTheDialogEnds) {
    QtHost host;
    RecordingDialog dlg;
    dlg.closable = false;
    const int result = RunScript(host, dlg, [&] {
        EXPECT_FALSE(host.close());
        EXPECT_TRUE(host.isVisible());
        ASSERT_EQ(dlg.Of(WM_SYSCOMMAND).size(), 1u);
        EXPECT_EQ(dlg.Of(WM_SYSCOMMAND)[0].wParam, SC_CLOSE);
        dlg.closable = true;
        EXPECT_TRUE(host.close());
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST(QtHost, EndDialogFromAMessageLeavesRunModal) {
    QtHost host;
    class EndsOnEscape : public RecordingDialog {
    public:
        bool PreTranslateMessage(const Message& msg) override {
            return CDialog::PreTranslateMessage(msg);  // the base ends on Escape
        }
    } dlg;
    const int result = RunScript(host, dlg, [&] { QTest::keyClick(&host, Qt::Key_Escape); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(host.isVisible());
}

TEST(QtHost, ContextMenuIsTheSystemMenuAndSendsAboutCommand) {
    QtHost host;
    RecordingDialog dlg;
    int aboutRuns = 0;
    host.SetAboutBoxRunner([&](QWidget* owner) {
        EXPECT_EQ(owner, &host);
        ++aboutRuns;
    });
    RunScript(host, dlg, [&] {
        const QList<QAction*> actions = host.SystemMenu()->actions();
        ASSERT_EQ(actions.size(), 2);
        EXPECT_TRUE(actions[0]->isSeparator());
        EXPECT_EQ(actions[1]->text(), QStringLiteral("&About Velmora..."));

        // A right click opens the menu; its mnemonic chooses the entry.
        QMenu* shown = nullptr;
        QTimer::singleShot(50, &host, [&] {
            shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (shown != nullptr) {
                QTest::keyClick(shown, Qt::Key_A);
            }
        });
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(40, 40),
                                    host.mapToGlobal(QPoint(40, 40)));
        QApplication::sendEvent(&host, &menuEvent);
        EXPECT_EQ(shown, host.SystemMenu());
        host.close();
    });
    const std::vector<Message> commands = dlg.Of(WM_SYSCOMMAND);
    ASSERT_GE(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 0x0010u);
    EXPECT_EQ(aboutRuns, 1);
}

TEST(QtHost, MainWindowGetsNoInputWhileTheAboutBoxIsOpen) {
    QtHost host;
    RecordingDialog dlg;
    host.SetAboutBoxRunner([&](QWidget*) {
        // Even input that reaches the window directly goes nowhere.
        QTest::keyClick(&host, Qt::Key_S);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10),
                          host.mapToGlobal(QPointF(10, 10)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&host, &press);
        EXPECT_FALSE(host.close());
    });
    RunScript(host, dlg, [&] {
        host.SystemMenu()->actions().at(1)->trigger();
        EXPECT_EQ(dlg.received.size(), 1u);  // only the About command itself
        EXPECT_TRUE(host.isVisible());
        QTest::keyClick(&host, Qt::Key_S);
        EXPECT_EQ(dlg.Of(WM_KEYDOWN).size(), 1u);
        host.close();
    });
}

TEST(QtHost, ReleasedCanvasShowsWithoutAnotherPaint) {
    QtHost host;
    RecordingDialog dlg;
    RunScript(host, dlg, [&] {
        QTest::qWait(20);  // let the first paint happen
        const int paintsBefore = dlg.paints;

        Canvas& canvas = host.GetDC();
        canvas.FillRect({0, 0, 480, 360}, kBlack);
        canvas.FillRect({10, 20, 30, 40}, MakeColour(255, 0, 0));
        canvas.FillRect({479, 359, 480, 360}, MakeColour(0, 0, 255));
        host.ReleaseDC(canvas);
        const QImage shown = host.grab().toImage();
        EXPECT_EQ(dlg.paints, paintsBefore);  // no second draw of the scene
        ASSERT_EQ(shown.size(), QSize(480, 360));
        EXPECT_EQ(shown.pixel(10, 20) | 0xFF000000u, Rgb(MakeColour(255, 0, 0)));
        EXPECT_EQ(shown.pixel(29, 39) | 0xFF000000u, Rgb(MakeColour(255, 0, 0)));
        EXPECT_EQ(shown.pixel(30, 40) | 0xFF000000u, Rgb(kBlack));
        EXPECT_EQ(shown.pixel(9, 20) | 0xFF000000u, Rgb(kBlack));
        EXPECT_EQ(shown.pixel(479, 359) | 0xFF000000u, Rgb(MakeColour(0, 0, 255)));
        host.close();
    });
}

TEST(QtHost, ExposeWithoutFreshCanvasDispatchesOnePaint) {
    QtHost host;
    RecordingDialog dlg;
    RunScript(host, dlg, [&] {
        QTest::qWait(20);
        const int paintsBefore = dlg.paints;
        host.repaint(QRect(0, 0, 5, 5));  // a small strip repaints the whole canvas
        EXPECT_EQ(dlg.paints, paintsBefore + 1);
        // Grabbing paints too, and shows what the dialog drew.
        EXPECT_EQ(PixelOf(host, 300, 300), Rgb(kPaintColour));
        EXPECT_EQ(dlg.paints, paintsBefore + 2);
        // The dialog's redraw ends in ReleaseDC; that must not schedule yet
        // another paint.
        host.update();
        QTest::qWait(50);
        EXPECT_EQ(dlg.paints, paintsBefore + 3);
        host.close();
    });
}

TEST(QtHost, CursorPositionIsInClientPixels) {
    QtHost host;
    RecordingDialog dlg;
    RunScript(host, dlg, [&] {
        QCursor::setPos(host.mapToGlobal(QPoint(33, 44)));
        Point pos;
        ASSERT_TRUE(host.GetCursorPos(pos));
        EXPECT_EQ(pos, (Point{33, 44}));
        host.close();
    });
}

// An open question leaves clicks to the window, takes its keys; closing answers No.
TEST(QtHost, AnOpenQuestionLeavesTheMouseToTheWindowAndTakesItsKeys) {
    QtHost host;
    RecordingDialog dlg;
    RunScript(host, dlg, [&] {
        QTimer::singleShot(50, [&] { QTest::mouseClick(&host, Qt::LeftButton, {}, {30, 40}); });
        QTimer::singleShot(60, [&] { QTest::keyClick(&host, Qt::Key_Escape); });
        EXPECT_FALSE(host.AskYesNo("Delete?", "Velmora"));
        QTimer::singleShot(50, [&] { host.close(); });
        EXPECT_FALSE(host.AskYesNo("Delete?", "Velmora"));
    });
    EXPECT_EQ(dlg.Of(WM_LBUTTONDOWN).size(), 1u);
}

// Answers the next message box by pressing `key` in it, and records
// its icon and default button.
struct BoxObserver {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString defaultText;
    QString title;
    QString text;
    bool overShownWindow = false;

    void AnswerNext(int key) {
        QTimer::singleShot(50, [this, key] {
            QMessageBox* box = nullptr;  // modal or not; not necessarily active yet
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible())
                    box = b;
            if (box == nullptr) {
                ADD_FAILURE() << "no message box";
                return;
            }
            icon = box->icon();
            title = box->windowTitle();
            text = box->text();
            overShownWindow = box->parentWidget() != nullptr && box->parentWidget()->isVisible();
            if (box->defaultButton() != nullptr) {
                defaultText = box->defaultButton()->text();
            }
            QTest::keyClick(box, static_cast<Qt::Key>(key));
        });
    }
};

TEST(QtHost, AskYesNoIsAWarningWithNoAsDefault) {
    QtHost host;
    RecordingDialog dlg;
    RunScript(host, dlg, [&] {
        BoxObserver box;
        box.AnswerNext(Qt::Key_Return);  // the default answer
        EXPECT_FALSE(host.AskYesNo("Delete this spline?", "Velmora"));
        EXPECT_EQ(box.icon, QMessageBox::Warning);
        EXPECT_EQ(box.title, QStringLiteral("Velmora"));
        EXPECT_EQ(box.text, QStringLiteral("Delete this spline?"));
        EXPECT_EQ(box.defaultText.remove('&'), QStringLiteral("No"));

        box.AnswerNext(Qt::Key_Escape);
        EXPECT_FALSE(host.AskYesNo("Delete?", "Velmora"));
        box.AnswerNext(Qt::Key_Y);
        EXPECT_TRUE(host.AskYesNo("Delete?", "Velmora"));
        host.close();
    });
}

// The recovery question: Enter answers Yes, Escape No.
TEST(QtHost, AskQuestionIsAQuestionWithYesAsDefault) {
    QtHost host;
    RecordingDialog dlg;
    RunScript(host, dlg, [&] {
        BoxObserver box;
        box.AnswerNext(Qt::Key_Return);
        EXPECT_TRUE(host.AskQuestion("Restore them?", "Velmora"));
        EXPECT_EQ(box.icon, QMessageBox::Question);
        EXPECT_EQ(box.defaultText.remove('&'), QStringLiteral("Yes"));
        box.AnswerNext(Qt::Key_Escape);
        EXPECT_FALSE(host.AskQuestion("Restore them?", "Velmora"));
        host.close();
    });
}

// A start-up warning shows over the shown window, decoded as the locale's text.
TEST(QtHost, AStartUpWarningComesOverTheShownWindow) {
    QtHost host;
    RecordingDialog dlg;
    dlg.startWarning = "Ger\xC3\xA4t";
    BoxObserver box;
    box.AnswerNext(Qt::Key_Return);
    RunScript(host, dlg, [&] {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !box.text.isEmpty(); }));
        host.close();
    });
    EXPECT_EQ(box.text, QString::fromUtf8("Ger\xC3\xA4t"));
    EXPECT_TRUE(box.overShownWindow);
}

// At any scale, a pointer anywhere in a device pixel names the canvas pixel shown there.
TEST(CanvasPicture, APointerNamesTheCanvasPixelShownUnderIt) {
    Canvas canvas(7, 5);  // red = blue in every colour, so both pixel layouts agree
    for (int x = 0; x < 7; ++x)
        canvas.FillRect({x, x % 5, x + 1, 5}, MakeColour(x * 9, 9, x * 9));
    for (const qreal ratio : {1.0, 1.1, 1.25, 1.3, 1.5, 1.75, 2.0, 2.5}) {
        SCOPED_TRACE(ratio);
        QImage picture, shown(int(9 * ratio), int(7 * ratio), QImage::Format_RGB32);
        DrawCanvasPicture(canvas, ratio, picture);
        shown.setDevicePixelRatio(ratio);
        shown.fill(Qt::black);
        QPainter(&shown).drawImage(QPointF(0, 0), picture);
        for (int d = 0; d < shown.width() * shown.height(); ++d) {
            const int dx = d % shown.width(), dy = d / shown.width();
            const Point at = CanvasPixelAt(QPointF(dx / ratio, dy / ratio), ratio);
            EXPECT_EQ(CanvasPixelAt(QPointF((dx + 0.99) / ratio, (dy + 0.99) / ratio), ratio), at);
            EXPECT_EQ(shown.pixel(dx, dy) & 0xFFFFFFu, canvas.PixelAt(at.x, at.y)) << d;
        }
    }
}

}  // namespace
}  // namespace velmora
