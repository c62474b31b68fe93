// The title menu end to end: the real player in a generated game folder, driven by a script on
// the virtual clock. The title fades in (golden frames), the cursor moves, "end" closes the
// program with exit code 0, a stage file or a replay chosen in the file dialogs leads to play
// and a cancelled dialog keeps the menu; the title tune and the cursor sound are heard (SDL's
// disk audio driver writes what the mixer plays).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/host/png.h"
#include "records/database.h"
#include "records/replay.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "tools/game/minimal_game.h"
#include "tools/game/play_bitmaps.h"
#include "tools/golden_image.h"
#include "tools/ogg_writer.h"
#include "tools/records/project_writer.h"
#include "tools/records/save_writer.h"
#include "tools/records/stage_writer.h"
#include "tools/testsupport/process.h"
#include "tools/wave_writer.h"

namespace {

std::string Player() { return std::string(VELMORA_BINARY_DIR) + "/velmora-player"; }

struct TitleRun {
    cGameFolder folder;
    std::string dir, runtime;
    TitleRun(const std::string& name, const cSystemData* system = nullptr)
        : folder(std::string(VELMORA_BINARY_DIR) + "/tmp", "e2e_" + name) {
        dir = folder.Root();
        runtime = dir + "/.runtime";
        EXPECT_TRUE(WriteMinimalGame(folder, kMinimalSystemIni, system));
        EXPECT_TRUE(WritePlayBitmaps(folder));  // play loads its sheets when it starts
        EXPECT_EQ(std::system(("mkdir -p '" + runtime + "'").c_str()), 0);
    }
    // Runs the player with a script; `audioFile` set: the disk audio driver writes there, on the
    // real clock.
    testsupport::ProcessResult Run(const std::string& script, const std::string& audioFile = "") {
        std::ofstream(dir + "/run.script") << script;
        std::vector<std::string> env{"SDL_VIDEODRIVER=dummy", "DISPLAY=", "VELMORA_RUNTIME_DIR=" + runtime,
                                     "VELMORA_SHOWCMD", "VELMORA_SCRIPT=" + dir + "/run.script"};
        if (audioFile.empty()) {
            env.push_back("SDL_AUDIODRIVER=dummy");
            env.push_back("VELMORA_CLOCK=virtual");
        } else {
            env.push_back("SDL_AUDIODRIVER=disk");
            env.push_back("SDL_DISKAUDIOFILE=" + dir + "/" + audioFile);
        }
        return testsupport::RunProcess({Player()}, env, dir, 60000);
    }
    // Compares a captured frame with its golden picture.
    void ExpectGolden(const std::string& capture, const std::string& golden) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        ASSERT_TRUE(host::ReadPng(dir + "/" + capture, &px, &w, &h)) << capture;
        tools::GoldenResult r =
            tools::CompareGolden(VELMORA_SOURCE_DIR, VELMORA_BINARY_DIR, golden, px.data(), w, h, false);
        EXPECT_TRUE(r.ok) << r.message;
    }
    std::vector<uint32_t> Pixels(const std::string& capture) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        EXPECT_TRUE(host::ReadPng(dir + "/" + capture, &px, &w, &h)) << capture;
        return px;
    }
};

// The loudest sample of a raw 16-bit recording.
int Loudest(const std::string& path) {
    std::string raw = testsupport::ReadFile(path);
    int peak = 0;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        int v = (int16_t)((uint8_t)raw[i] | (uint8_t)raw[i + 1] << 8);
        peak = std::max(peak, v < 0 ? -v : v);
    }
    return peak;
}

TEST(Title, FadesInMovesTheCursorAndEndEndsTheProgram) {
    TitleRun run("title_end");
    // The fade-in runs over frames 0-9; the menu takes keys from frame 10. Down five times from
    // the cursor's row 1 reaches "end" (row 6); button 1 (Z) chooses it.
    std::string script = "at 4 capture fade4.png\nat 12 capture menu.png\nat 14 key tap DOWN\nat 16 capture cursor.png\n";
    for (int f = 18; f <= 26; f += 2) script += "at " + std::to_string(f) + " key tap DOWN\n";
    // The window ends the program when it takes the close posted by the menu; frames run on
    // meanwhile without pacing, so the script closes only much later.
    script += "at 30 key tap Z\nat 20000 close\ntimeout 60\n";
    auto r = run.Run(script);
    ASSERT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("frame 20000: close"), std::string::npos) << "the program closed itself:\n" << r.err;
    run.ExpectGolden("fade4.png", "e2e_title_fade4");
    run.ExpectGolden("menu.png", "e2e_title_menu");
    run.ExpectGolden("cursor.png", "e2e_title_cursor");
    std::string report = testsupport::ReadFile(run.dir + "/Report_Game.txt");
    EXPECT_EQ(report.find("err V["), std::string::npos) << report;
}

TEST(Title, AStageFileDialogCancelledKeepsTheMenuAndAChosenFileLeadsToPlay) {
    TitleRun run("title_stage");
    cStage stage;
    MakeSampleStage(stage, 20, 15, 0, 0);
    run.folder.MakeFolder("data\\stg4");
    ASSERT_TRUE(WriteStageFile(run.folder, "data\\stg4\\Stage1.stg4_001", stage));
    // "Free" is row 3 (the cursor starts on row 0): the first choice is cancelled, the second takes the stage file.
    auto r = run.Run("answer file cancel\nanswer file choose Stage1.stg4_001\n"
                     "at 12 key tap DOWN\nat 14 key tap DOWN\nat 16 key tap DOWN\nat 18 capture before.png\n"
                     "at 20 key tap Z\nat 24 capture after.png\nat 26 key tap Z\nat 45 capture play.png\n"
                     "at 50 close\ntimeout 60\n");
    ASSERT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("file dialog: cancel"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("file dialog: choose Stage1.stg4_001"), std::string::npos) << r.err;
    EXPECT_EQ(run.Pixels("before.png"), run.Pixels("after.png")) << "the menu stays as it was";
    // The title faded out into play: the stage's blocks are drawn on the play screen.
    std::vector<uint32_t> play = run.Pixels("play.png");
    ASSERT_FALSE(play.empty());
    EXPECT_NE(play, run.Pixels("before.png"));
    EXPECT_LT(std::count(play.begin(), play.end(), play[0]), (long)play.size());
    std::string report = testsupport::ReadFile(run.dir + "/Report_Game.txt");
    EXPECT_EQ(report.find("失敗"), std::string::npos) << report;
}

TEST(Title, AReplayDialogCancelledKeepsTheMenuAndAChosenReplayLeadsToPlay) {
    TitleRun run("title_replay");
    cStage stage;
    MakeReplayStage(stage);
    cReplay replay;
    cSaveData snapshot;
    run.folder.MakeFolder("user_data\\rpl4");
    ASSERT_TRUE(run.folder.WriteFile("user_data\\rpl4\\Stage1_00.rpl4_754", ReplayFileImage(stage, replay, snapshot)));
    // "Replay" is row 4.
    auto r = run.Run("answer file cancel\nanswer file choose Stage1_00.rpl4_754\n"
                     "at 12 key tap DOWN\nat 14 key tap DOWN\nat 16 key tap DOWN\nat 18 key tap DOWN\n"
                     "at 20 capture before.png\nat 22 key tap Z\nat 26 capture after.png\nat 28 key tap Z\n"
                     "at 50 capture play.png\nat 55 close\ntimeout 60\n");
    ASSERT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("file dialog: cancel"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("file dialog: choose Stage1_00.rpl4_754"), std::string::npos) << r.err;
    EXPECT_EQ(run.Pixels("before.png"), run.Pixels("after.png")) << "the menu stays as it was";
    std::vector<uint32_t> play = run.Pixels("play.png");
    ASSERT_EQ(play.size(), 640u * 480u);
    // The empty stage with its hero (one 32 x 32 cell), the status panel on the top 20 rows and
    // the replay plate (128 x 32 at (256, 224)) of the playback's banner.
    const uint32_t ground = play[(size_t)400 * 640 + 600];
    long plate = 0, rest = 0;
    for (int y = 20; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const bool inPlate = x >= 256 && x < 384 && y >= 224 && y < 256;
            const bool same = play[(size_t)y * 640 + x] == ground;
            if (inPlate && !same) ++plate;
            if (!inPlate && same) ++rest;
        }
    EXPECT_LE(rest, 640L * 460 - 128 * 32);
    EXPECT_GE(rest, 640L * 460 - 128 * 32 - 32 * 32);
    EXPECT_GT(plate, 0);
}

TEST(Title, TheTitleTuneAndTheCursorSoundAreHeard) {
    // The title tune is music record 1; the cursor sound is system sound 0.
    cSystemData system;
    system.m_strTitle = "テストゲーム";
    system.m_vecMenuTunes[0] = 1;
    system.m_vecSystemSounds[0] = "se\\Cursor.wav";
    struct Case {
        const char* name;
        bool music;
        bool cursor;
        bool heard;
    } cases[] = {{"silence", false, false, false}, {"music", true, false, true}, {"cursor", false, true, true}};
    for (const Case& c : cases) {
        cSystemData sys = system;
        if (!c.music) sys.m_vecMenuTunes[0] = 0;
        if (!c.cursor) sys.m_vecSystemSounds[0].clear();
        TitleRun run(std::string("title_sound_") + c.name, &sys);
        cDatabase db;
        CreateDefaultDatabase(db);
        db.m_vecBgm[1].m_strFile = "bgm\\Title.ogg";
        ASSERT_TRUE(WriteDatabaseFiles(run.folder, db));
        run.folder.MakeFolder("bgm");
        run.folder.MakeFolder("se");
        // A square wave for the tune, a sine for the cursor.
        std::vector<float> tune(22050);
        for (size_t i = 0; i < tune.size(); ++i) tune[i] = (i / 50) % 2 ? 0.5f : -0.5f;
        ASSERT_TRUE(tools::WriteOggVorbis(run.folder.HostPath("bgm\\Title.ogg"), 22050, 1, tune));
        ASSERT_TRUE(tools::WriteBytes(run.folder.HostPath("se\\Cursor.wav"),
                                      tools::WaveFileBytes(22050, 16, 1, tools::MakeSine(660, 22050, 1, 0.3))));
        std::string script = c.cursor ? "at 40 key tap DOWN\nat 90 close\ntimeout 60\n" : "at 90 close\ntimeout 60\n";
        auto r = run.Run(script, "out.raw");
        ASSERT_FALSE(r.timedOut) << r.err;
        EXPECT_EQ(r.exitCode, 0) << r.err;
        int peak = Loudest(run.dir + "/out.raw");
        if (c.heard)
            EXPECT_GT(peak, 1000) << c.name;
        else
            EXPECT_EQ(peak, 0) << c.name;
    }
}

}  // namespace
