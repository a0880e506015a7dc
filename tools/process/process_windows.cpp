// Starting programs, waiting for them and catching stop requests on Windows:
// CreateProcessW, a job object that holds everything a command starts, and
// a console control handler for Ctrl+C, Ctrl+Break and closing the console.
#include <csignal>
#include <cstdint>
#include <mutex>

#include "tools/process/process.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace velmora::tool {

struct StopSignals::State {
    HANDLE event = nullptr;  // set when a stop has arrived, until Arrived takes it
    volatile LONG signal = 0;
};

namespace {

// How long a command's processes have to end after the stop.
constexpr DWORD kGraceMs = 1000;

// The one StopSignals alive, for the handler, which the system calls on a
// thread of its own.
std::mutex g_lock;
StopSignals::State* g_current = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (g_current == nullptr)
            return FALSE;
        InterlockedExchange(&g_current->signal, event == CTRL_C_EVENT ? SIGINT : SIGTERM);
        SetEvent(g_current->event);
    }
    // The system ends the process once this returns from a closing console:
    // give the loop the moment it needs to finish and exit by itself.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(4000);
    return TRUE;
}

std::wstring Wide(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = size > 0 ? std::wstring(text, size) : L"error " + std::to_wstring(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L' '))
        message.pop_back();
    return Narrow(message);
}

// One argument as the C runtime's parser (CommandLineToArgvW) reads it back.
std::wstring Quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    for (std::size_t i = 0;; ++i) {
        std::size_t backslashes = 0;
        while (i < arg.size() && arg[i] == L'\\') {
            ++i;
            ++backslashes;
        }
        if (i == arg.size()) {
            out.append(backslashes * 2, L'\\');
            break;
        }
        if (arg[i] == L'"') {
            out.append(backslashes * 2 + 1, L'\\');
        } else {
            out.append(backslashes, L'\\');
        }
        out += arg[i];
    }
    return out + L'"';
}

std::wstring Shell() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD size = GetEnvironmentVariableW(L"ComSpec", path, MAX_PATH);
    return size > 0 && size < MAX_PATH ? std::wstring(path, size) : std::wstring(L"cmd.exe");
}

// A job that ends every process in it when its last handle closes.
HANDLE KillingJob() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job == nullptr)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

// The exit of a process that ran. A process that Ctrl+C ended reports it
// as a signal, as on POSIX systems.
ChildExit Exited(HANDLE process) {
    ChildExit exit;
    exit.started = true;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    if (code == STATUS_CONTROL_C_EXIT) {
        exit.signal = SIGINT;
    } else {
        exit.exitCode = static_cast<int>(code);
    }
    return exit;
}

}  // namespace

StopSignals::StopSignals() : m_state(std::make_unique<State>()) {
    m_state->event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::lock_guard<std::mutex> lock(g_lock);
    if (m_state->event == nullptr || g_current != nullptr ||
        SetConsoleCtrlHandler(OnConsoleEvent, TRUE) == 0) {
        m_error =
            "could not catch Ctrl+C and the console's closing: " + SystemMessage(GetLastError());
        return;
    }
    g_current = m_state.get();
}

StopSignals::~StopSignals() {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (g_current == m_state.get()) {
            SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
            g_current = nullptr;
        }
    }
    if (m_state->event != nullptr)
        CloseHandle(m_state->event);
}

int StopSignals::Arrived() const {
    if (m_state->event == nullptr || WaitForSingleObject(m_state->event, 0) != WAIT_OBJECT_0)
        return 0;
    ResetEvent(m_state->event);
    return static_cast<int>(InterlockedExchange(&m_state->signal, 0));
}

std::tm LocalTime(std::time_t seconds) {
    std::tm local{};
    localtime_s(&local, &seconds);
    return local;
}

// `ready` holds a waitable handle, or none.
std::string StopSignals::WaitFor(Waitable ready) const {
    HANDLE handles[] = {m_state->event, reinterpret_cast<HANDLE>(ready.native)};
    const DWORD count = ready.Valid() ? 2 : 1;
    if (WaitForMultipleObjects(count, handles, FALSE, INFINITE) == WAIT_FAILED)
        return "could not wait: " + SystemMessage(GetLastError());
    return std::string();
}

ChildExit RunShell(const std::string& command, const StopSignals& stop, int& stopSignal) {
    stopSignal = 0;
    // /s with the whole command quoted: cmd.exe drops those two quotes and
    // runs the rest as typed. /d: no AutoRun commands of the user's.
    std::wstring line = Quoted(Shell()) + L" /d /s /c \"" + Wide(command) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    HANDLE job = KillingJob();
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                       nullptr, &startup, &child) == 0) {
        ChildExit failed;
        failed.error = "could not run " + Narrow(Shell()) + ": " + SystemMessage(GetLastError());
        if (job != nullptr)
            CloseHandle(job);
        return failed;
    }
    if (job != nullptr)
        AssignProcessToJobObject(job, child.hProcess);
    ResumeThread(child.hThread);
    CloseHandle(child.hThread);
    HANDLE handles[] = {child.hProcess, stop.m_state->event};
    for (;;) {
        if (WaitForSingleObject(child.hProcess, 0) == WAIT_OBJECT_0)
            break;
        if ((stopSignal = stop.Arrived()) != 0) {
            // Ctrl+C reached the command through the console too; what has
            // not ended after the grace period is ended with it.
            if (WaitForSingleObject(child.hProcess, kGraceMs) != WAIT_OBJECT_0 && job != nullptr)
                TerminateJobObject(job, STATUS_CONTROL_C_EXIT);
            WaitForSingleObject(child.hProcess, INFINITE);
            break;
        }
        WaitForMultipleObjects(2, handles, FALSE, 1000);
    }
    ChildExit exit = Exited(child.hProcess);
    if (stopSignal != 0 && exit.signal != 0)
        exit.signal = stopSignal;
    CloseHandle(child.hProcess);
    if (job != nullptr)
        CloseHandle(job);  // and with it any process the command left behind
    return exit;
}

ChildExit RunProgram(const std::vector<std::string>& args, bool quiet) {
    ChildExit outcome;
    if (args.empty()) {
        outcome.error = "nothing to run";
        return outcome;
    }
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (CreatePipe(&readEnd, &writeEnd, &inherit, 0) == 0) {
        outcome.error = SystemMessage(GetLastError());
        return outcome;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE nowhere = quiet ? CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         &inherit, OPEN_EXISTING, 0, nullptr)
                           : INVALID_HANDLE_VALUE;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = quiet ? nowhere : GetStdHandle(STD_ERROR_HANDLE);
    std::wstring line;
    for (const std::string& arg : args)
        line += (line.empty() ? L"" : L" ") + Quoted(Wide(arg));
    PROCESS_INFORMATION child{};
    const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &child) != 0;
    const DWORD error = GetLastError();
    CloseHandle(writeEnd);
    if (nowhere != INVALID_HANDLE_VALUE)
        CloseHandle(nowhere);
    if (!started) {
        CloseHandle(readEnd);
        outcome.error = "could not run " + args[0] + ": " + SystemMessage(error);
        return outcome;
    }
    CloseHandle(child.hThread);
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) != 0 && got > 0)
        output.append(buffer, got);
    CloseHandle(readEnd);
    WaitForSingleObject(child.hProcess, INFINITE);
    outcome = Exited(child.hProcess);
    CloseHandle(child.hProcess);
    outcome.output = std::move(output);
    return outcome;
}

std::string RunningProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (size == 0)
            return std::string();
        if (size < path.size()) {
            path.resize(size);
            return Narrow(path);
        }
        if (path.size() >= 32768)
            return std::string();
        path.resize(path.size() * 2);
    }
}

}  // namespace velmora::tool
