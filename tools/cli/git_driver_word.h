#pragma once

#include <string>

namespace velmora::tool {

// How a path to this program is written on the system it runs on.
enum class PathStyle { kPosix, kWindows };

// The program at `path` as the first word of a git driver's command, which
// git hands to its shell (sh, also on Windows): single-quoted unless plain.
// A Windows path gets forward slashes and loses the extended-length prefix
// ("\\?\C:\x" is "C:/x", "\\?\UNC\host\x" is "//host/x"), since that shell
// reads a backslash as an escape outside quotes and knows no "\\?\".
std::string GitDriverWord(const std::string& path, PathStyle style);

}  // namespace velmora::tool
