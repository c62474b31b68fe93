// Deaths, stage clear and the end of the game: the branch each start mode takes after a stage
// with its result and side effects, the stage-end sums and extra lives, the ranking positions,
// the death checks, and endings in play (a death by a deadly block or an enemy, the last life,
// a clear that advances).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/frame_timer.h"
#include "play/damage.h"
#include "play/play_draw.h"
#include "play/play_scene.h"
#include "play/save_words.h"
#include "play/stage_end.h"
#include "play/stage_objects.h"
#include "platform/win32/timer.h"
#include "records/data_paths.h"
#include "records/database.h"
#include "records/ranking.h"
#include "records/replay.h"
#include "records/stage_list.h"
#include "tests/frontend/scene_fixture.h"
#include "tests/play/flying_hero.h"
#include "tools/game/play_bitmaps.h"
#include "tools/records/stage_writer.h"

using namespace scenetest;

namespace {

const REQUEST kMiss{WM_REQ_SOUND, 8};
const REQUEST kGameEnd{WM_REQ_SOUND, 14};
const REQUEST kExtraLife{WM_REQ_SOUND, 15};

// A clock that is always past the next frame's due time: the pause loop's frames run at once.
DWORD FastClock() {
    static DWORD t = 0;
    return t += 1000;
}

class StageEnd : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        Open();
        g_Replay.Clear();
        g_ReplayPrev.Clear();
        g_SystemData.m_bReplay = 0;
        g_SystemData.m_nStageCount = 3;
        g_StageSettings.m_nHitLevel = 1;
        g_StageSettings.m_nFrameRate = 60;
        g_StageSettings.m_nWidth = 40;
        g_StageSettings.m_nHeight = 15;
        g_StageSettings.m_nValue33 = 0;
        PlaceFlyingHero(g_LoadedStage);
        g_SaveData.Reset();
        g_SaveData.m_nLivesReserve = 3;
        g_SaveData.m_nLives = 2;
        g_SaveData.m_vecStageResults.assign(3, cSaveDataPartA());
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        ResetFrameTimers();
    }
    void TearDown() override {
        g_Replay.Clear();
        g_ReplayPrev.Clear();
        SceneFixture::TearDown();
    }
    cPlayScene* Play() { return g_lpPlayScene; }
    int State() { return Play() ? Play()->m_nState : -99; }
    void ToPlay() {
        for (int i = 0; i < 200 && State() != PLAY_FRAME; ++i) Frame();
        ASSERT_EQ(State(), PLAY_FRAME);
        Taken();
    }
    // Runs `f` on a thread standing for the game thread while this one serves the window (the
    // pause loop of the extra lives presents its frames through it).
    template <class F>
    void OnGameThread(F f) {
        SetClockOverride(FastClock);
        const int active = g_bAppActive;
        g_bAppActive = 1;  // the pause loop holds while the application is inactive
        std::atomic<bool> done{false};
        std::thread game([&] {
            f();
            done = true;
        });
        while (!done) {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
                if (m.message != WM_CLOSE) DispatchMessageA(&m);
            Sleep(1);
        }
        game.join();
        SetClockOverride(nullptr);
        g_bAppActive = active;
    }
    int Count(const std::vector<REQUEST>& v, const REQUEST& r) { return (int)std::count(v.begin(), v.end(), r); }
    // Writes the stage file of a part: "data\stg4\<name>.stg4_001".
    void WritePart(const char* name) {
        cStage stage;
        MakeSampleStage(stage, 20, 15, 0, 0);
        folder->MakeFolder("data\\stg4");
        const std::string path = std::string("data\\stg4\\") + name + ".stg4_001";
        ASSERT_TRUE(WriteStageFile(*folder, path.c_str(), stage));
    }
};

TEST_F(StageEnd, EachStartModeTakesItsBranch) {
    ToPlay();
    struct Row {
        int startMode;
        int stageFileFlag;
        int nextFlag;
        int want;
    };
    const Row rows[] = {
        {START_MODE_STORY, 0, 0, SCENE_WORLDMAP},       // no world-map entry: the map
        {START_MODE_CHALLENGE, 0, 0, SCENE_STAGESELECT},
        {START_MODE_FREE, 0, 0, SCENE_PLAY},            // no next-stage flag: the same stage
        {START_MODE_FREE, 0, 1, SCENE_TITLE},           // a next part that does not exist
        {START_MODE_STAGEFILE, 1, 1, SCENE_PLAY},       // the stage-file flag: the same stage
        {START_MODE_REPLAY, 0, 0, SCENE_PLAY},
        {7, 0, 0, SCENE_STAGESELECT},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "start mode " << r.startMode);
        g_SceneManager.m_nPlayMode = r.startMode;
        g_bStageFileStart = r.stageFileFlag;
        saveword::NextStageFlag(g_SaveData) = r.nextFlag;
        saveword::RequestWord(g_SaveData) = 5;
        g_SaveData.m_strStageName = "Stage1.";
        g_LoadedStage.m_strFilePath = "data\\stg4\\Stage1-1.stg4_001";
        EXPECT_EQ(AdvanceAfterStage(Play()), r.want);
        if (r.startMode == START_MODE_FREE && !r.nextFlag) {
            EXPECT_EQ(saveword::RequestWord(g_SaveData), 0);
        }
    }
}

TEST_F(StageEnd, StoryClearFlagsTheStageAndFollowsTheEntrysSequence) {
    ToPlay();
    g_SceneManager.m_nPlayMode = START_MODE_STORY;
    g_SaveData.m_nStageNumber = 2;
    g_SaveData.m_nScore = 1234;
    g_SaveData.m_strStageName = "Stage2.";
    EXPECT_EQ(AdvanceAfterStage(Play()), SCENE_WORLDMAP);
    EXPECT_EQ(g_SaveData.m_vecStageValues[2], 1);
    EXPECT_EQ(FindStageNumberByName(g_SaveData, "Stage2."), 1234);
    // The entry under the player decides: mode 2 keeps the starting scene and goes to the title.
    cWorldMapEntry entry;
    entry.m_nX = 3;
    entry.m_nY = 4;
    for (int mode : {1, 2, 0}) {
        entry.m_vecItems.assign(1, cWorldMapItemRec());
        entry.m_vecItems[0].m_nValue1 = mode;
        g_WorldMap.m_vecPointEntries.assign(1, entry);
        g_SaveData.m_nMapX = 3;
        g_SaveData.m_nMapY = 4;
        g_SceneManager.m_nPrevious = SCENE_WORLDMAP;
        saveword::StartScene(g_SaveData) = -1;
        EXPECT_EQ(AdvanceAfterStage(Play()), mode == 2 ? SCENE_TITLE : SCENE_WORLDMAP) << mode;
        EXPECT_EQ(saveword::StartScene(g_SaveData), mode == 2 ? SCENE_WORLDMAP : -1);
    }
    // A stage number outside the list is reported, nothing written.
    g_SaveData.m_nStageNumber = 5000;
    EXPECT_EQ(AdvanceAfterStage(Play()), SCENE_WORLDMAP);
}

TEST_F(StageEnd, ChallengeClearKeepsTheBestAndSavesTheResults) {
    ToPlay();
    g_SceneManager.m_nPlayMode = START_MODE_CHALLENGE;
    g_SaveData.m_nStageNumber = 3;
    g_SaveData.m_nStagesOpen = 3;
    g_SaveData.m_vecStageResults[2].m_nBestScore = 500;
    g_SaveData.m_nBestTotal = 500;
    g_SaveData.m_nScore = 800;
    EXPECT_EQ(AdvanceAfterStage(Play()), SCENE_STAGESELECT);
    EXPECT_EQ(g_SaveData.m_vecStageResults[2].m_bCleared, 1);
    EXPECT_EQ(g_SaveData.m_vecStageResults[2].m_nBestScore, 800);
    EXPECT_EQ(g_SaveData.m_nBestTotal, 800);
    EXPECT_EQ(g_SaveData.m_nStagesOpen, 3);  // held at the project's three stages
    EXPECT_TRUE(folder->Exists(g_PathTable[PATH_CHALLENGE]));
    // A lower score changes no best.
    g_SaveData.m_nScore = 100;
    g_SaveData.m_nStageNumber = 1;
    g_SaveData.m_nStagesOpen = 1;
    EXPECT_EQ(AdvanceAfterStage(Play()), SCENE_STAGESELECT);
    EXPECT_EQ(g_SaveData.m_vecStageResults[0].m_nBestScore, 100);
    EXPECT_EQ(g_SaveData.m_nStagesOpen, 2);
}

TEST_F(StageEnd, TheNextPartOfAStageIsFoundAndPlayed) {
    WritePart("Stage1-2");
    ToPlay();
    g_SaveData.m_strStageName = "Stage1.";
    saveword::NextStageFlag(g_SaveData) = 1;
    g_LoadedStage.m_strFilePath = "data\\stg4\\Stage1-1.stg4_001";
    EXPECT_EQ(NextStageNumber(), 2);
    std::string name;
    EXPECT_EQ(MakeStageFileName(Play(), name, 2), 0);  // the key names no folder
    g_SaveData.m_strStageName = "data\\stg4\\Stage1.";
    EXPECT_EQ(MakeStageFileName(Play(), name, 2), 1);
    EXPECT_EQ(name, "data\\stg4\\Stage1-2.stg4_001");
    EXPECT_EQ(IsLastStage(Play(), 2), 0);
    EXPECT_EQ(IsLastStage(Play(), 3), 1);
    g_SceneManager.m_nPlayMode = START_MODE_CHALLENGE;
    EXPECT_EQ(AdvanceAfterStage(Play()), SCENE_PLAY);
    EXPECT_EQ(g_LoadedStage.m_strFilePath, "data\\stg4\\Stage1-2.stg4_001");
    EXPECT_EQ(NextStageNumber(), 3);
    EXPECT_EQ(g_SaveData.m_vecStageResults[0].m_bCleared, 0);  // not the last part yet
    // Names that give no part: an empty key, no flag, a number of 0.
    g_SaveData.m_strStageName = "";
    EXPECT_EQ(MakeStageFileName(Play(), name, 2), 0);
    EXPECT_TRUE(name.empty());
    g_SaveData.m_strStageName = "data\\stg4\\Stage1.";
    EXPECT_EQ(MakeStageFileName(Play(), name, 0), 0);
    saveword::NextStageFlag(g_SaveData) = 0;
    EXPECT_EQ(MakeStageFileName(Play(), name, 2), 0);
    // A file name whose two-byte character ends in 0x5C is not split there.
    g_LoadedStage.m_strFilePath = "data\\stg4\\\x95\x5C-4.stg4_001";
    EXPECT_EQ(NextStageNumber(), 5);
    g_LoadedStage.m_strFilePath = "data\\stg4\\Stage.stg4_001";
    EXPECT_EQ(NextStageNumber(), 0);
}

TEST_F(StageEnd, BookkeepingAddsTheSumsAndGrantsExtraLivesOnce) {
    ToPlay();
    cPlayScene* p = Play();
    g_SystemData.m_bScoreExtraLife = 1;
    g_SystemData.m_nExtraLifeScore = 1000;
    g_SaveData.m_nScore = 900;
    g_SaveData.m_nStageScore = 2200;  // across 1000, 2000 and 3000
    g_SaveData.m_nLives = 2;
    p->m_bNoTimeLimit = 1;
    p->m_nTimeLimit = 50;
    p->m_nPlayTime = 1234;
    g_vecHero[0].m_nHP = 7;
    OnGameThread([p] { StageClearBookkeeping(p); });
    const std::vector<REQUEST> sounds = Taken();
    EXPECT_EQ(Count(sounds, kExtraLife), 3);
    EXPECT_EQ(g_SaveData.m_nLives, 5);
    EXPECT_EQ(g_SaveData.m_nScore, 3100);
    EXPECT_EQ(saveword::TimeSum(g_SaveData), 0);  // no time limit: unchanged
    EXPECT_EQ(saveword::PlayTimeSum(g_SaveData), 1234);
    EXPECT_EQ(saveword::HPSum(g_SaveData), 7);
    EXPECT_TRUE(p->m_vecDisplay.empty());  // each life's display left with its hold
    // Booked once per set-up: a second call changes nothing.
    StageClearBookkeeping(p);
    EXPECT_EQ(g_SaveData.m_nScore, 3100);
    EXPECT_TRUE(Taken().empty());
    // At 99 a life still sounds; a huge jump is bounded; unlimited lives never change.
    p->m_bClearBooked = 0;
    g_SystemData.m_nExtraLifeScore = 1;
    g_SaveData.m_nScore = 0;
    g_SaveData.m_nStageScore = 999999;
    g_SaveData.m_nLives = 99;
    OnGameThread([p] { StageClearBookkeeping(p); });
    EXPECT_EQ(Count(Taken(), kExtraLife), kMaxExtraLivesPerClear);
    EXPECT_EQ(g_SaveData.m_nLives, 99);
    p->m_bClearBooked = 0;
    g_SaveData.m_nLives = kUnlimitedLives;
    g_SaveData.m_nScore = 0;
    StageClearBookkeeping(p);
    EXPECT_EQ(g_SaveData.m_nLives, kUnlimitedLives);
    EXPECT_EQ(Count(Taken(), kExtraLife), 0);
    // The time limit on: what is left of it is added.
    p->m_bClearBooked = 0;
    p->m_bNoTimeLimit = 0;
    StageClearBookkeeping(p);
    EXPECT_EQ(saveword::TimeSum(g_SaveData), 50);
}

// The extra-life display: the panel's lives icon over the head of the character the entry
// names, drawn with the play screen (the pause loop draws it while the tally holds the game).
TEST_F(StageEnd, TheExtraLifeDisplayShowsTheLivesIconAtTheHero) {
    ToPlay();
    cPlayScene* p = Play();
    auto region = [&] {
        const cHero& h = g_vecHero[0];
        const int x0 = h.m_nRectLeft + (h.m_nGraphWidth >> 1) - 8, y0 = h.m_nRectTop - 16;
        const std::vector<uint32_t> all = drawtest::Argb(*BackPixels(), true);
        std::vector<uint32_t> r;
        for (int y = y0; y < y0 + 16; ++y)
            for (int x = x0; x < x0 + 16; ++x)
                r.push_back(x >= 0 && y >= 0 && x < 640 && y < 480 ? all[(size_t)y * 640 + x] : 0u);
        return r;
    };
    DrawPlayScreen(p, 1, 1, 0, 0);
    const std::vector<uint32_t> without = region();
    p->m_vecDisplay.push_back(g_vecHero[0].m_nId);
    DrawPlayScreen(p, 1, 1, 0, 0);
    const std::vector<uint32_t> with = region();
    EXPECT_NE(with, without);
    // An entry whose character is gone draws nothing.
    p->m_vecDisplay.assign(1, 987654);
    DrawPlayScreen(p, 1, 1, 0, 0);
    EXPECT_EQ(region(), without);
    p->m_vecDisplay.clear();
}

TEST_F(StageEnd, RankingPositionsOnlyAtTheEndOfTheGame) {
    ToPlay();
    cPlayScene* p = Play();
    g_SceneManager.m_bModeRanking = 1;
    g_SceneManager.m_nGameMode = GAME_MODE_CHALLENGE;
    g_SystemData.m_vecRankingRules.resize(3);
    g_SystemData.m_vecRankingRules[1].m_vecTables = {1, 1, 0, 0, 0};
    g_RankingHolder.Reset();
    g_SaveData.m_nStageScore = 100;
    FinishGameRanking(p);
    EXPECT_EQ(Count(Taken(), kGameEnd), 1);
    EXPECT_EQ(p->m_vecRankingPos, (std::vector<int32_t>{0, 0, -1, -1, -1}));
    EXPECT_EQ(p->m_bNewRecord, 1);
    // Replay playback takes no places.
    p->m_bClearBooked = 0;
    g_SceneManager.m_nPlayMode = START_MODE_REPLAY;
    FinishGameRanking(p);
    EXPECT_EQ(p->m_vecRankingPos, (std::vector<int32_t>(5, -1)));
    EXPECT_EQ(p->m_bNewRecord, 0);
    // A next part that exists: the game goes on, no places.
    WritePart("Stage1-2");
    g_SceneManager.m_nPlayMode = START_MODE_CHALLENGE;
    g_SaveData.m_strStageName = "data\\stg4\\Stage1.";
    saveword::NextStageFlag(g_SaveData) = 1;
    g_LoadedStage.m_strFilePath = "data\\stg4\\Stage1-1.stg4_001";
    FinishGameRanking(p);
    EXPECT_EQ(p->m_vecRankingPos, (std::vector<int32_t>(5, -1)));
}

TEST_F(StageEnd, DeathChecksKillTheHeroAndTheCharacters) {
    ToPlay();
    cPlayScene* p = Play();
    g_listStageChara.emplace_back();
    cStageChara& c = g_listStageChara.back();
    c.m_nId = 1;
    c.m_nHP = 0;
    c.m_Def.m_nC48 = 40;
    g_SaveData.m_nStageScore = 0;
    EXPECT_EQ(CheckDeaths(p, &c), 0);  // the pass's own character stays while the pass runs
    EXPECT_EQ(c.m_bDying, 1);
    EXPECT_EQ(g_SaveData.m_nStageScore, 40);
    EXPECT_EQ(KillCharacter(c), 0);  // already dying
    EXPECT_EQ(g_SaveData.m_nStageScore, 40);
    EXPECT_EQ(CheckDeaths(p), 0);  // its dying has finished: it leaves play
    EXPECT_TRUE(g_listStageChara.empty());
    g_vecHero[0].m_nHP = 0;
    EXPECT_EQ(CheckDeaths(p), 2);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kMiss});
    EXPECT_EQ(g_vecHero[0].m_bDying, 1);
    EXPECT_EQ(KillCharacter(g_vecHero[0]), 2);
    // A death while the end is requested ends the game: the result state follows.
    g_listStageChara.emplace_back();
    cStageChara& d = g_listStageChara.back();
    d.m_nId = 2;
    p->m_nRequest = PLAY_REQ_GAMEEND;
    EXPECT_EQ(KillCharacterCheckEnd(p, d), 1);
    EXPECT_EQ(p->m_nState, PLAY_RESULT);
}

// Which dead characters a death check takes out of play: without the keep-dead switch every
// dead one at once; with it, those whose death effect has run (or that had none), never the
// character the calling pass works on.
TEST_F(StageEnd, DeathChecksRemoveCharactersWhoseDyingHasFinished) {
    ToPlay();
    cPlayScene* p = Play();
    // Character effect 1: a fade lasting one second.
    cCharaEffectRec none, fade;
    fade.m_nKind = 1;
    fade.m_anParams[0] = 10;
    fade.m_anParams[1] = 100;
    fade.m_anParams[2] = 0;
    const cDatabase saved = g_Database;
    g_Database.m_vecCharaEffect = {none, fade};
    g_Database.CopyReversedTables();
    g_Database.BuildIndex3(CharaEffectStates, CharaEffectStatesReversed);
    struct CASE {
        const char* what;
        int keepDead, deathEffect, isCurrent;
        bool stays;
    } cases[] = {
        {"no keep, with effect", 0, 1, 0, false},
        {"no keep, without effect", 0, 0, 0, false},
        {"keep, effect running", 1, 1, 0, true},
        {"keep, without effect", 1, 0, 0, false},
        {"no keep, the pass's own character", 0, 0, 1, true},
    };
    for (const CASE& k : cases) {
        SCOPED_TRACE(k.what);
        g_listStageChara.clear();
        g_SystemData.m_nWord26 = k.keepDead;
        g_listStageChara.emplace_back();
        cStageChara& c = g_listStageChara.back();
        c.m_nId = 7;
        c.m_nHP = 0;
        c.m_Def.m_wCharaEffect2 = (uint16_t)k.deathEffect;
        g_listStageChara.emplace_back();
        g_listStageChara.back().m_nId = 8;
        g_listStageChara.back().m_nHP = 5;  // alive: always stays
        EXPECT_EQ(CheckDeaths(p, k.isCurrent ? &c : nullptr), 0);
        ASSERT_FALSE(g_listStageChara.empty());
        EXPECT_EQ(g_listStageChara.back().m_nId, 8);
        EXPECT_EQ(g_listStageChara.size(), k.stays ? 2u : 1u);
        if (k.stays) {
            EXPECT_EQ(g_listStageChara.front().m_bDying, 1);
        }
    }
    g_listStageChara.clear();
    g_Database = saved;
}

TEST_F(StageEnd, AGameEndDuringTheSetUpIsActedOnWhenPlayStarts) {
    ToPlay();
    cPlayScene* p = Play();
    p->m_bInSetup = 1;
    g_listStageChara.emplace_back();
    p->m_nRequest = PLAY_REQ_GAMEEND;
    KillCharacterCheckEnd(p, g_listStageChara.back());
    p->m_bInSetup = 0;
    EXPECT_EQ(p->m_bEndPending, 1);
    EXPECT_EQ(State(), PLAY_FRAME);
    Frame();
    EXPECT_EQ(p->m_bEndPending, 0);
    EXPECT_NE(State(), PLAY_FRAME);
}

TEST_F(StageEnd, TheClearInPlayAdvancesByTheStartModesBranch) {
    g_SceneManager.m_nPlayMode = START_MODE_CHALLENGE;
    g_SaveData.m_nStageNumber = 1;
    g_SystemData.m_bScoreExtraLife = 1;
    g_SystemData.m_nExtraLifeScore = 100;
    ToPlay();
    g_SaveData.m_nStageScore = 150;
    Play()->m_nRequest = PLAY_REQ_GAMEEND;
    OnGameThread([this] { Frame(); });
    EXPECT_EQ(State(), PLAY_RESULT);
    const std::vector<REQUEST> sounds = Taken();
    EXPECT_EQ(Count(sounds, kGameEnd), 1);
    EXPECT_EQ(Count(sounds, kExtraLife), 1);
    EXPECT_EQ(g_SaveData.m_nLives, 3);  // the reserve of 3, less the life of the start, plus the extra one
    for (int i = 0; i < 160 && g_SceneManager.m_nCurrent == SCENE_PLAY; ++i) Frame(0, i & 1);
    EXPECT_EQ(g_SceneManager.m_nCurrent, SCENE_STAGESELECT);
    EXPECT_EQ(g_SaveData.m_vecStageResults[0].m_bCleared, 1);
    EXPECT_EQ(g_SaveData.m_nScore, 150);
}

}  // namespace
