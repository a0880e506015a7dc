#include "io/disk/path_parts.h"

namespace velmora {

#ifdef _WIN32
const char* const kPathSeparators = "/\\";
const char kPathSeparator = '\\';
#else
const char* const kPathSeparators = "/";
const char kPathSeparator = '/';
#endif

std::string RootOf(const std::string& path) {
    if (!path.empty() && path[0] == '/')
        return "/";
#ifdef _WIN32
    if (path.size() > 2 && path[1] == ':' && (path[2] == '/' || path[2] == '\\'))
        return path.substr(0, 2);
    if (!path.empty() && path[0] == '\\')
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
