#include "tools/cli/path_kind.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "tools/cli/cli_io.h"

namespace velmora::tool {

PathInfo LookAt(const std::string& path, bool followLinks, const FileSystem& fs) {
    struct stat info {};
    const int got = followLinks ? fs.Stat(path.c_str(), &info) : fs.Lstat(path.c_str(), &info);
    PathInfo out;
    if (got != 0) {
        if (errno != ENOENT) {
            out.kind = PathKind::kUnknown;
            out.error = std::strerror(errno);
        }
        return out;
    }
    const mode_t mode = info.st_mode;
    out.kind = S_ISREG(mode)                     ? PathKind::kFile
               : S_ISDIR(mode)                   ? PathKind::kFolder
               : S_ISFIFO(mode) || S_ISCHR(mode) ? PathKind::kStream
               : S_ISLNK(mode)                   ? PathKind::kLink
                                                 : PathKind::kOther;
    out.size = out.kind == PathKind::kFile ? static_cast<std::uint64_t>(info.st_size) : 0;
    return out;
}

std::string CreateFolder(const std::string& dir, const FileSystem& fs) {
    if (fs.MakeFolder(dir.c_str(), 0777) != 0 && errno != EEXIST)
        return "could not create the folder \"" + Printable(dir) + "\": " + std::strerror(errno);
    return std::string();
}

}  // namespace velmora::tool
