#include <cstring>

#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/cli/verb_support.h"
#include "tools/compare/diff_format.h"
#include "tools/compare/diff_render.h"
#include "tools/compare/note_diff.h"

namespace velmora::tool {

namespace {

const char* const kDiffHelp =
    "Usage: velmora-tool diff [--json] [--render DIR] OLD NEW\n"
    "       velmora-tool diff --git PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX NEW-MODE\n"
    "\n"
    "Compares what the editor shows after loading each file (notes, splines and\n"
    "their points; not the text, nor RectSize) and prints one line per change,\n"
    "numbered as the caption counts: notes from 0, splines and points from 1.\n"
    "Splines are matched by content, so an inserted spline is one change. An\n"
    "added spline has its number in NEW, a removed one its number in OLD; a\n"
    "changed one its number in NEW, and its points their numbers in OLD:\n"
    "\n"
    "  note 2: spline 4 added (5 points)\n"
    "  note 0: spline 1 removed (2 points)\n"
    "  note 1 spline 3: point 2 moved from (120,80) to (124,82)\n"
    "  note 1 spline 3: 2 points added after point 4   (or: before point 1)\n"
    "  note 1 spline 3: points 5-6 removed\n"
    "  note 1 spline 3: point 5 replaced by 2 points\n"
    "\n"
    "An empty file, /dev/null and a pipe are read as the editor reads an empty\n"
    "file: every note shows its default spline. A path that does not exist is\n"
    "an error.\n"
    "\n"
    "  -j, --json        a JSON array instead, one object per change\n"
    "  -r, --render DIR  also one PNG per changed or added spline, the editor's\n"
    "                    canvas with the old curve beneath in magenta, as\n"
    "                    DIR/note<N>-spline<S>.png (NEW's number); a removed\n"
    "                    spline as DIR/note<N>-spline<S>-removed.png (OLD's)\n"
    "      --git         as git's diff driver (diff.<driver>.command): prints a\n"
    "                    header with PATH, then the changes, and exits 0, also\n"
    "                    when a version cannot be read (it says so)\n"
    "\n"
    "Exit codes: 0 no change, 1 changes, 2 bad usage, a file the editor cannot\n"
    "read, reads only in part or finds no note in, or output that cannot be\n"
    "written.\n";

// Prints the changes between two note sets to `out` as they are found, and
// keeps them in `kept` where that is given; returns how many there were.
std::size_t PrintChanges(OutputStream& out, bool json, const NoteSet& oldNotes,
                         const NoteSet& newNotes, std::vector<SplineChange>* kept) {
    DiffPrinter printer(out, json, oldNotes, newNotes);
    std::size_t count = 0;
    ForEachChange(oldNotes, newNotes, [&](const SplineChange& change) {
        printer.Print(change);
        ++count;
        if (kept != nullptr)
            kept->push_back(change);
    });
    printer.Finish();
    return count;
}

// git's external diff: 7 arguments, 9 for a rename (the new path and a
// description follow), 1 for an unmerged path. It stops the whole `git
// diff` at a nonzero exit, so trouble is told in the output instead.
int RunGitDiff(int count, char** args) {
    if (count != 1 && count != 7 && count != 9)
        return UsageError("diff", "--git takes the 7 arguments git passes to a diff driver");
    const std::string path = Printable(args[0]);
    if (count == 1)
        return Emit("diff", "-", "* Unmerged path " + path + "\n") == 0 ? 0 : 2;
    const std::string newPath = count == 9 ? Printable(args[7]) : path;
    const auto oldNotes = LoadWholeForVerb("diff", args[1], "a/" + path);
    const auto newNotes = LoadWholeForVerb("diff", args[4], "b/" + newPath);
    return Emit("diff", "-",
                [&](OutputStream& out) {
                    out.Write("diff --velmora a/" + path + " b/" + newPath + "\n");
                    if (!oldNotes || !newNotes) {
                        out.Write(
                            "(not compared: the editor cannot read it in full; see the message "
                            "above)\n");
                        return;
                    }
                    if (std::strcmp(args[1], "/dev/null") == 0)
                        out.Write(
                            "(new file: compared with the default splines the editor shows for "
                            "none)\n");
                    if (std::strcmp(args[4], "/dev/null") == 0)
                        out.Write(
                            "(deleted: compared with the default splines the editor shows for "
                            "none)\n");
                    if (PrintChanges(out, false, *oldNotes, *newNotes, nullptr) == 0)
                        out.Write("(no change in what the editor shows)\n");
                }) == 0
               ? 0
               : 2;
}

}  // namespace

const option kDiffLong[] = {
    {"json", no_argument, nullptr, 'j'}, {"render", required_argument, nullptr, 'r'}, {}};
const VerbOptions kDiffOptions{kDiffHelp, "jr:", kDiffLong, 2};

int RunDiffVerb(const Verb& verb, int argc, char** argv) {
    // The driver's arguments are taken as they come: a path may begin with '-'.
    if (argc >= 2 && std::strcmp(argv[1], "--git") == 0)
        return RunGitDiff(argc - 2, argv + 2);
    bool json = false;
    std::optional<std::string> render;
    const auto handle = [&](int option, const char* value) {
        if (option == 'j')
            json = true;
        else
            render = value;
        return true;
    };
    const VerbArguments args = ParseVerb(verb, argc, argv, handle, Operands::kAny);
    if (args.done)
        return *args.done;
    const std::vector<std::string>& files = args.operands;
    if (files.size() != 2)
        return UsageError("diff", "give two files, OLD and NEW");
    if (files[0] == "-" && files[1] == "-")
        return UsageError("diff", "only one of OLD and NEW can be standard input");
    const auto oldNotes = LoadWholeForVerb("diff", files[0]);
    const auto newNotes = oldNotes ? LoadWholeForVerb("diff", files[1]) : std::nullopt;
    if (!newNotes)
        return 2;
    // Only pictures need the changes once printed.
    std::vector<SplineChange> changes;
    std::size_t count = 0;
    if (Emit("diff", "-", [&](OutputStream& out) {
            count = PrintChanges(out, json, *oldNotes, *newNotes, render ? &changes : nullptr);
        }) != 0)
        return 2;
    if (render) {
        const std::string error = WriteDiffPictures(changes, *oldNotes, *newNotes, *render);
        if (!error.empty()) {
            Failure("diff", error);
            return 2;
        }
    }
    return count == 0 ? 0 : 1;
}

}  // namespace velmora::tool
