#include "io/xml/spline_reader.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <tuple>
#include <utility>

#include <tinyxml.h>

#include "io/xml/guarded_parse.h"
#include "io/xml/note_walk.h"
#include "io/xml/parse_error_text.h"
#include "io/xml/read_limits.h"
#include "io/xml/text_place.h"
#include "io/xml/white_space.h"
#include "io/xml/xml_scan.h"

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

// The text encoding of `b` when it is one with NUL bytes inside every
// character, which the parser cannot read: a byte-order mark, or the first
// characters each with zero bytes beside them. Else null.
const char* WideEncodingOf(const std::string& b) {
    if (b.size() < 4) {
        return nullptr;
    }
    const auto u = [&b](std::size_t i) { return static_cast<unsigned char>(b[i]); };
    // Two characters of four bytes, one of them not zero; a single one could
    // be a letter followed by the NUL bytes a crash leaves.
    const auto wide32 = [&u](std::size_t nonZero) {
        for (std::size_t i = 0; i < 8; ++i) {
            if ((u(i) != 0) != (i % 4 == nonZero))
                return false;
        }
        return true;
    };
    // UTF-32 first: its little-endian mark begins with UTF-16's.
    if ((u(0) == 0xFF && u(1) == 0xFE && u(2) == 0 && u(3) == 0) ||
        (u(0) == 0 && u(1) == 0 && u(2) == 0xFE && u(3) == 0xFF) ||
        (b.size() >= 8 && (wide32(0) || wide32(3)))) {
        return "UTF-32";
    }
    if ((u(0) == 0xFF && u(1) == 0xFE) || (u(0) == 0xFE && u(1) == 0xFF) ||
        (u(0) != 0 && u(1) == 0 && u(2) != 0 && u(3) == 0) ||
        (u(0) == 0 && u(1) != 0 && u(2) == 0 && u(3) != 0)) {
        return "UTF-16";
    }
    return nullptr;
}

// Why the parser swallowed the rest of the text, for a node left open.
const char* UnclosedReason(XmlUnclosed unclosed) {
    switch (unclosed) {
    case XmlUnclosed::kComment: return "a comment that is never closed";
    case XmlUnclosed::kCdata: return "a CDATA section that is never closed";
    case XmlUnclosed::kDeclaration: return "an XML declaration that is never closed";
    case XmlUnclosed::kOther: return "markup that is never closed";
    case XmlUnclosed::kNone: break;
    }
    return "";
}

// Marks `out` as read only in part, stopped at `reason` in that place.
void StopAt(LoadOutcome& out, std::string reason, std::pair<int, int> place) {
    out.stop = Failed(std::move(reason));
    std::tie(out.stop.line, out.stop.column) = place;
}

void StopAtMarker(LoadOutcome& out, std::pair<int, int> place) {
    StopAt(out, "conflict markers of an unfinished merge", place);
    out.conflicted = true;
}

// The node left open is the stop itself, not a comment to be dropped.
void DropFindingAt(ReadFindings& findings, int line, int column) {
    auto& list = findings.list;
    if (!list.empty() && list.back().line == line && list.back().column == column &&
        list.back().kind == FindingKind::kIgnored) {
        list.pop_back();
    }
}

// A refusal with the reason and, where known, the place.
LoadOutcome Unreadable(std::string reason, int line = 0, int column = 0) {
    LoadOutcome out;
    out.status = Failed(std::move(reason));
    out.found = LoadStatus::kUnreadable;
    out.status.line = line;
    out.status.column = column;
    return out;
}

}  // namespace

bool IsBlankText(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), IsPadding);
}

// The parser stops without an error at text between top-level elements and
// at a NUL byte, and lets a comment or CDATA section that is never closed
// swallow the rest of the file; each is reported as where reading stopped,
// so that the user learns of it and the first save keeps the file.
LoadOutcome ReadSplineText(const std::string& bytes, NoteSet& notes, ReadFindings* findings) {
    if (bytes.empty()) {
        return LoadOutcome{};
    }
    if (const char* wide = WideEncodingOf(bytes)) {
        return Unreadable(std::string("the file is ") + wide +
                          " text; Velmora reads UTF-8 or ISO-8859-1 text");
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
    const std::string_view fullText = normalised.empty() ? head : std::string_view(normalised);
    std::string_view text = fullText;
    LoadOutcome out;
    out.found = LoadStatus::kLoaded;
    if (IsBlankText(text)) {
        if (tailIsPadding) {
            return LoadOutcome{};
        }
        out.noNote = true;
        StopAt(out, "a NUL byte", PlaceOf(text, text.size()));
        return out;
    }
    const TiXmlEncoding encoding = ParserEncodingFor(text);
    const LimitCheck limits = CheckReadLimits(text, encoding);
    if (!limits.status.ok()) {
        return Unreadable(limits.status.reason, limits.status.line, limits.status.column);
    }
    // From a line of conflict markers on nothing is read: the top-level node
    // it lies in is dropped whole, so no half of a conflict passes as data.
    const bool conflicted = limits.scan.marker != std::string_view::npos;
    std::string beforeMarker;
    if (conflicted) {
        beforeMarker = text.substr(0, limits.scan.beforeMarker);
        text = beforeMarker;
        if (IsBlankText(text)) {
            out.noNote = true;
            StopAtMarker(out, PlaceOf(fullText, limits.scan.marker));
            return out;
        }
    }
    TiXmlDocument doc;
    // Columns count bytes, as PlaceOf does, tabs included.
    doc.SetTabSize(1);
    const GuardedParse parse = ParseWithAmpleStack(doc, text, encoding, limits.scan.depth);
    if (!parse.started) {
        return Unreadable("there is not enough memory to read the file");
    }
    if (doc.Error()) {
        if (doc.ErrorId() == TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY) {
            return Unreadable("it is not an XML document");
        }
        // ErrorRow/ErrorCol are 1-based, and 0 when the parser knew no place.
        return Unreadable(ParseErrorText(doc.ErrorId(), doc.ErrorDesc()), doc.ErrorRow(),
                          doc.ErrorCol());
    }
    const NoteWalk walk = WalkNotes(doc, notes, findings);
    out.noNote = walk.notesRead == 0;
    const std::size_t parsed =
        parse.stop == nullptr ? text.size() : static_cast<std::size_t>(parse.stop - text.data());
    const std::size_t stopOffset = std::min(parsed, text.size());
    if (conflicted) {
        StopAtMarker(out, PlaceOf(fullText, limits.scan.marker));
    } else if (walk.stoppedAt != nullptr) {
        StopAt(out, "a note without an \"Index\" attribute",
               {walk.stoppedAt->Row(), walk.stoppedAt->Column()});
    } else if (limits.scan.unclosed != XmlUnclosed::kNone) {
        StopAt(out, UnclosedReason(limits.scan.unclosed),
               PlaceOf(text, limits.scan.unclosedOffset));
        if (findings != nullptr) {
            DropFindingAt(*findings, out.Problem().line, out.Problem().column);
        }
    } else if (!IsBlankText(text.substr(stopOffset))) {
        StopAt(out, "text outside any element", PlaceOf(text, stopOffset));
    } else if (!tailIsPadding) {
        StopAt(out, "a NUL byte", PlaceOf(text, text.size()));
    }
    out.savedNodes = SavedNodeCount(notes);
    out.tooLargeToSave = out.savedNodes > kMaxReadNodes;
    return out;
}

}  // namespace velmora
