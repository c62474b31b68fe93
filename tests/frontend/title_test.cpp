// The title scene: its entries and cursor, the menu window in text and picture form (goldens),
// the cursor with its sound, what each choice does to the game's words and the play data, the
// continue list over the story slots, the stage-file and replay choices, and the title entered
// again after another scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "app/game_loop.h"
#include "frontend/play_start.h"
#include "frontend/scene_title.h"
#include "media/sound.h"
#include "platform/audio/mixer.h"
#include "records/stage_file.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/records/save_writer.h"
#include "tools/records/stage_writer.h"
#include "tools/wave_writer.h"

using namespace scenetest;

namespace {

const REQUEST kDecide{WM_REQ_SOUND, 1}, kCancel{WM_REQ_SOUND, 2}, kRefused{WM_REQ_SOUND, 3};
const REQUEST kMusic0{WM_REQ_MUSIC, 0}, kLoadStage{WM_REQ_LOADSTAGE, 0}, kLoadReplay{WM_REQ_LOADREPLAY, 0};

class TitleScene : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        Open();
    }
    cSceneTitle* Title() { return dynamic_cast<cSceneTitle*>(g_SceneManager.m_lpScenes[SCENE_TITLE]); }
    int State() { return Title() ? Title()->m_nState : -99; }
    int Row() { return g_MenuCursor.m_pCurrent->nY; }
    // The title up to its main menu (the fade-in done).
    void ToMainMenu() {
        for (int i = 0; i < 30 && State() != 1; ++i) Frame();
        ASSERT_EQ(State(), 1);
    }
    // Moves the cursor to the entry of a menu number and confirms it.
    void Choose(int menu) {
        ToMainMenu();
        const std::vector<int>& e = Title()->Entries();
        int row = (int)(std::find(e.begin(), e.end(), menu) - e.begin());
        ASSERT_LT(row, (int)e.size());
        while (Row() != row) Tap(8);
        Taken();
        Frame(0, 1);
    }
};

TEST_F(TitleScene, EntriesAreTheEnabledRecordsWithTheCursorOnTheLastChoice) {
    struct Case {
        std::vector<int> shown;
        int last;
        std::vector<int> entries;
        int row;
    } cases[] = {
        {{0, 1, 2, 3, 4, 5, 6}, 5, {0, 1, 2, 3, 4, 5, 6}, 5},
        {{1, 3, 6}, 3, {1, 3, 6}, 1},
        {{1, 3, 6}, 4, {1, 3, 6}, 0},  // the last choice is not offered
        {{}, 4, {0}, 0},               // nothing enabled: a new story alone
    };
    for (const Case& c : cases) {
        for (size_t i = 0; i < g_SystemData.m_vecTitleMenu.size(); ++i)
            g_SystemData.m_vecTitleMenu[i].m_bShown = std::count(c.shown.begin(), c.shown.end(), (int)i) ? 1 : 0;
        g_SceneManager.m_nLastTitleMenu = c.last;
        Frame();
        EXPECT_EQ(Title()->Entries(), c.entries);
        EXPECT_EQ(Row(), c.row);
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelX, 192);
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 240 + 32 * c.row);
        // The text window: the widest text ("しゅうりょう", 6 characters, when it is there).
        int widest = 0;
        for (int n : c.entries) widest = std::max(widest, n == 6 ? 6 : 5);
        ASSERT_EQ(g_vecSceneSurface.size(), 1u);
        EXPECT_EQ(g_vecSceneSurface[0].nWidth, widest * 32 + 34);
        EXPECT_EQ(g_vecSceneSurface[0].nHeight, (int)c.entries.size() * 32 + 2);
        g_SceneManager.DestroyAll();
    }
    // A text of thousands of characters gives a window as wide as the screen, no wider.
    g_SystemData.m_vecTitleMenu[TITLE_END].m_strText = std::string(5000, 'W');
    g_SystemData.m_vecTitleMenu[TITLE_END].m_bShown = 1;
    Frame();
    EXPECT_EQ(g_vecSceneSurface[0].nWidth, 640);
}

TEST_F(TitleScene, TheMenuWindowInTextAndPictureFormWithSevenEntriesAndOne) {
    struct Case {
        const char* golden;
        int picture;
        bool all;
    } cases[] = {{"title_text_7", 0, true}, {"title_text_1", 0, false}, {"title_picture_7", 1, true},
                 {"title_picture_1", 1, false}};
    for (const Case& c : cases) {
        g_SystemData.m_bTitleMenuCentred = (uint32_t)c.picture;
        for (cSysMenuItem& m : g_SystemData.m_vecTitleMenu) m.m_bShown = c.all ? 1 : 0;
        g_SystemData.m_vecTitleMenu[TITLE_CHALLENGE].m_bShown = 1;
        g_SceneManager.m_nLastTitleMenu = TITLE_CHALLENGE;
        ToMainMenu();
        Frame();
        // The pictures are 160 wide: the window is centred on the screen with the cursor left of it.
        EXPECT_EQ(Title()->MenuX(), c.picture ? 288 - 80 : 192) << c.golden;
        drawtest::ExpectGolden(*BackPixels(), c.golden);
        g_SceneManager.DestroyAll();
    }
}

TEST_F(TitleScene, AfterADirectDrawLossTheMenuWindowIsDrawnAgain) {
    for (int picture : {0, 1}) {
        g_SystemData.m_bTitleMenuCentred = (uint32_t)picture;
        ToMainMenu();
        Frame();
        std::vector<uint32_t> before = drawtest::Argb(*BackPixels(), true);
        ddraw::SimulateSurfaceLoss(g_lpDD);
        ASSERT_EQ(RestoreSurfaces(), 1);
        ASSERT_FALSE(g_vecSceneSurface.empty());
        EXPECT_EQ(g_vecSceneSurface[0].bLost, 1u);
        Frame();
        EXPECT_EQ(g_vecSceneSurface[0].bLost, 0u);
        EXPECT_EQ(drawtest::Argb(*BackPixels(), true), before) << picture;
        g_SceneManager.DestroyAll();
    }
}

TEST_F(TitleScene, TheCursorMovesWithItsSoundAndWraps) {
    audio::SetManualMode(true);
    ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    std::string wave = folder->Root() + "/cursor.wav";
    ASSERT_TRUE(tools::WriteBytes(wave, tools::WaveFileBytes(22050, 16, 1, std::vector<int16_t>(441, 8000))));
    BuildSoundTable(std::vector<std::string>(17, "cursor.wav"), {});
    for (SOUNDFILEDESC& f : g_vecSoundFile) f.dwCount = 4;
    cSound::LoadTable(g_vecSound, g_vecSoundFile, 0);
    ToMainMenu();
    Taken();
    struct Step {
        WORD key;
        int row;
        int plays;  // cursor sounds so far
    } steps[] = {{8, 1, 1}, {8, 2, 2}, {4, 1, 3}, {4, 0, 4}, {4, 6, 5}, {8, 0, 6}, {1, 0, 6}, {2, 0, 6}};
    for (const Step& s : steps) {
        Tap(s.key);
        EXPECT_EQ(Row(), s.row) << s.key;
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 240 + 32 * s.row);
        EXPECT_EQ(g_vecSound[0].m_nNext, s.plays % 4) << "cursor sound of key " << s.key;
    }
    // A held direction moves once, then again after 18 frames and every 6th.
    for (int i = 0; i < 25; ++i) Frame(8);
    EXPECT_EQ(Row(), 3);
    EXPECT_EQ(Taken().size(), 0u) << "no system sound for cursor moves";
    DS_End();
    for (cSound& s : g_vecSound) cSound::Release(s);
    g_vecSound.clear();
    g_vecSoundFile.clear();
    audio::SetManualMode(false);
}

TEST_F(TitleScene, EachChoiceSetsItsModesAndLeadsToItsScene) {
    for (cSysRankingRule& r : g_SystemData.m_vecRankingRules) r.m_bOn = 0;
    g_SystemData.m_vecRankingRules[1].m_bOn = 1;  // the challenge ranks, the other modes do not
    struct Case {
        int menu;
        int next;          // -1: the menu stays
        int gameMode;      // -1: unchanged
        int ranking;
        int startMode;     // -1: unchanged
        std::vector<REQUEST> requests;
    } cases[] = {
        {TITLE_NEWSTORY, SCENE_WORLDMAP, GAME_MODE_STORY, 0, START_MODE_STORY, {kDecide}},
        {TITLE_CHALLENGE, SCENE_STAGESELECT, GAME_MODE_CHALLENGE, 1, START_MODE_CHALLENGE, {kDecide}},
        {TITLE_OPTION, SCENE_OPTION, -1, 7, -1, {kDecide}},
        {TITLE_END, -1, -1, 7, -1, {kDecide}},
        {TITLE_STAGEFILE, -1, GAME_MODE_STAGEFILE, 0, -1, {kDecide, kLoadStage}},  // cancelled
        {TITLE_REPLAY, -1, GAME_MODE_REPLAY, 0, -1, {kDecide, kLoadReplay}},       // cancelled
    };
    for (const Case& c : cases) {
        g_SceneManager.m_nGameMode = 9;
        g_SceneManager.m_bModeRanking = 7;
        g_SceneManager.m_nPlayMode = 9;
        g_SceneManager.m_nNext = -1;
        host::script::LoadText("answer file cancel\n", folder->Root());
        Choose(c.menu);
        EXPECT_EQ(g_SceneManager.m_nLastTitleMenu, c.menu);
        EXPECT_EQ(Taken(), c.requests) << c.menu;
        EXPECT_EQ(State(), c.next < 0 ? 1 : 3) << c.menu;
        EXPECT_EQ(g_SceneManager.m_nNext, c.next) << c.menu;
        EXPECT_EQ(g_SceneManager.m_nGameMode, c.gameMode < 0 ? 9 : c.gameMode) << c.menu;
        EXPECT_EQ(g_SceneManager.m_bModeRanking, c.ranking) << c.menu;
        EXPECT_EQ(g_SceneManager.m_nPlayMode, c.startMode < 0 ? 9 : c.startMode) << c.menu;
        EXPECT_EQ(ClosePosted(), c.menu == TITLE_END) << c.menu;
        if (c.next < 0) {
            // The menu stays and is drawn again on the next frame; its music is not asked again.
            Frame();
            EXPECT_EQ(State(), 1);
            EXPECT_EQ(Taken().size(), 0u);
        }
        g_SceneManager.DestroyAll();
    }
}

TEST_F(TitleScene, ANewStorySetsUpThePlayData) {
    g_WorldMap.m_nStartX = 7;
    g_WorldMap.m_nStartY = 3;
    g_SystemData.m_vecStartLives[GAME_MODE_STORY] = 5;
    g_SystemData.m_vecUnlimitedLives[GAME_MODE_STORY] = 0;
    g_SaveData.m_nScore = 1234;  // a game played before
    g_SaveData.m_vecCommonVars.assign(10, 9);
    g_SaveData.m_vecStageBests.resize(3);
    g_SaveData.m_nStorySlot = 4;
    g_SaveData.m_nValue4 = 8;
    Choose(TITLE_NEWSTORY);
    const cSaveData& d = g_SaveData;
    EXPECT_EQ(d.m_vecCarrySwitches, std::vector<int32_t>(25, 0));
    EXPECT_EQ(d.m_vecHeroes.size(), 1u);
    ASSERT_EQ(d.m_vecStageValues.size(), 1000u);
    EXPECT_EQ(d.m_vecStageValues[0], 1);
    EXPECT_EQ(std::count(d.m_vecStageValues.begin(), d.m_vecStageValues.end(), 0), 999);
    EXPECT_EQ(d.m_vecCommonVars, std::vector<int32_t>(1001, 0));
    EXPECT_TRUE(d.m_vecStageBests.empty());
    EXPECT_TRUE(d.m_vecStageResults.empty());
    EXPECT_EQ(d.m_nStagesOpen, 1);
    EXPECT_EQ(d.m_nStorySlot, -1);
    EXPECT_EQ(d.m_strPlayerName, "aaa");
    EXPECT_EQ(d.m_nMapX, 7);
    EXPECT_EQ(d.m_nMapY, 3);
    EXPECT_EQ(d.m_nValue4, 0);
    EXPECT_EQ(d.m_nScore, 0);
    EXPECT_EQ(d.m_nLivesReserve, 5);
    EXPECT_EQ(d.m_nLives, 4);
    // Then the world map.
    while (g_SceneManager.m_nCurrent == SCENE_TITLE) Frame();
    EXPECT_EQ(g_SceneManager.m_nCurrent, SCENE_WORLDMAP);
}

TEST_F(TitleScene, StartLivesOfAMode) {
    struct Case {
        uint32_t start, unlimited;
        bool forced;
        int reserve, lives;
    } cases[] = {{3, 0, false, 3, 2}, {0, 0, false, 0, 0}, {500, 0, false, 99, 98},
                 {3, 1, false, 999999, 999999}, {3, 0, true, 999999, 999999}};
    for (const Case& c : cases) {
        g_SystemData.m_vecStartLives[GAME_MODE_STAGEFILE] = c.start;
        g_SystemData.m_vecUnlimitedLives[GAME_MODE_STAGEFILE] = c.unlimited;
        cSaveData d;
        SetStartLives(d, GAME_MODE_STAGEFILE, c.forced);
        EXPECT_EQ(d.m_nLivesReserve, c.reserve) << c.start;
        EXPECT_EQ(d.m_nLives, c.lives) << c.start;
    }
}

TEST_F(TitleScene, TheChallengeTakesItsRecordOrStartsAFreshOne) {
    g_SystemData.m_nStageCount = 6;
    // No record yet: a fresh one with a cleared result per stage.
    g_SaveData.m_nScore = 50;
    Choose(TITLE_CHALLENGE);
    EXPECT_EQ(g_SaveData.m_nScore, 0);
    EXPECT_EQ(g_SaveData.m_vecStageResults.size(), 6u);
    EXPECT_EQ(g_SaveData.m_nStorySlot, -1);
    g_SceneManager.DestroyAll();
    // A record: loaded.
    cSaveData record;
    record.m_nStagesOpen = 4;
    record.m_nBestTotal = 777;
    ASSERT_TRUE(WriteChallengeSave(*folder, record));
    Choose(TITLE_CHALLENGE);
    EXPECT_EQ(g_SaveData.m_nStagesOpen, 4);
    EXPECT_EQ(g_SaveData.m_nBestTotal, 777);
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_STAGESELECT);
}

class ContinueList : public TitleScene {
protected:
    void SetUp() override {
        TitleScene::SetUp();
        for (int slot : {0, 2, 4}) {
            cSaveData d;
            d.m_strPlayerName = "s" + std::to_string(slot);
            d.m_Stamp = SYSTEMTIME{2026, 12, 4, 10, 9, (WORD)(30 + slot), 0, 0};
            d.m_nStorySlot = slot;
            ASSERT_TRUE(WriteStorySave(*folder, slot, d));
        }
        // Slot 2 is damaged: cut short.
        std::vector<uint8_t> bytes = folder->ReadFile("user_data\\story\\Story03.dat");
        bytes.resize(bytes.size() / 2);
        ASSERT_TRUE(folder->WriteFile("user_data\\story\\Story03.dat", bytes));
        g_SaveData.m_strPlayerName = "current";
    }
    cSceneTitle* OpenList() {
        Choose(TITLE_CONTINUE);
        EXPECT_EQ(State(), 2);
        Frame();
        return Title();
    }
};

TEST_F(ContinueList, ShowsTheSlotsAndTakesOnlyASaveThatLoads) {
    OpenList();
    EXPECT_EQ(g_MenuCursor.m_vecPos.size(), 2u);
    EXPECT_EQ(Row(), 0);
    EXPECT_EQ(Title()->VisibleRows(), 10);
    EXPECT_TRUE(g_SaveSlotList.m_vecSlots[0].m_bUsed);
    EXPECT_FALSE(g_SaveSlotList.m_vecSlots[2].m_bUsed) << "a damaged save shows as empty";
    EXPECT_TRUE(g_SaveSlotList.m_vecSlots[4].m_bUsed);
    drawtest::ExpectGolden(*BackPixels(), "title_continue");
    // An empty slot and the damaged one are refused; the list stays.
    for (int row : {1, 2}) {
        while (Row() != row) Tap(8);
        Taken();
        Tap(0, 1);
        EXPECT_EQ(Taken(), std::vector<REQUEST>{kRefused}) << row;
        EXPECT_EQ(State(), 2);
    }
    // A save damaged after the list was scanned is refused too and the play data stays.
    std::vector<uint8_t> bytes = folder->ReadFile("user_data\\story\\Story05.dat");
    bytes.resize(40);
    ASSERT_TRUE(folder->WriteFile("user_data\\story\\Story05.dat", bytes));
    while (Row() != 4) Tap(8);
    Taken();
    Tap(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kRefused});
    EXPECT_EQ(State(), 2);
    EXPECT_EQ(g_SaveData.m_strPlayerName, "current");
    // A good save is loaded and the world map follows.
    while (Row() != 0) Tap(4);
    Taken();
    Frame(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
    EXPECT_EQ(g_SaveData.m_strPlayerName, "s0");
    EXPECT_EQ(g_SaveData.m_nStorySlot, 0);
    EXPECT_EQ(State(), 3);
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_WORLDMAP);
    EXPECT_EQ(g_SceneManager.m_nPlayMode, START_MODE_STORY);
    EXPECT_EQ(g_SceneManager.m_nGameMode, GAME_MODE_STORY);
}

TEST_F(ContinueList, CancelReturnsToTheMenuOnTheContinueEntry) {
    OpenList();
    Tap(8);
    Taken();
    Frame(0, 2);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kCancel});
    EXPECT_EQ(State(), 1);
    EXPECT_EQ(g_MenuCursor.m_vecPos.size(), 1u);
    EXPECT_EQ(Row(), 1);
    Frame();
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 240 + 32);
}

TEST_F(ContinueList, ScrollsOverTheNinetyNineSlotsTenRowsAtATime) {
    cSceneTitle* t = OpenList();
    for (int i = 0; i < 12; ++i) Tap(8);
    EXPECT_EQ(Row(), 12);
    EXPECT_EQ(t->ListTop(), 3);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 160 + 16 * 9);
    Tap(2);  // a page on
    EXPECT_EQ(Row(), 21);
    EXPECT_EQ(t->ListTop(), 12);
    for (int i = 0; i < 20; ++i) Tap(2);
    EXPECT_EQ(Row(), 98);
    EXPECT_EQ(t->ListTop(), 89);
    Tap(4);
    Tap(1);  // a page back
    EXPECT_EQ(t->ListTop(), 80);
}

TEST_F(TitleScene, AStageFileChosenInTheDialogStartsFreePlay) {
    cStage stage;
    MakeSampleStage(stage, 20, 15, 0, 0);
    folder->MakeFolder("data\\stg4");
    ASSERT_TRUE(WriteStageFile(*folder, "data\\stg4\\Stage1.stg4_001", stage));
    g_SystemData.m_vecStartLives[GAME_MODE_STAGEFILE] = 4;
    g_SystemData.m_vecUnlimitedLives[GAME_MODE_STAGEFILE] = 0;
    host::script::LoadText("answer file choose Stage1.stg4_001\n", folder->Root());
    Choose(TITLE_STAGEFILE);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kDecide, kLoadStage}));
    EXPECT_EQ(State(), 3);
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_PLAY);
    EXPECT_EQ(g_SceneManager.m_nPlayMode, START_MODE_FREE);
    EXPECT_EQ(g_SceneManager.m_nGameMode, GAME_MODE_STAGEFILE);
    // The stage key of the path relative to the game folder.
    EXPECT_EQ(g_SaveData.m_strStageName, ".\\data\\stg4\\Stage1.");
    EXPECT_EQ(g_SaveData.m_nStageNumber, 1);
    EXPECT_EQ(g_SaveData.m_nLivesReserve, 4);
    EXPECT_EQ(g_SaveData.m_nLives, 3);
    EXPECT_TRUE(g_LoadedStage.HasHero());
    EXPECT_FALSE(ClosePosted());
}

TEST_F(TitleScene, AReplayChosenInTheStageDialogIsRefusedAndTheMenuStays) {
    folder->MakeFolder("data\\stg4");
    ASSERT_TRUE(folder->WriteFile("data\\stg4\\Old.rpl4_754", std::vector<uint8_t>(64, 1)));
    host::script::LoadText("answer file choose Old.rpl4_754\n", folder->Root());
    testing::internal::CaptureStderr();
    Choose(TITLE_STAGEFILE);
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find((const char*)u8"ステージファイル"), std::string::npos) << log;
    EXPECT_EQ(State(), 1);
    EXPECT_FALSE(ClosePosted());
}

TEST_F(TitleScene, ALoadedReplayStartsPlayback) {
    ReplayAnswer() = 1;
    Choose(TITLE_REPLAY);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kDecide, kLoadReplay}));
    EXPECT_EQ(State(), 3);
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_PLAY);
    EXPECT_EQ(g_SceneManager.m_nPlayMode, START_MODE_REPLAY);
    EXPECT_EQ(g_SceneManager.m_nGameMode, GAME_MODE_REPLAY);
}

TEST_F(TitleScene, EnteredAgainTheCursorIsOnTheLastChoiceAndTheMusicGoesOn) {
    g_SystemData.m_vecMenuTunes[0] = 2;
    g_SystemData.m_vecMenuTunes[3] = 2;  // the options play the same tune
    Frame();
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kMusic0});
    Choose(TITLE_OPTION);
    while (g_SceneManager.m_nCurrent == SCENE_TITLE) Frame();
    Frame();
    // Back from the options: a new title.
    g_SceneManager.m_nNext = SCENE_TITLE;
    g_SceneManager.m_nCurrent = SCENE_TITLE;
    Taken();
    Frame();
    EXPECT_EQ(Taken().size(), 0u) << "the same tune plays on";
    EXPECT_EQ(Row(), 5);
    EXPECT_EQ(Title()->Entries()[(size_t)Row()], TITLE_OPTION);
}

}  // namespace

namespace {

// The title in the other back ends and depths: the menu window and the cursor show over the
// title picture, and nothing is reported.
class TitleBackEnds : public SceneFixture, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(TitleBackEnds, TheMenuShowsOverTheTitlePicture) {
    Open(GetParam().first, GetParam().second);
    for (int picture : {0, 1}) {
        g_SystemData.m_bTitleMenuCentred = (uint32_t)picture;
        for (int i = 0; i < 12; ++i) Frame();
        cSceneTitle* t = dynamic_cast<cSceneTitle*>(g_SceneManager.m_lpScenes[SCENE_TITLE]);
        ASSERT_NE(t, nullptr);
        ASSERT_EQ(t->m_nState, 1);
        raster::Surface* back = BackPixels();
        // Left of the window the title picture; the cursor's middle and the window's frame row
        // differ from it.
        uint32_t sky = back->Get(t->MenuX() - 40, 256);
        EXPECT_NE(back->Get(t->MenuX() + 8, 256), sky) << "cursor, picture form " << picture;
        EXPECT_NE(back->Get(t->MenuX() + 40, picture ? 248 : 240), sky) << "window, picture form " << picture;
        g_SceneManager.DestroyAll();
    }
    EXPECT_EQ(Report().find("err"), std::string::npos) << Report();
}

INSTANTIATE_TEST_SUITE_P(Modes, TitleBackEnds,
                         testing::Values(std::make_pair(1, 32), std::make_pair(0, 16), std::make_pair(0, 8)),
                         [](const testing::TestParamInfo<std::pair<int, int>>& i) {
                             return std::string(i.param.first ? "d3d_" : "dd_") + std::to_string(i.param.second);
                         });

}  // namespace
