// From process start to the first painted frame, under Qt's offscreen
// platform, in an empty folder: the probe is started and timed until it exits
// right after its first paint.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

extern char** environ;

namespace {

void BM_StartToFirstFrame(benchmark::State& state) {
    std::string dir = (std::filesystem::temp_directory_path() / "velmora-start-XXXXXX").string();
    if (::mkdtemp(dir.data()) == nullptr)
        std::abort();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char* const argv[] = {const_cast<char*>(VELMORA_PROBE), nullptr};

    for (auto _ : state) {
        std::filesystem::remove(dir + "/Splines.xml");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
        pid_t pid = 0;
        if (posix_spawn(&pid, VELMORA_PROBE, &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the probe");
            break;
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        posix_spawn_file_actions_destroy(&actions);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the probe never painted");
            break;
        }
    }
    std::filesystem::remove_all(dir);
}

BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
