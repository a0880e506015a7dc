// The editor opens the folder its command line names, byte for byte, even
// where the name is not valid UTF-8.
#include <gtest/gtest.h>

#ifdef VELMORA_EDITOR
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

// Start-up creates the missing Splines.xml in the folder it opened.
TEST(EditorCommandLine, OpensAFolderWhoseNameIsNotUtf8) {
    const testing_support::TempDir dir;
    const std::string folder = dir.File("caf\xe9");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char* const argv[] = {const_cast<char*>(VELMORA_EDITOR), const_cast<char*>(folder.c_str()),
                          nullptr};
    pid_t child = 0;
    ASSERT_EQ(::posix_spawn(&child, VELMORA_EDITOR, nullptr, nullptr, argv, environ), 0);
    const std::string file = folder + "/Splines.xml";
    struct stat info {};
    int status = 0;
    for (int wait = 0; wait < 200 && ::stat(file.c_str(), &info) != 0; ++wait) {
        if (::waitpid(child, &status, WNOHANG) == child) {
            child = 0;  // it gave up on the folder
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (child != 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    EXPECT_EQ(::stat(file.c_str(), &info), 0) << "exit status " << status;
}

}  // namespace
}  // namespace velmora
#endif
