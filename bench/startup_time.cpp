// Start-up of the sample game: from process start to the first presented frame, beside its
// partner, a small C program (bench_read_files) that reads every file start-up reads (the
// game folder, the fonts and the soundfont), run in the same iterations; the benchmark prints
// its ratio to the partner (the median of the runs' ratios). Goal: within 5 times the partner.
// A third figure reads the same files in this process (no process start at all).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/fonttext.h"
#include "tools/game/sample_game.h"

namespace {

namespace fs = std::filesystem;

cGameFolder& Sample() {
    static cGameFolder folder(fs::temp_directory_path().string(), "velmora-startup-bench");
    static bool written = [] {
        bool ok = WriteSampleGame(folder);
        std::ofstream(folder.Root() + "/first.script") << "at 0 close\ntimeout 60\n";
        return ok;
    }();
    (void)written;
    return folder;
}

fs::path BenchDir() {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    self[n > 0 ? n : 0] = 0;
    return fs::path(self).parent_path();
}

// The benchmark programs are built in <build>/bench; the player in <build>.
std::string PlayerPath() { return (BenchDir().parent_path() / "velmora-player").string(); }
std::string ReaderPath() { return (BenchDir() / "bench_read_files").string(); }

// Every file start-up reads: the game folder, the Gothic fonts and the soundfont.
const std::vector<std::string>& StartupFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> v;
        for (const auto& e : fs::recursive_directory_iterator(Sample().Root()))
            if (e.is_regular_file()) v.push_back(e.path().string());
        v.push_back(gdi::ResolveFontFace("ＭＳ ゴシック").path);
        v.push_back(gdi::ResolveFontFace("ＭＳ Ｐゴシック").path);
        v.push_back("/usr/share/sounds/sf2/TimGM6mb.sf2");
        return v;
    }();
    return files;
}

// Runs the C reader over the start-up files, start to end; -1 when it did not run.
double SecondsToReadFiles(const std::string& reader) {
    std::vector<char*> argv{const_cast<char*>(reader.c_str())};
    for (const std::string& f : StartupFiles()) argv.push_back(const_cast<char*>(f.c_str()));
    argv.push_back(nullptr);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        execv(reader.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs the player until the test driver reports that frame 0 was presented (its close line).
double SecondsToFirstFrame(const std::string& player, const std::string& game) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 2);
        close(fds[0]);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        if (chdir(game.c_str()) != 0) _exit(126);
        setenv("VELMORA_SCRIPT", (game + "/first.script").c_str(), 1);
        setenv("VELMORA_RUNTIME_DIR", (game + "/.runtime").c_str(), 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("DISPLAY");
        execl(player.c_str(), player.c_str(), (char*)nullptr);
        _exit(127);
    }
    close(fds[1]);
    std::string err;
    char buf[512];
    double seconds = -1;
    for (;;) {
        ssize_t got = read(fds[0], buf, sizeof buf);
        if (got <= 0) break;
        err.append(buf, (size_t)got);
        if (err.find("frame 0: close") != std::string::npos) {
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            break;
        }
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return seconds;
}

void ReadWhole(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return;
    static std::vector<char> buf(1 << 20);
    while (std::fread(buf.data(), 1, buf.size(), f) > 0) {
    }
    std::fclose(f);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Each iteration runs the partner and then the player, so both see the same load on a shared
// machine; the ratio is the median of the iterations' own ratios.
void BM_StartupToFirstFrame(benchmark::State& state) {
    std::string game = Sample().Root(), player = PlayerPath(), reader = ReaderPath();
    std::vector<double> partner, startup, ratio;
    for (auto _ : state) {
        double p = SecondsToReadFiles(reader);
        double s = SecondsToFirstFrame(player, game);
        if (p < 0 || s < 0) {
            state.SkipWithError(p < 0 ? "the C reader did not run" : "the player did not present a frame");
            break;
        }
        partner.push_back(p);
        startup.push_back(s);
        if (p > 0) ratio.push_back(s / p);
        state.SetIterationTime(s);
    }
    if (!ratio.empty()) {
        state.counters["startup_median_ms"] = benchmark::Counter(Median(startup) * 1000.0);
        state.counters["partner_median_ms"] = benchmark::Counter(Median(partner) * 1000.0);
        state.counters["ratio_to_partner"] = benchmark::Counter(Median(ratio));
    }
}
BENCHMARK(BM_StartupToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

// The same files read whole inside this process.
void BM_ReadStartupFiles(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& f : StartupFiles()) ReadWhole(f);
}
BENCHMARK(BM_ReadStartupFiles)->Unit(benchmark::kMillisecond);

}  // namespace
