#include <cstring>

#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/cli/verb_support.h"
#include "tools/export/export_formats.h"

namespace velmora::tool {

namespace {

const char* const kExportHelp =
    "Usage: velmora-tool export [FILE] [--format json|csv|svg] [--note N] [-o OUT]\n"
    "                           [--precise] [--allow-partial]\n"
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
    "  --precise         json only: each spline also gets \"precise\", the samples\n"
    "                    before truncation to whole pixels (each number reads back\n"
    "                    to the same double), and \"length\", the length of the\n"
    "                    path along them\n"
    "  --allow-partial   export a file read only in part (or not at all) as far\n"
    "                    as it was read, with a warning, instead of failing\n"
    "\n"
    "json: {\"format\": \"velmora-splines\", \"version\": 1, \"client\": {\"width\": 480,\n"
    "      \"height\": 360}, \"origin\": [x, y], \"targets\": [[x, y], ...], \"notes\":\n"
    "      [{\"index\": 0, \"splines\": [{\"points\": [[x, y], ...], \"curve\": [[x, y],\n"
    "      ...]}, ...]}, ...]}; \"curve\" is empty for a spline of fewer than two\n"
    "      points; \"targets\" holds notes 0..3 in order. The format is described\n"
    "      by velmora-splines.schema.json.\n"
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

const option kExportLong[] = {
    {"format", required_argument, nullptr, 'f'}, {"note", required_argument, nullptr, 'n'},
    {"output", required_argument, nullptr, 'o'}, {"allow-partial", no_argument, nullptr, 'p'},
    {"precise", no_argument, nullptr, 'P'},      {}};
const VerbOptions kExportOptions{kExportHelp, "f:n:o:", kExportLong};

int RunExportVerb(const Verb& verb, int argc, char** argv) {
    std::string format = "json";
    std::string output = "-";
    std::optional<int> note;
    bool allowPartial = false;
    bool precise = false;
    const auto handle = [&](int option, const char* value) {
        switch (option) {
        case 'p': allowPartial = true; return true;
        case 'P': precise = true; return true;
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
    const VerbArguments args = ParseVerb(verb, argc, argv, handle, Operands::kOneFile);
    if (args.done)
        return *args.done;
    const std::string& file = args.operands.front();

    if (IsInputItself(file, output))
        return UsageError("export", kOutputIsInput);
    if (precise && format != "json")
        return UsageError("export", "--precise needs --format json");
    const auto loaded = LoadForVerb("export", file, allowPartial);
    if (!loaded)
        return 1;
    const ExportScope scope{loaded->notes, note, precise};
    const auto write = format == "json" ? ExportJson : format == "csv" ? ExportCsv : ExportSvg;
    return Emit("export", output, [&](OutputStream& out) { write(scope, out); });
}

}  // namespace velmora::tool
