#pragma once

#include <cstdint>

// Point is the one of the installed library, so that the editor and game code
// share the type (client pixels, or design units where a caller says so).
#include "velmora/point.h"

namespace velmora {

// A rectangle as left, top, right, bottom; right and bottom are exclusive.
// The client rectangle has left = top = 0, so right is the width and bottom
// the height.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace velmora
