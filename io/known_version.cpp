#include "io/known_version.h"

#include <utility>

namespace velmora {

KnownVersion KnownVersion::Bytes(std::string bytes) {
    KnownVersion known;
    known.m_looked = true;
    known.m_bytes = std::move(bytes);
    return known;
}

KnownVersion KnownVersion::Identity(FileIdentity id) {
    KnownVersion known;
    known.m_looked = true;
    known.m_id = id;
    return known;
}

KnownVersion KnownVersion::None() {
    KnownVersion known;
    known.m_looked = true;
    return known;
}

bool KnownVersion::Differs(const ReadOutcome& version, const FileInfo& info) const {
    if (!m_looked) {
        return false;
    }
    if (m_bytes) {
        return !(version.found == ReadStatus::kRead && version.bytes == *m_bytes);
    }
    return !m_id || IdentityOf(info) != *m_id;
}

bool VersionKeeper::operator()(const ReadOutcome& version, const FileInfo& found,
                               bool heldForWriting) {
    const bool differs = heldForWriting || m_known.Differs(version, found);
    m_changed = m_changed || differs;
    if (!m_due && !differs) {
        return false;
    }
    m_kept = version.found == ReadStatus::kRead ? KnownVersion::Bytes(version.bytes)
                                                : KnownVersion::Identity(IdentityOf(found));
    return true;
}

}  // namespace velmora
