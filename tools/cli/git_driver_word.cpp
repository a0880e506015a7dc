#include "tools/cli/git_driver_word.h"

#include <algorithm>

namespace velmora::tool {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// `path` with "/" between its parts and without the extended-length prefix.
std::string ShellPath(std::string path) {
    if (StartsWith(path, "\\\\?\\UNC\\"))
        path = "\\\\" + path.substr(8);
    else if (StartsWith(path, "\\\\?\\"))
        path = path.substr(4);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace

std::string GitDriverWord(const std::string& path, PathStyle style) {
    const std::string word = style == PathStyle::kWindows ? ShellPath(path) : path;
    if (!word.empty() &&
        word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                               "0123456789/._+-,:@=") == std::string::npos)
        return word;
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace velmora::tool
