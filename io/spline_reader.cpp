#include "io/spline_reader.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <tuple>
#include <utility>

#include <tinyxml.h>

#include "io/guarded_parse.h"
#include "io/int_attribute.h"
#include "io/read_limits.h"
#include "io/white_space.h"
#include "io/xml_scan.h"

namespace velmora {

namespace {

// Turns CR LF and lone CR into LF, as the parser's own file loader does, so
// that line numbers and text match what a file load would give.
std::string NormaliseLineEnds(std::string_view bytes) {
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

// White space as the parser skips it, and the NUL bytes a crash can leave.
bool IsPadding(char c) { return IsSpace(c) || c == '\0'; }

// A byte-order mark, or two characters each with a NUL byte beside it.
bool IsUtf16(const std::string& b) {
    if (b.size() < 4) {
        return false;
    }
    const auto u = [&b](std::size_t i) { return static_cast<unsigned char>(b[i]); };
    return (u(0) == 0xFF && u(1) == 0xFE) || (u(0) == 0xFE && u(1) == 0xFF) ||
           (u(0) != 0 && u(1) == 0 && u(2) != 0 && u(3) == 0) ||
           (u(0) == 0 && u(1) != 0 && u(2) == 0 && u(3) != 0);
}

// The 1-based line and column of `offset` in `text`.
std::pair<int, int> PlaceOf(std::string_view text, std::size_t offset) {
    const std::string_view before = text.substr(0, offset);
    const std::size_t lineStart = before.find_last_of('\n');
    const auto line = std::count(before.begin(), before.end(), '\n') + 1;
    const std::size_t column =
        lineStart == std::string_view::npos ? offset + 1 : offset - lineStart;
    return {static_cast<int>(line), static_cast<int>(column)};
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

// How far the walk over the top level got.
struct Walk {
    int notesRead = 0;
    const TiXmlElement* stoppedAt = nullptr;  // the note without Index that ended it
};

// Walks the top level: the first node named NewNoteSpline, then every
// element after it whatever its name. A missing Index ends the walk; an Index
// that is no note number (not a number, or outside 0..3) skips that element
// only. Later elements with the same Index replace earlier ones. Everything
// is built aside and committed at the end, so `notes` is either untouched or
// updated for exactly the notes the file names.
Walk WalkDocument(const TiXmlDocument& doc, NoteSet& notes) {
    Walk walk;
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
            walk.stoppedAt = note;
            break;
        }
        if (!index.value || *index.value < 0 || *index.value >= kNoteCount) {
            continue;
        }
        const auto n = static_cast<std::size_t>(*index.value);
        read[n] = ReadNote(*note);
        named[n] = true;
        ++walk.notesRead;
    }
    for (std::size_t n = 0; n < read.size(); ++n) {
        if (named[n]) {
            notes[n] = std::move(read[n]);
        }
    }
    return walk;
}

}  // namespace

bool IsBlankText(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), IsPadding);
}

// The parser stops without an error at text between top-level elements and
// at a NUL byte; whatever it left unread, beyond padding, is reported, so
// that the user learns of it and the first save keeps the file.
LoadOutcome ReadSplineText(const std::string& bytes, NoteSet& notes) {
    if (bytes.empty()) {
        return LoadOutcome{};
    }
    if (IsUtf16(bytes)) {
        return Unreadable("the file is UTF-16 text; Velmora reads UTF-8 or ISO-8859-1 text");
    }
    const std::size_t end = std::min(bytes.find('\0'), bytes.size());
    const std::string_view head(bytes.data(), end);
    const bool tailIsPadding = IsBlankText(std::string_view(bytes).substr(end));
    // Most files have LF line ends already; those are parsed without a copy,
    // and the parser stops at the NUL byte by itself.
    std::string normalised;
    if (head.find('\r') != std::string_view::npos) {
        normalised = NormaliseLineEnds(head);
    }
    const std::string_view text = normalised.empty() ? head : std::string_view(normalised);
    if (IsBlankText(text)) {
        return tailIsPadding ? LoadOutcome{} : Unreadable("it is not an XML document");
    }
    const TiXmlEncoding encoding = ParserEncodingFor(text);
    const LimitCheck limits = CheckReadLimits(text, encoding);
    if (!limits.ok) {
        return Unreadable(limits.reason, limits.line, limits.column);
    }
    TiXmlDocument doc;
    const GuardedParse parse = ParseWithAmpleStack(doc, text, encoding);
    if (!parse.started) {
        return Unreadable("there is not enough memory to read the file");
    }
    if (doc.Error()) {
        if (doc.ErrorId() == TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY) {
            return Unreadable("it is not an XML document");
        }
        // ErrorRow/ErrorCol are 1-based, and 0 when the parser knew no place.
        return Unreadable(doc.ErrorDesc(), doc.ErrorRow(), doc.ErrorCol());
    }
    const Walk walk = WalkDocument(doc, notes);
    LoadOutcome out;
    out.status = LoadStatus::kLoaded;
    out.noNote = walk.notesRead == 0;
    const std::size_t parsed =
        parse.stop == nullptr ? text.size() : static_cast<std::size_t>(parse.stop - text.data());
    const std::size_t stopOffset = std::min(parsed, text.size());
    if (walk.stoppedAt != nullptr) {
        out.stoppedEarly = true;
        out.reason = "a note without an \"Index\" attribute";
        out.line = walk.stoppedAt->Row();
        out.column = walk.stoppedAt->Column();
    } else if (!tailIsPadding || !IsBlankText(text.substr(stopOffset))) {
        out.stoppedEarly = true;
        out.reason = "text outside any element";
        std::tie(out.line, out.column) = PlaceOf(text, stopOffset);
    }
    return out;
}

}  // namespace velmora
