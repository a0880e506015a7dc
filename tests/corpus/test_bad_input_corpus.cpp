// Crafted spline files, each with the outcome the editor must reach: what it
// tells the user, what every note holds afterwards, and no crash. The large
// inputs are generated into a temporary folder instead of being kept as files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "editor/velmora_dlg.h"
#include "io/loaded_notes.h"
#include "io/xml/spline_writer.h"
#include "platform/headless_host.h"
#include "tests/support/case_names.h"
#include "tests/support/sanitizers.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// Each note as "d" when it holds just its default spline, else the point
// counts of its splines, "[2,3]", with runs written "2*10000".
std::string Describe(const NoteSet& notes, const Rect& client) {
    std::string out;
    for (int n = 0; n < kNoteCount; ++n) {
        if (!out.empty())
            out += ' ';
        if (notes[n] == SplineList{DefaultSpline(client, kDesignTargets[n])}) {
            out += 'd';
            continue;
        }
        out += '[';
        const SplineList& list = notes[n];
        for (size_t s = 0; s < list.size();) {
            size_t run = 1;
            while (s + run < list.size() && list[s + run].size() == list[s].size())
                ++run;
            if (s > 0)
                out += ',';
            out += std::to_string(list[s].size());
            if (run > 2) {
                out += '*' + std::to_string(run);
            } else if (run == 2) {
                out += ',' + std::to_string(list[s].size());
            }
            s += run;
        }
        out += ']';
    }
    return out;
}

// Writes a generated input to `path`.
using Generator = std::function<void(const std::string& path)>;

struct CorpusCase {
    const char* name;    // a file of tests/data/corpus, or a generated input
    bool warned;         // the user is told the file cannot be read, or not in full
    const char* notes;   // Describe() of the note set after start-up
    Generator generate;  // empty for a kept file
};

void PointsInOneSpline(const std::string& path) {
    std::ofstream out(path);
    out << "<NewNoteSpline Index=\"0\"><NewSpline>\n";
    for (int i = 0; i < 10000; ++i)
        out << "<ControlPoint PosX=\"" << i % 480 << "\" PosY=\"" << (i * 7) % 360 << "\" />\n";
    out << "</NewSpline></NewNoteSpline>\n";
}

void SplinesInOneNote(const std::string& path) {
    std::ofstream out(path);
    out << "<NewNoteSpline Index=\"1\">\n";
    for (int i = 0; i < 10000; ++i)
        out << "<NewSpline><ControlPoint PosX=\"" << i % 480
            << "\" PosY=\"5\" /><ControlPoint PosX=\"9\" PosY=\"9\" /></NewSpline>\n";
    out << "</NewNoteSpline>\n";
}

void DeepNesting(const std::string& path) {
    std::ofstream out(path);
    out << "<NewNoteSpline Index=\"0\">";
    for (int i = 0; i < 100000; ++i)
        out << "<a>";
    for (int i = 0; i < 100000; ++i)
        out << "</a>";
    out << "</NewNoteSpline>\n";
}

void FiftyMegabytes(const std::string& path) {
    std::ofstream out(path);
    out << "<NewNoteSpline Index=\"0\"><NewSpline>\n";
    const std::string point = "<ControlPoint PosX=\"100\" PosY=\"100\" />\n";
    for (size_t written = 0; written < 50u * 1024 * 1024; written += point.size())
        out << point;
    out << "</NewSpline></NewNoteSpline>\n";
}

void FarApartPoints(const std::string& path, int count = 10000) {
    std::ofstream out(path);
    out << "<NewNoteSpline Index=\"2\"><NewSpline>\n";
    for (int i = 0; i < count; ++i)
        out << "<ControlPoint PosX=\"" << (i % 2 ? 2147483647 : -2147483647) << "\" PosY=\""
            << (i % 3 ? -2147483647 : 2147483647) << "\" />\n";
    out << "</NewSpline></NewNoteSpline>\n";
}

// A character reference that runs on to a ';' past the closing quote, so
// the value swallows the quote, then nesting that overflowed the parser.
void ReferenceSwallowsQuote(const std::string& path) {
    std::ofstream out(path);
    out << "<r v=\"&#x\"x41;\">";
    for (int i = 0; i < 40000; ++i)
        out << "<a>";
}

// Points in compact form, all in one spline: 690,000 take just under 16 MiB.
// `far` = "9999" puts every other point far off the canvas.
void CompactPoints(int count, const std::string& path, const char* far = "0002") {
    std::ofstream out(path);
    out << "<NewNoteSpline Index=\"0\"><NewSpline><ControlPoint PosX=0 PosY=0/>";
    for (int i = 1; i < count; ++i)
        out << (i % 2 ? "<a PosX=" + std::string(far) + " PosY=" + far + "/>"
                      : std::string("<a PosX=0000 PosY=0000/>"));
    out << "</NewSpline></NewNoteSpline>";
}

void EmptyElements(int count, const char* element, const std::string& path) {
    std::ofstream out(path);
    out << "<NewNoteSpline Index=\"1\">";
    for (int i = 0; i < count; ++i)
        out << element;
    out << "</NewNoteSpline>";
}

void Directory(const std::string& path) { std::filesystem::create_directory(path); }

const CorpusCase kCases[] = {
    {"empty.xml", false, "d d d d", {}},
    {"blank.xml", false, "d d d d", {}},
    {"declaration_only.xml", true, "d d d d", {}},
    {"byte_order_mark.xml", false, "[2,3] [3] [2] [3,2,2]", {}},
    {"utf16.xml", true, "d d d d", {}},
    {"utf32.xml", true, "d d d d", {}},
    {"open_comment.xml", true, "[2] d d d", {}},
    {"open_cdata.xml", true, "[2] d d d", {}},
    {"nul_between_notes.xml", true, "[2] d d d", {}},
    {"conflict_markers.xml", true, "[3,2] d d d", {}},
    {"cr_only_line_ends.xml", false, "[2,3] [3] [2] [3,2,2]", {}},
    {"crlf_line_ends.xml", false, "[2,3] [3] [2] [3,2,2]", {}},
    {"single_quotes.xml", false, "[2,3] [3] [2] [3,2,2]", {}},
    {"attributes_reordered.xml", false, "[2] d d d", {}},
    {"duplicate_attribute.xml", true, "d d d d", {}},
    {"unknown_elements_and_attributes.xml", false, "d d [2] d", {}},
    {"comments.xml", false, "d [3] d d", {}},
    {"index_minus_one.xml", false, "d [3] d d", {}},
    {"index_four.xml", false, "d [3] d d", {}},
    {"index_int_max.xml", false, "d [3] d d", {}},
    {"index_empty.xml", false, "d [3] d d", {}},
    {"index_letter.xml", false, "d [3] d d", {}},
    {"index_overflow.xml", false, "d [3] d d", {}},
    {"index_leading_blank.xml", false, "d d [3] d", {}},
    {"index_plus_sign.xml", false, "d d d [3]", {}},
    {"index_exponent.xml", false, "d [3] d d", {}},
    {"nested_note.xml", false, "[2,0] d d d", {}},
    {"control_point_outside_spline.xml", true, "d d d d", {}},
    {"extreme_coordinates.xml", false, "[3] d d d", {}},
    {"coincident_points.xml", false, "[6] d d d", {}},
    {"unterminated_tag.xml", true, "d d d d", {}},
    {"unterminated_attribute.xml", true, "d d d d", {}},
    {"mismatched_end_tag.xml", true, "d d d d", {}},
    {"text_after_last_element.xml", true, "[3] d d d", {}},
    {"parse_error_after_four_notes.xml", true, "d d d d", {}},
    {"second_note_without_index.xml", true, "[3] d d d", {}},
    {"rect_size_differs.xml", false, "d d d [2]", {}},
    {"coordinate_not_a_number.xml", false, "[1,1] d d d", {}},
    {"ten_thousand_points", false, "[10000] d d d", PointsInOneSpline},
    {"ten_thousand_splines", false, "d [2*10000] d d", SplinesInOneNote},
    {"far_apart_points", false, "d d [10000] d", [](auto& p) { FarApartPoints(p); }},
    {"far_apart_points_199999", false, "d d [199999] d",
     [](auto& p) { FarApartPoints(p, 199999); }},
    {"nested_100000_deep", true, "d d d d", DeepNesting},
    {"fifty_megabytes", true, "d d d d", FiftyMegabytes},
    {"a_directory", true, "d d d d", Directory},
    {"reference_swallows_quote", true, "d d d d", ReferenceSwallowsQuote},
    {"compact_points_690000", true, "d d d d", [](auto& p) { CompactPoints(690000, p); }},
    {"compact_points_199000", false, "[199000] d d d", [](auto& p) { CompactPoints(199000, p); }},
    {"far_apart_compact_199000", false, "[199000] d d d",
     [](auto& p) { CompactPoints(199000, p, "9999"); }},
    {"empty_elements_4100000", true, "d d d d", [](auto& p) { EmptyElements(4100000, "<a/>", p); }},
    {"empty_splines_599000", false, "d [0*599000] d d",
     [](auto& p) { EmptyElements(599000, "<NewSpline/>", p); }},
};

class BadInputCorpus : public ::testing::TestWithParam<CorpusCase> {
protected:
    // Puts the case's input in place as Splines.xml in a fresh folder.
    std::string Prepare() {
        const std::string path = m_dir.File("Splines.xml");
        const CorpusCase& c = GetParam();
        if (c.generate) {
            c.generate(path);
        } else {
            const std::string source = std::string(VELMORA_TEST_DATA) + "/corpus/" + c.name;
            EXPECT_TRUE(std::filesystem::exists(source)) << source;
            WriteFile(path, ReadFile(source));
        }
        return path;
    }

    TempDir m_dir;
};

TEST_P(BadInputCorpus, StartsWithTheDocumentedOutcome) {
    const std::string path = Prepare();
    const bool wasRegularFile = std::filesystem::is_regular_file(path);
    const std::string before = wasRegularFile ? ReadFile(path) : std::string();

    HeadlessHost host;
    CVelmoraDlg dlg(path);
    dlg.Attach(host);
    dlg.OnInitDialog();

    EXPECT_EQ(host.Warnings().size(), GetParam().warned ? 1u : 0u);
    EXPECT_EQ(Describe(dlg.NoteSplines(), dlg.ClientRect()), GetParam().notes);
    // Loading never changes the file, and the editor is on a valid spline.
    if (wasRegularFile) {
        EXPECT_EQ(ReadFile(path), before);
    }
    EXPECT_EQ(dlg.Points(), dlg.NoteSplines()[0][0]);
    EXPECT_EQ(host.Caption().rfind("Velmora (Editing note 0 spline 1 / ", 0), 0u);
}

// The user's file is never lost: a save after an unreadable start keeps it
// as the backup; any save gives a file that loads back to the same notes.
TEST_P(BadInputCorpus, SavingKeepsTheOriginalAndWritesAReadableFile) {
    const std::string path = Prepare();
    if (!std::filesystem::is_regular_file(path))
        GTEST_SKIP() << "nothing to save over";
    const std::string before = ReadFile(path);

    HeadlessHost host;
    CVelmoraDlg dlg(path);
    dlg.Attach(host);
    dlg.OnInitDialog();
    dlg.SaveSplines();
    ASSERT_EQ(host.Warnings().size(), GetParam().warned ? 1u : 0u);
    if (GetParam().warned) {
        EXPECT_EQ(ReadFile(path + ".bak"), before);
    }

    HeadlessHost again;
    CVelmoraDlg reloaded(path);
    reloaded.Attach(again);
    reloaded.OnInitDialog();
    EXPECT_TRUE(again.Warnings().empty());
    EXPECT_EQ(reloaded.NoteSplines(), dlg.NoteSplines());
}

#ifndef VELMORA_UNDER_ASAN
// The peak resident size in KiB of a child process that runs `work`, or -1
// when it did not end normally.
long PeakKibOfChild(const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status))
        return -1;
    return usage.ru_maxrss;
}

// Runs velmora-tool with `args`, its output and messages thrown away.
void RunTool(std::vector<std::string> args) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(VELMORA_TOOL)};
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execv(VELMORA_TOOL, argv.data());
    ::_exit(127);
}

#ifdef VELMORA_PYTHON_EXAMPLE
// Runs the Python example on `path` over this build's module and libraries,
// its output and messages thrown away.
void RunPythonExample(const std::string& path) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::setenv("PYTHONPATH", VELMORA_PYTHON_PATH, 1);
    ::setenv("LD_LIBRARY_PATH", VELMORA_LIBRARY_PATH, 1);
    ::execl(VELMORA_PYTHON, VELMORA_PYTHON, VELMORA_PYTHON_EXAMPLE, path.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
}
#endif
#endif

#ifndef VELMORA_UNDER_ASAN
// The notes the editor shows for the file at `in`, each moved on to the next
// note, written in the editor's form to `out`: a diff of the two removes
// every spline of the input and adds it again, the longest diff there is.
void WriteNotesMovedOn(const std::string& in, const std::string& out) {
    const NoteSet notes = LoadLikeEditor(ReadFile(in), Rect{0, 0, 480, 360}).notes;
    NoteSet moved;
    for (int n = 0; n < kNoteCount; ++n)
        moved[(n + 1) % kNoteCount] = notes[n];
    WriteFile(out, PrintSplines(moved, 480, 360));
}
#endif

// Start-up, showing every note's spline and a save in the editor, every file
// verb of velmora-tool (going on after a partial read, where memory is spent
// most) and the Python example each stay within 256 MB for every input,
// measured as the peak resident size of a child process that does only that.
TEST_P(BadInputCorpus, EditorAndToolStayWithin256Megabytes) {
#ifdef VELMORA_UNDER_ASAN
    GTEST_SKIP() << "the address sanitizer's shadow memory would dominate the measurement";
#else
    const std::string path = Prepare();
    EXPECT_LE(PeakKibOfChild([&path] {
                  HeadlessHost host;
                  CVelmoraDlg dlg(path);
                  dlg.Attach(host);
                  dlg.OnInitDialog();
                  for (int n = 0; n < kNoteCount; ++n) {
                      dlg.ShowCurrentSpline();
                      dlg.NextNote();
                  }
                  dlg.SaveSplines();
              }),
              256L * 1024)
        << "editor: peak resident size in KiB";
    const std::string in = m_dir.File("Input.xml");
    const std::string moved = m_dir.File("Moved.xml");
    if (std::filesystem::is_regular_file(path)) {
        std::filesystem::copy_file(path, in);
        WriteNotesMovedOn(path, moved);
    }
    using Arguments = std::vector<std::string>;
    const Arguments verbs[] = {
        {"check", path},
        {"check", "--json", path},
        {"export", "-f", "json", "-o", "/dev/null", "--allow-partial", path},
        {"export", "--precise", "-o", "/dev/null", "--allow-partial", path},
        {"export", "-f", "csv", "-o", "/dev/null", "--allow-partial", path},
        {"export", "-f", "svg", "-o", "/dev/null", "--allow-partial", path},
        {"format", "--stdout", "--allow-partial", path},
        {"format", "--allow-partial", in},
        {"diff", path, moved},
        {"diff", "--json", path, moved},
        {"diff", "--git", "Splines.xml", path, "1", "100644", moved, "2", "100644"},
        {"render", "-o", m_dir.File("picture.png"), "--allow-partial", path},
    };
    for (const Arguments& args : verbs) {
        const long peak = PeakKibOfChild([&args] { RunTool(args); });
        EXPECT_GT(peak, 0) << args[0];
        EXPECT_LE(peak, 256L * 1024) << args[0] << " " << args[1] << ": peak resident size in KiB";
    }
#ifdef VELMORA_PYTHON_EXAMPLE
    const long python = PeakKibOfChild([&path] { RunPythonExample(path); });
    EXPECT_GT(python, 0);
    EXPECT_LE(python, 256L * 1024) << "print_splines.py: peak resident size in KiB";
#endif
#endif
}

INSTANTIATE_TEST_SUITE_P(Files, BadInputCorpus, ::testing::ValuesIn(kCases),
                         testing_support::CaseName());

}  // namespace
}  // namespace velmora
