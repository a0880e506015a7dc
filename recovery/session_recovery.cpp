#include "recovery/session_recovery.h"

#include <ctime>
#include <random>
#include <utility>

#include "io/disk/file_read.h"
#include "recovery/digest.h"

namespace velmora {

namespace {

int64_t SystemTime() { return static_cast<int64_t>(std::time(nullptr)); }

// A fresh id for this session: 64 random bits.
uint64_t SessionId(const FileSystem& fs) {
    uint64_t id = 0;
    if (!fs.RandomBytes(&id, sizeof id).ok()) {
        std::random_device device;
        id = (static_cast<uint64_t>(device()) << 32) ^ device();
    }
    return id;
}

}  // namespace

SessionRecovery::SessionRecovery(std::string storeFolder, std::string workFolder,
                                 const FileSystem& fs, Clock clock)
    : m_workFolder(std::move(workFolder)),
      m_store(std::move(storeFolder), fs),
      m_prefix(Hex64(Digest64(m_workFolder)) + "-"),
      m_name(m_prefix + Hex64(SessionId(fs)) + ".recovery"),
      m_clock(clock ? std::move(clock) : Clock(&SystemTime)),
      m_header{m_workFolder, 0, 0} {}

SessionRecovery::~SessionRecovery() { Finish(); }

void SessionRecovery::Begin(const SessionView& loaded, const FileFingerprint& file, int32_t width,
                            int32_t height) {
    m_file = file;
    m_header.width = width;
    m_header.height = height;
    m_recorder.emplace(m_store, m_name, m_header, m_clock);
    m_recorder->SetBase(loaded, file);
}

std::optional<RecoveryOffer> SessionRecovery::FindOffer() {
    std::optional<RecoveryOffer> newest;
    for (const std::string& name : m_store.ClaimEnded(m_prefix)) {
        const ReadOutcome read = m_store.Read(name);
        if (read.found == ReadStatus::kMissing) {
            m_store.Remove(name);  // gone meanwhile: its lock file goes too
            continue;
        }
        if (read.found != ReadStatus::kRead) {
            m_store.Release(name);  // unreadable for now
            continue;
        }
        DecodedCopy copy = DecodeCopy(read.bytes);
        if (copy.status == CopyStatus::kNotACopy || copy.status == CopyStatus::kOtherVersion) {
            m_store.Release(name);  // not this program's to read, nor to remove
            continue;
        }
        if (copy.status == CopyStatus::kDamaged ||
            (copy.header.folder == m_workFolder && copy.meta.unsavedNotes == 0)) {
            m_store.Remove(name);  // nothing in it to recover
            continue;
        }
        const bool ours = copy.header.folder == m_workFolder &&
                          copy.header.width == m_header.width &&
                          copy.header.height == m_header.height;
        if (!ours || (newest && newest->meta.time >= copy.meta.time)) {
            m_store.Release(name);
            continue;
        }
        if (newest) {
            m_store.Release(newest->copy);
        }
        newest = RecoveryOffer{name, std::move(copy.state), copy.meta, copy.meta.file != m_file};
    }
    return newest;
}

Status SessionRecovery::Adopt(const RecoveryOffer& offer, const SessionView& restored) {
    const Status recorded = m_recorder ? m_recorder->Continue(restored, offer.meta.changes)
                                       : Failed("the session has not begun");
    if (recorded.ok()) {
        m_store.Remove(offer.copy);
    } else {
        m_store.Release(offer.copy);
    }
    return recorded;
}

void SessionRecovery::Discard(const RecoveryOffer& offer) { m_store.Remove(offer.copy); }

Status SessionRecovery::Record(const SessionView& now) {
    if (!m_recorder) {
        return {};
    }
    Status recorded = m_recorder->Record(now);
    if (!recorded.ok() && StoreFolder().empty()) {
        recorded.reason = "neither XDG_STATE_HOME nor HOME names a folder for it";
    }
    return recorded;
}

void SessionRecovery::Rebase(const SessionView& saved, const FileFingerprint& file) {
    m_file = file;
    if (m_recorder) {
        m_recorder->SetBase(saved, file);
    }
}

void SessionRecovery::Finish() {
    if (m_recorder) {
        m_recorder->Finish();
    }
}

}  // namespace velmora
