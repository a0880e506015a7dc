#include "io/disk/save_check.h"

#include <cerrno>
#include <utility>

#include <linux/fs.h>
#include <unistd.h>

#include "io/disk/link_target.h"
#include "io/disk/path_parts.h"
#include "io/disk/safe_write.h"

namespace velmora {

namespace {

SaveCheck Blocked(std::string reason, std::string remedy, int error = 0) {
    SaveCheck out;
    static_cast<Status&>(out) = Failed(std::move(reason), error);
    out.remedy = std::move(remedy);
    return out;
}

// A file or folder that no one, root included, may change until its flag is
// cleared: the save could neither write beside it nor rename over it. `what`
// names it for the message.
SaveCheck CheckFlags(const std::string& path, const std::string& what, const FileSystem& fs) {
    unsigned flags = 0;
    if (fs.InodeFlags(path.c_str(), &flags) != 0) {
        return {};
    }
    if ((flags & FS_IMMUTABLE_FL) != 0) {
        return Blocked(what + " is marked immutable (chattr +i), so nothing can change it",
                       "Clear the mark (as root: chattr -i)", EPERM);
    }
    if ((flags & FS_APPEND_FL) != 0) {
        return Blocked(what + " is marked append-only (chattr +a), so it can only grow",
                       "Clear the mark (as root: chattr -a)", EPERM);
    }
    return {};
}

}  // namespace

// Names are given relative to the file, which the message names already.
SaveCheck CheckSaveable(const std::string& path, const FileSystem& fs) {
    const LinkTarget target = FollowLinks(path, fs);
    struct stat info {};
    if (!target.ok || fs.Stat(target.path.c_str(), &info) != 0) {
        return {};
    }
    const std::string file =
        target.path == path ? "the file" : "the file it links to (\"" + target.path + "\")";
    const std::string folder = FolderOf(target.path);
    if (S_ISREG(info.st_mode)) {
        if (SaveCheck flagged = CheckFlags(target.path, file, fs); !flagged.ok) {
            return flagged;
        }
    }
    if (SaveCheck flagged = CheckFlags(folder, "its folder", fs); !flagged.ok) {
        return flagged;
    }
    if (const WriteOutcome replace = CheckReplaceable(path, fs); !replace.ok) {
        if (!S_ISREG(info.st_mode)) {
            return Blocked(replace.reason, "Move it away, or rename it", replace.error);
        }
        return Blocked(
            (info.st_mode & 0222) == 0 ? file + " is read-only" : "you may not write " + file,
            "Make the file writable", replace.error);
    }
    if (fs.Access(folder.c_str(), W_OK | X_OK) != 0) {
        return Blocked("you may not write in its folder, where a save puts the new file",
                       "Make the folder writable", errno);
    }
    return {};
}

std::string RemedyFor(StatusCode code) {
    switch (code) {
    case StatusCode::kNoAccess: return "Make the file and its folder writable";
    case StatusCode::kNoSpace: return "Make room on the disk";
    case StatusCode::kReadOnly: return "Make the disk writable (mount it read-write)";
    case StatusCode::kNotFound: return "Create the folder again";
    default: return "Put right what is said above";
    }
}

}  // namespace velmora
