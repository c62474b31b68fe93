// The stage select scene: the stages offered and the scrolling list, the list screen and its
// ranking board (goldens), the preview of the stage under the cursor, the ranking buttons, and
// starting a stage, a stage that does not load, going back to the title and coming back.
#include <gtest/gtest.h>

#include "frontend/scene_stage_select.h"
#include "platform/host/script.h"
#include "records/ranking.h"
#include "records/stage_file.h"
#include "tests/frontend/ranking_fixture.h"
#include "tools/records/stage_writer.h"

using namespace scenetest;
using namespace rankingtest;

namespace {

const REQUEST kDecide{WM_REQ_SOUND, 1}, kCancel{WM_REQ_SOUND, 2}, kRefused{WM_REQ_SOUND, 3};
const REQUEST kCursor{WM_REQ_SOUND, 0}, kSwitch{WM_REQ_SOUND, 6};

class StageSelect : public RankingFixture {
protected:
    void SetUp() override {
        RankingFixture::SetUp();
        g_nStageSelectRow = 0;
        g_nStageSelectTop = 0;
        // The challenge as the title menu starts it: ranking kinds 0 and 2.
        g_SceneManager.m_nGameMode = 1;
        g_SceneManager.m_bModeRanking = 1;
        cSysRankingRule& rule = g_SystemData.m_vecRankingRules[1];
        rule.m_bOn = 1;
        rule.m_vecTables = {1, 0, 1, 0, 0};
        g_SystemData.m_nStageCount = 25;
        g_SystemData.m_nWord12 = 0;  // the stages opened, not all
        g_SaveData.m_vecStageResults.assign(25, cSaveDataPartA());
        g_SceneManager.m_nCurrent = SCENE_STAGESELECT;
    }
    cSceneStageSelect* Scene() { return dynamic_cast<cSceneStageSelect*>(g_SceneManager.m_lpScenes[SCENE_STAGESELECT]); }
    int State() { return Scene() ? Scene()->m_nState : -99; }
    int Row() { return g_MenuCursor.m_pCurrent->nY; }
    void ToSelect() {
        for (int i = 0; i < 40 && State() != 1; ++i) Frame();
        ASSERT_EQ(State(), 1);
        Taken();
    }
    // A ranking file of stage n in the challenge folder with one entry in table 0.
    void WriteRanking(int n, const char* name, int32_t value) {
        cRankingHolder h;
        h.m_vecTables[0].Add(name, value);
        char stage[32];
        std::snprintf(stage, sizeof stage, "c%02d.", n);
        ASSERT_TRUE(SaveRanking(h, 1, stage));
    }
};

TEST_F(StageSelect, TheListOffersTheOpenedStagesAndScrollsTenRows) {
    struct Case {
        const char* what;
        uint32_t all;
        int32_t opened;
        int downs;
        int count, row, top, visible;
    } cases[] = {
        {"a new game offers stage 1", 0, 1, 3, 1, 0, 0, 1},
        {"opened stages", 0, 4, 2, 4, 2, 0, 4},
        {"all stages of the project", 1, 1, 0, 25, 0, 0, 10},
        {"more than ten scroll", 1, 1, 12, 25, 12, 3, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_SceneManager.DestroyAll();
        g_SystemData.m_nWord12 = c.all;
        g_SaveData.m_nStagesOpen = c.opened;
        ASSERT_NO_FATAL_FAILURE(ToSelect());
        for (int i = 0; i < c.downs; ++i) Tap(8);
        Frame();
        EXPECT_EQ(Scene()->StageCount(), c.count);
        EXPECT_EQ(Row(), c.row);
        EXPECT_EQ(Scene()->ListTop(), c.top);
        EXPECT_EQ(Scene()->VisibleRows(), c.visible);
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelX, 32);
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 160 + 32 * (c.row - c.top));
    }
}

TEST_F(StageSelect, TheListScreenWithMarksScoresAndTheRankingBoard) {
    g_SaveData.m_nStagesOpen = 3;
    g_SaveData.m_vecStageResults[1].m_bCleared = 1;
    g_SaveData.m_vecStageResults[1].m_nBestScore = 4800;
    g_SaveData.m_nBestTotal = 4800;
    g_SystemData.m_nWord13 = 1;  // the best-score column
    g_SystemData.m_nWord14 = 1;  // the info line
    WriteRanking(2, "ACE", 4800);
    ASSERT_NO_FATAL_FAILURE(ToSelect());
    EXPECT_EQ(Taken(), std::vector<REQUEST>{});
    Tap(8);
    Frame();
    drawtest::ExpectGolden(*BackPixels(), "stage_select_list");

    // Button 3 shows the ranking of the stage under the cursor (the best-score heading goes).
    Tap(0, 4);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kSwitch}));
    EXPECT_EQ(RankingViewSwitch(g_SaveData), 1);
    Frame();
    drawtest::ExpectGolden(*BackPixels(), "stage_select_ranking");
}

TEST_F(StageSelect, MovingTheCursorLoadsTheStagesNameAndRankingAtOnce) {
    g_SaveData.m_nStagesOpen = 3;
    WriteRanking(2, "TWO", 222);
    ASSERT_NO_FATAL_FAILURE(ToSelect());
    EXPECT_EQ(g_SaveData.m_strStageName, "data\\stg4\\c01.");
    EXPECT_EQ(g_RankingHolder.m_vecTables[0].m_vecEntries[0].m_bUsed, 0);
    Frame(8);  // the same frame
    EXPECT_EQ(g_SaveData.m_strStageName, "data\\stg4\\c02.");
    EXPECT_EQ(g_RankingHolder.m_vecTables[0].m_vecEntries[0].m_strName, "TWO");
    Frame();
    Frame(8);
    EXPECT_EQ(g_SaveData.m_strStageName, "data\\stg4\\c03.");
    EXPECT_EQ(g_RankingHolder.m_vecTables[0].m_vecEntries[0].m_bUsed, 0);  // no file: empty tables

    // A mode that does not rank names the stage and leaves the holder alone.
    g_SceneManager.m_bModeRanking = 0;
    g_RankingHolder.m_vecTables[0].Add("KEEP", 1);
    Frame();
    Frame(4);
    EXPECT_EQ(g_SaveData.m_strStageName, "data\\stg4\\c02.");
    EXPECT_EQ(g_RankingHolder.m_vecTables[0].m_vecEntries[0].m_strName, "KEEP");
}

TEST_F(StageSelect, RankingButtonsFlipTheViewAndStepTheKindOncePerPress) {
    ASSERT_NO_FATAL_FAILURE(ToSelect());
    // Button 3 held for three frames flips the view once.
    Frame(0, 4);
    Frame(0, 4);
    Frame(0, 4);
    Frame();
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kSwitch}));
    EXPECT_EQ(RankingViewSwitch(g_SaveData), 1);
    // Button 4 steps to the next ranked kind: 0 -> 2 -> 0.
    Tap(0, 8);
    EXPECT_EQ(g_SaveData.m_nRankingTable, 2);
    Tap(0, 8);
    EXPECT_EQ(g_SaveData.m_nRankingTable, 0);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kSwitch, kSwitch}));
    // With one ranked kind button 4 does nothing audible and keeps the kind.
    g_SystemData.m_vecRankingRules[1].m_vecTables = {0, 0, 1, 0, 0};
    g_SaveData.m_nRankingTable = 2;
    Tap(0, 8);
    EXPECT_EQ(g_SaveData.m_nRankingTable, 2);
    EXPECT_TRUE(Taken().empty());
    // A mode without rankings: button 3 switches the view off, silently.
    g_SceneManager.m_bModeRanking = 0;
    Tap(0, 4);
    EXPECT_EQ(RankingViewSwitch(g_SaveData), 0);
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(State(), 1);
}

TEST_F(StageSelect, AStageThatDoesNotLoadKeepsTheList) {
    g_SaveData.m_nStagesOpen = 2;
    host::script::LoadText("msgbox ok \"c02-1.stg4\"\n", folder->Root());
    ASSERT_NO_FATAL_FAILURE(ToSelect());
    Tap(8);
    Taken();
    Frame(0, 1);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kRefused}));
    EXPECT_EQ(State(), 1);
    int answer = 0;
    // The box was shown (its scripted answer is used up).
    EXPECT_FALSE(host::script::TakeMessageBoxAnswer("エラー", "ステージファイル data\\stg4\\c02-1.stg4 が読み込めません！",
                                                    MB_OK, &answer));
    EXPECT_FALSE(ClosePosted());
}

TEST_F(StageSelect, AStageStartsPlayAndTheListComesBackOnItsRow) {
    cStage stage;
    MakeSampleStage(stage, 20, 15, 0, 0);
    folder->MakeFolder("data\\stg4");
    ASSERT_TRUE(WriteStageFile(*folder, "data\\stg4\\c12-1.stg4_003", stage));
    g_SystemData.m_nWord12 = 1;
    g_SystemData.m_vecStartLives[GAME_MODE_CHALLENGE] = 3;
    g_SystemData.m_vecUnlimitedLives[GAME_MODE_CHALLENGE] = 0;
    AutoSaveSwitch(g_SaveData) = 0;
    ASSERT_NO_FATAL_FAILURE(ToSelect());
    for (int i = 0; i < 11; ++i) Tap(8);
    Taken();
    Frame(0, 1);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kDecide}));
    EXPECT_EQ(State(), 2);
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_PLAY);
    EXPECT_EQ(g_SceneManager.m_nPlayMode, START_MODE_CHALLENGE);
    EXPECT_EQ(g_SaveData.m_strStageName, "data\\stg4\\c12.");
    EXPECT_EQ(g_SaveData.m_nStageNumber, 12);
    EXPECT_EQ(StageStartFlag(g_SaveData), 1);
    EXPECT_EQ(StartedFlag(g_SaveData), 1);
    EXPECT_EQ(AutoSaveSwitch(g_SaveData), 0) << "starting a challenge stage leaves automatic saving off";
    EXPECT_EQ(g_SaveData.m_nLivesReserve, 3);
    EXPECT_EQ(g_SaveData.m_nLives, 2);
    EXPECT_EQ(g_nStageSelectRow, 11);
    EXPECT_EQ(g_nStageSelectTop, 2);
    EXPECT_TRUE(g_LoadedStage.HasHero());
    for (int i = 0; i < 40 && g_SceneManager.m_nCurrent != SCENE_PLAY; ++i) Frame();
    EXPECT_EQ(g_SceneManager.m_nCurrent, SCENE_PLAY);
    EXPECT_EQ(g_SceneManager.m_nPrevious, SCENE_STAGESELECT);
    Frame();  // the manager hands over: the stage select object goes
    EXPECT_EQ(Scene(), nullptr);

    // Back from play: the list opens on the stage last started.
    g_SceneManager.m_nCurrent = SCENE_STAGESELECT;
    ASSERT_NO_FATAL_FAILURE(ToSelect());
    EXPECT_EQ(Row(), 11);
    EXPECT_EQ(Scene()->ListTop(), 2);
    EXPECT_EQ(g_SaveData.m_strStageName, "data\\stg4\\c12.");
}

TEST_F(StageSelect, CancelGoesBackToTheTitle) {
    ASSERT_NO_FATAL_FAILURE(ToSelect());
    Frame(0, 2);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kCancel}));
    EXPECT_EQ(State(), 2);
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_TITLE);
    for (int i = 0; i < 40 && g_SceneManager.m_nCurrent != SCENE_TITLE; ++i) Frame();
    EXPECT_EQ(g_SceneManager.m_nPrevious, SCENE_STAGESELECT);
    EXPECT_EQ(g_nStageSelectRow, 0);
}

}  // namespace
