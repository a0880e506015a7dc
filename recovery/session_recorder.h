#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "io/recovery_store.h"
#include "io/status.h"
#include "recovery/recovery_record.h"
#include "recovery/session_state.h"

namespace velmora {

// Keeps this session's recovery copy in step with the editor's state: after
// each command only what changed is appended and flushed; once the appended
// records outgrow the state itself the copy is rewritten whole, so that it
// holds the state, not a history. No copy is made while nothing is unsaved.
class SessionRecorder {
public:
    // Seconds since 1970 (UTC).
    using Clock = std::function<int64_t()>;

    // A recorder of the copy `name` in `store`, for the session `header`
    // tells. Nothing is written until Record.
    SessionRecorder(RecoveryStore& store, std::string name, CopyHeader header, Clock clock);

    // The state as the spline file `file` holds it, after a load or a save:
    // its working copy is taken to be its current spline. Changes are
    // counted from here, from `changes` on.
    void SetBase(const SessionView& state, const FileFingerprint& file, uint32_t changes = 0);
    // Takes `state`, which differs from the base, for the one recorded last,
    // with `changes` changes so far, and records it in full (a session
    // restored from another's copy).
    Status Continue(const SessionView& state, uint32_t changes);

    // Records `now` when it differs from the state recorded last, counting a
    // change when the splines a save would write differ. Fails when the copy
    // could not be written; the next call then rewrites it whole.
    Status Record(const SessionView& now);

    // Whether the state recorded last has unsaved changes.
    bool Unsaved() const { return m_meta.unsavedNotes != 0; }
    // How many bytes were written to the copy in full last, and appended
    // since (for measurements).
    std::size_t WholeBytes() const { return m_wholeBytes; }
    std::size_t AppendedBytes() const { return m_appendedBytes; }

    // At the end of a session: removes the copy when nothing is unsaved;
    // otherwise leaves it for the next start, with the time of the end.
    Status Finish();

private:
    // Writes the record of `delta`, the change from the state recorded last
    // to `now`, appended or with the copy rewritten whole.
    Status Write(const SessionView& now, StateDelta delta, const RecordMeta& meta);

    RecoveryStore& m_store;
    std::string m_name;
    CopyHeader m_header;
    Clock m_clock;
    SessionState m_base;
    FileFingerprint m_file;
    uint32_t m_changes = 0;
    SessionState m_recorded;  // the state given to Record last
    RecordMeta m_meta;        // and what its record said
    bool m_copyExists = false;
    bool m_copyHolds = false;  // the copy on disk ends with that record
    std::size_t m_wholeBytes = 0;
    std::size_t m_appendedBytes = 0;
};

}  // namespace velmora
