#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "recovery/session_state.h"
#include "recovery/state_delta.h"

namespace velmora {

// The recovery copy of one editor session: a start naming the session, then
// records, each the change of the state since the record before (the first
// one from no splines at all). Every record carries its length and a digest,
// so one cut short by a crash, or overwritten, is told and ignored with
// everything after it. The copy is the editor's own: nothing else reads it.

// The format this program writes and reads.
constexpr uint32_t kRecoveryFormatVersion = 1;

// One version of the spline file as a digest of its bytes, or unknown (there
// was no file, or it could not be read).
struct FileFingerprint {
    bool known = false;
    uint64_t size = 0;
    uint64_t digest = 0;
};

FileFingerprint FingerprintOf(std::string_view bytes);

inline bool operator==(const FileFingerprint& a, const FileFingerprint& b) {
    return a.known == b.known && a.size == b.size && a.digest == b.digest;
}
inline bool operator!=(const FileFingerprint& a, const FileFingerprint& b) { return !(a == b); }

// Whose copy it is: the work folder (absolute) and the editor's client size,
// the frame the points are given in.
struct CopyHeader {
    std::string folder;
    int32_t width = 0;
    int32_t height = 0;
};

// What a record tells besides the state.
struct RecordMeta {
    int64_t time = 0;          // when it was recorded, seconds since 1970 (UTC)
    uint32_t changes = 0;      // commands that changed the splines since `file`
    uint8_t unsavedNotes = 0;  // bit n: note n differs from `file`
    FileFingerprint file;      // the spline file as last loaded or saved

    bool operator==(const RecordMeta& other) const {
        return time == other.time && changes == other.changes &&
               unsavedNotes == other.unsavedNotes && file == other.file;
    }
};

// The start of a copy.
std::string EncodeCopyStart(const CopyHeader& header);

// One record.
std::string EncodeRecord(const RecordMeta& meta, const StateDelta& delta);

enum class CopyStatus {
    kRead,          // at least one whole record: `state` is the one after the last
    kNotACopy,      // not a recovery copy at all
    kOtherVersion,  // a copy in a format of another version of the program
    kDamaged,       // a copy without one whole record, or with one that does not fit
};

struct DecodedCopy {
    CopyStatus status = CopyStatus::kDamaged;
    CopyHeader header;
    RecordMeta meta;          // of the last whole record
    SessionState state;       // after the last whole record
    std::size_t records = 0;  // whole records read
};

// Reads a copy. A record cut short, or whose digest does not match, ends the
// reading: the state is the one after the record before it. Whatever the
// bytes, it never reads outside them nor reserves more memory than they
// could fill.
DecodedCopy DecodeCopy(std::string_view bytes);

}  // namespace velmora
