#pragma once

#include <cstdint>
#include <string>

#include "io/disk/file_system.h"

namespace velmora::tool {

// What a name on disk is, as the verbs tell it apart.
enum class PathKind {
    kMissing,  // nothing has that name
    kUnknown,  // it could not be looked at (`error` says why)
    kFile,     // a regular file
    kFolder,
    kStream,  // a pipe or a character device: read or written as it comes
    kLink,    // a symbolic link, when links are not followed
    kOther,   // a socket or a block device
};

struct PathInfo {
    PathKind kind = PathKind::kMissing;
    std::uint64_t size = 0;  // kFile
    std::string error;       // kUnknown
};

// Looks at `path` through the file layer's seam, through symbolic links
// unless `followLinks` is false.
PathInfo LookAt(const std::string& path, bool followLinks = true,
                const FileSystem& fs = SystemFileSystem());

// Creates the folder `dir` unless it exists; returns "" or why not, for a
// message ("could not create the folder ...").
std::string CreateFolder(const std::string& dir, const FileSystem& fs = SystemFileSystem());

}  // namespace velmora::tool
