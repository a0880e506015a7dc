#include "io/xml/read_limits.h"

#include <tuple>

#include "io/disk/file_read.h"
#include "io/xml/text_place.h"

namespace velmora {

namespace {

std::string Describe(XmlProblem problem) {
    switch (problem) {
    case XmlProblem::kTooDeep:
        return "elements are nested too deeply (more than " + std::to_string(kMaxXmlDepth) +
               " levels)";
    case XmlProblem::kTooManyNodes:
        return "the file holds more than " + std::to_string(kMaxReadNodes) +
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
        ScanXml(text.data(), encoding, XmlLimits{kMaxXmlDepth, kMaxReadNodes, kMaxXmlAttributes});
    if (scan.problem == XmlProblem::kNone) {
        return LimitCheck{{}, scan};
    }
    LimitCheck out{Failed(Describe(scan.problem)), scan};
    std::tie(out.status.line, out.status.column) = PlaceOf(text, scan.offset);
    return out;
}

// The declaration, RectSize with its two attributes, then per note the
// element and its Index, per spline one element, per point the element and
// its two coordinates.
std::size_t SavedNodeCount(const NoteSet& notes) {
    constexpr std::size_t kDefaultNote = 2 + 1 + 2 * 3;
    std::size_t nodes = 1 + 3;
    for (const SplineList& splines : notes) {
        if (splines.empty()) {
            nodes += kDefaultNote;
            continue;
        }
        nodes += 2 + splines.size();
        for (const Spline& spline : splines) {
            nodes += 3 * spline.size();
        }
    }
    return nodes;
}

// The same checks as a load, on the same bytes: the writer's limits are the
// reader's by construction.
Status CheckWriteLimits(const std::string& bytes) {
    if (bytes.size() > kMaxSplineFileBytes) {
        return Failed("the file would be " + LargerThanTheLimit() + ", the most the editor reads");
    }
    const LimitCheck check = CheckReadLimits(bytes, ParserEncodingFor(bytes));
    return check.status.ok() ? Status{}
                             : Failed("the file could not be read back: " + check.status.reason);
}

}  // namespace velmora
