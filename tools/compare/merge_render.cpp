#include "tools/compare/merge_render.h"

#include "render/scene.h"
#include "tools/cli/cli_io.h"
#include "tools/cli/path_kind.h"
#include "tools/cli/verb_support.h"
#include "tools/compare/picture_font.h"
#include "tools/compare/review_picture.h"
#include "tools/export/png_image.h"

namespace velmora::tool {

namespace {

// "spline 2" or "splines 2-3", numbered from 1.
std::string Splines(std::size_t first, std::size_t count) {
    if (count == 1)
        return "spline " + std::to_string(first + 1);
    return "splines " + std::to_string(first + 1) + "-" + std::to_string(first + count);
}

// One side's version of a conflict: "ours: splines 2-3 of the merged file".
std::string Side(const char* side, std::size_t first, std::size_t count) {
    return std::string(side) + ": " + (count == 0 ? "removed them" : Splines(first, count)) +
           (count == 0 ? "" : " of the merged file");
}

Canvas ConflictPicture(const MergeConflict& c, const MergedNotes& merged, const NoteSet& base,
                       TextPainter& text) {
    const std::vector<Point> none;
    Canvas view(kEditorClient.right, kEditorClient.bottom);
    DrawScene(view, kEditorClient,
              SceneView{none, none, MapTargets(kEditorClient, kDesignTargets), c.note});
    const auto n = static_cast<std::size_t>(c.note);
    const SplineList& mergedNote = merged.notes[n];
    // Drawn in turn beneath what is there: ours over theirs over the base.
    DrawBeneath(view, [&](Canvas& layer) {
        for (std::size_t i = 0; i < c.oursCount; ++i)
            DrawSpline(layer, mergedNote[c.oursFirst + i], kOursColour, true);
    });
    DrawBeneath(view, [&](Canvas& layer) {
        for (std::size_t i = 0; i < c.theirsCount; ++i)
            DrawSpline(layer, mergedNote[c.theirsFirst + i], kTheirsColour, true);
    });
    DrawBeneath(view, [&](Canvas& layer) {
        for (std::size_t i = 0; i < c.baseCount; ++i)
            DrawSpline(layer, base[n][c.baseFirst + i], kBaseColour, false);
    });
    PictureWords words;
    words.lines = {"Note " + std::to_string(c.note) + ": a conflict of the merge, over " +
                   Splines(c.baseFirst, c.baseCount) + " of the base"};
    words.legend = {
        {LegendEntry::kLine, kOursColour, Side("ours", c.oursFirst, c.oursCount)},
        {LegendEntry::kLine, kTheirsColour, Side("theirs", c.theirsFirst, c.theirsCount)},
        {LegendEntry::kLine, kBaseColour, "the base's version, beneath both"}};
    return WithWords(view, words, text);
}

}  // namespace

std::string WriteMergePictures(const MergedNotes& merged, const NoteSet& base,
                               const std::string& dir) {
    if (merged.conflicts.empty())
        return std::string();
    if (std::string error = CreateFolder(dir); !error.empty())
        return error;
    TextPainter text = OpenPictureFont(13);
    if (!text.Ok())
        Failure("merge", PictureFontWarning());
    int note = -1;
    int count = 0;
    for (const MergeConflict& c : merged.conflicts) {
        count = c.note == note ? count + 1 : 1;
        note = c.note;
        const std::string png = EncodePng(ConflictPicture(c, merged, base, text));
        if (png.empty())
            return "could not encode the picture as PNG";
        const std::string error = WriteOutput(
            dir + "/note" + std::to_string(note) + "-conflict" + std::to_string(count) + ".png",
            png);
        if (!error.empty())
            return error;
    }
    return std::string();
}

}  // namespace velmora::tool
