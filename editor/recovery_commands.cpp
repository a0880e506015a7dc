// Unsaved edits kept for recovery: offered back at start-up when an ended
// session left some, and recorded after every command.
#include <optional>
#include <string>
#include <utility>

#include "editor/velmora_dlg.h"
#include "io/disk/path_parts.h"
#include "recovery/recovery_texts.h"
#include "recovery/session_recovery.h"

namespace velmora {

namespace {

FileFingerprint FingerprintOfKnown(const SplineFile& file) {
    const std::optional<std::string>& known = file.KnownBytes();
    return known ? FingerprintOf(*known) : FileFingerprint{};
}

}  // namespace

SessionView CVelmoraDlg::View() const {
    return SessionView{m_noteSplines, m_points, m_currentNote, m_currentSpline};
}

// Runs after LoadSplines and before the first spline is shown, so that Yes
// leaves ShowWorkingCopy to show the restored state as it was.
bool CVelmoraDlg::OfferRecoveredEdits() {
    if (m_recovery == nullptr) {
        return false;
    }
    m_recovery->Begin(View(), FingerprintOfKnown(m_splineFile), m_clientRect.right,
                      m_clientRect.bottom);
    std::optional<RecoveryOffer> offer = m_recovery->FindOffer();
    if (!offer) {
        return false;
    }
    const std::string& path = m_splineFile.Path();
    const std::string splineFile =
        !RootOf(path).empty() ? path : m_recovery->WorkFolder() + kPathSeparator + path;
    if (!Host().AskQuestion(RecoveryQuestion(*offer, splineFile), "Velmora")) {
        m_recovery->Discard(*offer);
        return false;
    }
    m_noteSplines = std::move(offer->state.notes);
    m_points = std::move(offer->state.working);
    m_currentNote = offer->state.currentNote;
    m_currentSpline = offer->state.currentSpline;
    if (offer->fileChanged) {
        m_splineFile.DisownKnown();
    }
    TellIfNotRecorded(m_recovery->Adopt(*offer, View()));
    return true;
}

void CVelmoraDlg::RecordSession() {
    if (m_recovery != nullptr) {
        TellIfNotRecorded(m_recovery->Record(View()));
    }
}

// Once: a disk that stays full would otherwise ask for an answer after
// every command.
void CVelmoraDlg::TellIfNotRecorded(const Status& recorded) {
    if (recorded.ok() || m_toldRecordingFailed) {
        return;
    }
    m_toldRecordingFailed = true;
    Host().ShowWarning(RecoveryFailureMessage(recorded), "Velmora");
}

}  // namespace velmora
