// Stage keys, stage bests and their total, the stage-start backup and restore, the carrying of
// hero properties and starting the world map over.
#include <gtest/gtest.h>

#include "records/stage_list.h"
#include "save_test_support.h"

using namespace recordtest;

namespace {

class StageListTest : public SaveTest {};

TEST_F(StageListTest, StageKeys) {
    struct Case {
        const char* name;
        const char* key;
        int32_t part;
    };
    const Case cases[] = {
        {"Stage1-1.stg4_001", "Stage1.", 1},
        {"Stage1.stg4_001", "Stage1.", 0},
        {"Stage1-2.stg4_001", "Stage1-2.", 0},
        {"a-1b-1.stg4_001", "a-1b.", 1},            // the last "-1" counts
        {"data\\stg4\\c01-1.stg4_000", "data\\stg4\\c01.", 1},
        {"a.b.c", "a.b.", 0},
        {"NoDot", "", 0},
        {"", "", 0},
        {nullptr, "", 0},
        {"表-1.stg4", "表.", 1},                    // a two-byte name
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        cSaveData d;
        d.m_bPartFlag = 7;
        SetStageFileName(d, c.name);
        EXPECT_EQ(d.m_strStageName, c.key);
        EXPECT_EQ(d.m_bPartFlag, c.part);
    }
}

TEST_F(StageListTest, BestsAndTheirTotal) {
    cSaveData d;
    RecordStageBest(d, "Stage1.", 100);
    RecordStageBest(d, "Stage2.", 50);
    EXPECT_EQ(d.m_nBestTotal, 150);
    RecordStageBest(d, "Stage1.", 80);  // lower: nothing changes
    EXPECT_EQ(d.m_nBestTotal, 150);
    RecordStageBest(d, "Stage1.", 130);
    EXPECT_EQ(d.m_nBestTotal, 180);
    ASSERT_EQ(d.m_vecStageBests.size(), 2u);
    EXPECT_EQ(FindStageNumberByName(d, "Stage1."), 130);
    EXPECT_EQ(FindStageNumberByName(d, "stage1."), 0);  // names compare exactly
    EXPECT_EQ(FindStageNumberByName(d, "Stage9."), 0);
    RecordStageBest(d, "Big.", INT32_MAX);
    EXPECT_EQ(d.m_nBestTotal, INT32_MAX);  // the total stays a 32-bit value

    // Only the stages the world map leads to count in the recomputed total.
    cWorldMap map;
    map.m_vecPointEntries.resize(2);
    map.m_vecPointEntries[0].m_vecItems.resize(1);
    map.m_vecPointEntries[0].m_vecItems[0].m_strStageFile = "Stage1-1.stg4_000";
    map.m_vecPointEntries[1].m_vecItems.resize(2);
    map.m_vecPointEntries[1].m_vecItems[1].m_strStageFile = "Stage2";
    EXPECT_TRUE(IsStageOnWorldMap(map, "Stage1."));
    EXPECT_TRUE(IsStageOnWorldMap(map, "Stage2."));
    EXPECT_FALSE(IsStageOnWorldMap(map, "Big."));
    EXPECT_FALSE(IsStageOnWorldMap(map, ""));
    ResetStageList(d, map);
    EXPECT_EQ(d.m_nBestTotal, 180);
}

TEST_F(StageListTest, BackupAndRestorePerMode) {
    g_SystemData.m_bStorySwitch = 1;
    g_SystemData.m_bChallengeSwitch = 0;
    g_SystemData.m_bFreeSwitch = 1;
    g_SystemData.m_bOtherModeSwitch = 0;
    struct Case {
        int all, mode;
        BOOL testPlay;
        bool vars, lives;
    };
    const Case cases[] = {
        {1, 1, FALSE, true, true},   // a restart or the end of a replay: everything
        {0, 0, FALSE, true, false},  // story switch on
        {0, 1, FALSE, false, false}, // challenge switch off: only the score
        {0, 2, FALSE, true, false},
        {0, 0, TRUE, false, false},  // test play follows the other-mode switch
        {0, 3, FALSE, true, false},  // another mode restores the variables
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "all " << c.all << " mode " << c.mode << " test " << c.testPlay);
        cSaveData d;
        d.m_vecCommonVars[5] = 1;
        d.m_nScore = 10;
        d.m_nLives = 3;
        CopyValueArray(d);
        d.m_vecCommonVars[5] = 2;
        d.m_nScore = 20;
        d.m_nLives = 1;
        ResetStageVariables(d, c.all, c.mode, c.testPlay);
        EXPECT_EQ(d.m_nScore, 10);
        EXPECT_EQ(d.m_vecCommonVars[5], c.vars ? 1 : 2);
        EXPECT_EQ(d.m_nLives, c.lives ? 3 : 1);
    }
    // Before any backup the variables stay; a backup shorter than the program indexes is padded.
    cSaveData d;
    d.m_vecCommonVars[1000] = 9;
    ResetStageVariables(d, 1, 0, FALSE);
    EXPECT_EQ(d.m_vecCommonVars[1000], 9);
    d.m_vecBackupVars.assign(3, 4);
    ResetStageVariables(d, 1, 0, FALSE);
    ASSERT_EQ(d.m_vecCommonVars.size(), 1001u);
    EXPECT_EQ(d.m_vecCommonVars[2], 4);
    EXPECT_EQ(d.m_vecCommonVars[1000], 0);
}

TEST_F(StageListTest, CarryNeedsBothFlags) {
    cSaveData d;
    d.m_bCarryOn = 1;
    cSaveDataPartB& hero = d.m_vecHeroes[0];
    hero.m_Chara.m_wAnimeSet = 0;  // group 1 (the database has one animation set)
    hero.m_Chara.m_byC17 = 42;     // group 2
    hero.m_Chara.m_nC39 = 500;     // group 13
    hero.m_Chara.m_wGraphic = 0;   // group 0: a graphic of 0 is carried as 1
    hero.m_Chara.m_byGraphicKind = 2;
    hero.m_Chara.m_vecFlows.resize(2);  // group 21
    for (int i = 0; i < 5; ++i) hero.m_anValues[i] = 10 * (i + 1);

    g_SystemData.m_vecCarryFlags.assign(25, 1);
    g_SystemData.m_vecCarryFlags[2] = 0;               // project off, switch on: never carried
    d.m_vecCarrySwitches.assign(25, 1);
    d.m_vecCarrySwitches[13] = 0;                      // switch off, project on: not carried
    d.m_vecCarrySwitches[11] = 0;

    cCharaRec chara;
    chara.m_byC17 = 7;
    chara.m_nC39 = 8;
    int32_t v3 = -1, v5 = -1, v1 = -1, v2 = -1;
    d.m_nLives = 2;
    ApplyStageCharaOverrides(d, 0, chara, &v3, &v5);
    EXPECT_EQ(chara.m_byC17, 7);
    EXPECT_EQ(chara.m_nC39, 8);
    EXPECT_EQ(chara.m_wGraphic, 1);
    EXPECT_EQ(chara.m_byGraphicKind, 2);
    EXPECT_EQ(chara.m_vecFlows.size(), 2u);
    EXPECT_EQ(v3, 30);
    EXPECT_EQ(v5, 50);
    EXPECT_EQ(d.m_nLives, 40);  // group 23: hero value 4 is the lives
    ApplyStageOverride2(d, 0, v1, v2);
    EXPECT_EQ(v1, -1);  // group 11's switch is off
    EXPECT_EQ(v2, 20);

    // The other direction stores the same groups into the hero entry.
    cCharaRec played;
    played.m_byC17 = 99;
    played.m_nC39 = 98;
    played.m_wGraphic = 0;
    d.m_nLives = 6;
    ApplyStageOverride3(d, 0, played, 1, 2, 3, 5);
    EXPECT_EQ(hero.m_Chara.m_byC17, 42);
    EXPECT_EQ(hero.m_Chara.m_nC39, 500);
    EXPECT_EQ(hero.m_Chara.m_wGraphic, 0);
    EXPECT_EQ(hero.m_anValues[0], 10);
    EXPECT_EQ(hero.m_anValues[1], 2);
    EXPECT_EQ(hero.m_anValues[2], 3);
    EXPECT_EQ(hero.m_anValues[3], 6);
    EXPECT_EQ(hero.m_anValues[4], 5);

    // Nothing at all when the play data does not carry.
    d.m_bCarryOn = 0;
    cCharaRec untouched;
    ApplyStageCharaOverrides(d, 0, untouched);
    EXPECT_EQ(untouched.m_wGraphic, 0);

    // The project's reset flags clear their switches.
    g_SystemData.m_vecResetFlags.assign(25, 0);
    g_SystemData.m_vecResetFlags[4] = g_SystemData.m_vecResetFlags[24] = 1;
    ClearOverriddenFlags(d);
    EXPECT_EQ(d.m_vecCarrySwitches[4], 0);
    EXPECT_EQ(d.m_vecCarrySwitches[24], 0);
    EXPECT_EQ(d.m_vecCarrySwitches[3], 1);
}

TEST_F(StageListTest, MapStartsOver) {
    cSaveData d;
    d.m_nValue5 = 2;
    d.m_vecStageValues[0] = d.m_vecStageValues[999] = 1;
    d.m_nMapX = d.m_nMapY = 1;
    ResetMapProgress(d, g_WorldMap);
    EXPECT_EQ(d.m_nValue5, 3);
    EXPECT_EQ(d.m_vecStageValues, std::vector<int32_t>(1000, 0));
    EXPECT_EQ(d.m_nMapX, 9);
    EXPECT_EQ(d.m_nMapY, 7);
    d.m_nValue5 = INT32_MAX;
    ResetMapProgress(d, g_WorldMap);
    EXPECT_EQ(d.m_nValue5, INT32_MAX);

    std::string s = "Stage1";
    StrAppendF(s, ".%d", 5);
    EXPECT_EQ(s, "Stage1.5");
}

}  // namespace
