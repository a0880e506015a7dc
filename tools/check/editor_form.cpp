#include "tools/check/editor_form.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "io/xml/spline_writer.h"
#include "io/xml/text_place.h"
#include "model/note_set.h"

namespace velmora::tool {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n";

// One recognised difference and the offset where it first shows.
struct Mark {
    std::size_t offset;
    std::string what;
};

// The first tab among the blanks that begin a line, or npos.
std::size_t FirstIndentingTab(std::string_view text) {
    bool atLineStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            atLineStart = true;
        } else if (c == '\t' && atLineStart) {
            return i;
        } else if (c != ' ') {
            atLineStart = false;
        }
    }
    return std::string_view::npos;
}

// The first tag that names `second` before `first`, or npos.
std::size_t FirstSwappedPair(std::string_view text, std::string_view first,
                             std::string_view second) {
    for (std::size_t at = text.find(second); at != std::string_view::npos;
         at = text.find(second, at + 1)) {
        const std::size_t open = text.rfind('<', at);
        const std::size_t tagStart = open == std::string_view::npos ? 0 : open;
        const std::size_t tagEnd = text.find('>', at);
        const std::string_view tag =
            text.substr(tagStart, tagEnd == std::string_view::npos ? std::string_view::npos
                                                                   : tagEnd - tagStart);
        const std::size_t other = tag.find(first);
        if (other != std::string_view::npos && tagStart + other > at) {
            return tagStart;
        }
    }
    return std::string_view::npos;
}

// Every difference of the text from the editor's form that has a name,
// whatever comes first.
std::vector<Mark> KnownDifferences(std::string_view text, const ReadFindings& findings) {
    std::vector<Mark> marks;
    const auto add = [&marks](std::size_t offset, std::string what) {
        if (offset != std::string_view::npos) {
            marks.push_back(Mark{offset, std::move(what)});
        }
    };
    const bool bom = text.substr(0, kBom.size()) == kBom;
    if (bom) {
        add(0, "byte-order mark");
    }
    const std::string_view body = text.substr(bom ? kBom.size() : 0);
    const std::size_t bodyStart = text.size() - body.size();
    if (body.substr(0, 5) != "<?xml") {
        add(bodyStart, "no XML declaration");
    } else if (body.substr(0, kDeclaration.size() - 1) !=
               kDeclaration.substr(0, kDeclaration.size() - 1)) {
        add(bodyStart, "another XML declaration");
    }
    // CR LF is the form the editor writes on Windows, LF on Linux: either is
    // the editor's own; a CR alone is neither.
    for (std::size_t cr = text.find('\r'); cr != std::string_view::npos;
         cr = text.find('\r', cr + 1)) {
        if (cr + 1 == text.size() || text[cr + 1] != '\n') {
            add(cr, "line endings are CR");
            break;
        }
    }
    add(FirstIndentingTab(text), "tab indentation");
    add(text.find("='"), "attribute values in single quotes");
    add(FirstSwappedPair(text, "PosX", "PosY"), "attribute order");
    add(FirstSwappedPair(text, "Width", "Height"), "attribute order");
    const std::size_t rect = text.find("<RectSize");
    if (findings.rectSizeRead && (findings.frame.right != kEditorClient.right ||
                                  findings.frame.bottom != kEditorClient.bottom)) {
        add(rect, "RectSize " + std::to_string(findings.frame.right) + " x " +
                      std::to_string(findings.frame.bottom) + ", the editor writes " +
                      std::to_string(kEditorClient.right) + " x " +
                      std::to_string(kEditorClient.bottom));
    } else if (rect == std::string_view::npos) {
        add(bodyStart, "no RectSize");
    }
    std::stable_sort(marks.begin(), marks.end(),
                     [](const Mark& a, const Mark& b) { return a.offset < b.offset; });
    // "attribute order" may be found twice.
    std::vector<Mark> unique;
    for (Mark& m : marks) {
        const bool seen = std::any_of(unique.begin(), unique.end(),
                                      [&m](const Mark& u) { return u.what == m.what; });
        if (!seen) {
            unique.push_back(std::move(m));
        }
    }
    return unique;
}

}  // namespace

FormDifference DescribeFormDifference(const std::string& bytes, const std::string& written,
                                      const ReadFindings& findings) {
    FormDifference out;
    const std::size_t diff = FirstDifferenceButLineEnds(bytes, written);
    if (diff == std::string::npos) {
        return out;
    }
    std::tie(out.line, out.column) = PlaceOf(bytes, diff);
    for (const Mark& mark : KnownDifferences(bytes, findings)) {
        out.what += mark.what + "; ";
    }
    out.what += "a save rewrites it from here";
    return out;
}

}  // namespace velmora::tool
