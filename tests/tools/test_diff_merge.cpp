// velmora-tool diff on pairs of files and merge on three, called in this
// process; git-setup, and merge as git's merge driver, in real repositories.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "io/spline_file.h"
#include "io/xml/spline_writer.h"
#include "model/note_set.h"
#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"
#include "tools/cli/git_driver_word.h"
#include "tools/verbs.h"

namespace velmora {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

constexpr Rect kClient{0, 0, 480, 360};

Spline S(int k) { return Spline{{k, k}, {k + 1, k + 2}}; }
const Spline kD0 = DefaultSpline(kClient, kDesignTargets[0]);
const Spline kD1 = DefaultSpline(kClient, kDesignTargets[1]);

// A file in the editor's form; a note given no spline has its default one.
std::string File(SplineList n0, SplineList n1 = {}, SplineList n2 = {}) {
    NoteSet notes{{n0, n1, n2, {}}};
    GiveEmptyNotesTheirDefault(notes, kClient);
    return PrintSplines(notes, 480, 360);
}

struct Outcome {
    int code;
    std::string out, err;
};

// Runs `command` in `dir` through the shell, with a git that sees no
// configuration but the repository's.
Outcome Shell(const TempDir& dir, const std::string& command) {
    const std::string home = dir.Path().string();
    const std::string line = "export HOME=" + home +
                             " GIT_CONFIG_NOSYSTEM=1 GIT_AUTHOR_NAME=a GIT_AUTHOR_EMAIL=a@a "
                             "GIT_COMMITTER_NAME=a GIT_COMMITTER_EMAIL=a@a; cd " +
                             home + " && { " + command + "; } >" + home + "/.out 2>" + home +
                             "/.err";
    const int status = std::system(line.c_str());
    return Outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(home + "/.out"),
                   ReadFile(home + "/.err")};
}

// Runs `verb` with `args` (words apart at spaces) in `dir`, in this process.
Outcome RunVerb(const tool::Verb& verb, const TempDir& dir, const std::string& args) {
    std::vector<std::string> words{verb.name};
    std::istringstream in(args);
    for (std::string word; in >> word;)
        words.push_back(word);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = verb.run(verb, static_cast<int>(words.size()), argv.data());
    std::fflush(stdout);
    std::fflush(stderr);
    Outcome outcome{code, testing::internal::GetCapturedStdout(),
                    testing::internal::GetCapturedStderr()};
    std::filesystem::current_path(here);
    return outcome;
}

const tool::Verb kDiff{"diff", "", &tool::kDiffOptions, tool::RunDiffVerb};
const tool::Verb kMerge{"merge", "", &tool::kMergeOptions, tool::RunMergeVerb};

struct DiffCase {
    const char* name;
    std::string args;  // OLD, NEW and DIR stand for the files and a folder
    std::string oldFile, newFile;
    int exitCode;
    std::string out;                 // standard output, exactly ("*": not checked)
    std::string err;                 // must appear in standard error
    std::vector<std::string> files;  // must be in DIR/pics
};

class Diff : public ::testing::TestWithParam<DiffCase> {};

TEST_P(Diff, PrintsTheChangesOfWhatTheEditorShows) {
    const DiffCase& c = GetParam();
    TempDir dir;
    WriteFile(dir.File("old.xml"), c.oldFile);
    WriteFile(dir.File("new.xml"), c.newFile);
    std::string args = c.args;
    for (const auto& [word, value] : {std::pair<std::string, std::string>{"OLD", "old.xml"},
                                      {"NEW", "new.xml"},
                                      {"DIR", "pics"}}) {
        for (std::size_t at; (at = args.find(word)) != std::string::npos;)
            args.replace(at, word.size(), value);
    }
    const Outcome run = RunVerb(kDiff, dir, args);
    EXPECT_EQ(run.code, c.exitCode) << run.err;
    if (c.out != "*") {
        EXPECT_EQ(run.out, c.out);
    }
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    for (const std::string& file : c.files)
        EXPECT_TRUE(std::filesystem::exists(dir.File("pics/" + file))) << file;
}

const Spline kP{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}};
const Spline kP2{{1, 1}, {9, 9}, {3, 3}, {4, 4}, {7, 7}, {8, 8}, {5, 5}};
const std::string kOld = File({kD0, S(20)}, {kP, S(30)});
const std::string kNew = File({kD0}, {kP2, S(30), S(40)});
const std::string kChanges =
    "note 0: spline 2 removed (2 points)\n"
    "note 1 spline 1: point 2 moved from (2,2) to (9,9)\n"
    "note 1 spline 1: 2 points added after point 4\n"
    "note 1 spline 1: point 6 removed\n"
    "note 1: spline 3 added (2 points)\n";
const std::string kOneLine =
    "<RectSize Width=\"9\" Height=\"9\"/><NewNoteSpline Index=\"1\">"
    "<NewSpline><ControlPoint PosX=\"30\" PosY=\"30\"/><ControlPoint "
    "PosX=\"31\" PosY=\"32\"/></NewSpline></NewNoteSpline>";
const std::string kPartial = File({}) + "<NewNoteSpline Index=\"2\" />\ntrailing text\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, Diff,
    ::testing::Values(
        DiffCase{"OnlyTheTextDiffers", "OLD NEW", File({}, {S(30)}), kOneLine, 0, "", "", {}},
        DiffCase{"EveryKindOfLine", "OLD NEW", kOld, kNew, 1, kChanges, "", {}},
        DiffCase{"StartAndReplace",
                 "OLD NEW",
                 File({}, {{{1, 1}, {2, 2}, {3, 3}}}),
                 File({}, {{{0, 0}, {1, 1}, {7, 7}, {8, 8}, {9, 9}}}),
                 1,
                 "note 1 spline 1: 1 point added before point 1\n"
                 "note 1 spline 1: points 2-3 replaced by 3 points\n",
                 "",
                 {}},
        DiffCase{"Json",
                 "--json OLD NEW",
                 kOld,
                 File({kD0, S(20)}, {kP2, S(30)}),
                 1,
                 "[\n{\"change\":\"point-moved\",\"note\":1,\"spline\":1,\"old_spline\":1,"
                 "\"point\":2,\"from\":[2,2],\"to\":[9,9]},\n"
                 "{\"change\":\"points-added\",\"note\":1,\"spline\":1,\"old_spline\":1,"
                 "\"after\":4,\"points\":[[7,7],[8,8]]},\n"
                 "{\"change\":\"points-removed\",\"note\":1,\"spline\":1,\"old_spline\":1,"
                 "\"first\":6,\"last\":6,\"points\":[[6,6]]}\n]\n",
                 "",
                 {}},
        DiffCase{"JsonEqual", "--json OLD NEW", kOld, kOld, 0, "[\n]\n", "", {}},
        DiffCase{"EmptyIsTheDefault", "OLD /dev/null", File({}), "", 0, "", "", {}},
        DiffCase{"Unreadable",
                 "OLD NEW",
                 kOld,
                 "<NewNoteSpline",
                 2,
                 "",
                 "\"new.xml\", line 1, column 2: the editor cannot read it",
                 {}},
        DiffCase{"Partial",
                 "OLD NEW",
                 kPartial,
                 kOld,
                 2,
                 "",
                 "\"old.xml\", line 28, column 1: the editor reads only part of it",
                 {}},
        DiffCase{"TextButNoNote",
                 "OLD NEW",
                 kOld,
                 "<RectSize Width=\"480\" Height=\"360\"/>",
                 2,
                 "",
                 "\"new.xml\": it holds no note the editor can read",
                 {}},
        DiffCase{"Missing", "OLD none.xml", kOld, "", 2, "", "\"none.xml\": no such file", {}},
        DiffCase{"ConflictMarkers",
                 "OLD NEW",
                 kOld,
                 "<<<<<<< HEAD\n" + kOld,
                 2,
                 "",
                 "\"new.xml\", line 1, column 1: it holds conflict markers of an unfinished merge",
                 {}},
        DiffCase{"TwoStandardInputs", "- -", "", "", 2, "", "only one of OLD and NEW", {}},
        DiffCase{"GitDriver",
                 "--git -x/Splines.xml OLD 1a 100644 NEW 2b 100644",
                 kOld,
                 kNew,
                 0,
                 "diff --velmora a/-x/Splines.xml b/-x/Splines.xml\n" + kChanges,
                 "",
                 {}},
        DiffCase{"GitDriverUnreadable",
                 "--git Splines.xml OLD 1a 100644 NEW 2b 100644",
                 kOld,
                 "<x",
                 0,
                 "*",
                 "\"b/Splines.xml\", line 1",
                 {}},
        DiffCase{"Render",
                 "--render DIR OLD NEW",
                 kOld,
                 kNew,
                 1,
                 kChanges,
                 "",
                 {"note0-spline2-removed.png", "note1-spline1.png", "note1-spline3.png"}},
        DiffCase{"GitDriverArguments",
                 "--git Splines.xml OLD",
                 kOld,
                 kNew,
                 2,
                 "",
                 "the 7 arguments",
                 {}}),
    testing_support::CaseName());

struct GitSetupCase {
    const char* name;
    std::string prepare;  // shell commands run in the new repository first
    int exitCode;
    std::string attributes;  // .gitattributes afterwards, or the file its link leads to
};

class GitSetup : public ::testing::TestWithParam<GitSetupCase> {};

// The configuration is set in any case; the attributes are added only where
// git does not report them already, and never through a link.
TEST_P(GitSetup, AddsTheAttributesWhereGitLacksThem) {
    const GitSetupCase& c = GetParam();
    TempDir dir;
    ASSERT_EQ(Shell(dir, "mkdir victim && git init -q repo && cd repo && " + c.prepare).code, 0);
    const Outcome setup = Shell(dir, "cd repo && " VELMORA_TOOL " git-setup");
    EXPECT_EQ(setup.code, c.exitCode) << setup.err;
    EXPECT_EQ(Shell(dir, "cd repo && git config merge.velmora.name").out, "Velmora spline merge\n");
    const bool link = std::filesystem::is_symlink(dir.File("repo/.gitattributes"));
    EXPECT_EQ(ReadFile(dir.File(link ? "victim/bashrc" : "repo/.gitattributes")), c.attributes);
    if (c.exitCode == 0) {
        EXPECT_EQ(Shell(dir, "cd repo && git check-attr merge diff -- Splines.xml").out,
                  "Splines.xml: merge: velmora\nSplines.xml: diff: velmora\n");
    } else {
        EXPECT_NE(setup.err.find("is a symbolic link"), std::string::npos) << setup.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GitSetup,
    ::testing::Values(
        GitSetupCase{"LineForSplinesWithOtherAttributes",
                     "printf 'Splines.xml text eol=lf' >.gitattributes", 0,
                     "Splines.xml text eol=lf\nSplines.xml merge=velmora diff=velmora\n"},
        GitSetupCase{"SetByAnotherLine", "echo '*.xml merge=velmora diff=velmora' >.gitattributes",
                     0, "*.xml merge=velmora diff=velmora\n"},
        GitSetupCase{
            "SymbolicLinkOutOfTheWorkTree",
            "echo 'alias ls=rm' >../victim/bashrc && ln -s ../victim/bashrc .gitattributes", 1,
            "alias ls=rm\n"}),
    testing_support::CaseName());

struct DriverWordCase {
    const char* name;
    std::string path;
    tool::PathStyle style;
    std::string read;  // the word as git's shell reads it
};

class GitDriverWord : public ::testing::TestWithParam<DriverWordCase> {};

// git runs a driver through sh on every system, Git for Windows included.
TEST_P(GitDriverWord, ShellReadsTheProgramsPath) {
    const DriverWordCase& c = GetParam();
    TempDir dir;
    EXPECT_EQ(Shell(dir, "printf '%s' " + tool::GitDriverWord(c.path, c.style)).out, c.read);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GitDriverWord,
    ::testing::Values(DriverWordCase{"Plain", "/usr/bin/velmora-tool", tool::PathStyle::kPosix,
                                     "/usr/bin/velmora-tool"},
                      DriverWordCase{"QuoteAndCommand", "/o p/it's $(x)/t", tool::PathStyle::kPosix,
                                     "/o p/it's $(x)/t"},
                      DriverWordCase{
                          "WindowsSpaces", "C:\\Program Files\\Velmora\\velmora-tool.exe",
                          tool::PathStyle::kWindows, "C:/Program Files/Velmora/velmora-tool.exe"},
                      DriverWordCase{"WindowsExtended", "\\\\?\\D:\\it's\\t.exe",
                                     tool::PathStyle::kWindows, "D:/it's/t.exe"},
                      DriverWordCase{"WindowsShare", "\\\\?\\UNC\\host\\s\\t.exe",
                                     tool::PathStyle::kWindows, "//host/s/t.exe"}),
    testing_support::CaseName());

struct MergeCase {
    const char* name;
    std::optional<std::string> base;  // none: both branches add the file
    std::string ours, theirs;
    std::string out;  // the file after the merge
    bool unmerged;    // the merge fails: conflicts, or nothing written
    std::string err;  // must appear in the merge's messages
};

class Merge : public ::testing::TestWithParam<MergeCase> {};

const Spline kPoints{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};

// `spline` with point `index` (from 0) at `to`.
Spline Moved(Spline spline, std::size_t index, Point to) {
    spline[index] = to;
    return spline;
}

TEST_P(Merge, MergesWhatTheEditorShows) {
    const MergeCase& c = GetParam();
    TempDir dir;
    // git hands the driver an empty file for a base that does not exist.
    WriteFile(dir.File("base.xml"), c.base.value_or(""));
    WriteFile(dir.File("ours.xml"), c.ours);
    WriteFile(dir.File("theirs.xml"), c.theirs);
    const Outcome merge = RunVerb(kMerge, dir, "base.xml ours.xml theirs.xml");
    EXPECT_EQ(merge.code != 0, c.unmerged) << merge.err;
    EXPECT_EQ(ReadFile(dir.File("ours.xml")), c.out);
    EXPECT_NE(merge.err.find(c.err), std::string::npos) << merge.err;
}

// The one merge through git and the program itself: git-setup's driver, and
// its driver for the common ancestors of a criss-cross merge. Merged both
// ways, the branches hold splines 20 and 30 in different orders; then ours
// changes 40 and theirs 30 and adds 50.
TEST(MergeDriver, GitMergesACrissCrossWithTheDriversOfGitSetup) {
    TempDir dir;
    const auto commit = [&](const std::string& text) {
        WriteFile(dir.File("repo/Splines.xml"), text);
        return "git add Splines.xml && git commit -qm x";
    };
    ASSERT_EQ(
        Shell(dir, "git init -q -b main repo && cd repo && git commit -q --allow-empty -m 0").code,
        0);
    ASSERT_EQ(Shell(dir, std::string("cd repo && ") + commit(File({S(10), S(40)}))).code, 0);
    ASSERT_EQ(Shell(dir, "cd repo && git checkout -qb theirs").code, 0);
    ASSERT_EQ(Shell(dir, std::string("cd repo && ") + commit(File({S(10), S(30), S(40)}))).code, 0);
    ASSERT_EQ(Shell(dir, "cd repo && git checkout -q main").code, 0);
    ASSERT_EQ(Shell(dir, std::string("cd repo && ") + commit(File({S(10), S(20), S(40)}))).code, 0);

    const Outcome setUp = Shell(dir, "cd repo && " VELMORA_TOOL " git-setup");
    ASSERT_EQ(setUp.code, 0);
    EXPECT_NE(setUp.out.find("every clone of this repository must run"), std::string::npos);
    ASSERT_EQ(Shell(dir,
                    "cd repo && git checkout -q theirs && git merge -q --no-edit main && "
                    "git checkout -q main && git merge -q --no-edit theirs~1")
                  .code,
              0);
    ASSERT_EQ(
        Shell(dir, std::string("cd repo && ") + commit(File({S(10), S(20), S(30), S(41)}))).code,
        0);
    ASSERT_EQ(Shell(dir, "cd repo && git checkout -q theirs").code, 0);
    ASSERT_EQ(
        Shell(dir, std::string("cd repo && ") + commit(File({S(10), S(31), S(20), S(40), S(50)})))
            .code,
        0);
    ASSERT_EQ(Shell(dir, "cd repo && git checkout -q main").code, 0);
    const std::string config = ReadFile(dir.File("repo/.git/config"));
    const Outcome again = Shell(dir, "cd repo && " VELMORA_TOOL " git-setup");
    EXPECT_EQ(again.out, "git-setup: already set up, nothing changed\n");
    EXPECT_EQ(ReadFile(dir.File("repo/.git/config")), config);
    EXPECT_EQ(ReadFile(dir.File("repo/.gitattributes")),
              "Splines.xml merge=velmora diff=velmora\n");

    const Outcome merge = Shell(dir, "cd repo && git merge --no-edit theirs");
    EXPECT_EQ(merge.code, 0) << merge.out << merge.err;
    EXPECT_EQ(Shell(dir, "cd repo && git ls-files -u Splines.xml").out, "");
    EXPECT_EQ(ReadFile(dir.File("repo/Splines.xml")), File({S(10), S(31), S(20), S(41), S(50)}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Merge,
    ::testing::Values(
        MergeCase{"DisjointNotes", File({}), File({kD0, S(1)}), File({}, {kD1, S(2)}),
                  File({kD0, S(1)}, {kD1, S(2)}), false, ""},
        MergeCase{"DifferentSplinesOfOneNote", File({S(1), S(2)}), File({S(3), S(2)}),
                  File({S(1), S(4)}), File({S(3), S(4)}), false, ""},
        MergeCase{"BothAppended", File({}), File({kD0, S(1)}), File({kD0, S(2)}),
                  File({kD0, S(1), S(2)}), false, ""},
        MergeCase{"SameChange", File({S(1), S(2)}), File({S(3), S(2)}), File({S(3), S(2)}),
                  File({S(3), S(2)}), false, ""},
        MergeCase{"EachRemovedOne", File({S(1), S(2)}), File({S(2)}), File({S(1)}), File({}), false,
                  ""},
        MergeCase{"ChangedAndRemoved", File({S(1), S(2)}), File({S(3), S(2)}), File({S(2)}),
                  File({S(3), S(2)}), true,
                  "conflict: note 0 spline 1 (ours) replaces spline 1 of the base, which "
                  "theirs removed\n"},
        MergeCase{"BothChanged", File({S(1), S(2)}), File({S(3), S(5), S(2)}), File({S(4), S(2)}),
                  File({S(3), S(5), S(4), S(2)}), true,
                  "conflict: note 0 splines 1-2 (ours) and 3 (theirs) replace spline 1 of the "
                  "base\n"},
        MergeCase{"UnreadableSide", File({}), File({S(1)}), "<NewNoteSpline", File({S(1)}), true,
                  "the editor cannot read it"},
        MergeCase{"TextButNoNoteTheirs", File({}), File({S(1)}), "<RectSize Width=\"480\" />",
                  File({S(1)}), true, "it holds no note the editor can read"},
        MergeCase{"MissingBase", std::nullopt, File({kD0, S(1)}), File({kD0, S(2)}),
                  File({kD0, S(1), S(2)}), false, ""},
        MergeCase{"BothAddedTheFileEditingTheDefault", std::nullopt, File({S(1)}), File({S(2)}),
                  File({S(1), S(2)}), false, ""},
        MergeCase{"MarkersInOurs", File({}), "<<<<<<< HEAD\n" + File({S(1)}), File({S(2)}),
                  "<<<<<<< HEAD\n" + File({S(1)}), true,
                  "line 1, column 1: it holds conflict markers of an unfinished merge"},
        MergeCase{"DifferentPointsOfOneSpline", File({kPoints, S(2)}),
                  File({Moved(kPoints, 1, {9, 9}), S(2)}), File({Moved(kPoints, 3, {8, 8}), S(2)}),
                  File({Moved(Moved(kPoints, 1, {9, 9}), 3, {8, 8}), S(2)}), false, ""},
        MergeCase{"PointsAddedAtDifferentPlaces", File({kPoints}),
                  File({{{1, 1}, {7, 7}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}}),
                  File({{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {6, 6}, {5, 5}}}),
                  File({{{1, 1}, {7, 7}, {2, 2}, {3, 3}, {4, 4}, {6, 6}, {5, 5}}}), false, ""},
        MergeCase{"PointMovedAndRemoved", File({kPoints}), File({Moved(kPoints, 2, {9, 9})}),
                  File({{{1, 1}, {2, 2}, {4, 4}, {5, 5}}}),
                  File({Moved(kPoints, 2, {9, 9}), {{1, 1}, {2, 2}, {4, 4}, {5, 5}}}), true,
                  "conflict: note 0 splines 1 (ours) and 2 (theirs) replace spline 1 of the base"},
        MergeCase{"SamePointMovedAlike", File({kPoints}),
                  File({Moved(Moved(kPoints, 1, {9, 9}), 3, {8, 8})}),
                  File({Moved(kPoints, 1, {9, 9})}),
                  File({Moved(Moved(kPoints, 1, {9, 9}), 3, {8, 8})}), false, ""}),
    testing_support::CaseName());

}  // namespace
}  // namespace velmora
