#include "tools/cli/path_kind.h"

#include "tools/cli/cli_io.h"

namespace velmora::tool {

PathInfo LookAt(const std::string& path, bool followLinks, const FileSystem& fs) {
    FileInfo info;
    const Status got = fs.Inspect(path, followLinks ? Links::kFollow : Links::kNoFollow, &info);
    PathInfo out;
    if (!got.ok()) {
        if (got.code != StatusCode::kNotFound) {
            out.kind = PathKind::kUnknown;
            out.error = got.reason;
        }
        return out;
    }
    switch (info.kind) {
    case FileKind::kRegular: out.kind = PathKind::kFile; break;
    case FileKind::kFolder: out.kind = PathKind::kFolder; break;
    case FileKind::kStream: out.kind = PathKind::kStream; break;
    case FileKind::kLink: out.kind = PathKind::kLink; break;
    case FileKind::kOther: out.kind = PathKind::kOther; break;
    }
    out.size = out.kind == PathKind::kFile ? static_cast<std::uint64_t>(info.size) : 0;
    return out;
}

std::string CreateFolder(const std::string& dir, const FileSystem& fs) {
    const Status made = fs.MakeFolder(dir, 0777);
    if (!made.ok() && made.code != StatusCode::kExists)
        return "could not create the folder \"" + Printable(dir) + "\": " + made.reason;
    return std::string();
}

}  // namespace velmora::tool
