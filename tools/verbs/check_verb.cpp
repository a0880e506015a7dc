// velmora-tool check: the reader's own findings on a file, one line each.
#include "tools/check/spline_check.h"
#include "tools/cli/cli_io.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/options.h"
#include "tools/cli/verb_support.h"

namespace velmora::tool {

namespace {

const char* const kCheckHelp =
    "Usage: velmora-tool check [--json] [--strict] [FILE]\n"
    "\n"
    "Reads a spline file (FILE, or standard input without FILE or with \"-\") as\n"
    "the editor does and prints every problem the reader meets, one per line:\n"
    "  FILE:LINE:COLUMN: SEVERITY: MESSAGE [KIND]\n"
    "(FILE: SEVERITY: MESSAGE [KIND] where there is no place). Notes are numbered\n"
    "from 0, splines and points from 1, as in the editor's caption. SEVERITY is\n"
    "  error    spline data the editor does not use or cannot read: unreadable,\n"
    "           partial (read only in part), conflict-markers (of a text\n"
    "           merge never finished), no-note (text, but not one note),\n"
    "           passed-over, bad-index, duplicate-index, dropped-points\n"
    "  warning  a number read other than written (misread-number), misnamed,\n"
    "           coincident-points, short-spline, too-large-to-save\n"
    "  note     outside (RectSize), ignored (dropped by the next save),\n"
    "           default-spline, not-read, not-editor-form (what differs)\n"
    "\n"
    "  --json    print {\"file\", \"exact\", \"problems\": [{\"line\", \"column\",\n"
    "            \"severity\", \"kind\", \"message\"}]} instead\n"
    "  --strict  fail on warnings and notes too\n"
    "\n"
    "A file the editor wrote, and a zero-byte or blank file, give no line.\n"
    "Exit codes: 0 no error (with --strict: no problem at all), 1 an error (or\n"
    "with --strict any problem, or the output cannot be written), 2 bad usage.\n";

// Output is handed on in pieces of about this size, so a file with a
// problem on every line is never held twice.
constexpr std::size_t kChunk = std::size_t{1} << 20;

// Collects output and writes it to standard output a piece at a time.
class Output {
public:
    // Writes `text` once enough has gathered (or `now`); false once a write failed.
    bool Add(const std::string& text, bool now = false) {
        m_pending += text;
        return Flush(now);
    }
    bool Flush(bool now = true) {
        if (m_failed || (!now && m_pending.size() < kChunk))
            return !m_failed;
        m_failed = Emit("check", "-", m_pending) != 0;
        m_pending.clear();
        return !m_failed;
    }

private:
    std::string m_pending;
    bool m_failed = false;
};

bool PrintText(const std::string& name, const CheckReport& report) {
    Output out;
    const std::string file = Printable(name);
    bool ok = true;
    report.ForEach([&](const Problem& p) {
        std::string line = file;
        if (p.line > 0)
            line += ":" + std::to_string(p.line) + ":" + std::to_string(p.column);
        line += std::string(": ") + SeverityName(p.severity) + ": " + Printable(p.message) + " [" +
                p.kind + "]\n";
        ok = out.Add(line);
        return ok;
    });
    return ok && out.Flush();
}

// Messages and names are made Printable, so the document is plain ASCII
// whatever bytes the file holds.
bool PrintJson(const std::string& name, const CheckReport& report) {
    Output out;
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    // Hands on what the writer has produced so far.
    const auto drain = [&](bool now) {
        const bool ok = out.Add(std::string(buffer.GetString(), buffer.GetSize()), now);
        buffer.Clear();
        return ok;
    };
    writer.StartObject();
    writer.Key("file");
    writer.String(Printable(name).c_str());
    writer.Key("exact");
    writer.Bool(report.Exact());
    writer.Key("problems");
    writer.StartArray();
    bool ok = true;
    report.ForEach([&](const Problem& p) {
        writer.StartObject();
        writer.Key("line");
        writer.Int(p.line);
        writer.Key("column");
        writer.Int(p.column);
        writer.Key("severity");
        writer.String(SeverityName(p.severity));
        writer.Key("kind");
        writer.String(p.kind);
        writer.Key("message");
        writer.String(Printable(p.message).c_str());
        writer.EndObject();
        ok = drain(false);
        return ok;
    });
    writer.EndArray();
    writer.EndObject();
    buffer.Put('\n');
    return ok && drain(true);
}

}  // namespace

const option kCheckLong[] = {
    {"json", no_argument, nullptr, 'j'}, {"strict", no_argument, nullptr, 's'}, {}};
const VerbOptions kCheckOptions{kCheckHelp, "", kCheckLong};

int RunCheckVerb(const Verb& verb, int argc, char** argv) {
    bool json = false;
    bool strict = false;
    const auto handle = [&](int option, const char*) {
        (option == 'j' ? json : strict) = true;
        return true;
    };
    const VerbArguments args = ParseVerb(verb, argc, argv, handle, Operands::kOneFile);
    if (args.done)
        return *args.done;

    // A pipe or process substitution (<(git show HEAD:Splines.xml)) is read
    // to its end, under the same size limit as a file.
    const Input input = ReadInput(args.operands.front());
    const CheckReport report =
        input.ok ? CheckReport(input.bytes) : CheckReport::Unreadable(input.error);
    const bool written = json ? PrintJson(input.name, report) : PrintText(input.name, report);
    const bool fails = report.HasErrors() || (strict && !report.Empty());
    return !written || fails ? 1 : 0;
}

}  // namespace velmora::tool
