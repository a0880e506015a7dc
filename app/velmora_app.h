#pragma once

namespace velmora {

// The application object: one global instance, constructed before main();
// InitInstance runs the main dialog and returns false, so the process ends
// when the dialog closes.
class CVelmoraApp {
public:
    CVelmoraApp() = default;

    // Runs the main dialog modally in the working folder; always false.
    bool InitInstance();
};

// The one application object.
CVelmoraApp* AfxGetApp();

}  // namespace velmora
