#pragma once

#include <cstddef>
#include <string>

#include "io/disk/file_system.h"
#include "io/status.h"

namespace velmora {

// Refuse anything larger than this before reading it whole; a spline file
// with thousands of points is well under 1 MiB.
constexpr std::size_t kMaxSplineFileBytes = 16u * 1024u * 1024u;

enum class ReadStatus {
    kRead,      // `bytes` holds the whole file
    kMissing,   // no file of that name (the folder may be missing too)
    kNotAFile,  // a folder, FIFO, device or socket has that name
    kFailed,    // it exists but could not be read, or is too large
};

// Not ok for kNotAFile and kFailed, saying what went wrong.
struct ReadOutcome : Status {
    ReadStatus status = ReadStatus::kFailed;
    std::string bytes;
};

// Reads the regular file at `path` whole, refusing files over
// kMaxSplineFileBytes. Never blocks on a FIFO and never modifies the file.
ReadOutcome ReadWholeFile(const std::string& path, const FileSystem& fs = SystemFileSystem());

}  // namespace velmora
