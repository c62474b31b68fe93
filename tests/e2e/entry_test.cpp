// The player's entry end to end: a scripted run, a second start, and the editor link.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "platform/win32/win32.h"
#include "tools/game/minimal_game.h"
#include "tools/testsupport/process.h"

namespace {

std::string Player() { return std::string(VELMORA_BINARY_DIR) + "/velmora-player"; }

// A fresh game folder and runtime folder for one test.
struct GameRun {
    cGameFolder folder;
    std::string dir, runtime;
    explicit GameRun(const std::string& name) : folder(std::string(VELMORA_BINARY_DIR) + "/tmp", "e2e_" + name) {
        dir = folder.Root();
        runtime = dir + "/.runtime";
        EXPECT_TRUE(WriteMinimalGame(folder));
        EXPECT_EQ(system(("mkdir -p '" + runtime + "'").c_str()), 0);
    }
    std::vector<std::string> Env(const std::string& script, bool virtualClock = true) const {
        std::vector<std::string> env{"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "DISPLAY=",
                                     "VELMORA_RUNTIME_DIR=" + runtime, "VELMORA_SHOWCMD"};
        if (!script.empty()) env.push_back("VELMORA_SCRIPT=" + dir + "/" + script);
        if (virtualClock) env.push_back("VELMORA_CLOCK=virtual");
        return env;
    }
    void Script(const std::string& name, const std::string& text) const { std::ofstream(dir + "/" + name) << text; }
};

TEST(Entry, AScriptedRunWritesTheReportAndClosesOnEsc) {
    GameRun run("scripted");
    run.Script("run.script", "at 120 capture last.png\nat 120 key down ESCAPE\ntimeout 60\n");
    auto r = testsupport::RunProcess({Player()}, run.Env("run.script"), run.dir, 60000);
    ASSERT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string report = testsupport::ReadFile(run.dir + "/Report_Game.txt");
    EXPECT_EQ(report.rfind("App : ver 754\n", 0), 0u) << report;
    EXPECT_EQ(report.find("Exit Err"), std::string::npos) << report;  // every thread ended
    EXPECT_NE(r.err.find("frame 120: key down ESCAPE"), std::string::npos);
    EXPECT_NE(testsupport::ReadFile(run.dir + "/last.png").size(), 0u);
    // "WindowMode" 1: the window record is written at the end.
    EXPECT_TRUE(run.folder.Exists("user_data\\Window.dat"));
}

TEST(Entry, TheReportDescribesTheMachineAndTheDrawingDevice) {
    GameRun run("report");
    std::string ini = "Direct3D=1\r\nWindowMode=1\r\nExit\r\n";
    run.folder.WriteFile("System.ini", std::vector<uint8_t>(ini.begin(), ini.end()));
    run.Script("run.script", "at 5 close\ntimeout 60\n");
    auto r = testsupport::RunProcess({Player()}, run.Env("run.script"), run.dir, 60000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string report = testsupport::ReadFile(run.dir + "/Report_Game.txt");
    for (const char* line : {"App : ver 754\n", "OS : ", "CPU : ", "Mem Total : ", "HD Free : ", "Mode : Window\n",
                             "Bpp : 32\n", "---デバイス0\n", "TextureMaxSize : (", "RT-SU○ RT-TE○ \n",
                             "Direct3D : "})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
}

TEST(Entry, AMissingFreeStageIsReportedAndTheTitleFollows) {
    GameRun run("freestage");
    std::string ini = "Direct3D=0\r\nWindowMode=1\r\nFreeStage=data\\stg4\\nothere.stg4\r\nExit\r\n";
    run.folder.WriteFile("System.ini", std::vector<uint8_t>(ini.begin(), ini.end()));
    run.Script("run.script", "at 5 close\ntimeout 60\n");
    auto r = testsupport::RunProcess({Player()}, run.Env("run.script"), run.dir, 60000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string report = testsupport::ReadFile(run.dir + "/Report_Game.txt");
    EXPECT_NE(report.find("「data\\stg4\\nothere.stg4」の読み込みに失敗しました！\n"), std::string::npos) << report;
    EXPECT_EQ(r.err.find("msgbox"), std::string::npos) << "no box for a missing stage";
}

TEST(Entry, NoWindowRecordInFullScreen) {
    GameRun run("fullscreen");
    std::string ini = "Direct3D=0\r\nWindowMode=0\r\nExit\r\n";
    run.folder.WriteFile("System.ini", std::vector<uint8_t>(ini.begin(), ini.end()));
    run.Script("run.script", "at 10 close\ntimeout 60\n");
    auto r = testsupport::RunProcess({Player()}, run.Env("run.script"), run.dir, 60000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(run.folder.Exists("user_data\\Window.dat"));
}

TEST(Entry, ASecondStartAsksAndOnYesTheFirstEndsThroughItsShutDown) {
    GameRun run("second");
    // The first copy runs on the real clock until it is told to close.
    run.Script("first.script", "timeout 60\n");
    int first = testsupport::StartProcess({Player()}, run.Env("first.script", false), run.dir,
                                          run.dir + "/first.out", run.dir + "/first.err");
    ASSERT_GT(first, 0);
    // Wait until its window exists.
    std::string registry;
    for (int i = 0; i < 500; ++i) {
        if (testsupport::ReadFile(run.dir + "/Report_Game.txt").find("App : ver") != std::string::npos &&
            system(("ls '" + run.runtime + "' | grep -q '^window-'").c_str()) == 0)
            break;
        Sleep(10);
    }

    // "No": the second start ends and the first goes on, its report untouched.
    run.Script("no.script", "msgbox no\ntimeout 30\n");
    auto no = testsupport::RunProcess({Player()}, run.Env("no.script"), run.dir, 30000);
    EXPECT_EQ(no.exitCode, 0);
    EXPECT_NE(no.err.find((const char*)u8"二重起動"), std::string::npos) << no.err;
    EXPECT_TRUE(testsupport::ProcessRunning(first)) << "the first copy must still run";
    EXPECT_EQ(testsupport::ReadFile(run.dir + "/Report_Game.txt").rfind("App : ver 754\n", 0), 0u);

    // "Yes": the first copy closes through its own shut-down (exit code 0) and this one starts.
    run.Script("yes.script", "msgbox yes\nat 30 close\ntimeout 30\n");
    auto yes = testsupport::RunProcess({Player()}, run.Env("yes.script"), run.dir, 30000);
    EXPECT_EQ(yes.exitCode, 0) << yes.err;
    EXPECT_NE(yes.err.find("frame 30: close"), std::string::npos) << yes.err;
    EXPECT_EQ(testsupport::WaitProcess(first, 10000), 0);
}

LRESULT EditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static std::string* log = nullptr;
    if (msg == WM_USER) {
        log = (std::string*)lParam;
        return 0;
    }
    if (msg == WM_COPYDATA && log) {
        auto* cds = (COPYDATASTRUCT*)lParam;
        int32_t v = -1;
        if (cds->cbData == 4) std::memcpy(&v, cds->lpData, 4);
        *log += "copydata " + std::to_string(cds->dwData) + " " + std::to_string(v) + "\n";
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(Entry, TheEditorIsToldWhenPlayStartsAndEnds) {
    GameRun run("editor");
    // This process and the player share the test's own window registry (set before the first
    // window is published).
    setenv("VELMORA_RUNTIME_DIR", run.runtime.c_str(), 1);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = EditorProc;
    wc.lpszClassName = "Velmora4_Editor";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    HWND editor = CreateWindowExA(0, "Velmora4_Editor", "ヴェルモラ4", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(editor, nullptr);
    std::string log;
    SendMessageA(editor, WM_USER, 0, (LPARAM)&log);
    run.Script("run.script", "at 10 close\ntimeout 30\n");
    auto env = run.Env("run.script");
    env.push_back("VELMORA_SHOWCMD=5");
    int pid = testsupport::StartProcess({Player()}, env, run.dir, "", run.dir + "/err.txt");
    MSG m;
    while (testsupport::ProcessRunning(pid)) {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        Sleep(1);
    }
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    EXPECT_EQ(log, "copydata 1 1\ncopydata 0 1\n") << testsupport::ReadFile(run.dir + "/err.txt");
    DestroyWindow(editor);
}

}  // namespace
