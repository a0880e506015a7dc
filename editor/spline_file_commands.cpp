// Loading the spline file at start-up and saving it on S, telling the user
// when either goes wrong or when a save kept another program's version.
#include <string>
#include <utility>

#include "editor/velmora_dlg.h"
#include "io/file_messages.h"
#include "io/loaded_notes.h"
#include "recovery/session_recovery.h"

namespace velmora {

namespace {

// `name` (the spline file or one of its backups) as messages show it: the
// spline file's `path` replaced by `shown`.
std::string ShownAs(const std::string& name, const std::string& path, const std::string& shown) {
    return name.compare(0, path.size(), path) == 0 ? shown + name.substr(path.size()) : name;
}

}  // namespace

void CVelmoraDlg::LoadSplines() {
    if (m_shownPath.empty()) {
        m_shownPath = AbsoluteName(m_splineFile.Path());
    }
    LoadedNotes loaded = LoadLikeEditor(m_splineFile, m_clientRect);
    const std::string backup = ShownAs(m_splineFile.NextBackup(), m_splineFile.Path(), m_shownPath);
    if (const std::string text = LoadMessage(loaded.outcome, m_shownPath, backup); !text.empty()) {
        Host().ShowWarning(text, "Velmora");
        m_promisedBackup = text.find(backup) != std::string::npos ? backup : std::string();
    }
    m_noteSplines = std::move(loaded.notes);
    RepairNoteSet();
}

void CVelmoraDlg::SaveSplines() {
    StoreCurrentSpline();
    const SaveOutcome outcome =
        m_splineFile.Save(m_noteSplines, m_clientRect.right, m_clientRect.bottom);
    if (outcome.status.ok() && m_recovery != nullptr) {
        m_recovery->Rebase(View(), FingerprintOf(*m_splineFile.KnownBytes()));
    }
    const std::string backup = ShownAs(outcome.backup, m_splineFile.Path(), m_shownPath);
    if (const std::string text = SaveMessage(outcome, m_shownPath, backup, m_promisedBackup);
        !text.empty()) {
        Host().ShowWarning(text, "Velmora");
    }
    if (!outcome.backup.empty()) {
        m_promisedBackup.clear();
    }
}

}  // namespace velmora
