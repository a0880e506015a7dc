#include "io/spline_reader.h"

#include <array>
#include <cstring>

#include <tinyxml.h>

#include "io/int_attribute.h"
#include "io/guarded_parse.h"
#include "io/read_limits.h"
#include "io/xml_scan.h"

namespace velmora {

namespace {

// Turns CR LF and lone CR into LF, as the parser's own file loader does, so
// that line numbers and text match what a file load would give.
std::string NormaliseLineEnds(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            text.push_back('\n');
            if (i + 1 < n && bytes[i + 1] == '\n') {
                ++i;
            }
        } else {
            text.push_back(c);
        }
    }
    return text;
}

// True when the text holds nothing but white space.
bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\n\r") == std::string::npos;
}

// A refusal with the reason and, where known, the place.
LoadOutcome Unreadable(std::string reason, int line = 0, int column = 0) {
    LoadOutcome out;
    out.status = LoadStatus::kUnreadable;
    out.reason = std::move(reason);
    out.line = line;
    out.column = column;
    return out;
}

// Reads the control points of one spline. A point without a usable PosX or
// PosY ends the spline; the points before it are kept.
Spline ReadSpline(const TiXmlNode& splineNode) {
    Spline points;
    for (const TiXmlNode* c = splineNode.FirstChild("ControlPoint"); c != nullptr;
         c = c->NextSiblingElement()) {
        const TiXmlElement* point = c->ToElement();
        if (point == nullptr) {
            break;
        }
        const IntAttribute x = ReadIntAttribute(*point, "PosX");
        const IntAttribute y = ReadIntAttribute(*point, "PosY");
        if (!x.value || !y.value) {
            break;
        }
        points.push_back(Point{*x.value, *y.value});
    }
    return points;
}

// The splines a note element holds, in file order; empty ones included.
SplineList ReadNote(const TiXmlElement& note) {
    SplineList splines;
    for (const TiXmlNode* s = note.FirstChild("NewSpline"); s != nullptr;
         s = s->NextSiblingElement()) {
        splines.push_back(ReadSpline(*s));
    }
    return splines;
}

// Walks the top level: the first node named NewNoteSpline, then every
// element after it whatever its name. A missing Index ends the walk; an Index
// that is no note number (not a number, or outside 0..3) skips that element
// only. Later elements with the same Index replace earlier ones. Everything
// is built aside and committed at the end, so `notes` is either untouched or
// updated for exactly the notes the file names.
void WalkDocument(const TiXmlDocument& doc, NoteSet& notes) {
    NoteSet read;
    std::array<bool, kNoteCount> named{};
    for (const TiXmlNode* node = doc.FirstChild("NewNoteSpline"); node != nullptr;
         node = node->NextSiblingElement()) {
        const TiXmlElement* note = node->ToElement();
        if (note == nullptr) {
            continue;
        }
        const IntAttribute index = ReadIntAttribute(*note, "Index");
        if (!index.present) {
            break;
        }
        if (!index.value || *index.value < 0 || *index.value >= kNoteCount) {
            continue;
        }
        const auto n = static_cast<std::size_t>(*index.value);
        read[n] = ReadNote(*note);
        named[n] = true;
    }
    for (std::size_t n = 0; n < read.size(); ++n) {
        if (named[n]) {
            notes[n] = std::move(read[n]);
        }
    }
}

}  // namespace

// The text is checked before it reaches the parser: a NUL byte would make the
// parser stop early and load half a file, and deep nesting or too many nodes
// would overflow its recursion or exhaust memory.
LoadOutcome ReadSplineText(const std::string& bytes, NoteSet& notes) {
    if (bytes.empty()) {
        return LoadOutcome{LoadStatus::kEmpty, {}, 0, 0};
    }
    if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr) {
        return Unreadable("the file contains a NUL byte; it is not a text file");
    }
    // Most files have LF line ends already; those are parsed without a copy.
    std::string normalised;
    if (bytes.find('\r') != std::string::npos) {
        normalised = NormaliseLineEnds(bytes);
    }
    const std::string& text = normalised.empty() ? bytes : normalised;
    if (IsBlank(text)) {
        return LoadOutcome{LoadStatus::kEmpty, {}, 0, 0};
    }
    const TiXmlEncoding encoding = ParserEncodingFor(text);
    const LimitCheck limits = CheckReadLimits(text, encoding);
    if (!limits.ok) {
        return Unreadable(limits.reason, limits.line, limits.column);
    }
    TiXmlDocument doc;
    if (!ParseWithAmpleStack(doc, text, encoding)) {
        return Unreadable("there is not enough memory to read the file");
    }
    if (doc.Error()) {
        // ErrorRow/ErrorCol are 1-based, and 0 when the parser knew no place.
        return Unreadable(doc.ErrorDesc(), doc.ErrorRow(), doc.ErrorCol());
    }
    WalkDocument(doc, notes);
    return LoadOutcome{LoadStatus::kLoaded, {}, 0, 0};
}

}  // namespace velmora
