#pragma once

#include <cstdint>

namespace velmora {

// What kind of thing a name stands for. A stream is a pipe or a character
// device: it can be read, but has no size and no content to come back to.
enum class FileKind { kRegular, kFolder, kLink, kStream, kOther };

// Which file a name or handle leads to, whatever became of its content: the
// file system (device or volume) and the file's number on it (inode or file
// index).
struct FileKey {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
};

inline bool operator==(const FileKey& a, const FileKey& b) {
    return a.volume == b.volume && a.file == b.file;
}
inline bool operator!=(const FileKey& a, const FileKey& b) { return !(a == b); }

// Owner or group where the system has none to tell, or, given to
// FileSystem::SetOwner, where it is to stay as it is.
constexpr std::uint32_t kNoOwner = 0xFFFFFFFFu;

// What the system tells of a file. Times are nanoseconds since 1970.
// `permissions` holds the twelve bits of read, write and run rights with the
// set-user-ID, set-group-ID and sticky bits (07777); a system without them
// reports 0666, or 0444 for a read-only file.
struct FileInfo {
    FileKey key;
    FileKind kind = FileKind::kOther;
    std::int64_t size = 0;
    std::int64_t modified = 0;
    std::int64_t changed = 0;  // the last change of content, name or rights
    unsigned permissions = 0;
    std::uint32_t owner = kNoOwner;
    std::uint32_t group = kNoOwner;
    std::uint64_t links = 1;  // names the file has
};

// The set-user-ID, set-group-ID and sticky bits.
constexpr unsigned kSpecialPermissions = 07000;

}  // namespace velmora
