#pragma once

#include <string>
#include <vector>

namespace velmora {

// What velmora.exe's command line asks for.
struct WindowsCommandLine {
    int exitCode = -1;    // 0 or more: print `text`, then exit with this code
    std::wstring text;    // the help, the version or the refusal
    std::wstring folder;  // FOLDER as given; empty for the current folder
    bool chooseFolder = false;
};

// Reads the arguments after the program's name: --help (--help-all, -h, -?, /?),
// --version (-v), --choose-folder and at most one FOLDER; "--" ends the
// options. Whether FOLDER exists is left to the caller.
WindowsCommandLine ReadWindowsCommandLine(const std::vector<std::wstring>& args);

// The refusal for `what`, with the pointer to --help, as exit code 2 gives it.
std::wstring RefusalText(const std::wstring& what);

}  // namespace velmora
