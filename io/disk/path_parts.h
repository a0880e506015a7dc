#pragma once

#include <string>

namespace velmora {

// The folder part of `path` ("." when it has none) and its last part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

}  // namespace velmora
