#include <cstring>

#include "tools/cli_io.h"
#include "tools/export_formats.h"
#include "tools/options.h"
#include "tools/verbs.h"

namespace velmora::tool {

namespace {

const char* const kExportHelp =
    "Usage: velmora-tool export [FILE] [--format json|csv|svg] [--note N] [-o OUT]\n"
    "\n"
    "Loads a spline file (FILE, or standard input without FILE or with \"-\") as\n"
    "the editor does, repairs included (a note without a spline gets its default\n"
    "spline in the 480 x 360 client), and writes every note's splines: control\n"
    "points and the exact curve samples the editor draws, in client pixels.\n"
    "\n"
    "  -f, --format FMT  json (the default), csv or svg\n"
    "  -n, --note N      only note N (0..3)\n"
    "  -o, --output OUT  write to OUT instead of standard output\n"
    "\n"
    "json: {\"format\": \"velmora-splines\", \"version\": 1, \"client\": {\"width\": 480,\n"
    "      \"height\": 360}, \"notes\": [{\"index\": 0, \"splines\": [{\"points\": [[x, y],\n"
    "      ...], \"curve\": [[x, y], ...]}, ...]}, ...]}; \"curve\" is empty for a\n"
    "      spline of fewer than two points.\n"
    "csv:  header note,spline,kind,index,x,y; kind is point or sample; note,\n"
    "      spline and index count from 0.\n"
    "svg:  one document; each note is a 480 x 360 picture (group \"note-N\"), the\n"
    "      pictures stacked from top to bottom; curves as polylines, control\n"
    "      points as crosses.\n"
    "\n"
    "Exit codes: 0 success, 1 the file cannot be read or the editor refuses it,\n"
    "or the output cannot be written; 2 bad usage.\n";

}  // namespace

int RunExportVerb(int argc, char** argv) {
    static const option kLong[] = {{"help", no_argument, nullptr, 'h'},
                                   {"format", required_argument, nullptr, 'f'},
                                   {"note", required_argument, nullptr, 'n'},
                                   {"output", required_argument, nullptr, 'o'},
                                   {}};
    bool help = false;
    std::string format = "json";
    std::string output;
    std::optional<int> note;
    const auto handle = [&](int option, const char* value) {
        switch (option) {
        case 'h': help = true; return true;
        case 'o': output = value; return true;
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

    const auto loaded = LoadForVerb("export", *file);
    if (!loaded)
        return 1;
    const ExportScope scope{loaded->notes, note};
    const std::string text = format == "json"  ? ExportJson(scope)
                             : format == "csv" ? ExportCsv(scope)
                                               : ExportSvg(scope);
    return Emit("export", output, text);
}

}  // namespace velmora::tool
