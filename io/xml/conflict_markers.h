#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// Finds, in a text with LF line ends, the lines that git's text merge writes
// around a conflict: a line beginning with "<<<<<<< ", "||||||| " (the diff3
// style's base) or ">>>>>>> ", and a line that is exactly "=======" once a
// "<<<<<<< " line came before it. Whether such a line is data or sits in a
// comment or a quoted value is for the caller to judge.
class MarkerLines {
public:
    static constexpr std::size_t kNone = std::string::npos;

    explicit MarkerLines(std::string_view text) : m_text(text) {}

    // The offset of the first marker line that starts at or after `from`, or
    // kNone. Calls must not go back: `from` never below an earlier one.
    std::size_t NextFrom(std::size_t from);

private:
    // Whether the line starting at `start` is a marker line.
    bool IsMarker(std::size_t start);

    std::string_view m_text;
    std::size_t m_line = 0;  // the start of the next line not yet looked at
    std::size_t m_found = kNone;
    bool m_opened = false;  // a "<<<<<<< " line was seen
};

}  // namespace velmora
