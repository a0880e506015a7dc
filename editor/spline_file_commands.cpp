// Loading the spline file at start-up and saving it on S, telling the user
// when either goes wrong or when a save kept another program's version.
#include <string>

#include "editor/velmora_dlg.h"

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

namespace {

// What the user is told about a save, or "" when all went as expected.
std::string SaveMessage(const SaveOutcome& outcome, const std::string& path) {
    std::string text;
    if (!outcome.ok) {
        text = "The splines could not be saved to \"" + path + "\":\n" + outcome.reason + "\n\n" +
               (outcome.hadFile ? "The file on disk is unchanged and your splines"
                                : "Nothing was written; your splines") +
               " are still open here.";
    }
    if (outcome.changedElsewhere) {
        text += std::string(text.empty() ? "" : "\n\n") + "Another program changed \"" + path +
                "\" since Velmora last read or saved it. That version is kept as \"" +
                outcome.backup + "\"" + (outcome.ok ? "; your splines were saved." : ".");
    }
    return text;
}

}  // namespace

void CVelmoraDlg::SaveSplines() {
    StoreCurrentSpline();
    const SaveOutcome outcome =
        m_splineFile.Save(m_noteSplines, m_clientRect.right, m_clientRect.bottom);
    if (const std::string text = SaveMessage(outcome, m_splineFile.Path()); !text.empty()) {
        Host().ShowWarning(text, "Velmora");
    }
}

}  // namespace velmora
