#include "app/velmora_app.h"

#include "app/about_dlg.h"
#include "editor/velmora_dlg.h"
#include "platform/qt/qt_host.h"
#include "resources/resource_ids.h"

namespace velmora {

namespace {
CVelmoraApp theApp;
}  // namespace

CVelmoraApp* AfxGetApp() { return &theApp; }

bool CVelmoraApp::InitInstance() {
    CVelmoraDlg dlg;
    QtHost window;
    window.RegisterIcon(IDR_MAINFRAME, AppIcon());
    window.SetAboutBoxRunner(&velmora::RunAboutBox);
    window.RunModal(dlg);
    return false;
}

}  // namespace velmora
