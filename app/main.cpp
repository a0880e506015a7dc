// The program's entry: the toolkit first, then the application object.
#include <QtGui/QGuiApplication>
#include <QtWidgets/QApplication>

#include "app/velmora_app.h"
#include "resources/resource_ids.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(velmora::kProductName);
    QApplication::setApplicationVersion(velmora::kVersionText);
    QGuiApplication::setDesktopFileName("velmora");
    velmora::AfxGetApp()->InitInstance();
    return 0;
}
