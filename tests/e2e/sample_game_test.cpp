// The bundled sample game end to end: start-up completes with every report line, the title menu
// fades in as the golden frames show, Esc closes, exit code 0; the stage file plays at once from
// the command line.
#include <gtest/gtest.h>

#include <string>

#include "platform/host/png.h"
#include "platform/win32/codepage.h"
#include "records/stage.h"
#include "tools/game/sample_game.h"
#include "tools/records/stage_writer.h"
#include "tools/golden_image.h"
#include "tools/testsupport/process.h"

namespace {

std::string Player() { return std::string(VELMORA_BINARY_DIR) + "/velmora-player"; }

std::vector<std::string> Env(const cGameFolder& folder, const std::string& script) {
    return {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "DISPLAY=", "VELMORA_CLOCK=virtual",
            "VELMORA_SCRIPT=" + folder.Root() + "/" + script, "VELMORA_RUNTIME_DIR=" + folder.Root() + "/.runtime"};
}

void ExpectGoldenPng(const std::string& path, const std::string& name) {
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(host::ReadPng(path, &px, &w, &h)) << path;
    for (uint32_t& p : px) p |= 0xFF000000u;
    auto r = tools::CompareGolden(VELMORA_SOURCE_DIR, VELMORA_BINARY_DIR, name, px.data(), w, h, false);
    EXPECT_TRUE(r.ok) << r.message;
}

TEST(SampleGame, StartsShowsItsTitleAndClosesOnEsc) {
    cGameFolder folder(std::string(VELMORA_BINARY_DIR) + "/tmp", "sample");
    ASSERT_TRUE(WriteSampleGame(folder));
    std::string script = "at 5 capture fade.png\nat 120 capture menu.png\nat 121 key tap DOWN\n"
                         "at 130 capture cursor.png\nat 140 key down ESCAPE\ntimeout 60\n";
    folder.WriteFile("run.script", std::vector<uint8_t>(script.begin(), script.end()));
    auto r = testsupport::RunProcess({Player()}, Env(folder, "run.script"), folder.Root(), 60000);
    ASSERT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string report = Cp932ToUtf8(testsupport::ReadFile(folder.Root() + "/Report_Game.txt"));
    for (const char* line : {"App : ver 754\n", "OS : ", "CPU : ", "Mem Total : ", "Mem Free : ", "Vir Total : ",
                             "Vir Free : ", "HD Free : ", "Mode : Window\n", "Bpp : 32\n", "TextureMaxSize : ",
                             "Font10 : ", "Font16 : "})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    EXPECT_EQ(report.find("err "), std::string::npos) << report;       // no index errors
    EXPECT_EQ(report.find("Exit Err"), std::string::npos) << report;   // every thread ended
    EXPECT_EQ(r.err.find("msgbox"), std::string::npos) << r.err;       // no message on the way
    ExpectGoldenPng(folder.Root() + "/fade.png", "sample_title_fade5");
    ExpectGoldenPng(folder.Root() + "/menu.png", "sample_title_menu");
    ExpectGoldenPng(folder.Root() + "/cursor.png", "sample_title_cursor");
    // The only file written at shut-down: the window record.
    EXPECT_TRUE(folder.Exists("user_data\\Window.dat"));
    EXPECT_FALSE(folder.Exists("user_data\\Option.dat"));
    EXPECT_FALSE(folder.Exists("user_data\\Boot.dat"));
}

TEST(SampleGame, AStageWithoutAHeroOnTheCommandLineEndsWithItsMessage) {
    cGameFolder folder(std::string(VELMORA_BINARY_DIR) + "/tmp", "nohero");
    ASSERT_TRUE(WriteSampleGame(folder));
    cStage stage;
    MakeSampleStage(stage, 30, 15, 3, 1);
    int hero = stage.FindHero();
    ASSERT_GE(hero, 0);
    stage.m_vecCharas.erase(stage.m_vecCharas.begin() + hero);
    ASSERT_TRUE(WriteStageFile(folder, "data\\stg4\\nohero.stg4_002", stage));
    std::string script = "msgbox ok\ntimeout 60\n";
    folder.WriteFile("run.script", std::vector<uint8_t>(script.begin(), script.end()));
    auto r = testsupport::RunProcess({Player(), "data\\stg4\\nohero.stg4"}, Env(folder, "run.script"),
                                     folder.Root(), 60000);
    ASSERT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find((const char*)u8"主人公が配置されていないのでプレイできません！"), std::string::npos) << r.err;
    EXPECT_FALSE(folder.Exists("user_data\\Window.dat"));  // start-up did not complete
}

// The sample stage played from the command line, shortly after it starts: the hero, the lift,
// the walker on its ledge, the coins and the status panel, in each drawing back end and in
// 8-bit colour.
TEST(SampleGame, TheStageShowsItsCharactersItemsAndStatusPanel) {
    struct MODE {
        const char* name;
        const char* ini;
    } modes[] = {
        {"d3d_32", "Direct3D=1\r\nWindowMode=1\r\nBpp=32\r\nVSync=2\r\nShowFps=0\r\nExit\r\n"},
        {"dd_32", "Direct3D=0\r\nWindowMode=1\r\nBpp=32\r\nVSync=2\r\nShowFps=0\r\nExit\r\n"},
        // 8-bit colour runs full screen, through the game's palette and its colour table.
        {"dd_8", "Direct3D=0\r\nWindowMode=0\r\nBpp=8\r\nVSync=2\r\nShowFps=0\r\nExit\r\n"},
    };
    for (const MODE& m : modes) {
        cGameFolder folder(std::string(VELMORA_BINARY_DIR) + "/tmp", std::string("sample_stage_") + m.name);
        ASSERT_TRUE(WriteSampleGame(folder, m.ini));
        std::string script = "at 150 capture stage.png\nat 151 close\ntimeout 60\n";
        folder.WriteFile("run.script", std::vector<uint8_t>(script.begin(), script.end()));
        auto r = testsupport::RunProcess({Player(), "data\\stg4\\c01-1.stg4"}, Env(folder, "run.script"),
                                         folder.Root(), 60000);
        ASSERT_FALSE(r.timedOut) << r.err;
        EXPECT_EQ(r.exitCode, 0) << m.name << r.err;
        std::string report = Cp932ToUtf8(testsupport::ReadFile(folder.Root() + "/Report_Game.txt"));
        EXPECT_EQ(report.find("err "), std::string::npos) << report;
        ExpectGoldenPng(folder.Root() + "/stage.png", std::string("sample_stage_") + m.name);
    }
}

// A new story leads to the world map: the path, the stage's entry, the walking figure and the
// lives icon.
TEST(SampleGame, ANewStoryShowsTheWorldMapWithItsFigureAndLives) {
    cGameFolder folder(std::string(VELMORA_BINARY_DIR) + "/tmp", "sample_map");
    ASSERT_TRUE(WriteSampleGame(folder));
    std::string script = "at 120 key tap Z\nat 260 capture map.png\nat 261 close\ntimeout 60\n";
    folder.WriteFile("run.script", std::vector<uint8_t>(script.begin(), script.end()));
    auto r = testsupport::RunProcess({Player()}, Env(folder, "run.script"), folder.Root(), 60000);
    ASSERT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    ExpectGoldenPng(folder.Root() + "/map.png", "sample_world_map");
}

}  // namespace
