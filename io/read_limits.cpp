#include "io/read_limits.h"

#include "io/file_read.h"
#include "io/xml_scan.h"

namespace velmora {

namespace {

std::string Describe(XmlProblem problem) {
    switch (problem) {
    case XmlProblem::kTooDeep:
        return "elements are nested too deeply (more than " + std::to_string(kMaxXmlDepth) +
               " levels)";
    case XmlProblem::kTooManyNodes:
        return "the file holds more than " + std::to_string(kMaxXmlNodes) +
               " XML elements, attributes and other nodes (each control point takes three)";
    case XmlProblem::kTooManyAttributes:
        return "an element has more than " + std::to_string(kMaxXmlAttributes) + " attributes";
    case XmlProblem::kNone: break;
    }
    return {};
}

}  // namespace

LimitCheck CheckReadLimits(std::string_view text, TiXmlEncoding encoding) {
    const XmlScan scan =
        ScanXml(text.data(), encoding, XmlLimits{kMaxXmlDepth, kMaxXmlNodes, kMaxXmlAttributes});
    if (scan.problem == XmlProblem::kNone) {
        return LimitCheck{};
    }
    LimitCheck out{false, Describe(scan.problem), 1, 1};
    for (std::size_t i = 0; i < scan.offset; ++i) {
        if (text[i] == '\n') {
            ++out.line;
            out.column = 1;
        } else {
            ++out.column;
        }
    }
    return out;
}

// The same checks as a load, on the same bytes: the writer's limits are the
// reader's by construction.
std::string CheckWriteLimits(const std::string& bytes) {
    if (bytes.size() > kMaxSplineFileBytes) {
        return "the file would be larger than " + std::to_string(kMaxSplineFileBytes >> 20) +
               " MiB, the most the editor reads";
    }
    const LimitCheck check = CheckReadLimits(bytes, ParserEncodingFor(bytes));
    return check.ok ? std::string() : "the file could not be read back: " + check.reason;
}

}  // namespace velmora
