// Loading the spline file at start-up and saving it on S, telling the user
// when either goes wrong or when a save kept another program's version.
#include <string>
#include <utility>

#include "editor/velmora_dlg.h"
#include "io/file_messages.h"
#include "io/loaded_notes.h"
#include "recovery/session_recovery.h"

namespace velmora {

void CVelmoraDlg::LoadSplines() {
    LoadedNotes loaded = LoadLikeEditor(m_splineFile, m_clientRect);
    if (const std::string text = LoadMessage(loaded.outcome, m_splineFile.Path()); !text.empty()) {
        Host().ShowWarning(text, "Velmora");
    }
    m_noteSplines = std::move(loaded.notes);
    RepairNoteSet();
}

void CVelmoraDlg::SaveSplines() {
    StoreCurrentSpline();
    const SaveOutcome outcome =
        m_splineFile.Save(m_noteSplines, m_clientRect.right, m_clientRect.bottom);
    if (outcome.ok && m_recovery != nullptr) {
        m_recovery->Rebase(View(), FingerprintOf(*m_splineFile.KnownBytes()));
    }
    if (const std::string text = SaveMessage(outcome, m_splineFile.Path()); !text.empty()) {
        Host().ShowWarning(text, "Velmora");
    }
}

}  // namespace velmora
