#pragma once

#include <optional>
#include <string>

#include "io/disk/file_identity.h"
#include "io/disk/file_read.h"

namespace velmora {

// The version of a file last read or written here, as far as it is known:
// its bytes; else, when they could not be read, which file it was; else
// none (no file was there to read, a folder had its name, or the version
// was disowned). Before anything has looked at the disk, no version found
// there differs from it.
class KnownVersion {
public:
    KnownVersion() = default;  // nothing has looked yet
    static KnownVersion Bytes(std::string bytes);
    static KnownVersion Identity(FileIdentity id);
    static KnownVersion None();

    // Whether `version` (information `info`) of the file is not this one.
    bool Differs(const ReadOutcome& version, const FileInfo& info) const;
    // The bytes, when they are known.
    const std::optional<std::string>& KnownBytes() const { return m_bytes; }

private:
    bool m_looked = false;
    std::optional<std::string> m_bytes;
    std::optional<FileIdentity> m_id;
};

// What a save asks of each version of the file it is about to replace:
// keep it as a backup when it is not the version known (another program's,
// or one still held open for writing), or when a backup of the known one is
// still due. It remembers whether any version differed and what the last
// one kept was, for the save to tell and to know afterwards.
class VersionKeeper {
public:
    VersionKeeper(const KnownVersion& known, bool backupDue) : m_known(known), m_due(backupDue) {}

    bool operator()(const ReadOutcome& version, const FileInfo& found, bool heldForWriting);

    bool SawChange() const { return m_changed; }
    // The version last kept, as the version known once it is the backup.
    const KnownVersion& LastKept() const { return m_kept; }

private:
    const KnownVersion& m_known;
    bool m_due;
    bool m_changed = false;
    KnownVersion m_kept;
};

}  // namespace velmora
