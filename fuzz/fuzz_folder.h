#pragma once

#include <string>

namespace velmora::fuzz {

// A private folder for the spline files of one process, made under the
// system's temporary folder on first use and removed when the process exits.
// Returns the path of `name` inside it.
std::string FuzzFile(const std::string& name);

}  // namespace velmora::fuzz
