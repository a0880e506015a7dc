#pragma once

#include <cstddef>
#include <string>

#include "io/disk/file_system.h"
#include "io/status.h"

namespace velmora {

// Refuse anything larger than this before reading it whole; a spline file
// with thousands of points is well under 1 MiB.
constexpr std::size_t kMaxSplineFileBytes = 16u * 1024u * 1024u;

// "larger than 16 MiB": the words for a file over kMaxSplineFileBytes,
// wherever it comes from (a file, a stream, memory, a merge's result).
inline std::string LargerThanTheLimit() {
    return "larger than " + std::to_string(kMaxSplineFileBytes / (1024 * 1024)) + " MiB";
}

// "`name` is a folder" or "`name` is not a regular file": why something
// that has a file's name is no file to read or replace.
inline std::string NotAFileText(const std::string& name, bool folder) {
    return name + " is " + (folder ? "a folder" : "not a regular file");
}

enum class ReadStatus {
    kRead,      // `bytes` holds the whole file
    kMissing,   // no file of that name (the folder may be missing too)
    kNotAFile,  // a folder, FIFO, device or socket has that name
    kFailed,    // it exists but could not be read, or is too large
};

// Not ok for kNotAFile and kFailed, saying what went wrong.
struct ReadOutcome {
    Status status;
    ReadStatus found = ReadStatus::kFailed;
    std::string bytes;
};

// Reads the regular file at `path` whole, refusing files over
// kMaxSplineFileBytes. Never blocks on a FIFO and never modifies the file.
ReadOutcome ReadWholeFile(const std::string& path, const FileSystem& fs = SystemFileSystem());

}  // namespace velmora
