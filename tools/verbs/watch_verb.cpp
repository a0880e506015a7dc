#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <variant>

#include "io/disk/file_watch.h"
#include "io/disk/safe_write.h"
#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/cli/verb_support.h"
#include "tools/export/export_formats.h"
#include "tools/process/process.h"

namespace velmora::tool {

namespace {

// The shell --exec runs its command with.
#ifdef _WIN32
#define VELMORA_WATCH_SHELL "cmd.exe /c"
#else
#define VELMORA_WATCH_SHELL "/bin/sh -c"
#endif

const char* const kWatchHelp =
    "Usage: velmora-tool watch FILE [--format json|csv|svg] -o OUT [--exec CMD]\n"
    "\n"
    "Exports FILE to OUT as \"velmora-tool export FILE -o OUT\" does, at start and\n"
    "again after every change of FILE's content: the editor's save, a program\n"
    "that rewrote it in place (once it has closed it), a delete and re-creation,\n"
    "a symbolic link re-pointed or its target replaced. The same bytes written\n"
    "again are no change. OUT is replaced whole, never seen half written. While\n"
    "FILE is missing, cannot be read or is read only in part, OUT keeps the last\n"
    "good export and standard error says why.\n"
    "\n"
    "  -f, --format FMT  json (the default), csv or svg\n"
    "  -o, --output OUT  the file to export to\n"
    "  -x, --exec CMD    after each export, run CMD through " VELMORA_WATCH_SHELL
    " and wait\n"
    "                    for it\n"
    "\n"
    "Each export is told by one line on standard error, with the time. A version\n"
    "that a program still holds open for writing is not exported until it lets\n"
    "go. When a folder on the way to FILE is replaced (a link to it re-pointed,\n"
    "the folder renamed and made anew), the watch follows; when FILE's folder is\n"
    "gone, it says so once and picks FILE up when it is back. SIGINT (Ctrl-C) or\n"
    "SIGTERM stops the watch, also while CMD runs: CMD's processes get the same\n"
    "signal, and are killed if they have not ended a second later.\n"
    "\n"
    "Exit codes: 0 stopped by SIGINT or SIGTERM; 1 FILE cannot be watched (its\n"
    "folder is missing, say); 2 bad usage.\n";

struct WatchOptions {
    std::string file;
    std::string format = "json";
    std::string output;
    std::optional<std::string> exec;
};

// "velmora-tool watch: [2026-12-07 14:03:22.125] MESSAGE" on standard error.
void Tell(const std::string& message) {
    using Clock = std::chrono::system_clock;
    const Clock::time_point now = Clock::now();
    const std::time_t seconds = Clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::tm local = LocalTime(seconds);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(stderr, "velmora-tool watch: [%s.%03ld] %s\n", stamp, static_cast<long>(ms % 1000),
                 message.c_str());
}

// The exports of one watch. It remembers the bytes of FILE that OUT holds the
// export of, so that a file deleted and written again as it was is no change.
class Exporter {
public:
    Exporter(const WatchOptions& options, const StopSignals& stop)
        : m_options(options), m_stop(stop), m_out("\"" + Printable(options.output) + "\"") {}

    // Whether a stop signal arrived while the command ran.
    bool Stopped() const { return m_stopSignal != 0; }

    // Exports FILE as it is now, if its content is new and the editor would
    // show all of it, and runs the command after an export.
    void Run() {
        const Input input = ReadInput(m_options.file);
        if (!input.ok)
            return Keep(Printable(input.error));
        if (m_exported && *m_exported == input.bytes)
            return;
        // Refused as export refuses it, which says why.
        const LoadedNotes loaded = LoadLikeEditor(input.bytes, kEditorClient);
        if (!AcceptLoad("watch", input.name, loaded.outcome, false))
            return Keep("not exported");
        const ExportScope scope{loaded.notes, std::nullopt};
        const auto write = m_options.format == "json"  ? ExportJson
                           : m_options.format == "csv" ? ExportCsv
                                                       : ExportSvg;
        const std::string error =
            WriteOutput(m_options.output, [&](OutputStream& out) { write(scope, out); });
        if (!error.empty())
            return Keep(error);
        m_exported = input.bytes;
        Tell("exported \"" + Printable(m_options.file) + "\" to " + m_out);
        if (m_options.exec)
            RunCommand();
    }

private:
    void Keep(const std::string& why) { Tell(why + "; " + m_out + " keeps the last export"); }

    void RunCommand() {
        const ChildExit exit = RunShell(*m_options.exec, m_stop, m_stopSignal);
        if (Stopped())
            return;
        if (!exit.started)
            Tell(exit.error);
        else if (exit.exitCode > 0)
            Tell("the command exited with status " + std::to_string(exit.exitCode));
        else if (exit.signal != 0)
            Tell("the command was ended by signal " + std::to_string(exit.signal));
    }

    const WatchOptions& m_options;
    const StopSignals& m_stop;
    int m_stopSignal = 0;
    const std::string m_out;
    std::optional<std::string> m_exported;
};

// The watch's options, or the exit code when the verb has nothing more to do.
std::variant<WatchOptions, int> ParseWatch(const Verb& verb, int argc, char** argv) {
    WatchOptions options;
    const auto handle = [&](int option, const char* value) {
        switch (option) {
        case 'o': options.output = value; return true;
        case 'x': options.exec = value; return true;
        default:
            options.format = value;
            if (options.format == "json" || options.format == "csv" || options.format == "svg")
                return true;
            UsageError("watch",
                       "unknown format '" + Printable(options.format) + "' (json, csv or svg)");
            return false;
        }
    };
    const VerbArguments args = ParseVerb(verb, argc, argv, handle, Operands::kOneFile);
    if (args.done)
        return *args.done;
    const std::string& file = args.operands.front();
    // Standard input cannot change, and standard output cannot be replaced.
    if (file.empty() || file == "-")
        return UsageError("watch", "FILE is needed: the spline file to watch");
    if (options.output.empty() || options.output == "-")
        return UsageError("watch", "-o OUT is needed: the file to export to");
    if (IsInputItself(file, options.output))
        return UsageError("watch", kOutputIsInput);
    options.file = file;
    return options;
}

}  // namespace

const option kWatchLong[] = {{"format", required_argument, nullptr, 'f'},
                             {"output", required_argument, nullptr, 'o'},
                             {"exec", required_argument, nullptr, 'x'},
                             {}};
const VerbOptions kWatchOptions{kWatchHelp, "f:o:x:", kWatchLong};

int RunWatchVerb(const Verb& verb, int argc, char** argv) {
    const std::variant<WatchOptions, int> parsed = ParseWatch(verb, argc, argv);
    if (const int* done = std::get_if<int>(&parsed))
        return *done;
    const WatchOptions* options = &std::get<WatchOptions>(parsed);

    const StopSignals stop;
    if (!stop.Error().empty())
        return Failure("watch", stop.Error());
    // Watched before the first export, so that a save during it is not missed.
    Status why;
    const auto watch = FileWatch::Open(options->file, SystemFileSystem(), &why);
    if (watch == nullptr) {
        return Failure("watch",
                       "could not watch \"" + Printable(options->file) + "\": " + why.reason);
    }
    Exporter exporter(*options, stop);
    exporter.Run();
    bool folderGone = false;
    while (!exporter.Stopped()) {
        if (const std::string error = stop.WaitFor(watch->Ready()); !error.empty())
            return Failure("watch", error);
        if (stop.Arrived())
            return 0;
        const int changed = watch->Changed();
        if (changed < 0)
            return Failure("watch", "the watch failed: " + watch->Failure().reason);
        // A folder gone is told once, not as a missing file at every change.
        if (watch->FolderMissing() != folderGone) {
            folderGone = !folderGone;
            if (folderGone) {
                Tell("the folder of \"" + Printable(options->file) +
                     "\" is gone; watching for it to come back");
            }
        }
        if (changed > 0 && !folderGone)
            exporter.Run();
    }
    return 0;
}

}  // namespace velmora::tool
