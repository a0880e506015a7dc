#pragma once

#include <string>
#include <vector>

#include "io/disk/file_system.h"
#include "io/status.h"

namespace velmora {

// Fails where a link cannot be read or the links loop, with the system's
// error.
struct LinkTarget {
    Status status;
    std::string path;  // the file itself, once every link is followed
};

// The names passed on the way, `path` first, then the name each link points
// at, the last being the file itself (or its dangling name). Fails as
// LinkTarget does.
struct LinkNames {
    Status status;
    std::vector<std::string> names;
};

// Follows `path` through symbolic links, one after the other, to the name of
// the file they lead to. That file need not exist: a dangling link gives the
// name it points at. A relative link is taken from the folder that holds it.
LinkTarget FollowLinks(const std::string& path, const FileSystem& fs = SystemFileSystem());

// The names FollowLinks passes on its way.
LinkNames LinkChain(const std::string& path, const FileSystem& fs = SystemFileSystem());

// The places, each a folder and a name in it, that decide what the absolute
// `path` leads to, one for each step of the way as the system takes it:
// through every folder, and through every symbolic link met anywhere on
// the way (a folder link in the middle as well as the file's own), to the
// file's own folder and name. Where a folder on the way is missing (or is
// no folder), the places end with the last folder there is and the name
// missing in it, and `fileFolderFound` is false.
struct PathPlaces {
    enum class Kind {
        kFolder,   // the name is a folder on the way
        kLink,     // the name is a symbolic link, followed
        kMissing,  // nothing (or no folder) has the name, and the way ends
        kFile,     // the name is the file's (it may be missing)
    };
    struct Place {
        std::string folder;  // without symbolic links
        std::string name;
        Kind kind;
    };
    std::vector<Place> places;
    bool fileFolderFound = false;
};
PathPlaces PlacesOnPath(const std::string& path, const FileSystem& fs = SystemFileSystem());

}  // namespace velmora
