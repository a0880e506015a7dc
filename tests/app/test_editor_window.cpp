// The real editor in the real Qt window, driven with real key and mouse
// events under the offscreen platform.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include <QtCore/QTimer>
#include <QtGui/QMouseEvent>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>

#include "app/editor_window.h"
#include "editor/velmora_dlg.h"
#include "platform/qt/qt_host.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using testing_support::ReadFile;

// Starts the editor in an empty temporary folder, as the program does, and
// plays `script` once the window is on screen. The script closes the window.
class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_dir.Path());
    }
    void TearDown() override { std::filesystem::current_path(m_previous); }

    void Run(const std::function<void()>& script) {
        ConfigureEditorWindow(window);
        QTimer::singleShot(0, &window, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
            script();
            window.close();
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, &window, [&] {
            ADD_FAILURE() << "the script did not end";
            window.close();
        });
        watchdog.start(15000);
        window.RunModal(dlg);
    }

    std::string Caption() const { return window.windowTitle().toStdString(); }

    QRgb PixelAt(int x, int y) { return window.grab().toImage().pixel(x, y) | 0xFF000000u; }

    // Answers the next question box with the given button once it is open.
    void AnswerQuestion(QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [this, button] {
            QMessageBox* box = window.Question();
            ASSERT_NE(box, nullptr);
            m_questionText = box->text().toStdString();
            box->button(button)->click();
        });
    }

    std::filesystem::path m_previous;
    testing_support::TempDir m_dir;
    CVelmoraDlg dlg;
    QtHost window;
    std::string m_questionText;
};

TEST_F(EditorWindowTest, StartsOnNoteZeroAndCreatesAnEmptyFile) {
    Run([&] {
        EXPECT_EQ(Caption(), "Velmora (Editing note 0 spline 1 / 1)");
        EXPECT_TRUE(std::filesystem::exists("Splines.xml"));
        EXPECT_EQ(std::filesystem::file_size("Splines.xml"), 0u);
        // The origin star's centre is white, the current target's yellow.
        EXPECT_EQ(PixelAt(424, 228), qRgb(255, 255, 255));
        EXPECT_EQ(PixelAt(75, 65), qRgb(255, 255, 0));
    });
}

TEST_F(EditorWindowTest, KeypadPlusSwitchesNotesButTheMainPlusDoesNot) {
    Run([&] {
        QTest::keyClick(&window, Qt::Key_Plus, Qt::KeypadModifier);
        EXPECT_EQ(Caption(), "Velmora (Editing note 1 spline 1 / 1)");
        QTest::keyClick(&window, Qt::Key_Plus);
        QTest::keyClick(&window, Qt::Key_Minus);
        EXPECT_EQ(Caption(), "Velmora (Editing note 1 spline 1 / 1)");
        QTest::keyClick(&window, Qt::Key_Minus, Qt::KeypadModifier);
        EXPECT_EQ(Caption(), "Velmora (Editing note 0 spline 1 / 1)");
    });
}

TEST_F(EditorWindowTest, EnterAppendsOnceAndEscapeKeepsTheWindowOpen) {
    Run([&] {
        QTest::keyClick(&window, Qt::Key_Return);
        EXPECT_EQ(Caption(), "Velmora (Editing note 0 spline 2 / 2)");
        QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(Caption(), "Velmora (Editing note 0 spline 3 / 3)");
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(dlg.IsEnded());
        QTest::keyClick(&window, Qt::Key_Left);
        EXPECT_EQ(Caption(), "Velmora (Editing note 0 spline 2 / 3)");
    });
}

TEST_F(EditorWindowTest, AClickAddsAPointThatShowsAtOnce) {
    Run([&] {
        EXPECT_EQ(PixelAt(203, 300), qRgb(192, 192, 192));
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(200, 300));
        EXPECT_EQ(dlg.Points().size(), 3u);
        EXPECT_EQ(dlg.Points().back(), (Point{200, 300}));
        EXPECT_EQ(PixelAt(203, 300), qRgb(255, 0, 0));
    });
}

TEST_F(EditorWindowTest, DraggingMovesThePointUntilRelease) {
    Run([&] {
        QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, QPoint(76, 74));
        QTest::mouseMove(&window, QPoint(150, 200));
        QTest::mouseMove(&window, QPoint(160, 210));
        QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, QPoint(160, 210));
        QTest::mouseMove(&window, QPoint(300, 300));
        EXPECT_EQ(dlg.Points(), (Spline{{424, 238}, {160, 210}}));
        EXPECT_EQ(PixelAt(160, 207), qRgb(255, 0, 0));
    });
}

TEST_F(EditorWindowTest, ADragReleasedOutsideGoesOnUntilAReleaseOverTheCanvas) {
    Run([&] {
        QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, QPoint(75, 75));
        QTest::mouseMove(&window, QPoint(100, 100));
        const QPointF outside(600, 100);
        QMouseEvent release(QEvent::MouseButtonRelease, outside, window.mapToGlobal(outside),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &release);
        EXPECT_EQ(dlg.DragIndex(), 1);
        QTest::mouseMove(&window, QPoint(120, 130));  // no button held
        EXPECT_EQ(dlg.Points().back(), (Point{120, 130}));
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(120, 130));
        QTest::mouseMove(&window, QPoint(300, 300));
        EXPECT_EQ(dlg.DragIndex(), -1);
        EXPECT_EQ(dlg.Points(), (Spline{{424, 238}, {120, 130}}));
    });
}

TEST_F(EditorWindowTest, AResizedWindowStoresThePixelUnderThePointer) {
    Run([&] {
        window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        window.resize(960, 720);
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(800, 600));
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
        EXPECT_EQ(dlg.Points(), (Spline{{424, 238}, {75, 75}, {400, 300}}));
        EXPECT_EQ(PixelAt(403, 300), qRgb(255, 0, 0));
    });
}

TEST_F(EditorWindowTest, SWritesTheWholeFile) {
    Run([&] {
        QTest::keyClick(&window, Qt::Key_S, Qt::ShiftModifier);
        const std::string text = ReadFile("Splines.xml");
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 26);
        EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n", 0), 0u);
        EXPECT_NE(text.find("<ControlPoint PosX=\"405\" PosY=\"75\" />"), std::string::npos);
    });
}

TEST_F(EditorWindowTest, DeleteAsksAndFollowsTheAnswer) {
    Run([&] {
        QTest::keyClick(&window, Qt::Key_Return);
        AnswerQuestion(QMessageBox::No);
        QTest::keyClick(&window, Qt::Key_Delete);
        EXPECT_EQ(m_questionText, "Do you really want to delete that spline ?");
        EXPECT_EQ(Caption(), "Velmora (Editing note 0 spline 2 / 2)");
        AnswerQuestion(QMessageBox::Yes);
        QTest::keyClick(&window, Qt::Key_Period, Qt::KeypadModifier);
        EXPECT_EQ(Caption(), "Velmora (Editing note 0 spline 1 / 1)");
    });
}

}  // namespace
}  // namespace velmora
