#include "io/disk/path_parts.h"

namespace velmora {

#ifdef _WIN32
const char* const kPathSeparators = "/\\";
const char kPathSeparator = '\\';
#else
const char* const kPathSeparators = "/";
const char kPathSeparator = '/';
#endif

#ifdef _WIN32
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// How far `path` runs before its next separator from `from` on.
std::size_t PartEnd(const std::string& path, std::size_t from) {
    const std::size_t end = path.find_first_of(kPathSeparators, from);
    return end == std::string::npos ? path.size() : end;
}

}  // namespace
#endif

std::string RootOf(const std::string& path) {
#ifdef _WIN32
    // The extended-length form ("\\?\C:\", "\\?\UNC\server\share") names
    // the same roots as the short one, with the prefix kept.
    std::size_t start = 0;
    bool share = false;
    if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] == '?' &&
        IsSeparator(path[3])) {
        start = 4;
        share = path.compare(4, 3, "UNC") == 0 && path.size() > 7 && IsSeparator(path[7]);
        if (share)
            start = 8;
    } else if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        start = 2;
        share = true;
    }
    if (share) {
        // "\\server\share": a share is the root of the names on it.
        const std::size_t server = PartEnd(path, start);
        return server >= path.size() ? path : path.substr(0, PartEnd(path, server + 1));
    }
    if (path.size() > start + 2 && path[start + 1] == ':' && IsSeparator(path[start + 2]))
        return path.substr(0, start + 2);
    if (!path.empty() && IsSeparator(path[0]))
        return "/";
#else
    if (!path.empty() && path[0] == '/')
        return "/";
#endif
    return "";
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of(kPathSeparators);
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of(kPathSeparators);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace velmora
