#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/cli/path_kind.h"
#include "tools/cli/verb_support.h"
#include "tools/export/editor_view.h"
#include "tools/export/png_image.h"

namespace velmora::tool {

namespace {

const char* const kRenderHelp =
    "Usage: velmora-tool render [FILE] [--note N] [--spline S] -o OUT.png\n"
    "       velmora-tool render [FILE] [--note N] --all DIR\n"
    "       (either form also takes --allow-partial)\n"
    "\n"
    "Loads a spline file (FILE, or standard input without FILE or with \"-\") as\n"
    "the editor does and writes, as a 480 x 360 PNG, exactly what the editor's\n"
    "canvas shows with that note and spline current, as the first spline shown\n"
    "after start-up (a spline of fewer than two points has no curve).\n"
    "\n"
    "  -n, --note N      the note, counted from 0 as in the caption: 0..3\n"
    "                    (default 0)\n"
    "  -s, --spline S    the spline, counted from 1 as in the caption (default 1)\n"
    "  -o, --output OUT  the PNG file (\"-\": standard output); replaced only once\n"
    "                    the whole picture is written\n"
    "  -a, --all DIR     every spline (of note N only, with --note) into DIR, as\n"
    "                    DIR/note<N>-spline<S>.png, N from 0 and S from 1 as in\n"
    "                    the caption; DIR is created if missing\n"
    "  --allow-partial   draw a file read only in part (or not at all) as far as\n"
    "                    it was read, with a warning, instead of failing\n"
    "\n"
    "Exit codes: 0 success, 1 the file is missing, cannot be read, or was read\n"
    "only in part (nothing is written then), the spline does not exist, or a\n"
    "PNG cannot be written; 2 bad usage.\n";

int WritePng(const NoteSet& notes, int note, int spline, const std::string& path) {
    const std::string png = EncodePng(DrawEditorView(notes, note, spline));
    if (png.empty())
        return Failure("render", "could not encode the picture as PNG");
    return Emit("render", path, png);
}

int RenderAll(const NoteSet& notes, std::optional<int> onlyNote, const std::string& dir) {
    if (const std::string error = CreateFolder(dir); !error.empty())
        return Failure("render", error);
    for (int n = 0; n < kNoteCount; ++n) {
        if (onlyNote && *onlyNote != n)
            continue;
        const std::size_t count = notes[static_cast<std::size_t>(n)].size();
        for (std::size_t s = 0; s < count; ++s) {
            const std::string path =
                dir + "/note" + std::to_string(n) + "-spline" + std::to_string(s + 1) + ".png";
            if (WritePng(notes, n, static_cast<int>(s), path) != 0)
                return 1;
        }
    }
    return 0;
}

}  // namespace

const option kRenderLong[] = {
    {"note", required_argument, nullptr, 'n'},    {"spline", required_argument, nullptr, 's'},
    {"output", required_argument, nullptr, 'o'},  {"all", required_argument, nullptr, 'a'},
    {"allow-partial", no_argument, nullptr, 'p'}, {}};
const VerbOptions kRenderOptions{kRenderHelp, "n:s:o:a:", kRenderLong};

int RunRenderVerb(const Verb& verb, int argc, char** argv) {
    std::optional<int> note;
    std::optional<int> spline;
    std::optional<std::string> output;
    std::optional<std::string> all;
    bool allowPartial = false;
    const auto handle = [&](int option, const char* value) {
        switch (option) {
        case 'p': allowPartial = true; return true;
        case 'o': return ParsePathOption("render", "--output", value, output.emplace());
        case 'a': return ParsePathOption("render", "--all", value, all.emplace());
        case 'n':
            note = ParseNumberOption("render", "--note", value, 0, kNoteCount - 1);
            return note.has_value();
        default:
            spline = ParseNumberOption("render", "--spline", value, 1, 2147483647);
            return spline.has_value();
        }
    };
    const VerbArguments args = ParseVerb(verb, argc, argv, handle, Operands::kOneFile);
    if (args.done)
        return *args.done;
    const std::string& file = args.operands.front();
    if (output.has_value() == all.has_value()) {
        return UsageError("render", "give either -o OUT.png or --all DIR");
    }
    if (all && spline)
        return UsageError("render", "--spline and --all exclude each other");

    if (output && IsInputItself(file, *output))
        return UsageError("render", kOutputIsInput);
    const auto loaded = LoadForVerb("render", file, allowPartial);
    if (!loaded)
        return 1;
    if (all)
        return RenderAll(loaded->notes, note, *all);
    const int n = note.value_or(0);
    const int s = spline.value_or(1);
    const std::size_t count = loaded->notes[static_cast<std::size_t>(n)].size();
    if (static_cast<std::size_t>(s) > count) {
        const std::string name = file == "-" ? "standard input" : file;
        return Failure("render", "\"" + Printable(name) + "\": note " + std::to_string(n) +
                                     " has " + std::to_string(count) +
                                     " spline(s); there is no spline " + std::to_string(s));
    }
    return WritePng(loaded->notes, n, s - 1, *output);
}

}  // namespace velmora::tool
