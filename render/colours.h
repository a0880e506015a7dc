#pragma once

#include <cstdint>

#include "platform/canvas.h"

namespace velmora {

// Colours are laid out 0x00BBGGRR.
constexpr Colour kBackgroundColour = 0x00C0C0C0;  // light grey

// How one kind of marker looks: its colour and its arm length in pixels.
struct MarkerStyle {
    Colour colour;
    int32_t size;
};

// Every marker of the scene.
constexpr MarkerStyle kOriginStar{0x00FFFFFF, 10};         // white
constexpr MarkerStyle kCurrentTargetStar{0x0000FFFF, 10};  // yellow: the note being edited
constexpr MarkerStyle kOtherTargetStar{0x0000FF00, 8};     // green
constexpr MarkerStyle kFirstCross{0x00FF8040, 6};          // light blue: the start of the curve
constexpr MarkerStyle kCross{0x000000FF, 4};               // red: every later control point
constexpr MarkerStyle kClickCross{0x000000FF, 4};          // red: feedback for a click

}  // namespace velmora
