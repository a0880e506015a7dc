// The editor's canvas for the JavaScript module: velmora-tool render's own
// drawing, handed over as the RGBA bytes a browser's ImageData holds.
#include <cstddef>
#include <cstdint>

#include "library/c_points.h"
#include "model/note_set.h"
#include "tools/export/editor_view.h"

extern "C" {

// The canvas's size: the editor's client area.
int32_t velmora_web_scene_width() { return velmora::kEditorClient.right; }
int32_t velmora_web_scene_height() { return velmora::kEditorClient.bottom; }

// Draws the editor's canvas with the `point_count` points (x,y pairs) as the
// current spline of `note` into `rgba`: width * height pixels of four bytes,
// red, green, blue and 255, row by row from the top. Returns 0, or -1 (and
// writes nothing) for a note outside 0..3 or a NULL buffer.
int velmora_web_render_scene(const int32_t* points_xy, size_t point_count, int note,
                             uint8_t* rgba) {
    if (note < 0 || note >= velmora::kNoteCount || rgba == nullptr ||
        (points_xy == nullptr && point_count > 0))
        return -1;
    velmora::NoteSet notes;
    notes[static_cast<size_t>(note)].push_back(
        velmora::detail::PointsFromPairs(points_xy, point_count));
    const velmora::Canvas canvas = velmora::tool::DrawEditorView(notes, note, 0);
    for (const velmora::Colour colour : canvas.Pixels()) {
        *rgba++ = static_cast<uint8_t>(colour);
        *rgba++ = static_cast<uint8_t>(colour >> 8);
        *rgba++ = static_cast<uint8_t>(colour >> 16);
        *rgba++ = 255;
    }
    return 0;
}

}  // extern "C"
