#pragma once

#include <string>

#include "velmora/splinefile.hpp"

namespace velmora::detail {

// What ReadSplineFile gives for a file that cannot be read for `reason`,
// naming it `name` in the message: for a caller with no path at all.
SplineFileContents UnreadableSplineFile(const std::string& name, const std::string& reason);

}  // namespace velmora::detail
