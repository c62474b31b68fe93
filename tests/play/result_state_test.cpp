// The result screen after the game ends: it leaves by itself 200 frames after it opened when the
// stage asks for it (taking no keys meanwhile), the result board shows once the result picture is
// in (from the first frame when the stage has no result picture), and F3 enters the ranking and
// writes the ranking file.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/frame_timer.h"
#include "core/thread.h"
#include "play/play_scene.h"
#include "play/result_state.h"
#include "play/stage_words.h"
#include "platform/win32/timer.h"
#include "records/option_data.h"
#include "records/ranking.h"
#include "records/replay.h"
#include "tests/frontend/scene_fixture.h"
#include "tests/play/flying_hero.h"
#include "tools/bmp_writer.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

const REQUEST kRegistered{WM_REQ_SOUND, 16}, kDecide{WM_REQ_SOUND, 1};

// Always past the next frame's due time: the ranking view's frames run at once.
DWORD FastClock() {
    static DWORD t = 0;
    return t += 1000;
}

class ResultScreen : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        WriteSystemSprites();
        folder->MakeFolder("user_data\\free");
        Open();
        g_Replay.Clear();
        g_ReplayPrev.Clear();
        g_SystemData.m_bReplay = 0;
        g_SystemData.m_bScoreExtraLife = 0;
        g_StageSettings.m_nHitLevel = 1;
        g_StageSettings.m_nFrameRate = 60;
        g_StageSettings.m_nWidth = 40;
        g_StageSettings.m_nHeight = 15;
        g_StageSettings.m_nValue33 = 0;
        PlaceFlyingHero(g_LoadedStage);
        g_SaveData.Reset();
        g_SaveData.m_nLivesReserve = 3;
        g_SaveData.m_nLives = 2;
        g_SaveData.m_nStageNumber = 1;
        g_SaveData.m_strStageName = "data\\stg4\\Res.";
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        // The chosen stage file's mode ranks the score (kind 0) and the play time (kind 2).
        g_SceneManager.m_nGameMode = GAME_MODE_STAGEFILE;
        g_SceneManager.m_bModeRanking = 1;
        cSysRankingRule& rule = g_SystemData.m_vecRankingRules[GAME_MODE_STAGEFILE];
        rule.m_bOn = 1;
        rule.m_vecTables = {1, 0, 1, 0, 0};
        g_OptionData = cOptionData();
        g_OptionData.m_nRankingMode = 1;
        g_OptionData.m_strRankingName = "RES";
        ResetFrameTimers();
    }
    void TearDown() override {
        host::SetKeyState(VK_F3, false);
        host::SetKeyState(VK_SPACE, false);
        host::SetKeyState('Z', false);
        g_OptionData = cOptionData();
        g_Replay.Clear();
        g_ReplayPrev.Clear();
        SceneFixture::TearDown();
    }
    // The system sprite sheet with the result plate (row 64, 128 x 32) on the transparent colour.
    void WriteSystemSprites() {
        tools::BmpPicture p = tools::SolidPicture(320, 192, 0xFF00FF);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 128; ++x) p.rgb[(size_t)(64 + y) * 320 + x] = x % 8 < 4 ? 0x20C0F0 : 0x1060A0;
        ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\Word.bmp"), p, tools::BmpOptions{}));
    }
    cPlayScene* Play() { return g_lpPlayScene; }
    int State() { return Play() ? Play()->m_nState : -99; }
    // Plays up to the play state, scores and ends the game: the result screen is next.
    void EndTheGame(int picture, int autoAdvance) {
        for (int i = 0; i < 200 && State() != PLAY_FRAME; ++i) Frame();
        ASSERT_EQ(State(), PLAY_FRAME);
        g_StageSettings.m_anValue34_35[0] = picture;
        g_StageSettings.m_nValue30 = autoAdvance;
        g_SaveData.m_nStageScore = 1234;
        Play()->m_nRequest = PLAY_REQ_GAMEEND;
        Frame();
        ASSERT_EQ(State(), PLAY_RESULT);
        ASSERT_EQ(Play()->m_bNewRecord, 1) << "an empty ranking takes the result";
        Taken();
    }
    // Whether the last frame drew the result board: its area right of the result picture's
    // columns (the blinds spread them downwards) and above the F3 caption's row differs from the
    // plain play screen.
    bool BoardShown() {
        const raster::PixelStore shown = BackPixels()->bits;
        const std::vector<uint32_t> a = drawtest::Argb(*BackPixels(), true);
        Play()->Draw(0, 1, 0, 1);
        const std::vector<uint32_t> b = drawtest::Argb(*BackPixels(), true);
        BackPixels()->bits = shown;
        int changed = 0;
        for (int y = kResultBoardY; y < kResultCaptionY; ++y)
            for (int x = kResultPictureX + 128; x < 640; ++x) changed += a[(size_t)y * 640 + x] != b[(size_t)y * 640 + x];
        return changed > 0;
    }
    // One frame on a game thread of its own while this (window) thread serves its requests and
    // taps Z (button 1) until the ranking view has ended.
    void FrameWithRankingView(WORD buttons = 0) {
        SetClockOverride(FastClock);
        g_bAppActive = 1;
        std::atomic<bool> done{false};
        std::thread game([&] {
            Frame(0, buttons);
            done = true;
        });
        for (int i = 0; !done && i < 20000; ++i) {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
                if (m.message != WM_CLOSE) DispatchMessageA(&m);
            host::SetKeyState('Z', (i / 20) % 2 == 1);
            Sleep(1);
        }
        if (!done) thRanking.Exit();
        game.join();
        host::SetKeyState('Z', false);
        SetClockOverride(nullptr);
        g_bAppActive = 0;
    }
};

TEST_F(ResultScreen, AutoAdvanceLeavesAfter200FramesWithoutTakingKeys) {
    EndTheGame(1, 1);
    // Space (pause), F3 (ranking entry) and button 1 are all left alone.
    host::SetKeyState(VK_SPACE, true);
    host::SetKeyState(VK_F3, true);
    for (int i = 1; i <= kResultAutoFrames; ++i) {
        Frame(0, (WORD)(i & 1));
        ASSERT_EQ(State(), PLAY_RESULT) << "frame " << i;
        EXPECT_FALSE(BoardShown()) << "frame " << i;
    }
    EXPECT_EQ(Play()->m_bResultRegistered, 0);
    EXPECT_TRUE(Taken().empty());
    Frame();
    EXPECT_EQ(State(), PLAY_FADEOUT);
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_PLAY) << "a chosen stage file without a next part: again";
    EXPECT_FALSE(folder->Exists("user_data\\free\\Res.rkg"));
}

TEST_F(ResultScreen, TheBoardShowsOnceThePictureIsInAndAtOnceWithoutIt) {
    // Without the result picture: the board from the first frame, and button 1 leaves at once.
    EndTheGame(0, 0);
    Frame();
    EXPECT_TRUE(BoardShown());
    Frame();
    Frame(0, 1);
    EXPECT_EQ(State(), PLAY_FADEOUT);

    // With it: the picture comes in over 50 frames (4 a frame up to 200), then the board.
    g_SceneManager.DestroyAll();
    g_SceneManager.m_nCurrent = SCENE_PLAY;
    EndTheGame(1, 0);
    for (int i = 1; i < kResultLeaveCount / kResultPictureStep; ++i) {
        Frame(0, (WORD)(i & 1));
        ASSERT_EQ(State(), PLAY_RESULT) << "button 1 is not taken before the board shows";
        ASSERT_FALSE(BoardShown()) << "frame " << i;
    }
    Frame();
    EXPECT_TRUE(BoardShown());
    EXPECT_EQ(Play()->m_nResultCount, kResultLeaveCount);
}

TEST_F(ResultScreen, F3EntersTheRankingOnceAndWritesTheRankingFile) {
    EndTheGame(0, 0);
    Frame();
    host::SetKeyState(VK_F3, true);
    FrameWithRankingView();
    host::SetKeyState(VK_F3, false);
    EXPECT_EQ(State(), PLAY_RESULT) << "the press that closed the ranking view does not leave";
    EXPECT_EQ(Play()->m_bResultRegistered, 1);
    std::vector<REQUEST> sounds = Taken();
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), kRegistered), 1);

    cRankingHolder saved;
    ASSERT_EQ(LoadRanking(saved, GAME_MODE_STAGEFILE, "data\\stg4\\Res."), 1);
    ASSERT_TRUE(folder->Exists("user_data\\free\\Res.rkg"));
    const cRankingEntry& score = saved.m_vecTables[0].m_vecEntries[0];
    EXPECT_EQ(score.m_bUsed, 1);
    EXPECT_EQ(score.m_strName, "RES");
    EXPECT_EQ(score.m_nValue, 1234);
    EXPECT_EQ(saved.m_vecTables[2].m_vecEntries[0].m_bUsed, 1) << "the play time";
    EXPECT_EQ(saved.m_vecTables[1].m_vecEntries[0].m_bUsed, 0) << "a kind the mode does not rank";

    // F3 again enters nothing more; button 1 then leaves with the decide sound.
    host::SetKeyState(VK_F3, true);
    Frame();
    host::SetKeyState(VK_F3, false);
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(g_RankingHolder.m_vecTables[0].m_vecEntries[1].m_bUsed, 0);
    Frame(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
    EXPECT_EQ(State(), PLAY_FADEOUT);
}

TEST_F(ResultScreen, InTheAutomaticNameModesTheLeavingButtonEntersTheRanking) {
    g_OptionData.m_nRankingMode = 3;
    EndTheGame(0, 0);
    Frame();
    host::SetKeyState(VK_F3, true);
    Frame();
    host::SetKeyState(VK_F3, false);
    EXPECT_EQ(Play()->m_bResultRegistered, 0) << "F3 enters nothing in this mode";
    Frame();
    FrameWithRankingView(1);
    EXPECT_EQ(State(), PLAY_FADEOUT);
    EXPECT_EQ(Play()->m_bResultRegistered, 1);
    std::vector<REQUEST> sounds = Taken();
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), kRegistered), 1);
    cRankingHolder saved;
    ASSERT_EQ(LoadRanking(saved, GAME_MODE_STAGEFILE, "data\\stg4\\Res."), 1);
    EXPECT_EQ(saved.m_vecTables[0].m_vecEntries[0].m_strName, "RES");
}

}  // namespace
