#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

namespace velmora {

// The 1-based line and column of byte `offset` of `text`, as every message
// about a place in a spline file gives them. LF, CR LF and a lone CR each
// end a line, as for the parser; columns count bytes, tabs included.
inline std::pair<int, int> PlaceOf(std::string_view text, std::size_t offset) {
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    return {line, static_cast<int>(offset - lineStart) + 1};
}

}  // namespace velmora
