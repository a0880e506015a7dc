#pragma once

#include <string>
#include <vector>

#include "io/file_system.h"

namespace velmora {

struct LinkTarget {
    std::string path;  // the file itself, once every link is followed
    int error = 0;     // 0, or the errno of a link that cannot be read or a loop
};

// Follows `path` through symbolic links, one after the other, to the name of
// the file they lead to. That file need not exist: a dangling link gives the
// name it points at. A relative link is taken from the folder that holds it.
LinkTarget FollowLinks(const std::string& path, const FileSystem& fs = SystemFileSystem());

// The names FollowLinks passes on its way: `path` first, then the name each
// link points at, the last being the file itself (or its dangling name).
// `error` as FollowLinks gives it.
std::vector<std::string> LinkChain(const std::string& path, int& error,
                                   const FileSystem& fs = SystemFileSystem());

// The folder part of `path` ("." when it has none) and its last part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

}  // namespace velmora
