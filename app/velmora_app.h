#pragma once

#include <string>
#include <utility>

namespace velmora {

// The application object: one global instance, constructed before main();
// InitInstance runs the main dialog and returns false, so the process ends
// when the dialog closes.
class CVelmoraApp {
public:
    CVelmoraApp() = default;

    // Runs the main dialog modally in the working folder; always false.
    bool InitInstance();

    // The working folder as messages name it (absolute); "" for the working
    // folder's own name.
    void SetFolderName(std::string folder) { m_folderName = std::move(folder); }

private:
    std::string m_folderName;
};

// The one application object.
CVelmoraApp* AfxGetApp();

}  // namespace velmora
