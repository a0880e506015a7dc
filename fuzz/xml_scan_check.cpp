#include "fuzz/xml_scan_check.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <tinyxml.h>

#include "io/xml/read_limits.h"
#include "io/xml/xml_scan.h"

namespace velmora::fuzz {

namespace {

struct TreeShape {
    int depth = 0;
    size_t nodes = 0;
};

// Every node below the document and every attribute, and the deepest
// element, walked without recursion.
TreeShape Measure(const TiXmlDocument& doc) {
    TreeShape shape;
    std::vector<std::pair<const TiXmlNode*, int>> pending;  // node, elements above it
    for (const TiXmlNode* child = doc.FirstChild(); child; child = child->NextSibling()) {
        pending.emplace_back(child, 0);
    }
    while (!pending.empty()) {
        const auto [node, above] = pending.back();
        pending.pop_back();
        ++shape.nodes;
        const TiXmlElement* element = node->ToElement();
        if (element == nullptr)
            continue;
        shape.depth = std::max(shape.depth, above + 1);
        for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next())
            ++shape.nodes;
        for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) {
            pending.emplace_back(child, above + 1);
        }
    }
    return shape;
}

}  // namespace

std::string CheckXmlScan(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TiXmlEncoding encoding = ParserEncodingFor(text);
    const XmlScan scan =
        ScanXml(text.c_str(), encoding, XmlLimits{kMaxXmlDepth, kMaxXmlNodes, kMaxXmlAttributes});
    if (scan.problem != XmlProblem::kNone)
        return {};

    // From a line of conflict markers on, the reader parses nothing: the text
    // before the top-level node that holds it is what the parser gets.
    const std::string parsed =
        scan.marker == std::string::npos ? text : text.substr(0, scan.beforeMarker);
    TiXmlDocument doc;
    doc.Parse(parsed.c_str(), nullptr, encoding);
    const TreeShape tree = Measure(doc);
    if (scan.depth < tree.depth)
        return "the scan found depth " + std::to_string(scan.depth) + ", the parser nested " +
               std::to_string(tree.depth);
    if (scan.nodes < tree.nodes)
        return "the scan counted " + std::to_string(scan.nodes) + " nodes, the parser built " +
               std::to_string(tree.nodes);
    return {};
}

}  // namespace velmora::fuzz
