#include "app/editor_window.h"

#include "app/about_dlg.h"
#include "platform/qt/qt_host.h"
#include "resources/resource_ids.h"

namespace velmora {

void ConfigureEditorWindow(QtHost& window) {
    window.RegisterIcon(IDR_MAINFRAME, AppIcon());
    window.SetAboutBoxRunner(&RunAboutBox);
}

}  // namespace velmora
