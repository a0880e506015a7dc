#include "app/windows_command_line.h"

#include "resources/resource_ids.h"

namespace velmora {

namespace {

// The same words as the Linux editor's help, with the folder's Windows form.
const wchar_t* const kHelp =
    L"Usage: velmora [options] [FOLDER]\n"
    L"Edits the note splines of FOLDER\\Splines.xml (default: the current folder).\n"
    L"\n"
    L"Options:\n"
    L"  -h, --help       Displays help on commandline options.\n"
    L"  -v, --version    Displays version information.\n"
    L"  --choose-folder  Ask for the folder first with the folder dialog; cancel\n"
    L"                   quits.\n"
    L"\n"
    L"Arguments:\n"
    L"  FOLDER           The folder of Splines.xml.\n"
    L"\n"
    L"Mouse and keys:\n"
    L"  Left click on empty canvas  add a control point at the end of the spline\n"
    L"  Left press, move, release   drag the control point under the mouse\n"
    L"  Backspace                   remove the last point (two always remain)\n"
    L"  Keypad /                    remove the point under the mouse cursor\n"
    L"  Right, Left                 next, previous spline of the note\n"
    L"  Keypad +, Keypad -          next, previous note\n"
    L"  Enter                       append a new spline (origin to target)\n"
    L"  Delete, Keypad .            delete the current spline, after asking\n"
    L"  S                           save every note to Splines.xml\n"
    L"  Right button                the window menu, with About Velmora\n"
    L"Closing the window does not save; there is no undo.\n";

std::wstring Widened(const char* ascii) {
    std::wstring wide;
    for (; *ascii != '\0'; ++ascii)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*ascii));
    return wide;
}

WindowsCommandLine Exit(int code, std::wstring text) {
    WindowsCommandLine line;
    line.exitCode = code;
    line.text = std::move(text);
    return line;
}

}  // namespace

std::wstring RefusalText(const std::wstring& what) {
    return L"velmora: " + what + L"\nTry 'velmora --help'.\n";
}

WindowsCommandLine ReadWindowsCommandLine(const std::vector<std::wstring>& args) {
    WindowsCommandLine line;
    bool options = true;
    bool haveFolder = false;
    for (const std::wstring& arg : args) {
        if (options && arg == L"--") {
            options = false;
        } else if (options && (arg == L"--help" || arg == L"--help-all" || arg == L"-h" ||
                               arg == L"-?" || arg == L"/?")) {
            return Exit(0, kHelp);
        } else if (options && (arg == L"--version" || arg == L"-v")) {
            return Exit(0, L"velmora " + Widened(kVersionText) + L"\n");
        } else if (options && arg == L"--choose-folder") {
            line.chooseFolder = true;
        } else if (options && arg.size() > 1 && arg[0] == L'-') {
            const std::wstring name = arg.substr(arg.rfind(L"--", 0) == 0 ? 2 : 1);
            return Exit(2, RefusalText(L"Unknown option '" + name + L"'."));
        } else if (haveFolder) {
            return Exit(2, RefusalText(L"one FOLDER at most"));
        } else {
            line.folder = arg;
            haveFolder = true;
        }
    }
    return line;
}

}  // namespace velmora
