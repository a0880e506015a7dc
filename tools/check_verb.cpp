
#include "tools/cli_io.h"
#include "tools/json_writer.h"
#include "tools/options.h"
#include "tools/spline_check.h"
#include "tools/verbs.h"

namespace velmora::tool {

namespace {

const char* const kCheckHelp =
    "Usage: velmora-tool check [--json] [FILE]\n"
    "\n"
    "Reads a spline file (FILE, or standard input without FILE or with \"-\") as\n"
    "the editor does and lists every problem, one per line as FILE:LINE:COLUMN:\n"
    "KIND: MESSAGE (the place is left out where it is not known). Kinds:\n"
    "  unreadable       the editor refuses the file (and why), also for a limit\n"
    "  bad-index        an Index that is no number or outside 0..3: note skipped\n"
    "  duplicate-index  a later note with the same Index replaces the earlier\n"
    "  walk-ended       a missing Index, or a missing or bad PosX/PosY, ends the\n"
    "                   reading early there\n"
    "  default-spline   a note without a spline gets its default spline\n"
    "  short-spline     a spline of fewer than two points: no curve\n"
    "  coincident-points, outside (outside RectSize), misnamed (read by position)\n"
    "  skipped          content the reader passes over\n"
    "  not-editor-form  a save would rewrite the file from this place\n"
    "\n"
    "  --json  print {\"file\", \"exact\", \"problems\": [{\"line\", \"column\", \"kind\",\n"
    "          \"message\"}]} instead\n"
    "\n"
    "Exit codes: 0 the file is byte for byte what the editor writes, 1 it is not\n"
    "(or cannot be read, or the output cannot be written), 2 bad usage.\n";

std::string AsText(const std::string& name, const CheckReport& report) {
    std::string out;
    for (const Problem& p : report.problems) {
        out += Printable(name);
        if (p.line > 0)
            out += ":" + std::to_string(p.line) + ":" + std::to_string(p.column);
        out += ": " + p.kind + ": " + Printable(p.message) + "\n";
    }
    return out;
}

// Messages and names are made Printable, so the document is plain ASCII
// whatever bytes the file holds.
std::string AsJson(const std::string& name, const CheckReport& report) {
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    writer.StartObject();
    writer.Key("file");
    writer.String(Printable(name).c_str());
    writer.Key("exact");
    writer.Bool(report.exact);
    writer.Key("problems");
    writer.StartArray();
    for (const Problem& p : report.problems) {
        writer.StartObject();
        writer.Key("line");
        writer.Int(p.line);
        writer.Key("column");
        writer.Int(p.column);
        writer.Key("kind");
        writer.String(p.kind.c_str());
        writer.Key("message");
        writer.String(Printable(p.message).c_str());
        writer.EndObject();
    }
    writer.EndArray();
    writer.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

}  // namespace

int RunCheckVerb(int argc, char** argv) {
    static const option kLong[] = {
        {"help", no_argument, nullptr, 'h'}, {"json", no_argument, nullptr, 'j'}, {}};
    bool help = false;
    bool json = false;
    const auto file = SingleFile(
        "check", ParseOptions("check", argc, argv, "h", kLong, [&](int option, const char*) {
            (option == 'h' ? help : json) = true;
            return true;
        }));
    if (!file)
        return 2;
    if (help)
        return Emit("check", "-", kCheckHelp);

    const Input input = ReadInput(*file);
    CheckReport report;
    if (input.ok) {
        report = CheckSplineText(input.bytes);
    } else {
        report.problems.push_back(Problem{0, 0, "unreadable", input.error});
    }
    const std::string name = input.name;
    const int written = Emit("check", "-", json ? AsJson(name, report) : AsText(name, report));
    return written != 0 || !report.exact ? 1 : 0;
}

}  // namespace velmora::tool
