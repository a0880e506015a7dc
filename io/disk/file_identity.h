#pragma once

#include <cstdint>

#include "io/disk/file_info.h"

namespace velmora {

// One version of a file on disk as its information tells it apart: the same
// file, unchanged since. An atomic replacement gives a new file; a write
// in place changes the modification time. The change time is left out: a
// rename or a new link changes it, and neither changes the content.
struct FileIdentity {
    FileKey key;
    std::int64_t size = 0;
    std::int64_t modified = 0;
};

inline FileIdentity IdentityOf(const FileInfo& info) {
    return FileIdentity{info.key, info.size, info.modified};
}

// Whether two pieces of information are of the same file, whatever became of
// its content.
inline bool SameFile(const FileInfo& a, const FileInfo& b) { return a.key == b.key; }

inline bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.key == b.key && a.size == b.size && a.modified == b.modified;
}

inline bool operator!=(const FileIdentity& a, const FileIdentity& b) { return !(a == b); }

}  // namespace velmora
