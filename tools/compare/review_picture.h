#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/note_set.h"
#include "platform/canvas.h"
#include "tools/compare/text_painter.h"

namespace velmora::tool {

// Colours a review picture adds to the editor's own.
constexpr Colour kOldColour = MakeColour(255, 0, 255);      // magenta: what was there before
constexpr Colour kOtherColour = MakeColour(232, 232, 232);  // near white: the note's other splines
constexpr Colour kBaseColour = MakeColour(112, 112, 112);   // grey: the base of a merge
constexpr Colour kOursColour = MakeColour(0, 64, 224);      // blue: ours in a merge
constexpr Colour kTheirsColour = MakeColour(224, 112, 0);   // orange: theirs in a merge

// One line of the legend under a picture: a mark of `colour`, then `text`.
struct LegendEntry {
    enum Mark { kLine, kCross } mark;
    Colour colour;
    std::string text;
};

// What the band under the canvas says: lines of text, then the legend.
struct PictureWords {
    std::vector<std::string> lines;
    std::vector<LegendEntry> legend;
};

// Lets `draw` paint on a transparent layer and copies what it painted onto
// `view` only where `view` shows the bare background: the editor's own
// drawing stays on top, pixel for pixel.
void DrawBeneath(Canvas& view, const std::function<void(Canvas&)>& draw);

// The curve the editor draws through `points`, in `colour`, with a small
// cross of that colour on every control point when `crosses`.
void DrawSpline(Canvas& canvas, const Spline& points, Colour colour, bool crosses);

// `view` at the top left of a picture as wide, with a white band below it
// that holds `words` (a legend mark starts each legend line). Without the
// font the band holds the marks alone.
Canvas WithWords(const Canvas& view, const PictureWords& words, TextPainter& text);

}  // namespace velmora::tool
