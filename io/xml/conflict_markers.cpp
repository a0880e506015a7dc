#include "io/xml/conflict_markers.h"

#include <cstring>

namespace velmora {

namespace {

constexpr std::size_t kMarkerSize = 7;

}  // namespace

bool MarkerLines::IsMarker(std::size_t start) {
    const std::string_view rest = m_text.substr(start);
    if (rest.size() < kMarkerSize)
        return false;
    const char c = rest[0];
    if (c != '<' && c != '>' && c != '|' && c != '=')
        return false;
    if (rest.substr(0, kMarkerSize).find_first_not_of(c) != std::string_view::npos)
        return false;
    if (c == '=') {
        return m_opened && (rest.size() == kMarkerSize || rest[kMarkerSize] == '\n');
    }
    if (rest.size() == kMarkerSize || rest[kMarkerSize] != ' ')
        return false;
    m_opened = m_opened || c == '<';
    return true;
}

// Most files have no marker: each line costs one look at its first byte.
std::size_t MarkerLines::NextFrom(std::size_t from) {
    if (m_found != kNone && m_found >= from)
        return m_found;
    m_found = kNone;
    const std::size_t size = m_text.size();
    while (m_line < size) {
        const std::size_t start = m_line;
        const void* end = std::memchr(m_text.data() + start, '\n', size - start);
        m_line = end == nullptr
                     ? size
                     : static_cast<std::size_t>(static_cast<const char*>(end) - m_text.data()) + 1;
        if (IsMarker(start) && start >= from) {
            m_found = start;
            return start;
        }
    }
    return kNone;
}

}  // namespace velmora
