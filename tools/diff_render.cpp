#include "tools/diff_render.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "curve/rebuild_curve.h"
#include "model/note_set.h"
#include "render/colours.h"
#include "render/scene.h"
#include "tools/cli_io.h"
#include "tools/editor_view.h"
#include "tools/png_image.h"

namespace velmora::tool {

namespace {

constexpr Colour kOldCurveColour = MakeColour(255, 0, 255);

// Draws the curve of `old` only where `view` shows bare background, so the
// editor's own drawing stays on top of it.
void DrawOldCurveBeneath(Canvas& view, const Spline& old) {
    std::vector<Point> curve;
    RebuildCurve(old, curve);
    if (curve.size() < 2)
        return;
    Canvas ghost(view.Width(), view.Height());
    ghost.SelectPen(kOldCurveColour);
    ghost.Polyline(curve.data(), curve.size());
    for (int32_t y = 0; y < view.Height(); ++y) {
        for (int32_t x = 0; x < view.Width(); ++x) {
            if (ghost.PixelAt(x, y) == kOldCurveColour && view.PixelAt(x, y) == kBackgroundColour)
                view.FillRect(Rect{x, y, x + 1, y + 1}, kOldCurveColour);
        }
    }
}

// The editor's canvas of a note with no control points and no curve.
Canvas EmptyView(int note) {
    const std::vector<Point> none;
    Canvas canvas(kEditorClient.right, kEditorClient.bottom);
    DrawScene(canvas, kEditorClient,
              SceneView{none, none, MapTargets(kEditorClient, kDesignTargets), note});
    return canvas;
}

std::string Write(const Canvas& canvas, const std::string& path) {
    const std::string png = EncodePng(canvas);
    if (png.empty())
        return "could not encode the picture as PNG";
    return WriteOutput(path, png);
}

}  // namespace

std::string WriteDiffPictures(const std::vector<SplineChange>& changes, const NoteSet& oldNotes,
                              const NoteSet& newNotes, const std::string& dir) {
    if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST)
        return "could not create the folder \"" + Printable(dir) + "\": " + std::strerror(errno);
    for (const SplineChange& c : changes) {
        const std::string stem = dir + "/note" + std::to_string(c.note) + "-spline";
        const auto n = static_cast<std::size_t>(c.note);
        std::string error;
        if (c.kind == SplineChange::kRemoved) {
            Canvas canvas = EmptyView(c.note);
            DrawOldCurveBeneath(canvas, oldNotes[n][c.oldIndex]);
            error = Write(canvas, stem + std::to_string(c.oldIndex + 1) + "-removed.png");
        } else {
            Canvas canvas = DrawEditorView(newNotes, c.note, static_cast<int>(c.newIndex));
            if (c.kind == SplineChange::kChanged)
                DrawOldCurveBeneath(canvas, oldNotes[n][c.oldIndex]);
            error = Write(canvas, stem + std::to_string(c.newIndex + 1) + ".png");
        }
        if (!error.empty())
            return error;
    }
    return std::string();
}

}  // namespace velmora::tool
