// Loading the spline file at start-up and saving it on S, telling the user
// when either goes wrong or when a save kept another program's version.
#include <string>

#include "editor/velmora_dlg.h"
#include "io/file_messages.h"

namespace velmora {

void CVelmoraDlg::LoadSplines() {
    const LoadOutcome outcome = m_splineFile.Load(m_noteSplines);
    if (const std::string text = LoadMessage(outcome, m_splineFile.Path()); !text.empty()) {
        Host().ShowWarning(text, "Velmora");
    }
    // A file can leave a note without splines; every command needs one.
    RepairNoteSet();
    m_splineFile.MatchLoaded(m_noteSplines, m_clientRect.right, m_clientRect.bottom);
}

void CVelmoraDlg::SaveSplines() {
    StoreCurrentSpline();
    const SaveOutcome outcome =
        m_splineFile.Save(m_noteSplines, m_clientRect.right, m_clientRect.bottom);
    if (const std::string text = SaveMessage(outcome, m_splineFile.Path()); !text.empty()) {
        Host().ShowWarning(text, "Velmora");
    }
}

}  // namespace velmora
