#pragma once

#include <string>

#include "io/xml/read_findings.h"

namespace velmora::tool {

// Where and how a file differs from the text the editor writes for it.
struct FormDifference {
    int line = 0;  // of the first byte that differs (1-based)
    int column = 0;
    std::string what;  // e.g. "line endings are CR LF; tab indentation", first difference first
};

// Compares `bytes` with `written`, the editor's text for the notes read
// from them (`findings` tells the RectSize read). Returns what == "" when
// they are the same.
FormDifference DescribeFormDifference(const std::string& bytes, const std::string& written,
                                      const ReadFindings& findings);

}  // namespace velmora::tool
