#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtGui/QPixmap>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>

#include "app/about_dlg.h"

namespace velmora {
namespace {

TEST(AboutBox, ShowsNameVersionRightsIconAndDefaultOk) {
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About Velmora"));
    EXPECT_EQ(dlg.VersionLabel()->text(), QStringLiteral("Velmora Version 1.0"));
    EXPECT_TRUE(dlg.RightsLabel()->text().startsWith(QStringLiteral("Copyright (C) ")));
    EXPECT_EQ(dlg.OkButton()->text(), QStringLiteral("OK"));
    EXPECT_TRUE(dlg.OkButton()->isDefault());
    const QPixmap icon = dlg.IconLabel()->pixmap();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(32, 32));
}

TEST(AboutBox, IconResourcesAreCompiledIn) {
    const QIcon icon = AppIcon();
    for (int size : {16, 32, 48, 256}) {
        EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size)) << size;
    }
    EXPECT_EQ(icon.availableSizes().size(), 4);
}

// Each way of leaving the box ends exec() with its usual result.
TEST(AboutBox, OkEnterEscapeAndCloseEndIt) {
    struct Case {
        const char* name;
        void (*leave)(CAboutDlg&);
        int result;
    };
    const Case cases[] = {
        {"OK", [](CAboutDlg& d) { QTest::mouseClick(d.OkButton(), Qt::LeftButton); },
         QDialog::Accepted},
        {"Enter", [](CAboutDlg& d) { QTest::keyClick(&d, Qt::Key_Return); }, QDialog::Accepted},
        {"Escape", [](CAboutDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
        {"Close", [](CAboutDlg& d) { d.close(); }, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        CAboutDlg dlg;
        bool left = false;
        QTimer::singleShot(0, &dlg, [&] {
            c.leave(dlg);
            left = true;
        });
        // A fault that leaves the box open must not hang the suite.
        QTimer::singleShot(5000, &dlg, [&] { dlg.done(-1); });
        EXPECT_EQ(dlg.exec(), c.result) << c.name;
        EXPECT_TRUE(left) << c.name;
    }
}

}  // namespace
}  // namespace velmora
