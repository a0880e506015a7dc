#pragma once

#include <vector>

#include "model/geometry.h"
#include "model/note_set.h"
#include "platform/canvas.h"

namespace velmora {

// What one scene is drawn from, all in client pixels; the point lists only
// refer to the editor's data.
struct SceneView {
    const std::vector<Point>& points;  // the working control points
    const std::vector<Point>& curve;   // the sampled curve
    ClientTargets stars;               // where the origin and target stars go
    int currentNote;                   // which target is highlighted
};

// Draws the white origin star, then the four target stars: the current
// note's yellow with size 10, the others green with size 8. A currentNote
// outside 0..3 highlights none.
void DrawTargets(Canvas& dc, const SceneView& view);

// Paints the whole scene, each step over the previous one: the light-grey
// background over `currentClient` (the client rectangle read now), the
// stars, one cross per control point (the first light blue with size 6,
// the rest red with size 4), and last the curve as one polyline with the
// canvas's current pen, when it holds more than one point. Leaves the
// canvas's pen as it found it.
void DrawScene(Canvas& dc, const Rect& currentClient, const SceneView& view);

}  // namespace velmora
