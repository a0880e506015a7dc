#pragma once

namespace velmora {

// White space in the C locale: what "%d" and the XML parser skip.
inline bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace velmora
