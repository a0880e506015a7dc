// velmora-tool.exe watch as a user runs it, played by another program:
//   watch_session VELMORA-TOOL.exe WORK_FOLDER FIRST.xml SECOND.xml HOLD_FILE.exe
// The watched folder's name has a space and an accented letter. The session
// checks that a rewrite by another process is exported and the --exec
// command (run by cmd.exe) appends its line; that a version held open for
// writing is exported only once it is closed; that a real Ctrl+C
// (GenerateConsoleCtrlEvent on the console both share) ends the watch with
// exit 0, also while the command runs, which ends with it.
// Prints each failed check; exits 1 if any failed.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <windows.h>

namespace {

int g_failures = 0;

void Expect(bool ok, const char* what) {
    if (!ok) {
        std::printf("FAILED: %s\n", what);
        ++g_failures;
    }
}

std::string Read(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Another program's plain write: open, write, close.
void Write(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    CloseHandle(file);
}

// Waits up to 15 s for `done`, looking every 50 ms.
template <typename Done>
bool Within(Done done) {
    for (int i = 0; i < 300; ++i) {
        if (done())
            return true;
        Sleep(50);
    }
    return done();
}

std::size_t Lines(const std::wstring& path) {
    const std::string text = Read(path);
    std::size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

HANDLE Start(std::wstring line, DWORD flags, HANDLE errors) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (errors != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = errors;
    }
    PROCESS_INFORMATION child{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, errors != nullptr, flags, nullptr,
                       nullptr, &startup, &child) == 0)
        return nullptr;
    CloseHandle(child.hThread);
    return child.hProcess;
}

// The exit code once the process has ended, or -1 after 15 s.
long Ended(HANDLE process) {
    DWORD code = 0;
    if (WaitForSingleObject(process, 15000) != WAIT_OBJECT_0 ||
        GetExitCodeProcess(process, &code) == 0) {
        TerminateProcess(process, 99);
        return -1;
    }
    return static_cast<long>(code);
}

BOOL WINAPI KeepRunning(DWORD) { return TRUE; }

// One argument as the C runtime reads it back; no backslash ends a quote here.
std::wstring Quoted(const std::wstring& text) {
    std::wstring quoted = L"\"";
    for (wchar_t c : text)
        quoted += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
    return quoted + L"\"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6)
        return 2;
    const std::wstring tool = argv[1];
    const std::wstring holder = argv[5];
    const std::wstring folder = std::wstring(argv[2]) + L"\\dossier café";
    const std::string first = Read(argv[3]);
    const std::string second = Read(argv[4]);
    CreateDirectoryW(argv[2], nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring splines = folder + L"\\Splines.xml";
    const std::wstring out = folder + L"\\out.json";
    const std::wstring log = folder + L"\\exports.txt";
    const std::wstring expected = folder + L"\\expected.json";
    DeleteFileW(out.c_str());
    DeleteFileW(log.c_str());
    Write(splines, first);

    // A console of its own that the watch shares: the one Wine gives a
    // program started from Linux takes no Ctrl+C.
    FreeConsole();
    AllocConsole();
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE errors = CreateFileW((folder + L"\\watch.log").c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    const std::wstring exec = L"echo exported>>" + Quoted(log);
    const HANDLE watch = Start(Quoted(tool) + L" watch " + Quoted(splines) + L" -o " + Quoted(out) +
                                   L" --exec " + Quoted(exec),
                               0, errors);
    Expect(watch != nullptr, "the watch starts");
    if (watch == nullptr)
        return 1;
    Expect(Within([&] { return Lines(log) == 1; }), "the first export runs the command");
    Expect(Read(log) == "exported\r\n", "the command's line is in the log");

    // The expected exports, made by the tool's own export verb.
    const auto exportOf = [&](const std::string& bytes) {
        const std::wstring input = folder + L"\\input.xml";
        Write(input, bytes);
        const HANDLE run =
            Start(Quoted(tool) + L" export " + Quoted(input) + L" -o " + Quoted(expected),
                  CREATE_NO_WINDOW, nullptr);
        Ended(run);
        CloseHandle(run);
        return Read(expected);
    };
    Expect(Read(out) == exportOf(first), "the first export is the file's");

    // A rewrite by another process.
    Write(splines, second);
    Expect(Within([&] { return Lines(log) == 2; }), "a rewrite is exported");
    Expect(Read(out) == exportOf(second), "the rewrite's export is the new file's");

    // Written whole but still open: not exported until closed.
    const HANDLE writer =
        CreateFileW(splines.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    TRUNCATE_EXISTING, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(writer, first.data(), static_cast<DWORD>(first.size()), &wrote, nullptr);
    Sleep(1500);
    Expect(Lines(log) == 2, "nothing is exported while the writer holds the file");
    CloseHandle(writer);
    Expect(Within([&] { return Lines(log) == 3; }), "the closed version is exported");
    Expect(Read(out) == exportOf(first), "the closed version's export is whole");

    // Ctrl+C to every process of this console; this one goes on.
    SetConsoleCtrlHandler(KeepRunning, TRUE);
    Expect(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) != 0, "Ctrl+C is sent");
    Expect(Ended(watch) == 0, "Ctrl+C ends the watch with exit code 0");
    CloseHandle(watch);
    CloseHandle(errors);
    // One line for each export, and no other: no version was refused.
    Expect(Lines(folder + L"\\watch.log") == 3, "the three exports are told, and nothing else");

    // Ctrl+C while the command runs: a program that holds a file, sharing
    // nothing, for a minute. The watch ends, and the program with it.
    const std::wstring slow = folder + L"\\slow.txt";
    Write(slow, "");
    DeleteFileW((slow + L".held").c_str());
    const HANDLE waiting =
        Start(Quoted(tool) + L" watch " + Quoted(splines) + L" -o " + Quoted(out) + L" --exec " +
                  Quoted(Quoted(holder) + L" " + Quoted(slow) + L" 60000"),
              0, nullptr);
    Expect(Within([&] {
               return GetFileAttributesW((slow + L".held").c_str()) != INVALID_FILE_ATTRIBUTES;
           }),
           "the command runs");
    const ULONGLONG sent = GetTickCount64();
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    Expect(Ended(waiting) == 0, "Ctrl+C while the command runs ends the watch with 0");
    Expect(GetTickCount64() - sent < 5000, "the watch ends within seconds");
    CloseHandle(waiting);
    const HANDLE released =
        CreateFileW(slow.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Expect(released != INVALID_HANDLE_VALUE, "the command's program has ended");
    CloseHandle(released);

    std::printf("%d failed\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
