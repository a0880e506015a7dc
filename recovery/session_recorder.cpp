#include "recovery/session_recorder.h"

#include <algorithm>
#include <utility>

namespace velmora {

namespace {

// Appended records may grow to the size of the state, and at least this,
// before the copy is rewritten whole.
constexpr std::size_t kMinAppendedBytes = 64 * 1024;

SessionState CopyOf(const SessionView& view) {
    return SessionState{view.notes, view.working, view.currentNote, view.currentSpline};
}

bool SameExceptTime(const RecordMeta& a, const RecordMeta& b) {
    return a.changes == b.changes && a.unsavedNotes == b.unsavedNotes && a.file == b.file;
}

}  // namespace

SessionRecorder::SessionRecorder(RecoveryStore& store, std::string name, CopyHeader header,
                                 Clock clock)
    : m_store(store),
      m_name(std::move(name)),
      m_header(std::move(header)),
      m_clock(std::move(clock)) {}

void SessionRecorder::SetBase(const SessionView& state, const FileFingerprint& file,
                              uint32_t changes) {
    m_base = CopyOf(state);
    m_base.working = m_base.notes[m_base.currentNote][m_base.currentSpline[m_base.currentNote]];
    m_file = file;
    m_changes = changes;
    if (!m_copyExists) {
        m_recorded = m_base;
        m_meta = RecordMeta{0, changes, 0, file};
    }
}

Status SessionRecorder::Continue(const SessionView& state, uint32_t changes) {
    m_recorded = CopyOf(state);
    m_changes = changes;
    m_copyHolds = false;
    return Record(state);
}

Status SessionRecorder::Record(const SessionView& now) {
    const SessionView recorded = ViewOf(m_recorded);
    if (NotesThatDiffer(recorded, now) != 0) {
        ++m_changes;
    }
    const RecordMeta meta{m_clock(), m_changes, NotesThatDiffer(ViewOf(m_base), now), m_file};
    StateDelta delta = DiffStates(recorded, now);
    if (ChangesNothing(delta, recorded) && SameExceptTime(meta, m_meta) &&
        (m_copyHolds || !m_copyExists)) {
        return {};
    }
    if (!m_copyExists && meta.unsavedNotes == 0) {
        // Nothing to recover yet: remembered, not written.
        m_recorded = CopyOf(now);
        m_meta = meta;
        return {};
    }
    return Write(now, std::move(delta), meta);
}

Status SessionRecorder::Write(const SessionView& now, StateDelta delta, const RecordMeta& meta) {
    bool whole = !m_copyHolds || m_appendedBytes > std::max(m_wholeBytes, kMinAppendedBytes);
    std::string bytes = whole ? std::string() : EncodeRecord(meta, delta);
    // The delta was made from m_recorded, so it always fits; should it not,
    // the copy is written whole from the state itself.
    if (!ApplyDelta(m_recorded, std::move(delta))) {
        m_recorded = CopyOf(now);
        whole = true;
    }
    m_meta = meta;
    Status status;
    if (whole) {
        static const SessionState kNothing;
        bytes = EncodeCopyStart(m_header) +
                EncodeRecord(meta, DiffStates(ViewOf(kNothing), ViewOf(m_recorded)));
        status = m_store.Replace(m_name, bytes);
        if (status.ok()) {
            m_wholeBytes = bytes.size();
            m_appendedBytes = 0;
        }
    } else {
        status = m_store.Append(bytes);
        if (status.ok()) {
            m_appendedBytes += bytes.size();
        }
    }
    m_copyExists = m_copyExists || status.ok();
    m_copyHolds = status.ok();
    return status;
}

// A copy left for the next start says when the session ended, not only
// when its last command was made.
Status SessionRecorder::Finish() {
    if (!m_copyExists) {
        return {};
    }
    if (Unsaved()) {
        RecordMeta ended = m_meta;
        ended.time = m_clock();
        const SessionView recorded = ViewOf(m_recorded);
        return Write(recorded, DiffStates(recorded, recorded), ended);
    }
    m_copyExists = false;
    m_copyHolds = false;
    return m_store.RemoveOwn();
}

}  // namespace velmora
