#pragma once

#include <set>
#include <utility>

#include "platform/canvas.h"

namespace velmora {
namespace test {

// Pixels as (x, y) pairs; std::set keeps them ordered for comparison.
using PixelSet = std::set<std::pair<int32_t, int32_t>>;

// Every pixel of `canvas` holding `colour`.
inline PixelSet PixelsOf(const Canvas& canvas, Colour colour) {
    PixelSet found;
    for (int32_t y = 0; y < canvas.Height(); ++y) {
        for (int32_t x = 0; x < canvas.Width(); ++x) {
            if (canvas.PixelAt(x, y) == colour) {
                found.insert({x, y});
            }
        }
    }
    return found;
}

// The pixels a plus-shaped cross of arm a at (x, y) should cover: the end
// pixel of each arm (right, lower) left out.
inline PixelSet CrossShape(int32_t x, int32_t y, int32_t a) {
    PixelSet s;
    for (int32_t i = -a; i < a; ++i) {
        s.insert({x + i, y});
        s.insert({x, y + i});
    }
    return s;
}

// The pixels of a star of arm c centred on the client point (x, y).
inline PixelSet StarShape(int32_t x, int32_t y, int32_t c) {
    PixelSet s = CrossShape(x, y, c);
    const int32_t d = (3 * c) / 4;
    for (int32_t i = 0; i < 2 * d; ++i) {
        s.insert({x - d + i, y - d + i});
        s.insert({x + d - i, y - d + i});
    }
    return s;
}

inline PixelSet Union(PixelSet a, const PixelSet& b) {
    a.insert(b.begin(), b.end());
    return a;
}

}  // namespace test
}  // namespace velmora
