#pragma once

#include "platform/canvas.h"

namespace velmora {

// The colours of the scene, laid out 0x00BBGGRR.
constexpr Colour kBackgroundColour = 0x00C0C0C0;     // light grey
constexpr Colour kOriginStarColour = 0x00FFFFFF;     // white
constexpr Colour kCurrentTargetColour = 0x0000FFFF;  // yellow: the note being edited
constexpr Colour kOtherTargetColour = 0x0000FF00;    // green
constexpr Colour kFirstCrossColour = 0x00FF8040;     // light blue: the start of the curve
constexpr Colour kCrossColour = 0x000000FF;          // red: every later control point
constexpr Colour kClickCrossColour = 0x000000FF;     // red: feedback for a click

}  // namespace velmora
