#include <cstring>

#include "tools/cli_io.h"
#include "tools/export_formats.h"
#include "tools/options.h"
#include "tools/verbs.h"

namespace velmora::tool {

namespace {

const char* const kExportHelp =
    "Usage: velmora-tool export [FILE] [--format json|csv|svg] [--note N] [-o OUT]\n"
    "                           [--allow-partial]\n"
    "\n"
    "Loads a spline file (FILE, or standard input without FILE or with \"-\") as\n"
    "the editor does, repairs included (a note without a spline gets its default\n"
    "spline in the 480 x 360 client), and writes every note's splines: control\n"
    "points and the exact curve samples the editor draws, in client pixels.\n"
    "\n"
    "  -f, --format FMT  json (the default), csv or svg\n"
    "  -n, --note N      only note N (0..3)\n"
    "  -o, --output OUT  write to OUT instead of standard output; OUT is replaced\n"
    "                    only once the whole output is written\n"
    "  --allow-partial   export a file read only in part (or not at all) as far\n"
    "                    as it was read, with a warning, instead of failing\n"
    "\n"
    "json: {\"format\": \"velmora-splines\", \"version\": 1, \"client\": {\"width\": 480,\n"
    "      \"height\": 360}, \"notes\": [{\"index\": 0, \"splines\": [{\"points\": [[x, y],\n"
    "      ...], \"curve\": [[x, y], ...]}, ...]}, ...]}; \"curve\" is empty for a\n"
    "      spline of fewer than two points.\n"
    "csv:  header note,spline,kind,index,x,y; kind is point or sample; counted\n"
    "      as in the editor's caption: note from 0, spline and index from 1.\n"
    "svg:  one document; each note is a 480 x 360 picture (group \"note-N\"), the\n"
    "      pictures stacked from top to bottom; curves as polylines, control\n"
    "      points as crosses.\n"
    "\n"
    "Exit codes: 0 success, 1 the file is missing, cannot be read, or was read\n"
    "only in part (nothing is written then), or the output cannot be written;\n"
    "2 bad usage.\n";

}  // namespace

int RunExportVerb(int argc, char** argv) {
    static const option kLong[] = {
        {"help", no_argument, nullptr, 'h'},          {"format", required_argument, nullptr, 'f'},
        {"note", required_argument, nullptr, 'n'},    {"output", required_argument, nullptr, 'o'},
        {"allow-partial", no_argument, nullptr, 'p'}, {}};
    bool help = false;
    std::string format = "json";
    std::string output = "-";
    std::optional<int> note;
    bool allowPartial = false;
    const auto handle = [&](int option, const char* value) {
        switch (option) {
        case 'h': help = true; return true;
        case 'p': allowPartial = true; return true;
        case 'o': return ParsePathOption("export", "--output", value, output);
        case 'n':
            note = ParseNumberOption("export", "--note", value, 0, kNoteCount - 1);
            return note.has_value();
        default:
            format = value;
            if (format == "json" || format == "csv" || format == "svg")
                return true;
            UsageError("export", "unknown format '" + Printable(format) + "' (json, csv or svg)");
            return false;
        }
    };
    const auto file =
        SingleFile("export", ParseOptions("export", argc, argv, "hf:n:o:", kLong, handle));
    if (!file)
        return 2;
    if (help)
        return Emit("export", "-", kExportHelp);

    if (IsInputItself(*file, output))
        return UsageError("export", kOutputIsInput);
    const auto loaded = LoadForVerb("export", *file, allowPartial);
    if (!loaded)
        return 1;
    const ExportScope scope{loaded->notes, note};
    const auto write = format == "json" ? ExportJson : format == "csv" ? ExportCsv : ExportSvg;
    return Emit("export", output, [&](OutputStream& out) { write(scope, out); });
}

}  // namespace velmora::tool
