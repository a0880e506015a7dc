#include "tools/compare/diff_render.h"

#include <cstring>

#include "model/note_set.h"
#include "render/colours.h"
#include "render/scene.h"
#include "tools/cli/cli_io.h"
#include "tools/cli/output_stream.h"
#include "tools/cli/path_kind.h"
#include "tools/cli/verb_support.h"
#include "tools/compare/diff_format.h"
#include "tools/compare/picture_font.h"
#include "tools/compare/review_picture.h"
#include "tools/export/editor_view.h"
#include "tools/export/png_image.h"

namespace velmora::tool {

namespace {

// Lines of a spline's changes shown at most; more are counted.
constexpr std::size_t kMostChangeLines = 4;

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

std::string Points(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " point" : " points");
}

// What the stars are, as the editor draws them for `note`.
std::string Stars(int note) {
    return "Stars: the origin (white), note " + std::to_string(note) +
           "'s target (yellow), the others' (green).";
}

// What diff prints for `c`.
std::string PrintedText(const SplineChange& c, const NoteSet& oldNotes, const NoteSet& newNotes) {
    std::string text;
    OutputStream out(&text);
    DiffPrinter printer(out, false, oldNotes, newNotes);
    printer.Print(c);
    printer.Finish();
    out.Flush();
    return text;
}

// The lines diff prints for one changed spline, without their "note N
// spline S: " heads.
std::vector<std::string> ChangeLines(const SplineChange& c, const NoteSet& oldNotes,
                                     const NoteSet& newNotes) {
    const std::string text = PrintedText(c, oldNotes, newNotes);
    std::vector<std::string> lines;
    std::size_t total = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, end - at);
        if (++total <= kMostChangeLines) {
            const std::size_t head = line.find(": ");
            lines.push_back("  " + (head == std::string::npos ? line : line.substr(head + 2)));
        }
        at = end + 1;
    }
    if (total > kMostChangeLines)
        lines.push_back("  and " + std::to_string(total - kMostChangeLines) + " more");
    return lines;
}

// The note's splines but `skip` (none when out of range) in the light colour, beneath.
void DrawOthersBeneath(Canvas& view, const SplineList& splines, std::size_t skip) {
    DrawBeneath(view, [&](Canvas& layer) {
        for (std::size_t i = 0; i < splines.size(); ++i) {
            if (i != skip)
                DrawSpline(layer, splines[i], kOtherColour, false);
        }
    });
}

const LegendEntry kNowCrosses{LegendEntry::kCross, kCross.colour,
                              "its control points (the first light blue)"};

Canvas ChangedPicture(const SplineChange& c, const NoteSet& oldNotes, const NoteSet& newNotes,
                      TextPainter& text) {
    const Spline& old = oldNotes[static_cast<std::size_t>(c.note)][c.oldIndex];
    Canvas view = DrawEditorView(newNotes, c.note, static_cast<int>(c.newIndex));
    DrawBeneath(view, [&](Canvas& layer) { DrawSpline(layer, old, kOldColour, true); });
    PictureWords words;
    words.lines.push_back("Note " + std::to_string(c.note) + ", spline " +
                          std::to_string(c.newIndex + 1) + ": changed" +
                          (c.oldIndex == c.newIndex
                               ? ""
                               : " (spline " + std::to_string(c.oldIndex + 1) + " before)"));
    for (const std::string& line : ChangeLines(c, oldNotes, newNotes))
        words.lines.push_back(line);
    words.legend = {{LegendEntry::kLine, kBlack, "the curve now, as the editor draws it"},
                    kNowCrosses,
                    {LegendEntry::kLine, kOldColour, "the curve before"},
                    {LegendEntry::kCross, kOldColour, "its control points before"}};
    words.lines.push_back(Stars(c.note));
    return WithWords(view, words, text);
}

Canvas AddedPicture(const SplineChange& c, const NoteSet& newNotes, TextPainter& text) {
    const SplineList& splines = newNotes[static_cast<std::size_t>(c.note)];
    Canvas view = DrawEditorView(newNotes, c.note, static_cast<int>(c.newIndex));
    DrawOthersBeneath(view, splines, c.newIndex);
    PictureWords words;
    words.lines = {"Note " + std::to_string(c.note) + ", spline " + std::to_string(c.newIndex + 1) +
                       ": added (" + Points(splines[c.newIndex].size()) + ")",
                   Stars(c.note)};
    words.legend = {{LegendEntry::kLine, kBlack, "the added curve, as the editor draws it"},
                    kNowCrosses,
                    {LegendEntry::kLine, kOtherColour, "the note's other splines"}};
    return WithWords(view, words, text);
}

Canvas RemovedPicture(const SplineChange& c, const NoteSet& oldNotes, const NoteSet& newNotes,
                      TextPainter& text) {
    const auto n = static_cast<std::size_t>(c.note);
    const Spline& old = oldNotes[n][c.oldIndex];
    Canvas view = EmptyView(c.note);
    DrawBeneath(view, [&](Canvas& layer) { DrawSpline(layer, old, kOldColour, true); });
    DrawOthersBeneath(view, newNotes[n], newNotes[n].size());
    PictureWords words;
    words.lines = {"Note " + std::to_string(c.note) + ", spline " + std::to_string(c.oldIndex + 1) +
                       " of the old file: removed (" + Points(old.size()) + ")",
                   Stars(c.note)};
    words.legend = {{LegendEntry::kLine, kOldColour, "the removed curve"},
                    {LegendEntry::kCross, kOldColour, "its control points"},
                    {LegendEntry::kLine, kOtherColour, "the note's splines now"}};
    return WithWords(view, words, text);
}

}  // namespace

std::string WriteDiffPictures(const std::vector<SplineChange>& changes, const NoteSet& oldNotes,
                              const NoteSet& newNotes, const std::string& dir) {
    if (std::string error = CreateFolder(dir); !error.empty())
        return error;
    TextPainter text = OpenPictureFont(13);
    if (!changes.empty() && !text.Ok())
        Failure("diff", PictureFontWarning());
    for (const SplineChange& c : changes) {
        const std::string stem = dir + "/note" + std::to_string(c.note) + "-spline";
        std::string error;
        if (c.kind == SplineChange::kRemoved) {
            error = Write(RemovedPicture(c, oldNotes, newNotes, text),
                          stem + std::to_string(c.oldIndex + 1) + "-removed.png");
        } else {
            const Canvas picture = c.kind == SplineChange::kChanged
                                       ? ChangedPicture(c, oldNotes, newNotes, text)
                                       : AddedPicture(c, newNotes, text);
            error = Write(picture, stem + std::to_string(c.newIndex + 1) + ".png");
        }
        if (!error.empty())
            return error;
    }
    return std::string();
}

}  // namespace velmora::tool
