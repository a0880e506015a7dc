#include <cstdio>

#include "io/disk/safe_write.h"
#include "io/spline_file.h"
#include "io/xml/read_limits.h"
#include "io/xml/spline_writer.h"
#include "model/note_set.h"
#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/cli/path_kind.h"
#include "tools/cli/verb_support.h"
#include "tools/compare/merge_render.h"
#include "tools/compare/note_merge.h"

namespace velmora::tool {

namespace {

const char* const kMergeHelp =
    "Usage: velmora-tool merge [--virtual-base] [--render DIR] BASE OURS THEIRS [-o OUT]\n"
    "\n"
    "A three-way merge of spline files, as git's merge driver (%O %A %B).\n"
    "Each note is merged on its own, whole splines being the unit, each side's\n"
    "splines matched to BASE's by content. What one side changed, added or\n"
    "removed is taken from that side, the same change on both sides once, and\n"
    "splines both sides added at the same place all, ours first. Where both\n"
    "sides changed the same spline, its points are merged the same way, so\n"
    "different points moved, added or removed on each side merge cleanly.\n"
    "Splines (or points) the two sides changed or removed differently are a\n"
    "conflict: OUT holds ours' version of the splines, then theirs', and a\n"
    "line on standard error says where, numbered as the editor's caption counts:\n"
    "\n"
    "  conflict: note 1 splines 2-3 (ours) and 4 (theirs) replace spline 2 of the base\n"
    "  conflict: note 0 spline 1 (ours) replaces spline 1 of the base, which theirs removed\n"
    "\n"
    "A base spline that one side kept and the other removed or changed is never\n"
    "kept beside that change, even where the sides hold their splines in\n"
    "different orders (as after merges that crossed).\n"
    "\n"
    "Every file is read as the editor shows it (a note the file lacks has its\n"
    "default spline); a BASE that does not exist, /dev/null and an empty BASE\n"
    "(git's base when both branches added the file) have no spline at all.\n"
    "OUT is written in the editor's form and replaced at once (no backup); a\n"
    "note left without a spline gets its default one, so the editor reads OUT\n"
    "in full. When a file cannot be read in full (one that still holds\n"
    "conflict markers, say, or text without a single note), nothing is\n"
    "written.\n"
    "\n"
    "  -o, --output OUT   the merged file (default: OURS, as git wants; \"-\":\n"
    "                     standard output)\n"
    "  -r, --render DIR   also one PNG per conflict, DIR/note<N>-conflict<K>.png:\n"
    "                     the note with ours' and theirs' splines and, beneath\n"
    "                     both, the base's, with words that say which is which\n"
    "      --virtual-base for git's merge of the common ancestors of a\n"
    "                     criss-cross merge (merge.velmora.recursive): a\n"
    "                     conflict keeps BASE's version, so that the real merge\n"
    "                     sees both sides' changes there as a conflict\n"
    "\n"
    "Exit codes: 0 merged cleanly, 1 conflicts, or nothing written (a file\n"
    "the editor cannot read in full, a failed write); 2 bad usage.\n";

// git passes an empty file for a base that does not exist (both branches
// added the file): that, a path that is not there, and /dev/null are a base
// with no spline at all, not the default splines an empty file shows.
std::optional<NoteSet> LoadBase(const std::string& path) {
    const PathInfo info = LookAt(path);
    if (path == "/dev/null" || info.kind == PathKind::kMissing ||
        (info.kind == PathKind::kFile && info.size == 0))
        return NoteSet{};
    return LoadWholeForVerb("merge", path);
}

int NothingWritten(const std::string& reason) {
    return Failure("merge", reason + "; nothing written, OURS is left as it was");
}

}  // namespace

const option kMergeLong[] = {{"output", required_argument, nullptr, 'o'},
                             {"virtual-base", no_argument, nullptr, 'v'},
                             {"render", required_argument, nullptr, 'r'},
                             {}};
const VerbOptions kMergeOptions{kMergeHelp, "o:r:", kMergeLong, 2};

int RunMergeVerb(const Verb& verb, int argc, char** argv) {
    bool virtualBase = false;
    std::optional<std::string> output;
    std::optional<std::string> render;
    const auto handle = [&](int option, const char* value) {
        if (option == 'v')
            virtualBase = true;
        else if (option == 'r')
            render = value;
        else
            output = value;
        return true;
    };
    const VerbArguments args = ParseVerb(verb, argc, argv, handle, Operands::kAny);
    if (args.done)
        return *args.done;
    const std::vector<std::string>& files = args.operands;
    if (files.size() != 3)
        return UsageError("merge", "give three files, BASE OURS THEIRS");
    for (const std::string& file : files) {
        if (file == "-")
            return UsageError("merge", "BASE, OURS and THEIRS must be files");
    }
    const auto base = LoadBase(files[0]);
    const auto ours = base ? LoadWholeForVerb("merge", files[1]) : std::nullopt;
    const auto theirs = ours ? LoadWholeForVerb("merge", files[2]) : std::nullopt;
    if (!theirs)
        return NothingWritten("a file cannot be merged");

    MergedNotes merged = MergeNotes(*base, *ours, *theirs, virtualBase);
    GiveEmptyNotesTheirDefault(merged.notes, kEditorClient);
    const std::string text = PrintSplines(merged.notes, kEditorClient.right, kEditorClient.bottom);
    if (const Status refused = CheckWriteLimits(text); !refused.ok())
        return NothingWritten("the editor would not read the merged file: " + refused.reason);
    if (output == "-") {
        if (Emit("merge", "-", text) != 0)
            return 1;
    } else if (const WriteOutcome written = ReplaceFile(output.value_or(files[1]), text);
               !written.status.ok()) {
        return NothingWritten(Printable(written.status.reason));
    }
    for (const MergeConflict& conflict : merged.conflicts)
        std::fprintf(stderr, "%s\n", ConflictLine(conflict).c_str());
    if (render) {
        if (const std::string error = WriteMergePictures(merged, *base, *render); !error.empty())
            return Failure("merge", error);
    }
    return merged.conflicts.empty() ? 0 : 1;
}

}  // namespace velmora::tool
