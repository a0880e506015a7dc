#pragma once

#include <functional>
#include <string>
#include <vector>

#include "io/spline_file.h"
#include "io/xml/read_findings.h"

namespace velmora::tool {

// error: spline data the editor does not use or cannot read; warning: data
// it reads other than written or cannot draw a curve from; note: what the
// next save changes without losing spline data.
enum class Severity { kError, kWarning, kNote };

// "error", "warning" or "note".
const char* SeverityName(Severity severity);

// One thing the editor would read differently from what the file seems to
// say, or would not write back as it stands.
struct Problem {
    int line = 0;  // 1-based; 0 when the place is not known
    int column = 0;
    Severity severity = Severity::kError;
    const char* kind = "";  // a fixed word for scripts, e.g. "bad-index"
    std::string message;    // for people; may quote bytes of the file
};

// What the reader reported of one file, told as problems in file order
// (those without a place first). The problems are composed one at a time,
// so a file with a problem on every line costs no second copy of them.
class CheckReport {
public:
    // Reads `bytes` as the editor does, with the reader's findings.
    explicit CheckReport(const std::string& bytes);
    // A file that could not be read at all (`reason`).
    static CheckReport Unreadable(std::string reason);

    // Byte for byte what the editor writes for what it reads.
    bool Exact() const { return m_exact; }
    bool HasErrors() const;
    bool Empty() const;

    // Calls `each` with every problem in order while it returns true.
    void ForEach(const std::function<bool(const Problem&)>& each) const;

private:
    CheckReport() = default;

    bool m_exact = false;
    ReadFindings m_findings;         // sorted by place
    std::vector<Problem> m_outcome;  // what the outcome and the form add, sorted by place
};

}  // namespace velmora::tool
