// The stage set-up's own steps: the hero built from its placement with the view centred on it,
// the settings taken afresh, the time limit, the stage's music, the stage-start flows' leaving
// characters, and a stage without a hero placement.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/frame_timer.h"
#include "core/globals.h"
#include "records/save_data.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "play/stage_setup.h"
#include "records/replay.h"
#include "records/stage_file.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

const REQUEST kStageMusic{WM_REQ_MUSIC, 4};

class StageSetup : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));  // the play scene loads its sheets
        Open(0, bpp);
        g_Replay.Clear();
        g_SystemData.m_bReplay = 0;
        // A 40 x 30 stage whose flying hero stands at block (20, 10).
        cStage& s = g_LoadedStage;
        s.m_nWidth = 40;
        s.m_nHeight = 30;
        s.m_nHitLevel = 2;
        s.m_nValue33 = 0;
        cCharaRec hero;
        hero.m_byRole = 0;
        hero.m_wGraphic = 1;
        hero.m_byC27 = 1;
        hero.m_sPlaceX = 20;
        hero.m_sPlaceY = 10;
        hero.m_nC39 = 3;
        s.m_vecCharas.assign(1, hero);
        TakeStageSettings(g_StageSettings, g_LoadedStage);
        g_SaveData.m_nLives = 2;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        ResetFrameTimers();
    }
    void TearDown() override {
        g_Replay.Clear();
        SceneFixture::TearDown();
    }
    cPlayScene* Play() { return g_lpPlayScene; }
    int bpp = 32;  // the drawing device's colour depth
    // The play scene built and set up by its first frame.
    cPlayScene* Start() {
        Frame();
        return Play();
    }
};

TEST_F(StageSetup, TheHeroStandsOnItsBlockWithTheViewCentredOnIt) {
    cPlayScene* play = Start();
    ASSERT_NE(play, nullptr);
    ASSERT_EQ(g_vecHero.size(), 1u);
    const cHero& hero = g_vecHero[0];
    // Flying size 16 x 16 centred in its cell: offsets 8; block (20, 10) after the 10-block margin.
    EXPECT_DOUBLE_EQ(hero.m_dX, 30 * 32 + 8 + 0.5);
    EXPECT_DOUBLE_EQ(hero.m_dY, 20 * 32 + 8);
    EXPECT_EQ(hero.m_bFlying, 1);
    EXPECT_EQ(hero.m_nHP, 3);
    EXPECT_EQ(hero.m_nId, kHeroId);
    EXPECT_DOUBLE_EQ(play->m_ScrollX.m_dPos, hero.m_dX - 320 + 8);
    EXPECT_DOUBLE_EQ(play->m_ScrollY.m_dPos, hero.m_dY - 240 + 8);
    EXPECT_EQ(hero.m_nRectLeft, DotToInt(hero.m_dX - 8 - DotToInt(play->m_ScrollX.m_dPos)));
    EXPECT_EQ(play->m_vecCharaGroup[0].front(), (cChara*)&g_vecHero[0]);
    EXPECT_FALSE(ClosePosted());
}

TEST_F(StageSetup, TheTimeLimitAndTheSettingsComeFromTheStage) {
    g_LoadedStage.m_nValue14 = 1;   // time limit on
    g_LoadedStage.m_nValue15 = 120;
    g_LoadedStage.m_anValue86_87[0] = 64;
    TakeStageSettings(g_StageSettings, g_LoadedStage);
    cPlayScene* play = Start();
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->m_nTimeLimit, 120);
    EXPECT_EQ(play->m_bNoTimeLimit, 0);
    EXPECT_EQ(play->m_ScrollX.m_nExtent, 64 + 640);
    // A flow changed the forced scrolling; a restart takes the stage's settings afresh.
    g_StageSettings.m_bAutoScrollX = 1;
    g_StageSettings.m_nAutoScrollSpeedX = 30;
    play->SetStage(1, 0);
    EXPECT_EQ(play->m_ScrollX.m_bScroll, 0);
    EXPECT_EQ(g_StageSettings.m_nAutoScrollSpeedX, 0);
}

TEST_F(StageSetup, TheStageMusicIsAskedForOnlyWhenItChanges) {
    g_LoadedStage.m_nBgm = 3;
    TakeStageSettings(g_StageSettings, g_LoadedStage);
    cPlayScene* play = Start();
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kStageMusic});  // Init: music = 1
    EXPECT_EQ(g_SceneManager.m_nTuneNo, 3);
    play->SetStage(1, 0);  // the same tune plays: not started again
    EXPECT_TRUE(Taken().empty());
    play->SetStage(1, 1);  // asked for: started again
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kStageMusic});
    g_StageSettings.m_nValue26 = 1;  // keep music: the same tune goes on
    g_LoadedStage.m_nValue26 = 1;
    play->SetStage(1, 1);
    EXPECT_TRUE(Taken().empty());
    g_SceneManager.m_nTuneNo = 5;  // another tune plays
    play->SetStage(1, 0);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kStageMusic});
}

TEST_F(StageSetup, AStageWithoutAHeroPlacementIsReportedAndSetUpGoesOn) {
    g_LoadedStage.m_vecCharas.clear();
    cPlayScene* play = Start();
    ASSERT_NE(play, nullptr);
    EXPECT_TRUE(ClosePosted());
    EXPECT_EQ(g_vecHero.size(), 1u);
    EXPECT_EQ(play->m_vecTable.size(), 1000u);
}

TEST_F(StageSetup, StageStartFlowsLetVanishingAndDeadCharactersLeave) {
    cPlayScene* play = Start();
    ASSERT_NE(play, nullptr);
    for (int i = 0; i < 3; ++i) {
        g_listStageChara.emplace_back();
        cStageChara& c = g_listStageChara.back();
        c.m_nId = 10 + i;
        c.m_bAppeared = 1;
        c.m_nHP = i == 2 ? 0 : 1;  // the third has no hit points left
        c.m_bVanishOnEnd = i == 1;  // the second vanishes
        play->AddToGroup(&c);
    }
    RunStageStartFlows(play);
    ASSERT_EQ(g_listStageChara.size(), 1u);
    EXPECT_EQ(g_listStageChara.front().m_nId, 10);
    EXPECT_EQ(play->m_vecCharaGroup[0].size(), 2u);  // the hero and the one left
}

// The project's setting that defers appearances: with it off, the start flows run only for the
// characters that have appeared; with it on, for every stage character, appeared or not.
TEST_F(StageSetup, DeferredAppearancesLetCharactersNotYetAppearedRunTheirStartFlows) {
    cPlayScene* play = Start();
    ASSERT_NE(play, nullptr);
    for (int defer : {0, 1}) {
        SCOPED_TRACE(defer);
        g_SystemData.m_nWord37 = (uint32_t)defer;
        g_listStageChara.emplace_back();
        cStageChara& c = g_listStageChara.back();
        c.m_nId = 20;
        c.m_nHP = 1;
        c.m_bVanishOnEnd = 1;  // leaves play after its start flows
        // Its appearance condition (character variable 0 = 1) does not hold.
        c.m_vecVar.assign(9, 0);
        c.m_Def.m_vecConds.resize(1);
        c.m_Def.m_vecConds[0].m_cKind = 3;
        c.m_Def.m_vecConds[0].m_nValue = 1;
        play->AddToGroup(&c);
        RunStageStartFlows(play);
        EXPECT_EQ(g_listStageChara.size(), defer ? 0u : 1u);
        if (!g_listStageChara.empty()) {
            EXPECT_EQ(g_listStageChara.back().m_bAppeared, 0);
            play->RemoveStageChara(&g_listStageChara.back());
        }
        EXPECT_EQ(play->m_vecCharaGroup[0].size(), 1u);  // the hero alone
    }
}

TEST_F(StageSetup, PlacementsSpawnTheirClonesWithConsecutiveIdentifiers) {
    cStage& s = g_LoadedStage;
    // A walking character at block (18, 10) standing for three clones 64 dots apart, carrying
    // item placement 1; a second one at the stage's right edge whose second clone would lie
    // off the map; one placement off the map; two item placements.
    cCharaRec a;
    a.m_byRole = 1;
    a.m_byC34 = 2;
    a.m_sOffsetXStep = 64;
    a.m_sPlaceX = 18;
    a.m_sPlaceY = 10;
    a.m_nPlaceValue = 1;
    cCharaRec b = a;
    b.m_byC34 = 1;
    b.m_sOffsetXStep = 400;
    b.m_sPlaceX = 39;
    b.m_nPlaceValue = -1;
    cCharaRec off = b;
    off.m_sPlaceX = 45;
    s.m_vecCharas.push_back(a);
    s.m_vecCharas.push_back(off);
    s.m_vecCharas.push_back(b);
    cItemRec item0, item1;
    item0.m_sPlaceX = 21;
    item0.m_sPlaceY = 10;
    item1.m_sPlaceX = 5;
    item1.m_sPlaceY = 5;
    item1.m_wI9 = 9;
    cItemRec itemOff = item0;
    itemOff.m_sPlaceY = -1;
    s.m_vecItems = {item0, item1, itemOff};
    TakeStageSettings(g_StageSettings, g_LoadedStage);
    cPlayScene* play = Start();
    ASSERT_NE(play, nullptr);
    // 3 + 1 characters (the clone off the map is dropped and takes no identifier).
    ASSERT_EQ(g_listStageChara.size(), 4u);
    int id = 0;
    double x0 = 0.0;
    for (const cStageChara& c : g_listStageChara) {
        EXPECT_EQ(c.m_nId, id);
        if (id == 0) x0 = c.m_dX;
        if (id < 3) {
            EXPECT_DOUBLE_EQ(c.m_dX, x0 + 64.0 * id);
            EXPECT_EQ(c.m_anPlace[PLACE_CLONE], id);
            // The carried item: built from item placement 1, given.
            EXPECT_EQ(c.m_Item.m_nKind, 9);
            EXPECT_EQ(c.m_Item.m_bGiven, 1);
            EXPECT_EQ(c.m_Item.m_nId, 0);
        } else {
            EXPECT_EQ(c.m_Item.m_bGiven, 0);
        }
        ++id;
    }
    EXPECT_EQ(play->m_nCharaSerial, 4);
    // Item placement 0 lies on the stage; placement 1 went to the character.
    ASSERT_EQ(g_listItem.size(), 1u);
    EXPECT_EQ(g_listItem.front().m_nId, 1);
    EXPECT_EQ(play->m_nItemSerial, 2);
    // Each placement off the map is skipped with one report line.
    const std::string report = Report();
    const auto count = [&report](const std::string& line) {
        size_t n = 0;
        for (size_t at = report.find(line); at != std::string::npos; at = report.find(line, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("Character placement 2 at (45, 10) lies off the map: skipped"), 1u) << report;
    EXPECT_EQ(count("Item placement 2 at (21, -1) lies off the map: skipped"), 1u) << report;
    EXPECT_EQ(count("lies off the map"), 2u) << report;
    // Every character in its group list after the hero.
    EXPECT_EQ(play->m_vecCharaGroup[0].size(), 5u);
    // The ones near the hero are in view; the far one is not.
    std::vector<uint8_t> groups(16, 0);
    EXPECT_EQ(g_listStageChara.front().CheckInView(groups), 1);
    EXPECT_EQ(g_listStageChara.back().CheckInView(groups), 0);
}

TEST_F(StageSetup, ARestartLeavesNoEffectsScrolledBackgroundsOrVariablesOfTheTestPlay) {
    g_LoadedStage.m_vecBackgrounds.resize(1);
    TakeStageSettings(g_StageSettings, g_LoadedStage);
    cPlayScene* play = Start();
    ASSERT_NE(play, nullptr);
    play->m_listEffect.emplace_back();
    g_StageSettings.m_vecBackgrounds[0].m_adGH[0] = 12.5;
    g_StageSettings.m_vecBackgrounds[0].m_adGH[1] = 3.0;
    g_SaveData.m_vecCommonVars.assign(1001, 7);
    // A plain restart keeps the common variables and backs them up.
    play->SetStage(0, 0);
    EXPECT_TRUE(play->m_listEffect.empty());
    EXPECT_EQ(g_StageSettings.m_vecBackgrounds[0].m_adGH[0], 0.0);
    EXPECT_EQ(g_StageSettings.m_vecBackgrounds[0].m_adGH[1], 0.0);
    EXPECT_EQ(g_SaveData.m_vecCommonVars[5], 7);
    EXPECT_EQ(g_SaveData.m_vecBackupVars[5], 7);
    ASSERT_EQ(play->m_vecRequest.size(), 1u);
    EXPECT_EQ(play->m_vecRequest[0].anWord[3], 0);
    // The editor's test play of a stage file starts every stage with them cleared.
    g_bEditor = 1;
    g_bStageFileStart = 1;
    play->SetStage(0, 0);
    g_bEditor = 0;
    g_bStageFileStart = 0;
    EXPECT_EQ(g_SaveData.m_vecCommonVars[5], 0);
    EXPECT_EQ(g_SaveData.m_vecBackupVars[5], 0);
}

// In 8-bit colour a restart puts back the palette that a screen colour change darkened, on the
// device as well.
class StageSetup8 : public StageSetup {
protected:
    StageSetup8() { bpp = 8; }
};

TEST_F(StageSetup8, ARestartPutsBackTheDarkenedPalette) {
    cPlayScene* play = Start();
    ASSERT_NE(play, nullptr);
    ASSERT_NE(g_lpDDPalette, nullptr);
    PALETTEENTRY dark[256] = {};
    ASSERT_NE(std::memcmp(dark, g_EnginePalette, sizeof dark), 0);
    std::memcpy(g_WorkPalette, dark, sizeof dark);
    ASSERT_EQ(g_lpDDPalette->SetEntries(0, 0, 256, g_WorkPalette), DD_OK);
    play->SetStage(0, 0);
    PALETTEENTRY device[256] = {};
    ASSERT_EQ(g_lpDDPalette->GetEntries(0, 0, 256, device), DD_OK);
    EXPECT_EQ(std::memcmp(g_WorkPalette, g_EnginePalette, sizeof device), 0);
    EXPECT_EQ(std::memcmp(device, g_EnginePalette, sizeof device), 0);
}

}  // namespace
