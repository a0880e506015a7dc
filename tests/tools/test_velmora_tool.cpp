// velmora-tool run as a program: each verb on good, bad and odd inputs,
// with the exit code and what it prints.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"

#ifdef VELMORA_EDITOR
#include <QtGui/QImage>

#include "editor/velmora_dlg.h"
#include "platform/headless_host.h"
#include "render/colours.h"
#endif

namespace velmora {
namespace {

using testing_support::ReadFile;

const std::string kDefaultFile = ReadFile(VELMORA_TEST_DATA "/io/default_480x360.xml");
const std::string kOddFile =
    "<RectSize Width=\"100\" Height=\"100\" />\n<Stray />\n"
    "<NewNoteSpline Index=\"7\" />\n"
    "<NewNoteSpline Index=\"1\"><NewSpline><ControlPoint PosX=\"5\" PosY=\"5\" />"
    "<ControlPoint PosX=\"5\" PosY=\"5\" /><ControlPoint PosX=\"500\" PosY=\"5\" />"
    "<ControlPoint PosX=\"1\" /></NewSpline><NewSpline /></NewNoteSpline>\n"
    "<NewNoteSpline Index=\"1\"><NewSpline><ControlPoint PosX=\"9\" PosY=\"9\" />"
    "</NewSpline></NewNoteSpline>\n<NewNoteSpline Index=\"x\" />\n<Last />\ntrailing text\n";

struct Case {
    const char* name;
    // IN is the input file, DIR a scratch folder, FIFO a named pipe fed with
    // IN, TOOL the tool again (for a second command after &&).
    std::string args;
    std::string input;  // the content of IN, also fed to standard input
    int exitCode;
    std::vector<std::string> out;  // each must appear in standard output
    std::string err;               // must appear in standard error
    std::string files = "";        // "+name" must be in DIR afterwards, "-name" must not
};

class VelmoraTool : public ::testing::TestWithParam<Case> {};

TEST_P(VelmoraTool, ExitsAndPrintsAsDocumented) {
    testing_support::TempDir dir;
    const std::string in = dir.File("in");
    testing_support::WriteFile(in, GetParam().input);
    std::istringstream words(GetParam().args);
    std::string args, word, feed;
    while (words >> word) {
        if (word == "IN")
            word = in;
        if (word == "TOOL")
            word = VELMORA_TOOL;
        if (word == "FIFO") {
            word = dir.File("fifo");
            feed = "mkfifo " + word + " && { cat " + in + " >" + word + " & } && ";
        }
        if (word.rfind("DIR", 0) == 0)
            word = dir.Path().string() + word.substr(3);
        args += word + " ";
    }
    // "velmora ..." runs the editor, with no display: it must answer without a window.
    const bool editor = args.rfind("velmora ", 0) == 0;
#ifdef VELMORA_EDITOR
    const std::string program =
        editor ? "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " VELMORA_EDITOR
               : VELMORA_TOOL;
#else
    const std::string program = VELMORA_TOOL;
#endif
    const std::string command = "cd " + dir.Path().string() + " && " + feed + "{ " + program + " " +
                                args.substr(editor ? 8 : 0) + "; } <" + in + " >" +
                                dir.File("out") + " 2>" + dir.File("err");
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), GetParam().exitCode);
    const std::string out = ReadFile(dir.File("out"));
    const std::string err = ReadFile(dir.File("err"));
    for (const std::string& piece : GetParam().out)
        EXPECT_NE(out.find(piece), std::string::npos) << piece << "\nin:\n" << out;
    EXPECT_NE(err.find(GetParam().err), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("Splines.xml")));
    std::istringstream files(GetParam().files);
    while (files >> word)
        EXPECT_EQ(std::filesystem::exists(dir.File(word.substr(1))), word[0] == '+') << word;
}

// Read only in part: the second note has no Index.
const std::string kPartFile =
    "<NewNoteSpline Index=\"2\"><NewSpline><ControlPoint PosX=\"1\" PosY=\"2\" />"
    "</NewSpline></NewNoteSpline>\n<NewNoteSpline />\n";
const std::string kExampleFile = ReadFile(VELMORA_TEST_DATA "/../../examples/Splines.xml");

const std::string kChord40 = "0 0\n4 0\n8 0\n12 0\n16 0\n20 0\n23 0\n27 0\n31 0\n35 0\n40 0\n";

INSTANTIATE_TEST_SUITE_P(
    Verbs, VelmoraTool,
    ::testing::Values(
        Case{"Version", "--version", "", 0, {"velmora-tool "}, ""},
        Case{"NoVerb", "", "", 2, {}, "Usage: velmora-tool VERB"},
        Case{"UnknownVerb", "frob", "", 2, {}, "unknown verb 'frob'"},
        Case{"UnknownOption", "export --bogus", "", 2, {}, "unknown option '--bogus'"},
        Case{"MissingValue", "export -o", "", 2, {}, "option '-o' needs a value"},
        Case{"VerbHelp", "check --help", "", 0, {"Usage: velmora-tool check"}, ""},
        Case{"CurveChord40", "curve", "0 0\n40 0\n", 0, {kChord40}, ""},
        Case{"CurveBlankLinesCrLf", "curve IN", "\n  0\t0\r\n\n8 0", 0, {"0 0\n4 0\n8 0\n"}, ""},
        Case{"CurveOnePoint", "curve -", "5 5\n", 0, {""}, ""},
        Case{"CurveThreeNumbers", "curve IN", "0 0\n1 2 3\n", 1, {}, "line 2"},
        Case{"CurveTooLarge", "curve", "2147483648 0\n", 1, {}, "line 1"},
        Case{"CurveNulEscaped", "curve", std::string("1\0 2\n", 5), 1, {}, "got \"1\\x00 2\""},
        Case{"CurveFolder", "curve DIR", "", 1, {}, "is a folder"},
        Case{"CurveMissing", "curve DIR/none", "", 1, {}, "none\": no such file"},
        Case{"CheckJson",
             "check --json",
             kOddFile,
             1,
             {"\"exact\": false", "\"severity\": \"error\",\n            \"kind\": \"bad-index\""},
             ""},
        Case{"CheckParseError",
             "check IN",
             kDefaultFile + "<bad",
             1,
             {"in:27:", ": error: the editor cannot read it", "[unreadable]"},
             ""},
        Case{"CheckFolder", "check DIR", "", 1, {"is a folder"}, ""},
        Case{"CheckDeviceIsReadAsAStream", "check /dev/null", "", 0, {""}, ""},
        Case{"ExportJson",
             "export IN --format json",
             kDefaultFile,
             0,
             {"{\"format\":\"velmora-splines\",\"version\":1,\"client\":{\"width\":480,\"height\":"
              "360},\"origin\":[424,238],\"targets\":[[75,75],[184,75],[295,75],[405,75]],"
              "\"notes\":[{\"index\":0,\"splines\":[{\"points\":[[424,238],[75,75]],\"curve\":[["
              "424,238],[419,236],"},
             ""},
        Case{"ExportPrecise",
             "export --precise --note 3",
             "<NewNoteSpline Index=\"3\"><NewSpline><ControlPoint PosX=\"0\" PosY=\"0\" />"
             "<ControlPoint PosX=\"3\" PosY=\"4\" /></NewSpline></NewNoteSpline>",
             0,
             {"\"curve\":[[0,0],[3,4]],\"precise\":[[0.0,0.0],[3.0,4.0]],\"length\":5.0}"},
             ""},
        Case{"ExportPreciseNeedsJson", "export --precise -f csv", "", 2, {}, "--precise needs"},
        Case{"ExportRepairsAndShortSpline",
             "export --note 1 --allow-partial",
             kOddFile,
             0,
             {"{\"index\":1,\"splines\":[{\"points\":[[9,9]],\"curve\":[]}]}]}\n"},
             "warning: \"standard input\", line 7, column 1: read only in part"},
        Case{"ExportCsvDefaultForMissingNote",
             "export -f csv",
             "<NewNoteSpline Index=\"1\" />",
             0,
             {"note,spline,kind,index,x,y\n0,1,point,1,424,238\n0,1,point,2,75,75\n0,1,sample,1,"
              "424,238\n"},
             ""},
        // What export, format and render write for each kind of input.
        Case{"ExportPartRefused",
             "export IN -o DIR/o",
             kPartFile,
             1,
             {},
             "in\", line 2, column 1: read only in part",
             "-o"},
        Case{"ExportPartAllowed",
             "export IN -o DIR/o --allow-partial",
             kPartFile,
             0,
             {},
             "warning:",
             "+o"},
        Case{"ExportNoNote",
             "export IN -o DIR/o",
             "<?xml version=\"1.0\" ?>\n",
             1,
             {},
             "holds no note",
             "-o"},
        Case{"ExportMissing", "export DIR/none -o DIR/o", "", 1, {}, "none\": no such file", "-o"},
        Case{"ExportConflictMarkers",
             "export IN -o DIR/o",
             kDefaultFile + "<<<<<<< HEAD\n",
             1,
             {},
             "in\", line 27, column 1: it holds conflict markers of an unfinished merge",
             "-o"},
        Case{"ExportZeroBytes", "export IN -o DIR/o", "", 0, {}, "", "+o"},
        Case{"ExportBlank", "export IN -f csv", " \n\t\r\n", 0, {"0,1,point,1,424,238\n"}, ""},
        Case{"ExportEmptyFileName", "export ''", "", 2, {}, "FILE is empty"},
        Case{"ExportEmptyOutputName", "export -o ''", "", 2, {}, "'--output' wants a name"},
        // OUT is replaced, not rewritten in place: a second name of the old
        // output still holds the old export.
        Case{"ExportReplacesOutput",
             "export IN -o DIR/o && ln DIR/o DIR/seen && TOOL export IN -f csv -o DIR/o && cat "
             "DIR/seen",
             kDefaultFile,
             0,
             {"{\"format\":\"velmora-splines\""},
             "",
             "+o"},
        Case{"ExportFromFifo", "export FIFO -f csv", kDefaultFile, 0, {"0,1,point,2,75,75\n"}, ""},
        Case{"CheckFromFifo", "check FIFO", kDefaultFile, 0, {""}, ""},
        Case{"FormatRewritesWithBackup",
             "format IN && TOOL check IN",
             kExampleFile,
             0,
             {""},
             "kept as",
             "+in.bak"},
        Case{"FormatLeavesEditorForm", "format IN", kDefaultFile, 0, {""}, "", "-in.bak"},
        Case{"FormatZeroBytes", "format IN && TOOL check IN", "", 0, {""}, "", "-in.bak"},
        Case{"FormatPartRefused", "format IN", kPartFile, 1, {}, "read only in part", "-in.bak"},
        Case{"FormatPartAllowed",
             "format IN --allow-partial && TOOL check IN",
             kPartFile,
             0,
             {""},
             "warning:",
             "+in.bak"},
        Case{"FormatUnreadable", "format IN", "<a", 1, {}, "cannot read it", "-in.bak"},
        Case{"FormatMissing", "format DIR/none", "", 1, {}, "none\": no such file", "-none"},
        Case{"FormatToStdout",
             "format --stdout",
             kExampleFile,
             0,
             {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<RectSize"},
             "",
             "-in.bak"},
        Case{"FormatToOutput",
             "format IN -o DIR/o && TOOL check DIR/o",
             kExampleFile,
             0,
             {""},
             "",
             "+o -in.bak"},
        Case{"ExportSvg",
             "export --format svg --note 2 -o -",
             kDefaultFile,
             0,
             {"<g id=\"note-2\"", "<polyline fill=\"none\" stroke=\"#000000\" points=\"424,238 "},
             ""},
        Case{"ExportBadFormat", "export --format xml", "", 2, {}, "unknown format 'xml'"},
        Case{"WatchNeedsOut", "watch IN", kDefaultFile, 2, {}, "-o OUT is needed"},
        Case{"WatchOutIsFileItself", "watch IN -o IN", kDefaultFile, 2, {}, "OUT is FILE itself"},
        Case{"ExportOutIsFileItself", "export - -o IN", kDefaultFile, 2, {}, "OUT is FILE itself"},
        Case{"WatchMissingFolder",
             "watch DIR/none/Splines.xml -o DIR/out",
             "",
             1,
             {},
             "could not watch"},
        Case{"ExportUnreadable",
             "export IN",
             "<a",
             1,
             {},
             "in\", line 1, column 2: the editor cannot read it"},
        Case{"ExportFullDisk",
             "export IN -o /dev/full",
             kDefaultFile,
             1,
             {},
             "could not write \"/dev/full\""},
        Case{"RenderPartRefused",
             "render IN -o DIR/o.png",
             kPartFile,
             1,
             {},
             "read only in part",
             "-o.png"},
        Case{"RenderPartAllowed",
             "render IN --allow-partial --all DIR/all",
             kPartFile,
             0,
             {},
             "warning:",
             "+all/note2-spline1.png"},
        Case{"RenderMissing", "render DIR/none -o DIR/o.png", "", 1, {}, "no such file", "-o.png"},
        Case{"RenderNoSuchSpline",
             "render --spline 2 -o DIR/x.png",
             kDefaultFile,
             1,
             {},
             "there is no spline 2"},
        Case{"RenderNeedsOutput",
             "render",
             kDefaultFile,
             2,
             {},
             "give either -o OUT.png or --all DIR"},
#ifdef VELMORA_EDITOR
        Case{"EditorHelp",
             "velmora --help",
             "",
             0,
             {"Usage: velmora [options] [FOLDER]", "--choose-folder", "Keypad +, Keypad -"},
             ""},
        Case{"EditorNoDisplay",
             "velmora",
             "",
             1,
             {},
             "no display: Velmora needs a graphical session"},
        Case{"EditorVersion", "velmora --version", "", 0, {"velmora 1"}, ""},
        Case{"EditorUnknownOption", "velmora --bogus", "", 2, {}, "Unknown option 'bogus'"},
        Case{"EditorNoSuchFolder", "velmora DIR/none", "", 2, {}, "none\" does not exist"},
        Case{"EditorFileAsFolder", "velmora IN", "", 2, {}, "in\" is not a folder"},
#endif
        Case{"NoSecondFile", "check a b", "", 2, {}, "one FILE at most"}),
    testing_support::CaseName());

// One line of `check` output, as PLACE ("4:71", or "" where there is
// none), SEVERITY, KIND and a piece of the message.
struct CheckLine {
    std::string place, severity, kind, message;
};

struct CheckCase {
    const char* name;
    std::string flags;
    std::string input;
    int exitCode;
    std::vector<CheckLine> lines;  // every line printed, in order
};

// "in:4:71: warning: MESSAGE [KIND]" as a CheckLine, the whole message kept.
CheckLine ParseCheckLine(const std::string& line) {
    CheckLine out;
    std::size_t at = line.find(": ");
    const std::string head = line.substr(0, at);
    if (const std::size_t colon = head.find(':'); colon != std::string::npos)
        out.place = head.substr(colon + 1);
    const std::size_t severityEnd = line.find(": ", at + 2);
    out.severity = line.substr(at + 2, severityEnd - at - 2);
    const std::size_t kindStart = line.rfind(" [");
    out.message = line.substr(severityEnd + 2, kindStart - severityEnd - 2);
    out.kind = line.substr(kindStart + 2, line.size() - kindStart - 3);
    return out;
}

class CheckVerb : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckVerb, PrintsOneLinePerProblemWithItsSeverity) {
    testing_support::TempDir dir;
    const std::string in = dir.File("in");
    testing_support::WriteFile(in, GetParam().input);
    const std::string command = "cd " + dir.Path().string() + " && " VELMORA_TOOL " check " +
                                GetParam().flags + " in >out 2>err";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), GetParam().exitCode);
    std::istringstream out(ReadFile(dir.File("out")));
    std::vector<CheckLine> got;
    for (std::string line; std::getline(out, line);)
        got.push_back(ParseCheckLine(line));
    const std::vector<CheckLine>& want = GetParam().lines;
    ASSERT_EQ(got.size(), want.size()) << ReadFile(dir.File("out"));
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].place, want[i].place) << i;
        EXPECT_EQ(got[i].severity, want[i].severity) << i;
        EXPECT_EQ(got[i].kind, want[i].kind) << i;
        EXPECT_NE(got[i].message.find(want[i].message), std::string::npos) << got[i].message;
    }
    EXPECT_EQ(ReadFile(dir.File("err")), "");
}

// kDefaultFile with `from` replaced by `to`, everywhere.
std::string Edited(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const std::string kNotes123 = kDefaultFile.substr(kDefaultFile.find("<NewNoteSpline Index=\"1\""));
const std::string kNote0 = kDefaultFile.substr(0, kDefaultFile.size() - kNotes123.size());
const CheckLine kNotRead1{"", "note", "not-read", "note 1 was not read"};
const CheckLine kNotRead2{"", "note", "not-read", "note 2 was not read"};
const CheckLine kNotRead3{"", "note", "not-read", "note 3 was not read"};

INSTANTIATE_TEST_SUITE_P(
    Inputs, CheckVerb,
    ::testing::Values(
        CheckCase{"EditorFile", "--strict", kDefaultFile, 0, {}},
        CheckCase{"ZeroBytes", "--strict", "", 0, {}},
        CheckCase{"Blank", "--strict", " \n\t\n", 0, {}},
        CheckCase{"OpenCommentBeforeNote1",
                  "",
                  kNote0 + "<!-- TODO\n" + kNotes123,
                  1,
                  {kNotRead1,
                   kNotRead2,
                   kNotRead3,
                   {"9:1", "error", "partial", "a comment that is never closed"},
                   {"9:2", "note", "not-editor-form", "a save rewrites it from here"}}},
        CheckCase{"OpenCdata",
                  "",
                  kNote0 + "<![CDATA[\n" + kNotes123,
                  1,
                  {kNotRead1,
                   kNotRead2,
                   kNotRead3,
                   {"9:1", "error", "partial", "a CDATA section that is never closed"},
                   {"9:2", "note", "not-editor-form", "a save rewrites it from here"}}},
        CheckCase{"NulBetweenNotes",
                  "",
                  kNote0 + std::string(3, '\0') + kNotes123,
                  1,
                  {kNotRead1,
                   kNotRead2,
                   kNotRead3,
                   {"9:1", "error", "partial", "a NUL byte"},
                   {"9:1", "note", "not-editor-form", "a save rewrites it from here"}}},
        CheckCase{"ConflictMarkers",
                  "",
                  kNote0 + "<<<<<<< HEAD\n" + kNotes123 + "=======\n" + kNotes123 + ">>>>>>> b\n",
                  1,
                  {kNotRead1,
                   kNotRead2,
                   kNotRead3,
                   {"9:1", "error", "conflict-markers", "conflict markers of an unfinished merge"},
                   {"9:2", "note", "not-editor-form", "a save rewrites it from here"}}},
        CheckCase{"TextButNoNote",
                  "",
                  "<RectSize Width=\"480\" Height=\"360\"/>\n",
                  1,
                  {{"", "error", "no-note", "holds text but no note"},
                   {"", "note", "default-spline", "note 0 is not in the file"},
                   {"", "note", "default-spline", "note 1 is not in the file"},
                   {"", "note", "default-spline", "note 2 is not in the file"},
                   {"", "note", "default-spline", "note 3 is not in the file"},
                   {"1:2", "note", "not-editor-form", "no XML declaration"}}},
        CheckCase{"Utf32",
                  "",
                  std::string("\xFF\xFE\0\0<\0\0\0", 8),
                  1,
                  {{"", "error", "unreadable", "UTF-32"}}},
        CheckCase{"Odd",
                  "",
                  kOddFile,
                  1,
                  {{"", "note", "not-read", "note 0 was not read"},
                   kNotRead2,
                   kNotRead3,
                   {"1:2", "note", "not-editor-form",
                    "no XML declaration; RectSize 100 x 100, the editor writes 480 x 360"},
                   {"2:1", "error", "passed-over", "element \"Stray\" before the first note"},
                   {"3:1", "error", "bad-index", "Index \"7\""},
                   {"4:71", "warning", "coincident-points", "note 1, spline 1, point 2 (5, 5)"},
                   {"4:105", "note", "outside", "(500, 5) lies outside the RectSize 100 x 100"},
                   {"4:141", "error", "dropped-points",
                    "without PosY; the editor drops note 1, "
                    "spline 1, point 4 and every point after"},
                   {"4:178", "warning", "short-spline", "note 1, spline 2 has 0 points"},
                   {"5:1", "error", "duplicate-index", "note 1 again (first on line 4)"},
                   {"5:26", "warning", "short-spline", "note 1, spline 1 has 1 point"},
                   {"6:1", "error", "bad-index", "Index \"x\""},
                   {"7:1", "error", "partial", "a note without an \"Index\" attribute"}}},
        CheckCase{"NumbersReadOtherThanWritten",
                  "",
                  Edited(Edited(Edited(kDefaultFile, "PosX=\"75\"", "PosX=\"7S\""), "PosY=\"238\"",
                                "PosY=\"238.9\""),
                         "PosX=\"184\"", "PosX=\"184px\""),
                  0,
                  {{"5:9", "warning", "misread-number", "PosY \"238.9\" is read as 238"},
                   {"5:43", "note", "not-editor-form", "a save rewrites it from here"},
                   {"6:9", "warning", "misread-number", "PosX \"7S\" is read as 7"},
                   {"11:9", "warning", "misread-number", "PosY \"238.9\" is read as 238"},
                   {"12:9", "warning", "misread-number", "PosX \"184px\" is read as 184"},
                   {"17:9", "warning", "misread-number", "PosY \"238.9\" is read as 238"},
                   {"23:9", "warning", "misread-number", "PosY \"238.9\" is read as 238"}}},
        CheckCase{"CoincidentPointsPassUnlessStrict",
                  "",
                  Edited(kDefaultFile, "PosX=\"75\" PosY=\"75\"", "PosX=\"424\" PosY=\"238\""),
                  0,
                  {{"6:9", "warning", "coincident-points", "note 0, spline 1, point 2"}}},
        CheckCase{"CoincidentPointsFailWhenStrict",
                  "--strict",
                  Edited(kDefaultFile, "PosX=\"75\" PosY=\"75\"", "PosX=\"424\" PosY=\"238\""),
                  1,
                  {{"6:9", "warning", "coincident-points", "note 0, spline 1, point 2"}}},
        CheckCase{"FormOnlyIsANote",
                  "",
                  "\xEF\xBB\xBF" + Edited(Edited(kDefaultFile, "\n", "\r\n"), "    ", "\t"),
                  0,
                  {{"1:1", "note", "not-editor-form",
                    "byte-order mark; tab indentation; a save rewrites it from here"}}},
        CheckCase{
            "EitherLineEndIsTheEditorsForm", "--strict", Edited(kDefaultFile, "\n", "\r\n"), 0, {}},
        CheckCase{"LoneCrIsNot",
                  "",
                  Edited(kDefaultFile, "<NewSpline>\n", "<NewSpline>\r"),
                  0,
                  {{"4:16", "note", "not-editor-form",
                    "line endings are CR; a save rewrites it from here"}}},
        CheckCase{"IgnoredContentIsANote",
                  "--strict",
                  Edited(kDefaultFile, "<NewSpline>", "<NewSpline Id=\"a\"><!-- c -->"),
                  1,
                  {{"4:15", "note", "not-editor-form", "a save rewrites it from here"},
                   {"4:16", "note", "ignored", "attribute \"Id\" is ignored"},
                   {"4:23", "note", "ignored", "a comment is ignored"},
                   {"10:16", "note", "ignored", "attribute \"Id\""},
                   {"10:23", "note", "ignored", "a comment"},
                   {"16:16", "note", "ignored", "attribute \"Id\""},
                   {"16:23", "note", "ignored", "a comment"},
                   {"22:16", "note", "ignored", "attribute \"Id\""},
                   {"22:23", "note", "ignored", "a comment"}}}),
    testing_support::CaseName());

#ifdef VELMORA_EDITOR
// Every PNG of render --all holds the editor's own canvas with that spline
// shown; diff --render's picture of a changed spline holds it too, where the
// editor draws, with words in a band below it.
TEST(VelmoraToolRender, WritesTheEditorsCanvas) {
    testing_support::TempDir dir;
    const std::string file = dir.File("Splines.xml");
    const std::string spline =
        "<NewSpline><ControlPoint PosX=\"10\" PosY=\"300\" /><ControlPoint PosX=\"470\" "
        "PosY=\"20\" />";
    testing_support::WriteFile(
        file, "<NewNoteSpline Index=\"2\"><NewSpline />" + spline + "</NewSpline></NewNoteSpline>");
    testing_support::WriteFile(dir.File("old.xml"), "<NewNoteSpline Index=\"2\"><NewSpline />" +
                                                        spline +
                                                        "<ControlPoint PosX=\"240\" PosY=\"20\" />"
                                                        "</NewSpline></NewNoteSpline>");
    const std::string tool = VELMORA_TOOL;
    ASSERT_EQ(std::system((tool + " render --all " + dir.File("all") + " " + file).c_str()), 0);
    ASSERT_EQ(std::system((tool + " diff --render " + dir.File("diff") + " " + dir.File("old.xml") +
                           " " + file + " >/dev/null")
                              .c_str()),
              1 << 8);
    HeadlessHost host;
    CVelmoraDlg dlg(file);
    dlg.Attach(host);
    dlg.OnInitDialog();
    dlg.NextNote();
    dlg.NextNote();
    dlg.NextSpline();
    for (const char* name : {"all/note2-spline2.png", "diff/note2-spline2.png"}) {
        const QImage image(QString::fromStdString(dir.File(name)));
        const bool review = name[0] == 'd';
        ASSERT_EQ(image.width(), 480) << name;
        EXPECT_TRUE(review ? image.height() > 360 : image.height() == 360) << name;
        int differing = 0;
        for (int y = 0; y < 360; ++y) {
            for (int x = 0; x < 480; ++x) {
                const Colour c = host.ClientCanvas().PixelAt(x, y);
                if (review && c == kBackgroundColour)
                    continue;
                differing += image.pixel(x, y) != qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
            }
        }
        EXPECT_EQ(differing, 0) << name;
    }
}
#endif

}  // namespace
}  // namespace velmora
