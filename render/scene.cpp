#include "render/scene.h"

#include "render/colours.h"
#include "render/markers.h"

namespace velmora {

void DrawTargets(Canvas& dc, const SceneView& view) {
    const Point origin = view.stars.origin;
    DrawStar(origin.x, origin.y, kOriginStar.colour, kOriginStar.size, dc);
    for (int i = 0; i < kNoteCount; ++i) {
        const bool current = i == view.currentNote;
        const Point target = view.stars.targets[i];
        const MarkerStyle& style = current ? kCurrentTargetStar : kOtherTargetStar;
        DrawStar(target.x, target.y, style.colour, style.size, dc);
    }
}

void DrawScene(Canvas& dc, const Rect& currentClient, const SceneView& view) {
    dc.FillRect(currentClient, kBackgroundColour);
    DrawTargets(dc, view);
    for (size_t i = 0; i < view.points.size(); ++i) {
        const Point p = view.points[i];
        if (i == 0) {
            DrawCross(p.x, p.y, kFirstCross.colour, kFirstCross.size, dc);
        } else {
            DrawCross(p.x, p.y, kCross.colour, kCross.size, dc);
        }
    }
    // The curve takes whatever pen the canvas holds: the markers have all
    // put theirs back.
    if (view.curve.size() > 1) {
        dc.Polyline(view.curve.data(), view.curve.size());
    }
}

}  // namespace velmora
