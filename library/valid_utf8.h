#pragma once

#include <string>
#include <string_view>

namespace velmora::detail {

// `text` with every byte that is not part of a well-formed UTF-8 sequence
// (a stray continuation byte, a truncated, overlong or surrogate sequence, or
// one beyond U+10FFFF) replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

}  // namespace velmora::detail
