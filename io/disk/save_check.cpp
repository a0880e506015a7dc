#include "io/disk/save_check.h"

#include <cerrno>
#include <utility>

#include "io/disk/link_target.h"
#include "io/disk/path_parts.h"
#include "io/disk/safe_write.h"

namespace velmora {

namespace {

SaveCheck Blocked(std::string reason, std::string remedy, int error = 0) {
    SaveCheck out;
    out.status = Failed(std::move(reason), error);
    out.remedy = std::move(remedy);
    return out;
}

SaveCheck Blocked(std::string reason, std::string remedy, const Status& why) {
    SaveCheck out = Blocked(std::move(reason), std::move(remedy), why.error);
    out.status.code = why.code;
    return out;
}

// A file or folder that no one, root included, may change until its flag is
// cleared: the save could neither write beside it nor rename over it. `what`
// names it for the message.
SaveCheck CheckFlags(const std::string& path, const std::string& what, const FileSystem& fs) {
    FileMarks marks;
    if (!fs.ReadMarks(path, &marks).ok()) {
        return {};
    }
    if (marks.immutable) {
        return Blocked(what + " is marked immutable (chattr +i), so nothing can change it",
                       "Clear the mark (as root: chattr -i)", EPERM);
    }
    if (marks.appendOnly) {
        return Blocked(what + " is marked append-only (chattr +a), so it can only grow",
                       "Clear the mark (as root: chattr -a)", EPERM);
    }
    return {};
}

}  // namespace

// Names are given relative to the file, which the message names already.
SaveCheck CheckSaveable(const std::string& path, const FileSystem& fs) {
    const LinkTarget target = FollowLinks(path, fs);
    FileInfo info;
    if (!target.status.ok() || !fs.Inspect(target.path, Links::kFollow, &info).ok()) {
        return {};
    }
    const std::string file =
        target.path == path ? "the file" : "the file it links to (\"" + target.path + "\")";
    const std::string folder = FolderOf(target.path);
    const bool regular = info.kind == FileKind::kRegular;
    if (regular) {
        if (SaveCheck flagged = CheckFlags(target.path, file, fs); !flagged.status.ok()) {
            return flagged;
        }
    }
    if (SaveCheck flagged = CheckFlags(folder, "its folder", fs); !flagged.status.ok()) {
        return flagged;
    }
    if (const WriteOutcome replace = CheckReplaceable(path, fs); !replace.status.ok()) {
        if (!regular) {
            return Blocked(replace.status.reason, "Move it away, or rename it", replace.status);
        }
        return Blocked(
            (info.permissions & 0222u) == 0 ? file + " is read-only" : "you may not write " + file,
            "Make the file writable", replace.status);
    }
    if (const Status may = fs.MayWriteIn(folder); !may.ok()) {
        return Blocked("you may not write in its folder, where a save puts the new file",
                       "Make the folder writable", may);
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
