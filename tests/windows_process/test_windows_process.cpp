// velmora-tool's process calls on Windows: commands through cmd.exe, programs
// with their arguments quoted as the C runtime reads them back, the running
// program's name and the stop handle's wait.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/process/process.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace velmora::tool {
namespace {

// echo_args.exe beside this program.
std::string EchoArgs() {
    const std::string self = RunningProgram();
    return self.substr(0, self.find_last_of('\\') + 1) + ECHO_ARGS;
}

TEST(WindowsProcessTest, CommandsRunThroughCmd) {
    const StopSignals stop;
    ASSERT_EQ(stop.Error(), "");
    EXPECT_EQ(stop.Arrived(), 0);
    const struct {
        const char* command;
        int exitCode;
    } cases[] = {
        {"exit 3", 3},
        {"exit 0", 0},
        {"if \"a b\"==\"a b\" (exit 7) else (exit 1)", 7},
        {"echo x> NUL && exit 4", 4},
    };
    for (const auto& c : cases) {
        int stopped = -1;
        const ChildExit exit = RunShell(c.command, stop, stopped);
        EXPECT_TRUE(exit.started) << c.command << ": " << exit.error;
        EXPECT_EQ(exit.exitCode, c.exitCode) << c.command;
        EXPECT_EQ(stopped, 0);
    }
}

TEST(WindowsProcessTest, ArgumentsArriveAsGiven) {
    const std::vector<std::string> args = {"plain",      "two words",           "quote\"inside",
                                           "trailing\\", "C:\\Program Files\\", "",
                                           "\\\\\"",     "caf\xC3\xA9"};
    std::vector<std::string> line = {EchoArgs()};
    line.insert(line.end(), args.begin(), args.end());
    const ChildExit exit = RunProgram(line);
    ASSERT_TRUE(exit.started) << exit.error;
    std::string expected;
    for (const std::string& arg : args)
        expected += "[" + arg + "]\n";
    EXPECT_EQ(exit.exitCode, static_cast<int>(args.size()));
    // The C runtime's narrow argv is in the system's code page, so the last
    // argument is compared only for being there.
    EXPECT_EQ(exit.output.substr(0, exit.output.rfind("[caf")),
              expected.substr(0, expected.rfind("[caf")));

    const ChildExit missing = RunProgram({"no-such-program-here"}, true);
    EXPECT_FALSE(missing.started);
    EXPECT_NE(missing.error.find("no-such-program-here"), std::string::npos) << missing.error;
}

TEST(WindowsProcessTest, WaitEndsOnTheReadyHandle) {
    const StopSignals stop;
    HANDLE ready = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(stop.WaitFor(Waitable{reinterpret_cast<std::intptr_t>(ready)}), "");
    CloseHandle(ready);
    EXPECT_NE(RunningProgram().find("test_windows_process.exe"), std::string::npos);
}

}  // namespace
}  // namespace velmora::tool
