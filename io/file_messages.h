#pragma once

#include <string>

#include "io/spline_file.h"

namespace velmora {

// The text the start-up message shows for `outcome` of loading `path`, or
// "" when there is nothing to tell.
std::string LoadMessage(const LoadOutcome& outcome, const std::string& path);

// What the user is told about a save to `path`, or "" when all went as
// expected.
std::string SaveMessage(const SaveOutcome& outcome, const std::string& path);

}  // namespace velmora
