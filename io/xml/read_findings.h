#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "model/geometry.h"

namespace velmora {

// Something the reader met on its walk over a file that the notes it
// returns do not show: what it passed over, read other than written, or
// repaired, and the doubtful points it took.
enum class FindingKind : uint8_t {
    kPassedOver,       // an element the walk does not read (subject: its name)
    kBadIndex,         // an Index that is no number or outside 0..3; the note is skipped
    kDuplicateIndex,   // a later note of the same Index replaces this one's splines
    kPointDropped,     // a point without a usable PosX or PosY (subject) ends its spline
    kMisnamed,         // read by its position as a `role` under another name (subject)
    kMisreadNumber,    // `text` (attribute `subject`) is read as the number `value`
    kNoSpline,         // a note with no spline; the editor gives it its default spline
    kShortSpline,      // a spline of `value` points, fewer than two
    kCoincidentPoint,  // a point equal to the one before it
    kOutsideFrame,     // a point (x, y) outside the RectSize read (or the default frame)
    kIgnored,          // a comment, text, markup or attribute (subject) the reader drops
};

// Where the walk was: what the node is read as, or inside.
enum class FindingRole : uint8_t { kTopLevel, kNote, kSpline, kPoint, kRectSize };

// The kind of node a finding is about.
enum class FindingNode : uint8_t { kElement, kAttribute, kComment, kText, kMarkup };

// One finding, with the place of the node it is about (1-based line and
// column; columns count bytes). Notes are numbered from 0, splines and
// points from 1, as the editor's caption numbers them; 0 where there is none.
struct ReadFinding {
    FindingKind kind = FindingKind::kIgnored;
    FindingRole role = FindingRole::kTopLevel;
    FindingNode node = FindingNode::kElement;
    int line = 0;
    int column = 0;
    int note = -1;
    int spline = 0;
    int point = 0;
    int32_t value = 0;  // kMisreadNumber: the number read; kShortSpline: the point count;
                        // kDuplicateIndex: the line of the note it replaces
    Point at{};         // kCoincidentPoint, kOutsideFrame: the point
    // Indices into ReadFindings::strings, 0 for none: the element's or
    // attribute's name, and for kBadIndex, kPointDropped and kMisreadNumber
    // the value as written.
    uint32_t subject = 0;
    uint32_t text = 0;
};

// What a reader asked for findings reports. `frame` is the rectangle points
// are judged against when the file names no RectSize; the reader replaces it
// with the file's RectSize where it reads one.
struct ReadFindings {
    Rect frame{};
    bool rectSizeRead = false;  // `frame` is the file's RectSize
    // The line of the element each note was last read from; 0 for a note the
    // walk never reached or the file does not name.
    std::array<int, 4> noteLines{};
    // In walk order; a deque, so a long list grows without being copied.
    std::deque<ReadFinding> list;
    // The names and values the findings quote; most findings quote none.
    std::vector<std::string> strings{std::string()};

    // Keeps `s` for a finding and returns its index; 0 for null or "".
    uint32_t Keep(const char* s) {
        if (s == nullptr || *s == '\0')
            return 0;
        strings.emplace_back(s);
        return static_cast<uint32_t>(strings.size() - 1);
    }
    const std::string& String(uint32_t index) const { return strings[index]; }
};

}  // namespace velmora
