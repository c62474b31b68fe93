// The player's start-up with "Direct3D" asking: the start-up dialog decides the drawing mode,
// Start writes Boot.dat and play goes on, Cancel ends the program without writing anything.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tools/game/minimal_game.h"
#include "tools/testsupport/process.h"

namespace {

struct AskingRun {
    cGameFolder folder;
    std::string dir, runtime;
    explicit AskingRun(const std::string& name) : folder(std::string(VELMORA_BINARY_DIR) + "/tmp", "e2e_" + name) {
        dir = folder.Root();
        runtime = dir + "/.runtime";
        EXPECT_TRUE(WriteMinimalGame(folder, "Direct3D=2\r\nWindowMode=1\r\nShowFps=0\r\nExit\r\n"));
        EXPECT_EQ(system(("mkdir -p '" + runtime + "'").c_str()), 0);
    }
    testsupport::ProcessResult Run(const std::string& script) {
        std::ofstream(dir + "/run.script") << script;
        std::vector<std::string> env{"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "DISPLAY=",
                                     "VELMORA_RUNTIME_DIR=" + runtime, "VELMORA_SHOWCMD", "VELMORA_CLOCK=virtual",
                                     "VELMORA_SCRIPT=" + dir + "/run.script"};
        return testsupport::RunProcess({std::string(VELMORA_BINARY_DIR) + "/velmora-player"}, env, dir, 60000);
    }
};

TEST(StartupStep, StartChoosesTheModeAndWritesBootDat) {
    AskingRun run("startup_start");
    auto r = run.Run("answer dialog click 1003 click 1000\nat 20 close\ntimeout 60\n");
    ASSERT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("dialog 103: click 1000"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("frame 20: close"), std::string::npos) << r.err;  // play went on
    auto boot = run.folder.ReadFile("user_data\\Boot.dat");
    ASSERT_EQ(boot.size(), 20u);
    EXPECT_EQ(boot[8], 0);  // DirectDraw
    // The next start asks again (the tick box was left clear) and Cancel ends it at once.
    auto again = run.Run("answer dialog click 1001\ntimeout 60\n");
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.err.find("frame "), std::string::npos) << again.err;  // no frame was played
}

TEST(StartupStep, CancelEndsTheProgramAndWritesNothing) {
    AskingRun run("startup_cancel");
    auto r = run.Run("answer dialog click 1001\ntimeout 60\n");
    ASSERT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(run.folder.Exists("user_data\\Boot.dat"));
    EXPECT_FALSE(run.folder.Exists("user_data\\Window.dat"));
}

}  // namespace
