// The play scene's menus: the pause menu's item count per mode (a table), opening it with the
// space key and leaving it by resume, cancel, restart and quit; the continue menu's retry and
// give-up; the game-over screen with and without its picture; and a button held when a menu
// opens, which confirms nothing.
#include <gtest/gtest.h>

#include "core/frame_timer.h"
#include "media/menu_cursor.h"
#include "play/play_menus.h"
#include "play/play_scene.h"
#include "play/stage_words.h"
#include "records/replay.h"
#include "tests/frontend/scene_fixture.h"
#include "tests/play/flying_hero.h"
#include "tools/bmp_writer.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

const REQUEST kPause{WM_REQ_SOUND, 4}, kDecide{WM_REQ_SOUND, 1}, kCancel{WM_REQ_SOUND, 2};

class PlayMenus : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        WriteSystemSprites();
        Open();
        g_Replay.Clear();
        g_ReplayPrev.Clear();
        g_SystemData.m_bReplay = 0;
        g_StageSettings.m_nHitLevel = 3;
        g_StageSettings.m_nFrameRate = 60;
        g_StageSettings.m_nWidth = 40;
        g_StageSettings.m_nHeight = 15;
        g_StageSettings.m_nValue33 = 0;
        PlaceFlyingHero(g_LoadedStage);
        g_SaveData.Reset();
        g_SaveData.m_nLivesReserve = 3;
        g_SaveData.m_nLives = 2;
        g_SaveData.m_nStageNumber = 1;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        g_SceneManager.m_nGameMode = GAME_MODE_STAGEFILE;
        ResetFrameTimers();
    }
    void TearDown() override {
        host::SetKeyState(VK_SPACE, false);
        g_Replay.Clear();
        g_ReplayPrev.Clear();
        SceneFixture::TearDown();
    }
    // The system sprite sheet with the result plate (row 64, 128 x 32) and the game-over plate
    // (row 96, 144 x 32) on the transparent colour.
    void WriteSystemSprites() {
        tools::BmpPicture p = tools::SolidPicture(320, 192, 0xFF00FF);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 128; ++x) p.rgb[(size_t)(64 + y) * 320 + x] = x % 8 < 4 ? 0x20C0F0 : 0x1060A0;
            for (int x = 0; x < 144; ++x) p.rgb[(size_t)(96 + y) * 320 + x] = y % 8 < 4 ? 0xE04020 : 0x802010;
        }
        ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\Word.bmp"), p, tools::BmpOptions{}));
    }
    cPlayScene* Play() { return g_lpPlayScene; }
    int State() { return Play() ? Play()->m_nState : -99; }
    int Row() { return g_MenuCursor.m_pCurrent->nY; }
    void ToPlay() {
        for (int i = 0; i < 200 && State() != PLAY_FRAME; ++i) Frame();
        ASSERT_EQ(State(), PLAY_FRAME);
        Taken();
    }
    // The space key for one frame: the pause menu opens.
    void Pause() {
        host::SetKeyState(VK_SPACE, true);
        Frame();
        host::SetKeyState(VK_SPACE, false);
        ASSERT_EQ(State(), PLAY_MENU);
        EXPECT_EQ(Taken(), std::vector<REQUEST>{kPause});
        Frame();  // the menu opens on its resume item
        ASSERT_EQ(Row(), PAUSEITEM_RESUME);
    }
    // Runs the fade-out; true when play handed over to `next`.
    bool FadesOutTo(int next) {
        for (int i = 0; i < 60 && g_SceneManager.m_nCurrent == SCENE_PLAY; ++i) Frame();
        return g_SceneManager.m_nCurrent == next && g_SceneManager.m_nPrevious == SCENE_PLAY;
    }
};

TEST(PlayMenuRules, ThePauseMenuOffersARestartWhereTheModeAllowsIt) {
    struct Case {
        int mode;
        uint32_t storySwitch, challengeSwitch;
        bool storyCleared, challengeCleared;
        int items;
    } cases[] = {
        {GAME_MODE_STAGEFILE, 0, 0, false, false, 3},  // a stage file: always
        {GAME_MODE_REPLAY, 0, 0, false, false, 3},
        {GAME_MODE_STORY, 1, 1, true, true, 3},
        {GAME_MODE_STORY, 0, 1, true, true, 2},       // the project does not allow it
        {GAME_MODE_STORY, 1, 1, false, true, 2},      // the stage is not cleared in the story
        {GAME_MODE_CHALLENGE, 1, 1, true, true, 3},
        {GAME_MODE_CHALLENGE, 1, 0, true, true, 2},
        {GAME_MODE_CHALLENGE, 1, 1, true, false, 2},  // not cleared in the challenge
    };
    cSaveData data;
    data.m_nStageNumber = 2;
    data.m_vecStageResults.assign(3, cSaveDataPartA());
    for (const Case& c : cases) {
        g_SystemData.m_nWord16 = c.storySwitch;
        g_SystemData.m_nWord20 = c.challengeSwitch;
        data.m_vecStageValues.assign(1000, 0);
        data.m_vecStageValues[2] = c.storyCleared ? 1 : 0;
        data.m_vecStageResults[1].m_bCleared = c.challengeCleared ? 1 : 0;
        EXPECT_EQ(PauseMenuItems(c.mode, data), c.items)
            << c.mode << " " << c.storySwitch << c.challengeSwitch << c.storyCleared << c.challengeCleared;
    }
    // A stage number outside the lists allows no restart in either mode.
    g_SystemData.m_nWord16 = g_SystemData.m_nWord20 = 1;
    for (int32_t stage : {-1, 0, 4, 5000}) {
        data.m_nStageNumber = stage;
        if (stage != 0) {
            EXPECT_EQ(PauseMenuItems(GAME_MODE_STORY, data), 2) << stage;
        }
        EXPECT_EQ(PauseMenuItems(GAME_MODE_CHALLENGE, data), 2) << stage;
    }
    g_SystemData.m_nWord16 = g_SystemData.m_nWord20 = 0;
}

TEST_F(PlayMenus, ResumeAndCancelGoBackToTheInterruptedStateAndSwallowTheButton) {
    ToPlay();
    for (WORD way : {1, 2}) {
        Pause();
        const int frames = Play()->m_nFrameCount;
        Frame(8);  // the cursor moves; play does not
        EXPECT_EQ(Row(), PAUSEITEM_RESTART);
        EXPECT_EQ(Play()->m_nFrameCount, frames);
        Frame();
        Frame(4);
        ASSERT_EQ(Row(), PAUSEITEM_RESUME);
        Taken();
        Frame(0, way);
        EXPECT_EQ(Taken(), std::vector<REQUEST>{way == 1 ? kDecide : kCancel});
        EXPECT_EQ(State(), PLAY_FRAME);
        EXPECT_EQ(Play()->m_bSwallowButtons, 1);
        // The button that closed the menu does nothing in play until it is released.
        Frame(0, way);
        EXPECT_EQ(g_vecPlayerInput[0].m_wButton, 0);
        EXPECT_EQ(Play()->m_nFrameCount, frames + 1);
        Frame();
        EXPECT_EQ(Play()->m_bSwallowButtons, 0);
    }
}

TEST_F(PlayMenus, RestartStartsTheStageAgainFromItsBanner) {
    ToPlay();
    Frames(5);
    g_SaveData.m_nScore = 50;
    g_SaveData.m_nBackupScore = 10;
    Pause();
    Tap(8);
    ASSERT_EQ(Row(), PAUSEITEM_RESTART);
    Frame(0, 1);
    EXPECT_EQ(State(), PLAY_BANNER);
    EXPECT_EQ(Play()->m_nFrameCount, 0);
    EXPECT_EQ(Play()->m_nPhase, 0);
    EXPECT_EQ(g_SaveData.m_nScore, 10) << "the score of the stage start";
    EXPECT_EQ(Play()->m_bSwallowButtons, 1);
    ToPlay();
}

TEST_F(PlayMenus, QuitGoesToTheTitleOrEndsATestPlay) {
    ToPlay();
    Pause();
    Tap(4);
    ASSERT_EQ(Row(), PAUSEITEM_QUIT);
    Frame(0, 1);
    EXPECT_EQ(State(), PLAY_FADEOUT);
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_TITLE);
    EXPECT_FALSE(ClosePosted());
    EXPECT_TRUE(FadesOutTo(SCENE_TITLE));

    // A stage file named at start-up: quitting ends the program.
    g_SceneManager.DestroyAll();
    g_SceneManager.m_nCurrent = SCENE_PLAY;
    g_SceneManager.m_nNext = SCENE_PLAY;
    g_bStageFileStart = 1;
    ToPlay();
    Pause();
    Tap(4);
    Frame(0, 1);
    EXPECT_EQ(State(), PLAY_FADEOUT);
    EXPECT_TRUE(ClosePosted());
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_PLAY);

    // The two-item menu of a story quits to the title even then.
    g_SceneManager.DestroyAll();
    g_SceneManager.m_nCurrent = SCENE_PLAY;
    g_SceneManager.m_nGameMode = GAME_MODE_STORY;
    g_SceneManager.m_nPlayMode = START_MODE_STORY;
    ToPlay();
    Pause();
    Tap(8);
    EXPECT_EQ(Row(), PAUSEITEM_QUIT) << "two items: the cursor wraps from resume to quit";
    Frame(0, 1);
    EXPECT_FALSE(ClosePosted());
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_TITLE);
}

TEST_F(PlayMenus, AButtonHeldWhenAMenuOpensConfirmsNothing) {
    ToPlay();
    host::SetKeyState(VK_SPACE, true);
    Frame(0, 1);
    host::SetKeyState(VK_SPACE, false);
    ASSERT_EQ(State(), PLAY_MENU);
    for (int i = 0; i < 5; ++i) Frame(0, 1);
    EXPECT_EQ(State(), PLAY_MENU);
    Frame();
    Frame(0, 1);
    EXPECT_EQ(State(), PLAY_FRAME) << "released and pressed again: resume";
}

TEST_F(PlayMenus, TheContinueMenuRetriesOrGivesUpForTheWorldMap) {
    ToPlay();
    Play()->m_nPhase = 0;
    Play()->m_nState = PLAY_CONTINUE;
    Frame();
    EXPECT_EQ(Row(), 0) << "the cursor starts on retry";
    Frames(3);
    Frame(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
    EXPECT_EQ(State(), PLAY_BANNER);
    EXPECT_EQ(GivenUpWord(g_SaveData), 0);
    ToPlay();
    Play()->m_nPhase = 0;
    Play()->m_nState = PLAY_CONTINUE;
    Frame();
    Tap(8);
    EXPECT_EQ(Row(), 1);
    Frame(0, 2);
    EXPECT_EQ(State(), PLAY_CONTINUE) << "the continue menu cannot be cancelled";
    Frame();
    Frame(0, 1);
    EXPECT_EQ(State(), PLAY_FADEOUT);
    EXPECT_EQ(GivenUpWord(g_SaveData), 1);
    EXPECT_TRUE(FadesOutTo(SCENE_WORLDMAP));
}

TEST_F(PlayMenus, GameOverShowsItsPictureAndLeavesForTheTitle) {
    ToPlay();
    Play()->m_nPhase = 0;
    Play()->m_nState = PLAY_GAMEOVER;
    g_StageSettings.m_anValue34_35[1] = 0;
    Frame();
    std::vector<uint32_t> plain = drawtest::Argb(*BackPixels(), true);
    g_StageSettings.m_anValue34_35[1] = 1;
    ASSERT_TRUE(stageword::GameOverPicture(g_StageSettings));
    Frame();
    std::vector<uint32_t> shown = drawtest::Argb(*BackPixels(), true);
    int changed = 0, outside = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (plain[(size_t)y * 640 + x] != shown[(size_t)y * 640 + x]) {
                ++changed;
                if (x < 248 || x >= 248 + 144 || y < 224 || y >= 224 + 32) ++outside;
            }
    EXPECT_GT(changed, 0) << "the game-over sprite at (248, 224)";
    EXPECT_EQ(outside, 0);
    // The space key opens the pause menu, which comes back to the game-over screen.
    host::SetKeyState(VK_SPACE, true);
    Frame();
    host::SetKeyState(VK_SPACE, false);
    EXPECT_EQ(State(), PLAY_MENU);
    Frame();
    Frame(0, 2);
    EXPECT_EQ(State(), PLAY_GAMEOVER);
    Frame();
    Taken();
    Frame(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_TITLE);
    EXPECT_TRUE(FadesOutTo(SCENE_TITLE));
}

}  // namespace
