#include "app/velmora_app.h"

#include "app/editor_window.h"
#include "editor/velmora_dlg.h"
#include "platform/qt/qt_host.h"

namespace velmora {

namespace {
CVelmoraApp theApp;
}  // namespace

CVelmoraApp* AfxGetApp() { return &theApp; }

bool CVelmoraApp::InitInstance() {
    const char* const file = "Splines.xml";
    CVelmoraDlg dlg(file, m_folderName.empty()         ? std::string()
                          : m_folderName.back() == '/' ? m_folderName + file
                                                       : m_folderName + "/" + file);
    QtHost window;
    ConfigureEditorWindow(window);
    window.RunModal(dlg);
    return false;
}

}  // namespace velmora
