// The sample game played through as a player would: the real binary in a freshly written sample
// folder, driven by a script on the virtual clock, with golden frames at each step. The hero
// walks with the arrow keys and jumps with Z; the frames of the scripts are those at which the
// game reaches each place, so a change in how the game plays shows up as a golden difference.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/png.h"
#include "platform/win32/codepage.h"
#include "records/save_data.h"
#include "tools/game/sample_game.h"
#include "tools/golden_image.h"
#include "tools/testsupport/process.h"

namespace {

struct GameRun {
    cGameFolder folder;
    testsupport::ProcessResult result;
    std::string report;

    explicit GameRun(const std::string& name) : folder(std::string(VELMORA_BINARY_DIR) + "/tmp", "game_" + name) {
        EXPECT_TRUE(WriteSampleGame(folder));
    }
    // Runs the player on the script; the report is read afterwards (converted to UTF-8).
    void Run(const std::string& script, const std::vector<std::string>& args = {}) {
        folder.WriteFile("run.script", std::vector<uint8_t>(script.begin(), script.end()));
        std::vector<std::string> argv{std::string(VELMORA_BINARY_DIR) + "/velmora-player"};
        argv.insert(argv.end(), args.begin(), args.end());
        result = testsupport::RunProcess(
            argv,
            {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "DISPLAY=", "VELMORA_CLOCK=virtual", "VELMORA_SHOWCMD",
             "VELMORA_SCRIPT=" + folder.Root() + "/run.script", "VELMORA_RUNTIME_DIR=" + folder.Root() + "/.runtime"},
            folder.Root(), 120000);
        report = Cp932ToUtf8(testsupport::ReadFile(folder.Root() + "/Report_Game.txt"));
    }
    // The run ended by itself with exit code 0, and no index error was reported on the way.
    void ExpectCleanEnd() {
        EXPECT_FALSE(result.timedOut) << result.err;
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(report.find("err "), std::string::npos) << report;
        EXPECT_EQ(report.find("Exit Err"), std::string::npos) << report;
    }
    std::vector<uint32_t> Pixels(const std::string& capture) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        EXPECT_TRUE(host::ReadPng(folder.Root() + "/" + capture, &px, &w, &h)) << capture;
        EXPECT_EQ(w * h, 640 * 480) << capture;
        return px;
    }
    void ExpectGolden(const std::string& capture, const std::string& golden) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        ASSERT_TRUE(host::ReadPng(folder.Root() + "/" + capture, &px, &w, &h)) << capture;
        for (uint32_t& p : px) p |= 0xFF000000u;
        auto r = tools::CompareGolden(VELMORA_SOURCE_DIR, VELMORA_BINARY_DIR, golden, px.data(), w, h, false);
        EXPECT_TRUE(r.ok) << capture << ": " << r.message;
    }
};

// The way into the forest shared by the runs that start a new story: Z on "はじめから" at the
// title, a step right to the forest's entry on the map (the stage starts at about frame 310).
const char* const kIntoTheForest =
    "at 120 key tap Z\n"
    "at 270 key down RIGHT\n"
    "at 300 key up RIGHT\n";

// A new story played to the first clear: the story is saved into slot 1 with automatic saving
// on (from the map's save screen), the forest is entered, paused and resumed, its first pit
// jumped, the moving floor ridden over the wide pit, and the goal flag touched; after the result
// screen the world map shows the cave's entry open, and the automatic save holds the cleared forest.
TEST(GameRuns, ANewStoryClearsTheForestAndTheMapOpensTheNextEntry) {
    GameRun run("story");
    const std::string script =
        "at 120 key tap Z\n"                                            // はじめから
        "at 240 capture map.png\n"
        "at 250 key tap X\n"                                            // the save screen
        "at 320 key tap Z\nat 340 capture slots.png\nat 350 key tap Z\n"  // セーブ, slot 1
        "at 380 key tap UP\nat 390 key tap Z\n"                         // セーブする
        "at 430 key tap X\nat 470 key tap DOWN\nat 480 key tap Z\n"     // オートセーブ
        "at 520 key tap UP\nat 530 key tap Z\n"                         // オートセーブＯＮ
        "at 570 key tap DOWN\nat 580 key tap Z\n"                       // もどる
        "at 700 key down RIGHT\nat 730 key up RIGHT\n"                  // onto the forest's entry
        "at 760 capture start.png\n"
        "at 835 key tap SPACE\nat 845 capture pause.png\nat 855 key tap Z\n"  // pause, resume
        "at 870 key down RIGHT\nat 896 key down Z\nat 906 key up Z\n"  // over the first pit
        "at 965 key up RIGHT\n"                                         // wait at the wide pit
        "at 1241 key down RIGHT\nat 1252 key up RIGHT\n"                // onto the moving floor
        "at 1300 capture ride.png\n"
        "at 1406 key down RIGHT\n"                                      // off it, on to the goal
        "at 1480 capture goal.png\n"
        "at 1500 key up RIGHT\n"
        "at 1600 capture result.png\n"
        "at 1700 key tap Z\n"                                           // leave the result
        "at 1820 capture cleared.png\n"
        "at 1840 key down ESCAPE\n"
        "timeout 100\n";
    run.Run(script);
    run.ExpectCleanEnd();
    run.ExpectGolden("map.png", "game_story_map");
    run.ExpectGolden("slots.png", "game_story_save_slots");
    run.ExpectGolden("start.png", "game_story_forest_start");
    run.ExpectGolden("pause.png", "game_story_pause_menu");
    run.ExpectGolden("ride.png", "game_story_moving_floor");
    run.ExpectGolden("goal.png", "game_story_goal");
    run.ExpectGolden("result.png", "game_story_result");
    run.ExpectGolden("cleared.png", "game_story_map_next_entry_open");
    // The automatic save written on the way back to the map: the forest's cleared flag (stage
    // value 1) is set in it, and automatic saving stays on.
    cSaveData saved;
    ASSERT_TRUE(saved.LoadFile((run.folder.Root() + "/user_data/story/Story01.dat").c_str()));
    ASSERT_GT(saved.m_vecStageValues.size(), 1u);
    EXPECT_NE(saved.m_vecStageValues[1], 0);
    EXPECT_NE(AutoSaveSwitch(saved), 0);
}

// The challenge: its stage list, the forest played and cleared (the same route as the story's,
// without the pause), the result screen, F3 and the name "ABC" in the ranking dialog, the
// board with the new entry, back to the list; the ranking file holds the entry and the
// challenge record is saved: the forest cleared, the next stage open.
TEST(GameRuns, TheChallengeClearsTheForestAndSavesItsRecord) {
    GameRun run("challenge");
    const std::string script =
        "answer dialog type 1003 \"ABC\" click 1000\n"                  // the ranking name
        "at 120 key tap DOWN\nat 130 key tap DOWN\nat 140 key tap Z\n"  // チャレンジ
        "at 320 capture list.png\n"
        "at 330 key tap Z\n"                                              // the forest
        "at 470 key down RIGHT\nat 496 key down Z\nat 506 key up Z\n"    // over the first pit
        "at 565 key up RIGHT\n"
        "at 841 key down RIGHT\nat 852 key up RIGHT\n"                    // onto the moving floor
        "at 1006 key down RIGHT\n"                                        // on to the goal
        "at 1100 key up RIGHT\n"
        "at 1130 capture result.png\n"
        "at 1140 key down F3\nat 1142 key up F3\n"                      // into the ranking
        "at 1180 capture ranking.png\n"
        "at 1250 key tap Z\n"                                            // the board closes
        "at 1320 key tap Z\n"                                            // leave the result
        "at 1450 capture back.png\n"
        "at 1460 key down ESCAPE\n"
        "timeout 100\n";
    run.Run(script);
    run.ExpectCleanEnd();
    run.ExpectGolden("list.png", "game_challenge_list");
    run.ExpectGolden("result.png", "game_challenge_result");
    run.ExpectGolden("ranking.png", "game_challenge_ranking");
    run.ExpectGolden("back.png", "game_challenge_back_to_list");
    EXPECT_NE(run.result.err.find("dialog 102: type 1003 \"ABC\""), std::string::npos) << run.result.err;
    // The ranking file of the forest holds the name given in the dialog.
    const std::vector<uint8_t> ranking = run.folder.ReadFile("user_data\\challenge\\c01.rkg");
    ASSERT_FALSE(ranking.empty());
    EXPECT_NE(std::string(ranking.begin(), ranking.end()).find("ABC"), std::string::npos);
    cSaveData record;
    ASSERT_TRUE(record.LoadFile((run.folder.Root() + "/user_data/challenge/Challenge.dat").c_str()));
    ASSERT_GE(record.m_vecStageResults.size(), 3u);
    EXPECT_EQ(record.m_vecStageResults[0].m_bCleared, 1);
    EXPECT_EQ(record.m_vecStageResults[1].m_bCleared, 0);
    EXPECT_EQ(record.m_nStagesOpen, 2);
}

// A play of the forest from the command line is recorded; F1 saves it through the save dialog,
// and played back from the title's "リプレイ" it ends in the same state as the recorded play:
// its last frame (frame 351 of the playback run) shows everything where the recorded frame 200
// had it (the hero after its jump, the lift, the walker, the coins, the status panel); only the
// stage-file caption of the recorded run's bottom line differs.
TEST(GameRuns, AReplaySavedAndPlayedBackEndsAsTheRecordedPlay) {
    GameRun recorded("replay_recorded");
    recorded.Run("answer file choose forest.rpl4_754\n"
                 "at 100 key down RIGHT\nat 126 key down Z\nat 136 key up Z\nat 160 key up RIGHT\n"
                 "at 200 capture last.png\n"
                 "at 201 key down F1\nat 202 key up F1\n"  // save this play
                 "at 250 close\ntimeout 100\n",
                 {"data\\stg4\\c01-1.stg4"});
    recorded.ExpectCleanEnd();
    const std::vector<uint8_t> file = recorded.folder.ReadFile("user_data\\rpl4\\forest.rpl4_754");
    ASSERT_FALSE(file.empty());

    GameRun playback("replay_playback");
    ASSERT_TRUE(playback.folder.WriteFile("user_data\\rpl4\\forest.rpl4_754", file));
    playback.Run("answer file choose forest.rpl4_754\n"
                 "at 120 key tap DOWN\nat 125 key tap DOWN\nat 130 key tap DOWN\nat 135 key tap DOWN\n"
                 "at 140 key tap Z\n"  // リプレイ
                 "at 250 capture middle.png\n"
                 "at 351 capture last.png\n"
                 "at 360 close\ntimeout 100\n");
    playback.ExpectCleanEnd();
    playback.ExpectGolden("middle.png", "game_replay_playback");
    const std::vector<uint32_t> a = recorded.Pixels("last.png"), b = playback.Pixels("last.png");
    ASSERT_EQ(a.size(), b.size());
    ASSERT_EQ(a.size(), 640u * 480u);
    int differ = 0, differAboveCaption = 0;
    for (size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0xFF000000u) != (b[i] | 0xFF000000u)) {
            ++differ;
            if (i / 640 < 448) ++differAboveCaption;
        }
    EXPECT_EQ(differAboveCaption, 0);
    EXPECT_GT(differ, 0);  // the caption "スペースキーで終了" of the stage-file run
}

// The two later stages played from the command line: in the cave the sign's message holds the
// game once the hero walks up to it (Z closes it), and a coin jumped into adds 100 to the score
// on the status panel; in the castle the boss hovers and fires fans of five shots at the hero.
TEST(GameRuns, TheCaveShowsItsSignsMessageAndTheCastlesBossFiresFans) {
    GameRun cave("cave");
    cave.Run("at 130 key down RIGHT\nat 150 key up RIGHT\n"
             "at 170 capture message.png\n"
             "at 210 key tap Z\n"
             "at 240 capture closed.png\n"
             "at 245 key down RIGHT\nat 256 key down Z\nat 259 key up Z\n"  // a short jump takes a coin
             "at 286 capture coin.png\n"
             "at 290 close\ntimeout 100\n",
             {"data\\stg4\\c02-1.stg4"});
    cave.ExpectCleanEnd();
    cave.ExpectGolden("message.png", "game_cave_message");
    cave.ExpectGolden("closed.png", "game_cave_message_closed");
    cave.ExpectGolden("coin.png", "game_cave_coin_score");

    GameRun castle("castle");
    castle.Run("at 100 key down RIGHT\nat 190 key up RIGHT\n"
               "at 200 capture fan.png\n"
               "at 240 capture later.png\n"
               "at 250 close\ntimeout 100\n",
               {"data\\stg4\\c03-1.stg4"});
    castle.ExpectCleanEnd();
    castle.ExpectGolden("fan.png", "game_castle_boss_fan");
    castle.ExpectGolden("later.png", "game_castle_boss_fan_later");
}

// A miss costs a life and offers to retry; with the last life gone the game is over and Z goes
// back to the title. The hero walks into the forest's first pit three times.
TEST(GameRuns, MissesLeadThroughTheContinueMenuToGameOverAndTheTitle) {
    GameRun run("misses");
    std::string script = kIntoTheForest;
    script +=
        "at 400 key down RIGHT\n"      // into the pit
        "at 440 capture continue.png\n"
        "at 460 key tap Z\n"           // retry
        "at 480 capture retry.png\n"
        "at 660 key tap Z\n"           // retry after the second miss
        "at 840 capture gameover.png\n"
        "at 860 key tap Z\n"           // to the title
        "at 1040 capture title.png\n"
        "at 1050 key up RIGHT\n"
        "at 1060 key down ESCAPE\n"
        "timeout 100\n";
    run.Run(script);
    run.ExpectCleanEnd();
    run.ExpectGolden("continue.png", "game_miss_continue_menu");
    run.ExpectGolden("retry.png", "game_miss_retry");
    run.ExpectGolden("gameover.png", "game_miss_game_over");
    run.ExpectGolden("title.png", "game_miss_title");
}

}  // namespace
