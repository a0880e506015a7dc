#include "app/velmora_app.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/editor_window.h"
#include "editor/velmora_dlg.h"
#include "platform/qt/qt_host.h"
#include "recovery/recovery_location.h"
#include "recovery/session_recovery.h"

namespace velmora {

namespace {
CVelmoraApp theApp;

// The work folder as an absolute path: what names its recovery copies.
std::string WorkFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

}  // namespace

CVelmoraApp* AfxGetApp() { return &theApp; }

// A kill, a crash or a lost display ends the process inside RunModal; the
// recovery copy then stays, and the next start offers it back.
bool CVelmoraApp::InitInstance() {
    SessionRecovery recovery(RecoveryFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")),
                             WorkFolder());
    const char* const file = "Splines.xml";
    CVelmoraDlg dlg(file, m_folderName.empty()         ? std::string()
                          : m_folderName.back() == '/' ? m_folderName + file
                                                       : m_folderName + "/" + file);
    dlg.SetRecovery(&recovery);
    QtHost window;
    ConfigureEditorWindow(window);
    window.RunModal(dlg);
    return false;
}

}  // namespace velmora
