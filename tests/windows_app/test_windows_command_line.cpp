// velmora.exe's command line: what it prints, with which exit code, and
// which folder it edits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/windows_command_line.h"

namespace velmora {
namespace {

struct LineCase {
    std::vector<std::wstring> args;
    int exitCode;
    std::wstring textStart;  // what the printed text begins with
    std::wstring folder;
    bool chooseFolder;
};

TEST(WindowsCommandLineTest, AsTheLinuxEditorReadsIt) {
    const LineCase cases[] = {
        {{}, -1, L"", L"", false},
        {{L"C:\\Jeux\\Caf\u00E9 \u30CE\u30FC\u30C8"},
         -1,
         L"",
         L"C:\\Jeux\\Caf\u00E9 \u30CE\u30FC\u30C8",
         false},
        {{L"--choose-folder", L"D:/notes"}, -1, L"", L"D:/notes", true},
        {{L"--", L"--help"}, -1, L"", L"--help", false},
        {{L"-"}, -1, L"", L"-", false},
        {{L"--help"}, 0, L"Usage: velmora [options] [FOLDER]\n", L"", false},
        {{L"a", L"/?"}, 0, L"Usage: velmora", L"", false},
        {{L"--version"}, 0, L"velmora 1.", L"", false},
        {{L"a", L"b"}, 2, L"velmora: one FOLDER at most\nTry 'velmora --help'.\n", L"", false},
        {{L"--colour"}, 2, L"velmora: Unknown option 'colour'.\n", L"", false},
        {{L"---"}, 2, L"velmora: Unknown option '-'.\n", L"", false},
    };
    for (const LineCase& c : cases) {
        const WindowsCommandLine line = ReadWindowsCommandLine(c.args);
        SCOPED_TRACE(c.args.empty() ? std::string("(none)") : std::to_string(c.args.size()));
        EXPECT_EQ(line.exitCode, c.exitCode);
        EXPECT_EQ(line.text.substr(0, c.textStart.size()), c.textStart);
        EXPECT_EQ(line.folder, c.folder);
        EXPECT_EQ(line.chooseFolder, c.chooseFolder);
    }
}

}  // namespace
}  // namespace velmora
