#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "io/read_limits.h"
#include "io/safe_write.h"
#include "io/spline_file.h"
#include "io/spline_writer.h"
#include "model/note_set.h"
#include "tools/cli_io.h"
#include "tools/note_merge.h"
#include "tools/options.h"
#include "tools/verbs.h"
#include "tools/whole_load.h"

namespace velmora::tool {

namespace {

const char* const kMergeHelp =
    "Usage: velmora-tool merge BASE OURS THEIRS [-o OUT]\n"
    "\n"
    "A three-way merge of spline files, as git's merge driver (%O %A %B).\n"
    "Each note is merged on its own, whole splines being the unit, each side's\n"
    "splines matched to BASE's by content. What one side changed, added or\n"
    "removed is taken from that side, the same change on both sides once, and\n"
    "splines both sides added at the same place all, ours first. Base splines\n"
    "the two sides changed or removed differently are a conflict: OUT holds\n"
    "ours' version of them, then theirs', and a line on standard error says\n"
    "where, numbered as the editor's caption counts:\n"
    "\n"
    "  conflict: note 1 splines 2-3 (ours) and 4 (theirs) replace spline 2 of the base\n"
    "  conflict: note 0 spline 1 (ours) replaces spline 1 of the base, which theirs removed\n"
    "\n"
    "Every file is read as the editor shows it (a note the file lacks has its\n"
    "default spline); a BASE that does not exist, or /dev/null, has no spline\n"
    "at all. OUT is written in the editor's form and replaced at once (no\n"
    "backup); a note left without a spline gets its default one, so the editor\n"
    "reads OUT in full. When a file cannot be read in full, nothing is written.\n"
    "\n"
    "  -o, --output OUT  the merged file (default: OURS, as git wants; \"-\":\n"
    "                    standard output)\n"
    "\n"
    "Exit codes: 0 merged cleanly, 1 conflicts, or nothing written (a file\n"
    "the editor cannot read in full, a failed write); 2 bad usage.\n";

// git passes an empty file for a base that does not exist; a path that is
// not there, or /dev/null, is such a base too, but with no spline at all.
std::optional<NoteSet> LoadBase(const std::string& path) {
    struct stat info {};
    if (path == "/dev/null" || (::stat(path.c_str(), &info) != 0 && errno == ENOENT))
        return NoteSet{};
    return LoadWholeForVerb("merge", path);
}

int NothingWritten(const std::string& reason) {
    return Failure("merge", reason + "; nothing written, OURS is left as it was");
}

}  // namespace

int RunMergeVerb(int argc, char** argv) {
    static const option kLong[] = {
        {"help", no_argument, nullptr, 'h'}, {"output", required_argument, nullptr, 'o'}, {}};
    bool help = false;
    std::optional<std::string> output;
    const auto handle = [&](int option, const char* value) {
        if (option == 'h')
            help = true;
        else
            output = value;
        return true;
    };
    const auto files = ParseOptions("merge", argc, argv, "ho:", kLong, handle);
    if (!files)
        return 2;
    if (help)
        return Emit("merge", "-", kMergeHelp) == 0 ? 0 : 2;
    if (files->size() != 3)
        return UsageError("merge", "give three files, BASE OURS THEIRS");
    for (const std::string& file : *files) {
        if (file == "-")
            return UsageError("merge", "BASE, OURS and THEIRS must be files");
    }
    const auto base = LoadBase((*files)[0]);
    const auto ours = base ? LoadWholeForVerb("merge", (*files)[1]) : std::nullopt;
    const auto theirs = ours ? LoadWholeForVerb("merge", (*files)[2]) : std::nullopt;
    if (!theirs)
        return NothingWritten("a file cannot be merged");

    MergedNotes merged = MergeNotes(*base, *ours, *theirs);
    GiveEmptyNotesTheirDefault(merged.notes, kEditorClient);
    const std::string text = PrintSplines(merged.notes, kEditorClient.right, kEditorClient.bottom);
    if (const Status refused = CheckWriteLimits(text); !refused.ok)
        return NothingWritten("the editor would not read the merged file: " + refused.reason);
    if (output == "-") {
        if (Emit("merge", "-", text) != 0)
            return 1;
    } else if (const WriteOutcome written = ReplaceFile(output.value_or((*files)[1]), text);
               !written.ok) {
        return NothingWritten(Printable(written.reason));
    }
    for (const MergeConflict& conflict : merged.conflicts)
        std::fprintf(stderr, "%s\n", ConflictLine(conflict).c_str());
    return merged.conflicts.empty() ? 0 : 1;
}

}  // namespace velmora::tool
