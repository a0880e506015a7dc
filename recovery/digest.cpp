#include "recovery/digest.h"

#include <cstring>

namespace velmora {

namespace {

// One round of splitmix64's finaliser: a bijection, so two different words
// mixed into the same running value never give the same result.
uint64_t Mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

// Eight bytes a step: a record of a few megabytes is digested in about a
// millisecond.
uint64_t Digest64(std::string_view bytes) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ bytes.size();
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        h = Mix(h ^ word);
    }
    uint64_t tail = 0;
    if (i < bytes.size())
        std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
    return Mix(h ^ tail);
}

std::string Hex64(uint64_t value) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = kDigits[(value >> (60 - 4 * i)) & 0xF];
    return out;
}

}  // namespace velmora
