#pragma once

#include <string>
#include <vector>

namespace velmora::tool {

// One thing the editor would read differently from what the file seems to
// say, or would not write back as it stands.
struct Problem {
    int line = 0;  // 1-based; 0 when the place is not known
    int column = 0;
    std::string kind;     // a fixed word for scripts, e.g. "bad-index"
    std::string message;  // for people; may quote bytes of the file
};

struct CheckReport {
    bool exact = false;  // byte for byte what the editor writes for what it reads
    std::vector<Problem> problems;
};

// Reads `bytes` as the editor does and lists what it finds: the reader's
// refusal (with its reason and place), notes that are skipped, replaced, cut
// short or given their default spline, splines of fewer than two points,
// coincident consecutive points, points outside RectSize, content the
// reader passes over, and the first byte where a save would differ.
CheckReport CheckSplineText(const std::string& bytes);

}  // namespace velmora::tool
