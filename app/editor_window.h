#pragma once

namespace velmora {

class QtHost;

// Gives `window` what the shipped editor's window has before its dialog runs:
// the application icon and the About box. The program, the start-up probe and
// the end-to-end tests all set their window up with this.
void ConfigureEditorWindow(QtHost& window);

}  // namespace velmora
