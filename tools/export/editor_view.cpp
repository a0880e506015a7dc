#include "tools/export/editor_view.h"

#include <vector>

#include "curve/rebuild_curve.h"
#include "model/note_set.h"
#include "render/scene.h"

namespace velmora::tool {

Canvas DrawEditorView(const NoteSet& notes, int note, int spline) {
    const Spline& points = notes[static_cast<std::size_t>(note)][static_cast<std::size_t>(spline)];
    std::vector<Point> curve;
    RebuildCurve(points, curve);
    Canvas canvas(kEditorClient.right, kEditorClient.bottom);
    const SceneView view{points, curve, MapTargets(kEditorClient, kDesignTargets), note};
    DrawScene(canvas, kEditorClient, view);
    return canvas;
}

}  // namespace velmora::tool
