#include "io/disk/file_read.h"
#include "io/spline_file.h"
#include "io/xml/spline_reader.h"
#include "io/xml/spline_writer.h"
#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/cli/path_kind.h"
#include "tools/cli/verb_support.h"

namespace velmora::tool {

namespace {

const char* const kFormatHelp =
    "Usage: velmora-tool format [FILE] [-o OUT | --stdout] [--allow-partial]\n"
    "\n"
    "Rewrites a spline file in the form the editor saves: what the editor shows\n"
    "after loading it (repairs included), written as the editor writes it. FILE\n"
    "is replaced by the editor's own safe save: through symbolic links, keeping\n"
    "its permissions, and keeping the version it replaces as FILE.bak (FILE.bak.1\n"
    "and so on when that name is taken). A file already in that form is left\n"
    "untouched. Without FILE, or with \"-\", standard input is read and the result\n"
    "goes to standard output.\n"
    "\n"
    "  -o, --output OUT  write the result to OUT instead, replaced only once it\n"
    "                    is complete (no backup)\n"
    "  --stdout          write the result to standard output instead\n"
    "  --allow-partial   rewrite a file read only in part (or not at all) with\n"
    "                    what was read, with a warning, instead of failing\n"
    "\n"
    "Exit codes: 0 success, also when there was nothing to rewrite; 1 the file\n"
    "is missing, cannot be read, or was read only in part (nothing is written\n"
    "then), or the result cannot be written; 2 bad usage.\n";

std::string EditorForm(const NoteSet& notes) {
    return PrintSplines(notes, kEditorClient.right, kEditorClient.bottom);
}

// Tells what the save kept; the file's old version is never lost silently.
int ReportSave(const std::string& path, const SaveOutcome& saved) {
    const std::string name = "\"" + Printable(path) + "\"";
    if (saved.changedElsewhere) {
        Failure("format", "warning: " + name +
                              " changed while it was being rewritten; that version is kept as \"" +
                              Printable(saved.backup) + "\"");
    }
    if (!saved.status.ok())
        return Failure("format", Printable(saved.status.reason));
    if (!saved.backup.empty() && !saved.changedElsewhere) {
        Failure("format", name + " rewritten; the version it replaced is kept as \"" +
                              Printable(saved.backup) + "\"");
    }
    return 0;
}

// Loads and saves through the editor's own file object, so the rewrite keeps
// links, permissions and a backup exactly as a save in the editor does. That
// object creates a missing file, so a missing one is refused first.
int FormatInPlace(const std::string& path, bool allowPartial) {
    const PathInfo info = LookAt(path);
    if (info.kind == PathKind::kMissing || info.kind == PathKind::kUnknown)
        return Failure("format", "\"" + Printable(path) + "\": no such file");
    if (info.kind == PathKind::kStream) {
        return Failure("format", "\"" + Printable(path) +
                                     "\" is a pipe or device and cannot be rewritten; give -o "
                                     "OUT or --stdout");
    }
    SplineFile file(path);
    const LoadedNotes loaded = LoadLikeEditor(file, kEditorClient);
    const LoadOutcome& outcome = loaded.outcome;
    const NoteSet& notes = loaded.notes;
    if (!AcceptLoad("format", path, outcome, allowPartial))
        return 1;
    if (outcome.found == LoadStatus::kLoaded) {
        const ReadOutcome now = ReadWholeFile(path);
        if (now.found == ReadStatus::kRead && now.bytes == EditorForm(notes))
            return 0;
    }
    return ReportSave(path, file.Save(notes, kEditorClient.right, kEditorClient.bottom));
}

}  // namespace

const option kFormatLong[] = {{"output", required_argument, nullptr, 'o'},
                              {"stdout", no_argument, nullptr, 'c'},
                              {"allow-partial", no_argument, nullptr, 'p'},
                              {}};
const VerbOptions kFormatOptions{kFormatHelp, "o:", kFormatLong};

int RunFormatVerb(const Verb& verb, int argc, char** argv) {
    bool allowPartial = false;
    std::optional<std::string> output;
    bool toStdout = false;
    const auto handle = [&](int option, const char* value) {
        switch (option) {
        case 'p': allowPartial = true; return true;
        case 'c': toStdout = true; return true;
        default: return ParsePathOption("format", "--output", value, output.emplace());
        }
    };
    const VerbArguments args = ParseVerb(verb, argc, argv, handle, Operands::kOneFile);
    if (args.done)
        return *args.done;
    const std::string& file = args.operands.front();
    if (output && toStdout)
        return UsageError("format", "-o and --stdout exclude each other");

    if (file != "-" && !output && !toStdout)
        return FormatInPlace(file, allowPartial);
    const auto loaded = LoadForVerb("format", file, allowPartial);
    if (!loaded)
        return 1;
    return Emit("format", output.value_or("-"), EditorForm(loaded->notes));
}

}  // namespace velmora::tool
