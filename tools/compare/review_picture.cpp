#include "tools/compare/review_picture.h"

#include <vector>

#include "curve/rebuild_curve.h"
#include "render/colours.h"
#include "render/markers.h"

namespace velmora::tool {

namespace {

// No colour the editor uses: its top byte is set.
constexpr Colour kTransparent = 0xFF000000;

constexpr int kFontPixels = 13;
constexpr int32_t kMargin = 8;
constexpr int32_t kMarkWidth = 24;
constexpr Colour kBandColour = MakeColour(255, 255, 255);

}  // namespace

void DrawBeneath(Canvas& view, const std::function<void(Canvas&)>& draw) {
    Canvas layer(view.Width(), view.Height());
    layer.FillRect(Rect{0, 0, view.Width(), view.Height()}, kTransparent);
    draw(layer);
    for (int32_t y = 0; y < view.Height(); ++y) {
        for (int32_t x = 0; x < view.Width(); ++x) {
            const Colour c = layer.PixelAt(x, y);
            if (c != kTransparent && view.PixelAt(x, y) == kBackgroundColour)
                view.FillRect(Rect{x, y, x + 1, y + 1}, c);
        }
    }
}

void DrawSpline(Canvas& canvas, const Spline& points, Colour colour, bool crosses) {
    std::vector<Point> curve;
    RebuildCurve(points, curve);
    if (curve.size() >= 2) {
        const Colour pen = canvas.SelectPen(colour);
        canvas.Polyline(curve.data(), curve.size());
        canvas.SelectPen(pen);
    }
    if (crosses) {
        for (const Point p : points)
            DrawCross(p.x, p.y, colour, 3, canvas);
    }
}

Canvas WithWords(const Canvas& view, const PictureWords& words, TextPainter& text) {
    const int32_t line = text.Ok() ? text.LineHeight() : kFontPixels + 4;
    const auto count = static_cast<int32_t>(words.lines.size() + words.legend.size());
    Canvas picture(view.Width(), view.Height() + 2 * kMargin + count * line);
    for (int32_t y = 0; y < view.Height(); ++y) {
        for (int32_t x = 0; x < view.Width(); ++x)
            picture.FillRect(Rect{x, y, x + 1, y + 1}, view.PixelAt(x, y));
    }
    picture.FillRect(Rect{0, view.Height(), picture.Width(), picture.Height()}, kBandColour);
    int32_t top = view.Height() + kMargin;
    const int32_t ascent = text.Ok() ? text.Ascent() : kFontPixels;
    for (const std::string& sentence : words.lines) {
        text.Draw(picture, kMargin, top + ascent, sentence, kBlack);
        top += line;
    }
    for (const LegendEntry& entry : words.legend) {
        // Each mark on a patch of the canvas's grey, as it shows there.
        const int32_t middle = top + line / 2;
        picture.FillRect(Rect{kMargin - 2, top + 1, kMargin + kMarkWidth - 4, top + line - 1},
                         kBackgroundColour);
        if (entry.mark == LegendEntry::kLine) {
            picture.FillRect(Rect{kMargin, middle - 1, kMargin + kMarkWidth - 6, middle + 1},
                             entry.colour);
        } else {
            DrawCross(kMargin + kMarkWidth / 2 - 3, middle, entry.colour, 4, picture);
        }
        text.Draw(picture, kMargin + kMarkWidth, top + ascent, entry.text, kBlack);
        top += line;
    }
    return picture;
}

}  // namespace velmora::tool
