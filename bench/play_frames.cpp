// Whole-process frame rate of the player run headless under the virtual clock: the sample
// game's stage with the right arrow held, and its title screen, 3,000 frames each. Every
// iteration is one run of the real binary; a run that closes at frame 0 is measured beside it,
// so the figures also show the frames alone, without start-up. Goals: the stage at 0.5 ms a
// frame or less (2,000 frames a second), the title kept where it is.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/game/sample_game.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFrames = 3000;

cGameFolder& Sample() {
    static cGameFolder folder(fs::temp_directory_path().string(), "velmora-play-frames-bench");
    static bool written = [] {
        bool ok = WriteSampleGame(folder);
        std::ofstream(folder.Root() + "/zero.script") << "at 0 close\ntimeout 60\n";
        std::ofstream(folder.Root() + "/frames.script")
            << "at 0 key down RIGHT\nat " << kFrames << " close\ntimeout 600\n";
        return ok;
    }();
    (void)written;
    return folder;
}

std::string PlayerPath() {
    // The benchmark programs are built in <build>/bench; the player in <build>.
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    self[n > 0 ? n : 0] = 0;
    return (fs::path(self).parent_path().parent_path() / "velmora-player").string();
}

// Seconds of one whole run of the player (start to exit), or -1 when it failed.
double RunSeconds(const std::string& script, const char* stage) {
    const std::string player = PlayerPath(), game = Sample().Root();
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        if (chdir(game.c_str()) != 0) _exit(126);
        setenv("VELMORA_SCRIPT", (game + "/" + script).c_str(), 1);
        setenv("VELMORA_CLOCK", "virtual", 1);
        setenv("VELMORA_RUNTIME_DIR", (game + "/.runtime").c_str(), 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("DISPLAY");
        if (stage)
            execl(player.c_str(), player.c_str(), stage, (char*)nullptr);
        else
            execl(player.c_str(), player.c_str(), (char*)nullptr);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? s : -1;
}

void Frames(benchmark::State& state, const char* stage, double goalMs) {
    double whole = 0, zero = 0;
    for (auto _ : state) {
        double z = RunSeconds("zero.script", stage);
        double w = RunSeconds("frames.script", stage);
        if (z < 0 || w < 0) {
            state.SkipWithError("the player did not run to its close");
            return;
        }
        zero += z;
        whole += w;
        state.SetIterationTime(w);
    }
    double n = (double)state.iterations();
    double perFrame = whole * 1000.0 / n / kFrames, alone = (whole - zero) * 1000.0 / n / kFrames;
    state.counters["ms_per_frame"] = perFrame;
    state.counters["frames_per_s"] = perFrame > 0 ? 1000.0 / perFrame : 0;
    state.counters["ms_per_frame_without_startup"] = alone;
    state.counters["startup_ms"] = zero * 1000.0 / n;
    if (goalMs > 0) state.counters["ratio_to_goal"] = perFrame / goalMs;
}

void BM_SampleStageFrames(benchmark::State& state) { Frames(state, "data\\stg4\\c01-1.stg4", 0.5); }
void BM_TitleScreenFrames(benchmark::State& state) { Frames(state, nullptr, 0); }
BENCHMARK(BM_SampleStageFrames)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TitleScreenFrames)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
