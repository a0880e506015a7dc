#pragma once

#include <string>

#include "io/disk/file_system.h"
#include "io/status.h"

namespace velmora {

// Why a save cannot replace a file, and what the user can do about it: an
// imperative phrase such as "Make the folder writable", to which a message
// adds when to try again.
struct SaveCheck {
    Status status;
    std::string remedy;
};

// What stands in the way of a save replacing the existing file `path` (its
// symbolic links followed) that can be seen before a save is tried: a file
// or folder marked immutable or append-only, what CheckReplaceable refuses
// (a file nobody may write, one this user may not write, a folder or other
// thing that is no file), and a folder this user may not write. Ok when
// nothing is seen, and when there is no file.
SaveCheck CheckSaveable(const std::string& path, const FileSystem& fs = SystemFileSystem());

// What to do after a save failed with a failure of kind `code` where
// CheckSaveable sees nothing in the way.
std::string RemedyFor(StatusCode code);

}  // namespace velmora
