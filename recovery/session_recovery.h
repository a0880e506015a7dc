#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "io/disk/file_system.h"
#include "io/recovery_store.h"
#include "io/status.h"
#include "recovery/recovery_record.h"
#include "recovery/session_recorder.h"
#include "recovery/session_state.h"

namespace velmora {

// What an ended session of the same work folder left unsaved.
struct RecoveryOffer {
    std::string copy;    // its copy in the store
    SessionState state;  // the editor's state after its last completed command
    RecordMeta meta;     // when that was, how many changes, to which notes
    // The spline file is no longer the one those edits began from (another
    // program changed it, or it could not be read then or now).
    bool fileChanged = false;
};

// The recovery of unsaved edits of one editor session in one work folder.
// At start-up it finds what an ended session left there; from then on it
// keeps this session's own copy after every command. Copies of a work
// folder are named by a digest of its path and a session id.
class SessionRecovery {
public:
    using Clock = SessionRecorder::Clock;

    // Copies live in `storeFolder` ("" when there is none to be had);
    // `workFolder` is the absolute folder of the spline file. Without a
    // `clock`, the system's.
    SessionRecovery(std::string storeFolder, std::string workFolder,
                    const FileSystem& fs = SystemFileSystem(), Clock clock = nullptr);
    // Finish.
    ~SessionRecovery();
    SessionRecovery(const SessionRecovery&) = delete;
    SessionRecovery& operator=(const SessionRecovery&) = delete;

    const std::string& WorkFolder() const { return m_workFolder; }
    const std::string& StoreFolder() const { return m_store.Folder(); }

    // Start-up, right after the load: `loaded` is what the editor holds,
    // `file` the spline file as read, and `width` x `height` the client
    // size, the frame of every point.
    void Begin(const SessionView& loaded, const FileFingerprint& file, int32_t width,
               int32_t height);
    // The newest copy that an ended session of this work folder, with the
    // same client size, left with unsaved changes; it stays claimed by this
    // session until Adopt or Discard. Ended copies of this folder with
    // nothing to recover (all saved, or damaged before their first whole
    // record) are removed; other ones are left for later starts.
    std::optional<RecoveryOffer> FindOffer();
    // Yes: this session goes on from `restored`, the offer's state. Records
    // it as this session's own copy, then removes the offered one (kept
    // when the recording failed, so that nothing is lost).
    Status Adopt(const RecoveryOffer& offer, const SessionView& restored);
    // No: removes the offered copy.
    void Discard(const RecoveryOffer& offer);

    // After each command: records `now` in this session's copy. Fails when
    // it could not be written; editing goes on and later calls try again.
    Status Record(const SessionView& now);
    // After a save: `saved` is what the file `file` now holds.
    void Rebase(const SessionView& saved, const FileFingerprint& file);

    // At a normal end: the copy goes when nothing is unsaved, else stays.
    void Finish();

    // The recorder once Begin has run, for measurements.
    const SessionRecorder* Recorder() const { return m_recorder ? &*m_recorder : nullptr; }

private:
    std::string m_workFolder;
    RecoveryStore m_store;
    std::string m_prefix;  // the names of this work folder's copies begin so
    std::string m_name;    // this session's copy
    Clock m_clock;
    FileFingerprint m_file;
    CopyHeader m_header;
    std::optional<SessionRecorder> m_recorder;
};

}  // namespace velmora
