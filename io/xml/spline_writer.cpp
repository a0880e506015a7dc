#include "io/xml/spline_writer.h"

#include <charconv>
#include <utility>

namespace velmora {

namespace {

// Appends `value` in "%d" form.
void AppendInt(std::string& text, int32_t value) {
    char digits[16];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, end.ptr);
}

// One line "<Name A="a" B="b" />" (or with ">" for an element with
// children), indented by `depth` steps of four blanks.
void AppendTag(std::string& text, int depth, const char* name, const char* first, int32_t a,
               const char* second, int32_t b, bool empty) {
    text.append(static_cast<std::size_t>(depth) * 4, ' ');
    text += '<';
    text += name;
    text += ' ';
    text += first;
    text += "=\"";
    AppendInt(text, a);
    text += '"';
    if (second != nullptr) {
        text += ' ';
        text += second;
        text += "=\"";
        AppendInt(text, b);
        text += '"';
    }
    text += empty ? " />\n" : ">\n";
}

}  // namespace

// Written straight into the text rather than through the document, whose
// nodes would take about ten times the text's size for a large file. The
// bytes are those the library's printer gives for the same document (see
// tests/support/spline_document.h) with its default indent (four blanks) and line break (LF), as
// saving the document to a file writes them (on Windows, a text-mode stream makes each LF a
// CR LF): an element without children closes itself with " />", all attribute values are plain
// integers, so nothing needs escaping.
std::string PrintSplines(const NoteSet& notes, int32_t width, int32_t height) {
    std::size_t points = 0;
    for (const SplineList& splines : notes) {
        for (const Spline& spline : splines)
            points += spline.size();
    }
    std::string text;
    text.reserve(200 + points * 48);
    text += "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n";
    AppendTag(text, 0, "RectSize", "Width", width, "Height", height, true);
    for (int n = 0; n < kNoteCount; ++n) {
        const SplineList& splines = notes[static_cast<std::size_t>(n)];
        AppendTag(text, 0, "NewNoteSpline", "Index", n, nullptr, 0, splines.empty());
        for (const Spline& spline : splines) {
            if (spline.empty()) {
                text += "    <NewSpline />\n";
                continue;
            }
            text += "    <NewSpline>\n";
            for (const Point& p : spline)
                AppendTag(text, 2, "ControlPoint", "PosX", p.x, "PosY", p.y, true);
            text += "    </NewSpline>\n";
        }
        if (!splines.empty())
            text += "</NewNoteSpline>\n";
    }
    return WithSystemLineEnds(std::move(text));
}

std::string WithSystemLineEnds(std::string text) {
#ifdef _WIN32
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 24);
    for (const char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    return crlf;
#else
    return text;
#endif
}

std::size_t FirstDifferenceButLineEnds(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    for (; i < a.size() && j < b.size(); ++i, ++j) {
        const std::size_t at = i;
        if (a[i] == '\r' && i + 1 < a.size() && a[i + 1] == '\n')
            ++i;
        if (b[j] == '\r' && j + 1 < b.size() && b[j + 1] == '\n')
            ++j;
        if (a[i] != b[j])
            return at;
    }
    return i == a.size() && j == b.size() ? std::string_view::npos : i;
}

}  // namespace velmora
