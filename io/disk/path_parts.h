#pragma once

#include <string>

namespace velmora {

// The characters between a path's parts: "/", and on Windows "\\" too. A
// Windows path starts with its drive ("C:/Notes/Splines.xml").
extern const char* const kPathSeparators;
// The one a path made here puts between its parts, as the system writes it.
extern const char kPathSeparator;

// Where an absolute `path` starts: "/", or on Windows its drive ("C:") or
// share ("//server/share"), extended-length prefix kept; "" for a relative path.
std::string RootOf(const std::string& path);

// The folder part of `path` ("." when it has none) and its last part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

}  // namespace velmora
