// The world map: walking (one direction at a time, the map's edges, walls and blocking
// entries), the entries' conditions, entering a stage entry (play, a stage that
// cannot be read, staying on the map), passed entries with their ranking buttons, the way to the
// save screen, the return from play (stepping back, automatic saving), and the drawn map.
#include <gtest/gtest.h>

#include "records/ranking.h"

#include <iterator>

#include "app/game_loop.h"
#include "frontend/scene_save.h"
#include "frontend/scene_world_map.h"
#include "records/stage.h"
#include "records/stage_list.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/bmp_writer.h"
#include "tools/records/save_writer.h"
#include "tools/records/stage_writer.h"

using namespace scenetest;

namespace {

const REQUEST kDecide{WM_REQ_SOUND, 1}, kCancel{WM_REQ_SOUND, 2}, kRefused{WM_REQ_SOUND, 3},
    kPause{WM_REQ_SOUND, 4}, kSwitch{WM_REQ_SOUND, 6}, kMusic1{WM_REQ_MUSIC, 1};

constexpr int kGrass = 5, kWall = 0;

void Fill(tools::BmpPicture& p, int x, int y, int w, int h, uint32_t rgb) {
    for (int j = y; j < y + h && j < p.height; ++j)
        for (int i = x; i < x + w && i < p.width; ++i) p.rgb[(size_t)j * p.width + i] = rgb;
}

// An entry on a cell: its own words in the first item, then condition items.
cWorldMapEntry MakeEntry(int x, int y, const char* name, int mode, int flag, int icon = 0,
                         const char* stage = "") {
    cWorldMapEntry e;
    e.m_nX = x;
    e.m_nY = y;
    e.m_strName = name;
    e.m_vecItems.assign(1, cWorldMapItemRec());
    e.m_vecItems[0].m_nValue1 = mode;
    e.m_vecItems[0].m_anValues[0] = flag;
    e.m_vecItems[0].m_anValues[3] = icon;
    e.m_vecItems[0].m_strStageFile = stage;
    return e;
}

cWorldMapItemRec Condition(int flag, int var, int op, int value, int score) {
    cWorldMapItemRec c;
    c.m_nValue1 = flag;
    c.m_anValues[0] = var;
    c.m_anValues[1] = op;
    c.m_anValues[2] = value;
    c.m_anValues[3] = score;
    return c;
}

class WorldMapBase : public SceneFixture {
protected:
    // The map's bitmaps and data; the drawing device is opened by the test's fixture.
    void Prepare() {
        WriteMapBitmaps();
        // A 30 x 20 map of grass with a wall at column 14, the player at (9, 7).
        g_WorldMap.SetSize(30, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x)
                g_WorldMap.m_vecCells[((size_t)y << g_WorldMap.m_nShift) + x] = x == 14 ? kWall : kGrass;
        g_WorldMap.m_nBackColour = 16;
        g_WorldMap.m_vecPointEntries = {
            MakeEntry(10, 7, "はじまりの森", WORLDENTRY_STAGE, 1, 0, "data\\stg4\\c01-1.stg4"),
            MakeEntry(9, 5, "岩", WORLDENTRY_BLOCK, 0, 1),
            MakeEntry(7, 7, "ひみつの洞窟", WORLDENTRY_STAGE, 2, 1),
        };
        // The cave opens once stage 1 is cleared.
        g_WorldMap.m_vecPointEntries[2].m_vecItems.push_back(Condition(1, 0, 0, 0, 0));
        NewStory();
        g_bWorldMapShowRanking = 0;
        g_SceneManager.m_nCurrent = SCENE_WORLDMAP;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
    }
    cSceneWorldMap* Map() { return dynamic_cast<cSceneWorldMap*>(g_SceneManager.m_lpScenes[SCENE_WORLDMAP]); }
    int State() { return Map() ? Map()->m_nState : -99; }
    void NewStory() {
        g_SaveData.Reset();
        g_SaveData.m_nMapX = 9;
        g_SaveData.m_nMapY = 7;
        g_SaveData.m_nLives = 4;
    }
    // Chips 32 x 32, five to a row (wall dark, grass green); entry icons (uncleared orange,
    // cleared grey; one row per icon); the accessory sheet with the cursors, the lives icon at
    // (0, 48) and the player's figure (rows 64 and 96, two walking pictures per facing).
    void WriteMapBitmaps() {
        tools::BmpPicture symbol = tools::SolidPicture(256, 256, 0xFF00FF);
        tools::BmpPicture chips = tools::SolidPicture(160, 64, 0x000000);
        for (int g = 0; g < 10; ++g) {
            uint32_t c = g < 5 ? 0x404048 : 0x3C8C3C;
            Fill(chips, (g % 5) * 32, (g / 5) * 32, 32, 32, c);
            Fill(chips, (g % 5) * 32 + 4 + g, (g / 5) * 32 + 4, 4, 4, c + 0x202020);
        }
        tools::BmpPicture icons = tools::SolidPicture(64, 64, 0xFF00FF);
        for (int row = 0; row < 2; ++row) {
            Fill(icons, 6, row * 32 + 6, 20, 20, row ? 0xC04080 : 0xF08020);
            Fill(icons, 38, row * 32 + 6, 20, 20, 0xA0A0A0);
        }
        tools::BmpPicture accessory = tools::SolidPicture(128, 128, 0xFF00FF);
        Fill(accessory, 64, 0, 12, 12, 0x20E0FF);
        Fill(accessory, 2, 50, 12, 12, 0xF04040);
        const uint32_t facings[4] = {0xFFFFFF, 0xFFE000, 0x00E0FF, 0xFF60FF};
        const int at[4][2] = {{0, 64}, {64, 64}, {64, 96}, {0, 96}};
        for (int f = 0; f < 4; ++f)
            for (int step = 0; step < 2; ++step) {
                int x = at[f][0] + step * 32, y = at[f][1];
                Fill(accessory, x + 8, y + 4, 16, 24, facings[f]);
                Fill(accessory, x + 8 + step * 8, y + 26, 8, 4, 0x000000);
            }
        ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\Symbol.bmp"), symbol, tools::BmpOptions{}));
        ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\WorldMapChip.bmp"), chips, tools::BmpOptions{}));
        ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\WorldEvent.bmp"), icons, tools::BmpOptions{}));
        ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\Accessory.bmp"), accessory, tools::BmpOptions{}));
    }
    void WriteStage(const char* path) {
        cStage stage;
        MakeSampleStage(stage, 20, 15, 0, 0);
        folder->MakeFolder("data\\stg4");
        ASSERT_TRUE(WriteStageFile(*folder, path, stage));
    }
};

class WorldMap : public WorldMapBase {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        Prepare();
        Open();
    }
    void ToWalk() {
        for (int i = 0; i < 30 && State() != 1; ++i) Frame();
        ASSERT_EQ(State(), 1);
        Taken();
    }
    bool At(int x, int y) { return Map()->PlayerX() == x && Map()->PlayerY() == y; }
};

TEST_F(WorldMap, ThePlayerStartsWhereThePlayDataHasItWithTheMapTune) {
    g_SaveData.m_nValue4 = 2;
    Frame();
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kMusic1});
    EXPECT_TRUE(At(9, 7));
    EXPECT_EQ(Map()->Facing(), 2);
    EXPECT_EQ(Map()->ViewX(), 0);
    EXPECT_EQ(Map()->ViewY(), 0);
    // A position outside the map is brought inside it.
    g_SceneManager.DestroyAll();
    g_SaveData.m_nMapX = 500;
    g_SaveData.m_nMapY = -3;
    g_SaveData.m_nValue4 = 77;
    Frame();
    EXPECT_TRUE(At(29, 0));
    EXPECT_EQ(Map()->Facing(), 0);
    EXPECT_EQ(Map()->ViewX(), 20);
    EXPECT_EQ(Map()->ViewY(), -7);
}

TEST_F(WorldMap, WalkingTakesOneDirectionAndStopsAtEdgesWallsAndBlockingEntries) {
    struct Case {
        int fromX, fromY;
        WORD keys;
        int toX, toY, facing;
    } cases[] = {
        {9, 7, 1 | 4, 8, 7, 2},    // left before up
        {9, 7, 2 | 8, 10, 7, 3},   // right before down
        {9, 7, 4 | 8, 9, 6, 1},    // up before down
        {9, 7, 8, 9, 8, 0},
        {0, 0, 1, 0, 0, 2},        // the left edge
        {0, 0, 4, 0, 0, 1},        // the top edge
        {29, 19, 2, 29, 19, 3},    // the right edge
        {29, 19, 8, 29, 19, 0},    // the bottom edge
        {13, 3, 2, 13, 3, 3},      // a wall chip
        {9, 6, 4, 9, 6, 1},        // an entry that blocks walking
        {11, 7, 1, 10, 7, 2},      // onto a stage entry the step is taken
    };
    for (const Case& c : cases) {
        g_SaveData.m_nMapX = c.fromX;
        g_SaveData.m_nMapY = c.fromY;
        ToWalk();
        Frame(c.keys);
        EXPECT_TRUE(At(c.toX, c.toY)) << c.fromX << "," << c.fromY << " keys " << c.keys << " -> "
                                      << Map()->PlayerX() << "," << Map()->PlayerY();
        EXPECT_EQ(Map()->Facing(), c.facing);
        EXPECT_EQ(g_SaveData.m_nValue4, c.facing);
        EXPECT_EQ(Map()->ViewX(), Map()->PlayerX() - 9);
        EXPECT_EQ(Map()->ViewY(), Map()->PlayerY() - 7);
        g_SceneManager.DestroyAll();
    }
}

TEST_F(WorldMap, AHeldDirectionRepeatsAfterTheDelay) {
    g_SaveData.m_nMapX = 2;
    ToWalk();
    for (int i = 0; i < 18; ++i) Frame(8);
    EXPECT_TRUE(At(2, 8)) << "one step, then the repeat delay";
    for (int i = 0; i < 12; ++i) Frame(8);
    EXPECT_TRUE(At(2, 10));
}

TEST_F(WorldMap, EntryConditions) {
    cWorldMapEntry e = MakeEntry(0, 0, "x", WORLDENTRY_STAGE, 3);
    g_SaveData.m_vecCommonVars[5] = 12;
    g_SaveData.m_vecCommonVars[6] = INT32_MIN;
    g_SaveData.m_vecStageValues[4] = 1;
    g_SaveData.m_nBestTotal = 500;
    struct Case {
        cWorldMapItemRec condition;
        bool open;
    } cases[] = {
        {Condition(4, 0, 0, 0, 0), true},     // a cleared flag that is set
        {Condition(7, 0, 0, 0, 0), false},    // one that is not
        {Condition(5000, 0, 0, 0, 0), false}, // one outside the flags
        {Condition(0, 5, 0, 12, 0), true},    // =
        {Condition(0, 5, 1, 12, 0), false},   // !=
        {Condition(0, 5, 2, 12, 0), true},    // >=
        {Condition(0, 5, 3, 11, 0), false},   // <=
        {Condition(0, 5, 4, 11, 0), true},    // >
        {Condition(0, 5, 5, 12, 0), false},   // <
        {Condition(0, 5, 6, 4, 0), true},     // divisible
        {Condition(0, 5, 6, 0, 0), true},     // divisible by 0 passes
        {Condition(0, 5, 7, 5, 0), true},     // not divisible
        {Condition(0, 5, 7, 0, 0), false},    // not divisible by 0 fails
        {Condition(0, 6, 6, -1, 0), true},    // the lowest value by -1
        {Condition(0, 5, 8, 12, 0), false},   // an unknown operator
        {Condition(0, 99999, 0, 0, 0), false},// a variable outside the list
        {Condition(0, 0, 0, 0, 500), true},   // the best total reached
        {Condition(0, 0, 0, 0, 501), false},
    };
    EXPECT_EQ(IsEntryOpen(&e), &e) << "no conditions";
    EXPECT_EQ(IsEntryOpen(nullptr), nullptr);
    for (size_t i = 0; i < std::size(cases); ++i) {
        e.m_vecItems.resize(1);
        e.m_vecItems.push_back(cases[i].condition);
        EXPECT_EQ(IsEntryOpen(&e) != nullptr, cases[i].open) << "case " << i;
    }
    // Cleared and passed.
    EXPECT_EQ(IsEntryCleared(&e), 0);
    EXPECT_EQ(IsEntryPassed(&e), 0);
    g_SaveData.m_vecStageValues[3] = 1;
    EXPECT_EQ(IsEntryCleared(&e), 1);
    EXPECT_EQ(IsEntryPassed(&e), 1);
    cWorldMapEntry passed = MakeEntry(0, 0, "y", WORLDENTRY_STAGE, 0);
    passed.m_vecItems[0].m_anValues[1] = 1;
    EXPECT_EQ(IsEntryCleared(&passed), 0);
    EXPECT_EQ(IsEntryPassed(&passed), 1);
    EXPECT_EQ(IsEntryPassed(nullptr), 0);
    // The stage of an entry: its own file, else the numbered stage of its flag.
    EXPECT_EQ(EntryStagePath(e), "data\\stg4\\c03-1.stg4");
    EXPECT_EQ(EntryStagePath(passed), "");
    EXPECT_EQ(EntryStagePath(g_WorldMap.m_vecPointEntries[0]), "data\\stg4\\c01-1.stg4");
}

TEST_F(WorldMap, SteppingOntoANewStageStartsPlay) {
    WriteStage("data\\stg4\\c01-1.stg4_001");
    g_SystemData.m_vecUnlimitedLives[GAME_MODE_STORY] = 1;
    ToWalk();
    Frame(2);
    EXPECT_TRUE(At(10, 7));
    EXPECT_EQ(State(), 2);
    Taken();
    Frame();
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_PLAY);
    EXPECT_EQ(g_SceneManager.m_nPlayMode, START_MODE_STORY);
    EXPECT_EQ(State(), 3);
    EXPECT_TRUE(g_LoadedStage.HasHero());
    EXPECT_EQ(g_SaveData.m_nStageNumber, 1);
    EXPECT_EQ(StageStartFlag(g_SaveData), 1);
    EXPECT_EQ(g_SaveData.m_strStageName, "data\\stg4\\c01.");
    EXPECT_EQ(g_SaveData.m_nLives, kUnlimitedLives);
    EXPECT_EQ(g_SaveData.m_nMapX, 10);
    EXPECT_EQ(g_SaveData.m_nValue4, 3);
    EXPECT_TRUE(IsStageOnWorldMap(g_WorldMap, g_SaveData.m_strStageName.c_str()));
    for (int i = 0; i < 40 && g_SceneManager.m_nCurrent == SCENE_WORLDMAP; ++i) Frame();
    EXPECT_EQ(g_SceneManager.m_nCurrent, SCENE_PLAY);
    EXPECT_EQ(g_SceneManager.m_nPrevious, SCENE_WORLDMAP);
}

TEST_F(WorldMap, AStageThatCannotBeReadKeepsTheMapAndIsEnteredOnlyByAStep) {
    host::script::LoadText("msgbox ok \"c01-1.stg4\"\nmsgbox ok \"c01-1.stg4\"\n", folder->Root());
    ToWalk();
    Frame(2);
    ASSERT_EQ(State(), 2);
    Taken();
    Frame();
    EXPECT_EQ(State(), 1);
    EXPECT_TRUE(At(9, 7)) << "the player steps back off the entry";
    EXPECT_EQ(g_SaveData.m_nMapX, 9);
    EXPECT_EQ(g_SceneManager.m_nNext, 0);
    EXPECT_FALSE(ClosePosted());
    // Standing next to it nothing happens; stepping on again tries again.
    Frame();
    EXPECT_EQ(State(), 1);
    Frame(2);
    EXPECT_EQ(State(), 2);
    Frame();
    EXPECT_EQ(State(), 1);
    EXPECT_TRUE(Taken().empty());
    // Both messages naming the stage file were shown (their scripted answers are used up).
    int answer = 0;
    EXPECT_FALSE(host::script::TakeMessageBoxAnswer("エラー", "data\\stg4\\c01-1.stg4", MB_OK, &answer));
}

TEST_F(WorldMap, APassedEntryIsNotEnteredAndOffersItsRanking) {
    g_SaveData.m_vecStageValues[1] = 1;
    RecordStageBest(g_SaveData, "data\\stg4\\c01.", 4321);
    g_SystemData.m_vecRankingRules[GAME_MODE_STORY].m_bOn = 1;
    g_SystemData.m_vecRankingRules[GAME_MODE_STORY].m_vecTables = {1, 0, 1, 0, 0};
    ToWalk();
    Frame(2);
    EXPECT_TRUE(At(10, 7));
    EXPECT_EQ(State(), 1);
    EXPECT_EQ(Map()->UsableEntry(), &g_WorldMap.m_vecPointEntries[0]);
    EXPECT_EQ(Map()->BestResult(), 4321);
    EXPECT_EQ(g_SaveData.m_nRankingTable, 0);
    Frame();
    drawtest::ExpectGolden(*BackPixels(), "world_map_passed");
    Taken();
    // Button 3 switches the board on and off, once per press.
    g_bWorldMapShowRanking = 0;
    Frame(0, 4);
    Frame(0, 4);
    EXPECT_EQ(g_bWorldMapShowRanking, 1);
    // The board beside the map shows the stage's ranking table.
    g_RankingHolder.m_vecTables[0].Add("ACE", 4321);
    Frame();
    drawtest::ExpectGolden(*BackPixels(), "world_map_ranking");
    Frame(0, 4);
    EXPECT_EQ(g_bWorldMapShowRanking, 0);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kSwitch, kSwitch}));
    // Button 4 steps over the tables the mode keeps.
    Tap(0, 8);
    EXPECT_EQ(g_SaveData.m_nRankingTable, 2);
    Tap(0, 8);
    EXPECT_EQ(g_SaveData.m_nRankingTable, 0);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kSwitch, kSwitch}));
    // With one table there is nothing to step to; with rankings off button 3 only clears.
    g_SystemData.m_vecRankingRules[GAME_MODE_STORY].m_vecTables = {0, 0, 0, 1, 0};
    Tap(0, 8);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{});
    g_SystemData.m_vecRankingRules[GAME_MODE_STORY].m_bOn = 0;
    g_bWorldMapShowRanking = 1;
    Tap(0, 4);
    EXPECT_EQ(g_bWorldMapShowRanking, 0);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{});
    // The cave beyond has opened.
    EXPECT_TRUE(IsEntryOpen(&g_WorldMap.m_vecPointEntries[2]));
}

TEST_F(WorldMap, EventEntriesAreEnteredAgainOnlyWithTheirReEntryWord) {
    cWorldMapEntry ev = MakeEntry(9, 8, "祠", 1, 6, 1, "data\\stg4\\Event.stg4");
    g_SaveData.m_vecStageValues[6] = 1;
    for (int again : {0, 1}) {
        ev.m_vecItems[0].m_anValues[2] = again;
        g_WorldMap.m_vecPointEntries.push_back(ev);
        NewStory();
        g_SaveData.m_vecStageValues[6] = 1;
        ToWalk();
        Frame(8);
        EXPECT_TRUE(At(9, 8));
        EXPECT_EQ(State(), again ? 2 : 1);
        g_WorldMap.m_vecPointEntries.pop_back();
        g_SceneManager.DestroyAll();
    }
}

TEST_F(WorldMap, CancelGoesToTheSaveScreen) {
    ToWalk();
    Tap(8);
    Frame(0, 2);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kPause});
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_SAVE);
    EXPECT_EQ(g_SaveData.m_nMapY, 8);
    EXPECT_EQ(g_SaveData.m_nValue4, 0);
    for (int i = 0; i < 40 && g_SceneManager.m_nCurrent == SCENE_WORLDMAP; ++i) Frame();
    EXPECT_EQ(g_SceneManager.m_nCurrent, SCENE_SAVE);
}

TEST_F(WorldMap, BackFromPlayWithoutAClearThePlayerStepsOffTheEntry) {
    WriteStage("data\\stg4\\c01-1.stg4_001");
    g_SaveData.m_nStorySlot = 4;
    AutoSaveSwitch(g_SaveData) = 1;
    ToWalk();
    Frame(2);
    Frame(0, 1);
    ASSERT_EQ(g_SceneManager.m_nNext, SCENE_PLAY);
    g_SceneManager.DestroyAll();
    // Play ends without a clear and hands back to the map.
    g_SceneManager.m_nCurrent = SCENE_WORLDMAP;
    g_SceneManager.m_nPrevious = SCENE_PLAY;
    Frame();
    EXPECT_TRUE(At(9, 7));
    EXPECT_EQ(State(), 0);
    // Automatic saving wrote the story with the player off the entry.
    char path[MAX_PATH];
    MakeStoryPath(path, 4);
    cSaveData back;
    ASSERT_TRUE(ReadSaveFile(path, back));
    EXPECT_EQ(back.m_nMapX, 9);
    // After a clear the player stays on the entry, now passed.
    g_SceneManager.DestroyAll();
    g_SaveData.m_nMapX = 10;
    g_SaveData.m_vecStageValues[1] = 1;
    Frame();
    EXPECT_TRUE(At(10, 7));
    ToWalk();
    EXPECT_EQ(State(), 1);
}

TEST_F(WorldMap, AStoryWithoutAutomaticSavingIsNotSavedOnReturn) {
    g_SaveData.m_nStorySlot = 4;
    g_SceneManager.m_nPrevious = SCENE_PLAY;
    Frame();
    char path[MAX_PATH];
    MakeStoryPath(path, 4);
    EXPECT_FALSE(folder->Exists(path));
}

TEST_F(WorldMap, AnAutomaticSaveThatCannotBeWrittenKeepsTheOldSaveAndIsShown) {
    // Slot 4's file cannot be replaced: a folder stands in its place.
    folder->MakeFolder("user_data\\story\\Story05.dat");
    host::script::LoadText("msgbox ok \"Story05.dat\"\n", folder->Root());
    g_SaveData.m_nStorySlot = 4;
    AutoSaveSwitch(g_SaveData) = 1;
    g_SceneManager.m_nPrevious = SCENE_PLAY;
    Frame();
    EXPECT_EQ(State(), 0) << "the map opens all the same";
    EXPECT_FALSE(ClosePosted());
    int answer = 0;
    EXPECT_FALSE(host::script::TakeMessageBoxAnswer("エラー", "Story05.dat", MB_OK, &answer))
        << "the player was told (the scripted answer is used up)";
    EXPECT_NE(Report().find("Story05.dat"), std::string::npos) << Report();
    EXPECT_FALSE(g_SaveSlotList.m_vecSlots[4].m_bUsed);
}

TEST_F(WorldMap, TheLivesBoxGrowsWithTheDigits) {
    struct Case {
        int32_t lives;
        int width;
    } cases[] = {{4, 32}, {12, 48}, {kUnlimitedLives, 32}};
    for (const Case& c : cases) {
        g_SaveData.m_nLives = c.lives;
        g_SystemData.m_nWord10 = 0;
        ToWalk();
        Frame();
        std::vector<uint32_t> without = drawtest::Argb(*BackPixels(), true);
        g_SystemData.m_nWord10 = 1;
        Frame();
        std::vector<uint32_t> with = drawtest::Argb(*BackPixels(), true);
        int left = 640, right = -1, top = 480, bottom = -1;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 640; ++x)
                if (with[(size_t)y * 640 + x] != without[(size_t)y * 640 + x]) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        // The box at (621 - width, 17), 20 high, with its one-dot frame around it.
        EXPECT_EQ(left, 621 - c.width - 1) << c.lives;
        EXPECT_EQ(right, 621) << c.lives;
        EXPECT_EQ(top, 16) << c.lives;
        EXPECT_EQ(bottom, 37) << c.lives;
        if (c.lives == kUnlimitedLives) drawtest::ExpectGolden(*BackPixels(), "world_map_unlimited");
        g_SceneManager.DestroyAll();
    }
}

TEST_F(WorldMap, TheBackgroundPictureMovesWithTheView) {
    tools::BmpPicture back = tools::SolidPicture(960, 640, 0x000000);
    for (int y = 0; y < 640; ++y)
        for (int x = 0; x < 960; ++x) back.rgb[(size_t)y * 960 + x] = ((x / 32 + y / 32) % 2) ? 0x203080 : 0x304090;
    ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\WorldBack.bmp"), back, tools::BmpOptions{}));
    g_WorldMap.m_bBackPicture = 1;
    // Every cell is a chip without a picture on the sheet, so the background shows.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) g_WorldMap.m_vecCells[((size_t)y << g_WorldMap.m_nShift) + x] = 10;
    g_WorldMap.m_vecChips.push_back(cWorldMapChip());
    g_WorldMap.m_vecChips.back().m_nChipNo = 9999;  // no picture on the sheet: nothing drawn
    g_SaveData.m_nMapX = 3;
    g_SaveData.m_nMapY = 2;
    ToWalk();
    Frame();
    // The view's top-left cell is (-6, -5): the picture starts 6 cells right and 5 down.
    raster::Surface* s = BackPixels();
    std::vector<uint32_t> px = drawtest::Argb(*s, true);
    EXPECT_NE(px[(size_t)(5 * 32 + 1) * 640 + 6 * 32 + 1], px[(size_t)(5 * 32 - 1) * 640 + 6 * 32 - 1]);
    drawtest::ExpectGolden(*s, "world_map_background");
}

TEST_F(WorldMap, TheMapLayers) {
    g_SaveData.m_vecStageValues[2] = 1;  // the cave cleared (it stays closed: stage 1 is not)
    g_SaveData.m_nMapX = 9;
    g_SaveData.m_nMapY = 9;
    ToWalk();
    Frame();
    drawtest::ExpectGolden(*BackPixels(), "world_map");
    // After a DirectDraw loss the map surface is drawn again.
    std::vector<uint32_t> before = drawtest::Argb(*BackPixels(), true);
    ddraw::SimulateSurfaceLoss(g_lpDD);
    ASSERT_EQ(RestoreSurfaces(), 1);
    ASSERT_FALSE(g_vecSceneSurface.empty());
    for (int i = 0; i < 80; ++i) Frame();
    EXPECT_EQ(drawtest::Argb(*BackPixels(), true), before);
}

}  // namespace

namespace {

// The map in the other back ends and depths: the chips, the entry icons, the player and the
// lives box show, and nothing is reported.
class WorldMapBackEnds : public WorldMapBase, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(WorldMapBackEnds, TheMapShows) {
    Prepare();
    Open(GetParam().first, GetParam().second);
    for (int i = 0; i < 30 && State() != 1; ++i) Frame();
    ASSERT_EQ(State(), 1);
    Frame();
    raster::Surface* back = BackPixels();
    uint32_t grass = back->Get(100, 240);
    EXPECT_NE(back->Get(448 + 16, 240), grass) << "the wall";
    EXPECT_NE(back->Get(320 + 16, 224 + 16), grass) << "the stage entry's icon";
    EXPECT_NE(back->Get(288 + 16, 224 + 16), grass) << "the player";
    EXPECT_NE(back->Get(600, 27), grass) << "the lives box";
    EXPECT_EQ(Report().find("err"), std::string::npos) << Report();
}

INSTANTIATE_TEST_SUITE_P(Modes, WorldMapBackEnds,
                         testing::Values(std::make_pair(1, 32), std::make_pair(0, 16), std::make_pair(0, 8)),
                         [](const testing::TestParamInfo<std::pair<int, int>>& i) {
                             return std::string(i.param.first ? "d3d_" : "dd_") + std::to_string(i.param.second);
                         });

}  // namespace
