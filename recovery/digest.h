#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// A 64-bit digest of `bytes`, for telling versions apart (a record cut short
// or overwritten, a spline file changed on disk, one work folder from
// another); not for security. Any change of a single 8-byte word, and any
// change of length, always changes it.
uint64_t Digest64(std::string_view bytes);

// `value` as 16 lower-case hexadecimal digits.
std::string Hex64(uint64_t value);

}  // namespace velmora
