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

#ifdef VELMORA_TOOL_RENDER
#include <QtGui/QImage>

#include "editor/velmora_dlg.h"
#include "platform/headless_host.h"
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
    std::string args;   // IN is the input file, DIR a scratch folder
    std::string input;  // the content of IN, also fed to standard input
    int exitCode;
    std::vector<std::string> out;  // each must appear in standard output
    std::string err;               // must appear in standard error
};

class VelmoraTool : public ::testing::TestWithParam<Case> {};

TEST_P(VelmoraTool, ExitsAndPrintsAsDocumented) {
    testing_support::TempDir dir;
    const std::string in = dir.File("in");
    testing_support::WriteFile(in, GetParam().input);
    std::istringstream words(GetParam().args);
    std::string args, word;
    while (words >> word) {
        if (word == "IN")
            word = in;
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
    const std::string command = "cd " + dir.Path().string() + " && " + program + " " +
                                args.substr(editor ? 8 : 0) + " <" + in + " >" + dir.File("out") +
                                " 2>" + dir.File("err");
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), GetParam().exitCode);
    const std::string out = ReadFile(dir.File("out"));
    const std::string err = ReadFile(dir.File("err"));
    for (const std::string& piece : GetParam().out)
        EXPECT_NE(out.find(piece), std::string::npos) << piece << "\nin:\n" << out;
    EXPECT_NE(err.find(GetParam().err), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("Splines.xml")));
}

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
        Case{"CheckExact", "check IN", kDefaultFile, 0, {""}, ""},
        Case{"CheckOdd",
             "check IN",
             kOddFile,
             1,
             {":2:1: skipped: element \"Stray\"", ":3:1: bad-index: Index 7",
              ":4:71: coincident-points",
              ":4:105: outside: point (500, 5) lies outside the RectSize 100 x 100",
              ":4:141: walk-ended: control point without PosY",
              ":4:178: short-spline: note 1, spline 2 has 0 points",
              ":5:1: duplicate-index: note 1 again (first on line 4)",
              ":6:1: bad-index: Index \"x\"", ":7:1: misnamed: element \"Last\" is read as a note",
              ":7:1: walk-ended", ":8:1: skipped: the reader stops here",
              "in: default-spline: note 0 is not in the file", ":1:2: not-editor-form"},
             ""},
        Case{"CheckJson",
             "check --json",
             kOddFile,
             1,
             {"\"exact\": false", "\"kind\": \"bad-index\""},
             ""},
        Case{"CheckNul",
             "check IN",
             std::string("<a>\0</a>", 8),
             1,
             {"unreadable: the editor cannot read it"},
             ""},
        Case{"CheckParseError", "check IN", kDefaultFile + "<bad", 1, {"in:27:", "unreadable"}, ""},
        Case{"CheckFolder", "check DIR", "", 1, {"is a folder"}, ""},
        Case{"ExportJson",
             "export IN --format json",
             kDefaultFile,
             0,
             {"{\"format\":\"velmora-splines\",\"version\":1,\"client\":{\"width\":480,\"height\":"
              "360},"
              "\"notes\":[{\"index\":0,\"splines\":[{\"points\":[[424,238],[75,75]],\"curve\":[["
              "424,238],[419,236],"},
             ""},
        Case{"ExportRepairsAndShortSpline",
             "export --note 1",
             kOddFile,
             0,
             {"{\"index\":1,\"splines\":[{\"points\":[[9,9]],\"curve\":[]}]}]}\n"},
             ""},
        Case{"ExportCsvDefaultForMissingNote",
             "export -f csv",
             "<NewNoteSpline Index=\"1\" />",
             0,
             {"note,spline,kind,index,x,y\n0,0,point,0,424,238\n0,0,point,1,75,75\n0,0,sample,0,"
              "424,238\n"},
             ""},
        Case{"ExportSvg",
             "export --format svg --note 2 -o -",
             kDefaultFile,
             0,
             {"<g id=\"note-2\"", "<polyline fill=\"none\" stroke=\"#000000\" points=\"424,238 "},
             ""},
        Case{"ExportBadFormat", "export --format xml", "", 2, {}, "unknown format 'xml'"},
        Case{"WatchNeedsOut", "watch IN", kDefaultFile, 2, {}, "-o OUT is needed"},
        Case{"WatchOutIsFileItself", "watch IN -o IN", kDefaultFile, 2, {}, "OUT is FILE itself"},
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
#ifdef VELMORA_TOOL_RENDER
        Case{"RenderNoSuchSpline",
             "render --spline 2 -o DIR/x.png",
             kDefaultFile,
             1,
             {},
             "there is no spline 2"},
        Case{"EditorHelp", "velmora --help", "", 0, {"[FOLDER]", "--choose-folder"}, ""},
        Case{"EditorVersion", "velmora --version", "", 0, {"velmora 1"}, ""},
        Case{"EditorUnknownOption", "velmora --bogus", "", 2, {}, "Unknown option 'bogus'"},
        Case{"EditorNoSuchFolder", "velmora DIR/none", "", 2, {}, "none\" does not exist"},
        Case{"EditorFileAsFolder", "velmora IN", "", 2, {}, "in\" is not a folder"},
        Case{"RenderNeedsOutput",
             "render",
             kDefaultFile,
             2,
             {},
             "give either -o OUT.png or --all DIR"},
#endif
        Case{"NoSecondFile", "check a b", "", 2, {}, "one FILE at most"}),
    testing_support::CaseName());

#ifdef VELMORA_TOOL_RENDER
// Every PNG of --all holds the editor's own canvas with that spline shown.
TEST(VelmoraToolRender, WritesTheEditorsCanvas) {
    testing_support::TempDir dir;
    const std::string file = dir.File("Splines.xml");
    testing_support::WriteFile(file,
                               "<NewNoteSpline Index=\"2\"><NewSpline /><NewSpline>"
                               "<ControlPoint PosX=\"10\" PosY=\"300\" /><ControlPoint "
                               "PosX=\"470\" PosY=\"20\" /></NewSpline></NewNoteSpline>");
    const std::string command =
        std::string(VELMORA_TOOL) + " render --all " + dir.File("all") + " " + file;
    ASSERT_EQ(std::system(command.c_str()), 0);
    HeadlessHost host;
    CVelmoraDlg dlg(file);
    dlg.Attach(host);
    dlg.OnInitDialog();
    dlg.NextNote();
    dlg.NextNote();
    dlg.NextSpline();
    const QImage image(QString::fromStdString(dir.File("all/note2-spline2.png")));
    ASSERT_EQ(image.width() * image.height(), 480 * 360);
    int differing = 0;
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 480; ++x) {
            const Colour c = host.ClientCanvas().PixelAt(x, y);
            differing += image.pixel(x, y) != qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        }
    }
    EXPECT_EQ(differing, 0);
}
#endif

}  // namespace
}  // namespace velmora
