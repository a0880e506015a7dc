// The editor as the program starts it, in the current folder, except that
// the process ends the moment its first frame has been painted.
#include <cstdlib>

#include <QtWidgets/QApplication>

#include "app/editor_window.h"
#include "editor/velmora_dlg.h"
#include "platform/qt/qt_host.h"

namespace {

class FirstFrameHost : public velmora::QtHost {
protected:
    void paintEvent(QPaintEvent* event) override {
        velmora::QtHost::paintEvent(event);
        std::_Exit(0);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    velmora::CVelmoraDlg dlg;
    FirstFrameHost window;
    velmora::ConfigureEditorWindow(window);
    window.RunModal(dlg);
    return 1;  // closed without ever painting
}
