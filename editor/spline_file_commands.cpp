// Loading the spline file at start-up and saving it on S, telling the user
// when either goes wrong.
#include <string>

#include "editor/velmora_dlg.h"

namespace velmora {

void CVelmoraDlg::LoadSplines() {
    const LoadOutcome outcome = m_splineFile.Load(m_noteSplines);
    if (outcome.status == LoadStatus::kUnreadable) {
        std::string text = "The spline file \"" + m_splineFile.Path() + "\" cannot be read";
        if (outcome.line > 0) {
            text += " (line " + std::to_string(outcome.line) + ", column " +
                    std::to_string(outcome.column) + ")";
        }
        text += ":\n" + outcome.reason +
                "\n\nThe default splines are shown instead. When you save, the unreadable "
                "file is kept as \"" +
                m_splineFile.Path() + ".bak\".";
        Host().ShowWarning(text, "Velmora");
    }
    // A file can leave a note without splines; every command needs one.
    RepairNoteSet();
}

void CVelmoraDlg::SaveSplines() {
    StoreCurrentSpline();
    const SaveOutcome outcome = m_splineFile.Save(m_noteSplines, m_clientRect);
    if (!outcome.ok) {
        Host().ShowWarning("The splines could not be saved to \"" + m_splineFile.Path() +
                               "\":\n" + outcome.reason +
                               "\n\nThe file on disk is unchanged and your splines are still "
                               "open here.",
                           "Velmora");
    }
}

}  // namespace velmora
