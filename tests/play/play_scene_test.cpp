// The play scene's frame: built by the scene manager, its states from the fade-in through the
// banner to play and back out through the fade-out to the next scene; the n sub-steps of a
// frame; player 1's input with the swallowed buttons, the ignore words and the replay; the
// request word; the play timer and time limit; lifetimes; the quit flag; lives.
#include <gtest/gtest.h>

#include <memory>

#include "core/frame_timer.h"
#include "play/effect_progress.h"
#include "play/play_scene.h"
#include "play/save_words.h"
#include "play/stage_objects.h"
#include "records/database.h"
#include "records/replay.h"
#include "tests/frontend/scene_fixture.h"
#include "tests/play/flying_hero.h"
#include "tools/game/play_bitmaps.h"
#include "tools/records/stage_writer.h"

using namespace scenetest;

namespace {

const REQUEST kMiss{WM_REQ_SOUND, 8};

class PlayScene : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));  // the play scene loads its sheets
        Open();
        g_Replay.Clear();
        g_ReplayPrev.Clear();
        g_SystemData.m_bReplay = 0;
        g_StageSettings.m_nHitLevel = 3;
        g_StageSettings.m_nFrameRate = 60;
        // A 40 x 15 stage without banners whose hero flies (no block map is needed to hold it).
        g_StageSettings.m_nWidth = g_StageSettings.m_nHeight = 15;
        g_StageSettings.m_nWidth = 40;
        g_StageSettings.m_nValue33 = 0;
        PlaceFlyingHero(g_LoadedStage);
        g_SaveData.m_nLivesReserve = 3;
        g_SaveData.m_nLives = 2;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        ResetFrameTimers();
    }
    void TearDown() override {
        if (savedDb) g_Database = *savedDb;
        g_Replay.Clear();
        g_ReplayPrev.Clear();
        SceneFixture::TearDown();
    }
    cPlayScene* Play() { return g_lpPlayScene; }
    int State() { return Play() ? Play()->m_nState : -99; }
    // Frames until play runs (the fade-in and the banner done).
    void ToPlay() {
        for (int i = 0; i < 200 && State() != PLAY_FRAME; ++i) Frame();
        ASSERT_EQ(State(), PLAY_FRAME);
        Taken();
    }
    // A stage character of a group, entered in its group list.
    cStageChara& AddChara(int group, int life = kEndlessLife) {
        g_listStageChara.emplace_back();
        cStageChara& c = g_listStageChara.back();
        c.m_nGroup = group;
        c.m_nLifeTime = life;
        Play()->AddToGroup(&c);
        return c;
    }
    // The colour of the back buffer's first pixel.
    uint32_t Pixel() { return drawtest::Argb(*BackPixels(), true)[0]; }
    // A death animation of ten seconds started on a character (the database's first character
    // effect becomes a burst of that length).
    void StartLongDeath(cChara& c) {
        if (!savedDb) savedDb = std::make_unique<cDatabase>(g_Database);
        cCharaEffectRec burst;
        burst.m_nKind = 1;
        burst.m_anParams[0] = 100;
        burst.m_anParams[2] = 16;
        g_Database.m_vecCharaEffect.assign(2, burst);
        g_Database.CopyReversedTables();
        g_Database.BuildIndex3(CharaEffectStates, CharaEffectStatesReversed);
        StartCharaEffect(c.m_CharaEffect, 1, EFFECT_RUN_NORMAL, 0);
    }
    std::unique_ptr<cDatabase> savedDb;
};

TEST_F(PlayScene, RunsFromTheManagerThroughItsStatesAndHandsOverToTheNextScene) {
    g_StageSettings.m_nFrameRate = 30;
    Frame();
    ASSERT_NE(Play(), nullptr);
    EXPECT_EQ(Current(), (cScene*)Play());
    // Init took a life (the play data's lives from its reserve) and set up the stage.
    EXPECT_EQ(g_SaveData.m_nLives, 2);
    EXPECT_EQ(g_SceneManager.m_nFrameRate, 30);
    EXPECT_EQ(g_vecHero.size(), 1u);
    EXPECT_EQ(Play()->m_nHeroCount, 1);
    ASSERT_EQ(Play()->m_vecCharaGroup.size(), 8u);
    EXPECT_EQ(Play()->m_vecCharaGroup[0].front(), (cChara*)&g_vecHero[0]);
    EXPECT_EQ(Play()->m_vecShotGroup.size(), 8u);
    EXPECT_EQ(Play()->m_vecRankingPos, std::vector<int32_t>(5, 0));
    EXPECT_EQ(Play()->m_nTimeLimit, 999);  // no limit: shows and counts 999
    EXPECT_EQ(Play()->m_bNoTimeLimit, 1);
    EXPECT_EQ(Play()->m_vecSubStepFlags, std::vector<int32_t>(3, 1));
    EXPECT_EQ(Play()->m_vecTable, std::vector<int32_t>(1000, 0));
    EXPECT_EQ(State(), PLAY_FADEIN);
    int fade = 0;
    while (State() == PLAY_FADEIN && fade < 60) {
        Frame();
        ++fade;
    }
    EXPECT_EQ(State(), PLAY_BANNER);
    EXPECT_GT(fade, 1);
    g_vecHero[0].m_bFreeMove = 1;
    EXPECT_EQ(g_vecHero[0].AnimeNumber(), 0);
    Frame();  // no banner in this stage: play starts with the hero's free-movement animation
    EXPECT_EQ(State(), PLAY_FRAME);
    EXPECT_EQ(g_vecHero[0].AnimeNumber(), 2);
    EXPECT_EQ(Play()->m_nFrameCount, 0);
    Frames(5);
    EXPECT_EQ(Play()->m_nFrameCount, 5);
    EXPECT_EQ(Play()->m_nSubStepTotal, 15);
    EXPECT_EQ(Play()->m_nSubStep, 3);
    EXPECT_EQ(Play()->m_nPlayFrames, 5);
    EXPECT_EQ(Play()->m_nPlayTime, 8);  // 5 x 100 / 60
    // A flow command ends the game: the result state, then out to the next scene (a stage file
    // in parts without a next part: the title).
    saveword::NextStageFlag(g_SaveData) = 1;
    Play()->m_nRequest = PLAY_REQ_GAMEEND;
    Frame();
    EXPECT_EQ(State(), PLAY_RESULT);
    EXPECT_EQ(Play()->m_nSubStepTotal, 16);  // the frame ended in its first sub-step
    // The result screen leaves on a press of button 1 once its picture is in (200 / 4 frames).
    Frames(49);
    Frame(0, 1);
    EXPECT_EQ(State(), PLAY_RESULT);
    Frame();
    Frame(0, 1);
    EXPECT_EQ(State(), PLAY_FADEOUT);
    for (int i = 0; i < 60 && g_SceneManager.m_nCurrent == SCENE_PLAY; ++i) Frame();
    EXPECT_EQ(g_SceneManager.m_nCurrent, SCENE_TITLE);
    EXPECT_EQ(g_SceneManager.m_nPrevious, SCENE_PLAY);
    EXPECT_EQ(g_SceneManager.m_nFrameRate, 60);
    EXPECT_EQ(State(), -1);
    Frame();  // the manager deletes the play scene and builds the title
    EXPECT_EQ(g_lpPlayScene, nullptr);
    EXPECT_TRUE(g_vecHero.empty());
    EXPECT_NE(g_SceneManager.m_lpScenes[SCENE_TITLE], nullptr);
    EXPECT_FALSE(ClosePosted());
}

TEST_F(PlayScene, ASessionStartsItsScoresAndSumsAtZeroAndEveryStageItsStageScore) {
    // What the last session left: its scores, stage-end sums and request word; the story's sum
    // of stage bests and the lives are kept.
    cSaveData& d = g_SaveData;
    d.m_nStageScore = 70;
    d.m_nScore = 500;
    saveword::TimeSum(d) = 1, saveword::PlayTimeSum(d) = 2, saveword::HPSum(d) = 3, saveword::SecondSum(d) = 4;
    saveword::RequestWord(d) = 5;
    d.m_nBestTotal = 900;
    ToPlay();
    EXPECT_EQ(d.m_nStageScore, 0);
    EXPECT_EQ(d.m_nScore, 0);
    EXPECT_EQ(saveword::TimeSum(d) | saveword::PlayTimeSum(d) | saveword::HPSum(d) | saveword::SecondSum(d), 0);
    EXPECT_EQ(saveword::RequestWord(d), 0);
    EXPECT_EQ(d.m_nBestTotal, 900);
    EXPECT_EQ(d.m_nLives, 2);
    // A stage set up again (a restart, or the next part after a clear) starts its own stage
    // score, so a clear never adds an earlier stage's points a second time.
    d.m_nStageScore = 40;
    d.m_nScore = 300;
    Play()->SetStage(1, 0);
    EXPECT_EQ(d.m_nStageScore, 0);
    EXPECT_EQ(d.m_nScore, 300);
}

TEST_F(PlayScene, SubStepsPerFrameFollowTheHitCheckLevel) {
    struct Case {
        int level, n;
    } cases[] = {{1, 1}, {4, 4}, {10, 10}, {11, 1}, {13, 3}, {19, 9}, {0, 1}};
    for (const Case& c : cases) {
        g_StageSettings.m_nHitLevel = c.level;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        ToPlay();
        const int before = Play()->m_nSubStepTotal;
        Frames(2);
        EXPECT_EQ(Play()->m_nSubStepTotal - before, 2 * c.n) << "level " << c.level;
        EXPECT_EQ(Play()->m_nSubStep, c.n);
        g_SceneManager.DestroyAll();
    }
}

TEST_F(PlayScene, AFrameWithoutSubStepsMovesNothingAndOnlyDraws) {
    ToPlay();
    cStageChara& c = AddChara(1, 1);
    g_StageSettings.m_nSubSteps = 0;
    DDFillSurface(&g_BackBufferSD, 5);
    const uint32_t before = Pixel();
    Frame();
    EXPECT_EQ(Play()->m_nSubStepTotal, 0);
    EXPECT_EQ(c.m_nLifeTime, 1);
    EXPECT_NE(Pixel(), before);  // the play screen was drawn
}

TEST_F(PlayScene, TheHeroDiesOnRequestAndThatFrameIsNotDrawn) {
    ToPlay();
    DDFillSurface(&g_BackBufferSD, 5);
    const uint32_t before = Pixel();
    Play()->m_nRequest = PLAY_REQ_HERODIES;
    Frame();
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kMiss});
    EXPECT_EQ(g_vecHero[0].m_bDying, 1);
    EXPECT_EQ(State(), PLAY_FRAME);
    EXPECT_EQ(Pixel(), before);
    EXPECT_EQ(Play()->m_nSubStepTotal, 1);
    // The next frames run every sub-step without the character passes and are drawn while the
    // death animation runs.
    StartLongDeath(g_vecHero[0]);
    Frame();
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(Play()->m_nSubStepTotal, 4);
    EXPECT_NE(Pixel(), before);
}

TEST_F(PlayScene, LifetimesCountSubStepsAndEndlessNeverCountsDown) {
    ToPlay();
    cStageChara& endless = AddChara(2);
    AddChara(2, 4);  // gone in the sub-step that takes it below 0
    cStageChara& dying = AddChara(3, 0);
    dying.m_bDying = 1;
    StartLongDeath(dying);
    g_listItem.emplace_back().m_nLifeTime = 2;
    g_listItem.emplace_back();
    Frame();  // three sub-steps
    EXPECT_EQ(g_listStageChara.size(), 3u);
    EXPECT_EQ(g_listItem.size(), 1u);
    Frame();
    EXPECT_EQ(g_listStageChara.size(), 2u);
    EXPECT_EQ(endless.m_nLifeTime, kEndlessLife);
    EXPECT_EQ(dying.m_nLifeTime, 0);  // a dying character keeps its counter
    EXPECT_EQ(Play()->m_vecCharaGroup[2], std::list<cChara*>{&endless});
    EXPECT_EQ(Play()->m_vecCharaGroup[3], std::list<cChara*>{&dying});
    EXPECT_EQ(g_listItem.back().m_nLifeTime, kEndlessLife);
}

TEST_F(PlayScene, FarObjectsAreErasedOnlyWhereTheStageGivesARange) {
    for (bool ranged : {false, true}) {
        g_StageSettings.m_aParts[0].Set({0, 0, 0, 0, 0, 0, 0, 0});
        g_StageSettings.m_aParts[2].Set({0, 0, 0, 0, 0, 0, 0, 0});
        if (ranged) {
            g_StageSettings.m_aParts[0].Set({0, 0, 0, 1, 0, 0, 0, 5});  // characters: bottom, 5 blocks
            g_StageSettings.m_aParts[2].Set({1, 0, 0, 0, 0, 0, 0, 0});  // items: left, 0 blocks
        }
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        ToPlay();
        EXPECT_EQ(Play()->m_abFarErase[0], ranged ? 1 : 0);
        EXPECT_EQ(Play()->m_abFarErase[1], 0);
        EXPECT_EQ(Play()->m_abFarErase[2], ranged ? 1 : 0);
        // Objects at the map's corner are beyond any range; a character that has not appeared
        // and a block character (no block range) stay.
        cStageChara& far = AddChara(1);
        far.m_bAppeared = 1;
        cStageChara& hidden = AddChara(1);
        hidden.m_vecVar.assign(1, 0);  // its appearance condition (variable 0 = 1) does not hold
        hidden.m_Def.m_vecConds.resize(1);
        hidden.m_Def.m_vecConds[0].m_cKind = 3;
        hidden.m_Def.m_vecConds[0].m_nValue = 1;
        cStageChara& block = AddChara(1);
        block.m_bAppeared = 1;
        block.m_bActsAsBlock = 1;
        g_listItem.emplace_back();
        Frame();
        EXPECT_EQ(g_listStageChara.size(), ranged ? 2u : 3u);
        EXPECT_EQ(g_listItem.size(), ranged ? 0u : 1u);
        if (ranged) {
            EXPECT_EQ(Play()->m_vecCharaGroup[1], (std::list<cChara*>{&hidden, &block}));
        }
        g_SceneManager.DestroyAll();
    }
    g_StageSettings.m_aParts[0] = cStagePartA();
    g_StageSettings.m_aParts[2] = cStagePartA();
}

// Characters that leave while the character pass visits them: the pass goes on with the next one
// in the list, and every character that stays is visited once in every sub-step, before and after
// the first one leaves alike.
TEST_F(PlayScene, TheCharacterPassVisitsEachStayingCharacterOnceWhileOthersLeave) {
    ToPlay();
    const cHero& hero = g_vecHero.front();
    std::vector<cStageChara*> staying;
    // Staying, leaving, staying, leaving, leaving, staying, staying, leaving.
    for (int leaves : {0, 1, 0, 1, 1, 0, 0, 1}) {
        cStageChara& c = AddChara(1);
        c.m_bFlying = 1;
        c.m_bSkipViewX = c.m_bSkipViewY = 1;  // in range wherever it is
        c.m_dX = hero.m_dX + 64.0 * (double)g_listStageChara.size();
        c.m_dY = hero.m_dY - 96.0;
        c.m_nWidth = c.m_nHeight = 32;
        c.m_dMoveX = 0.5;
        c.m_nHP = leaves ? 0 : 1;     // a character without hit points ends in its visit
        c.m_bVanishOnEnd = leaves;  // and leaves at once
        if (!leaves) staying.push_back(&c);
    }
    std::vector<double> start;
    for (const cStageChara* c : staying) start.push_back(c->m_dX);
    Frame();
    ASSERT_EQ(State(), PLAY_FRAME);
    ASSERT_EQ(g_listStageChara.size(), staying.size());
    auto it = g_listStageChara.begin();
    for (size_t i = 0; i < staying.size(); ++i, ++it) {
        EXPECT_EQ(&*it, staying[i]);
        EXPECT_GT(staying[i]->m_dX, start[i]) << i;
        // The same moves for each: none was skipped or visited twice.
        EXPECT_DOUBLE_EQ(staying[i]->m_dX - start[i], staying[0]->m_dX - start[0]) << i;
    }
}

TEST_F(PlayScene, ALeavingCharacterIsTakenOutOfItsGroupAndTheRunningSlot) {
    ToPlay();
    cStageChara& a = AddChara(4);
    cStageChara& b = AddChara(4);
    Play()->m_lpRunChara = &a;
    Play()->RemoveStageChara(&a);
    EXPECT_EQ(g_listStageChara.size(), 1u);
    EXPECT_EQ(&g_listStageChara.front(), &b);
    EXPECT_EQ(Play()->m_vecCharaGroup[4], std::list<cChara*>{&b});
    EXPECT_EQ(Play()->m_lpRunChara, nullptr);
    Play()->RemoveStageChara(&a);  // no longer there: nothing happens
    EXPECT_EQ(g_listStageChara.size(), 1u);
    // A new set-up leaves nothing of the last stage referred to.
    Play()->m_lpRunChara = &b;
    Play()->SetStage(1, 0);
    EXPECT_TRUE(g_listStageChara.empty());
    EXPECT_EQ(Play()->m_lpRunChara, nullptr);
    EXPECT_EQ(Play()->m_vecCharaGroup[4], std::list<cChara*>{});
    // A group outside 0-7 is reported and joins group 0.
    g_listStageChara.emplace_back().m_nGroup = 9;
    Play()->AddToGroup(&g_listStageChara.back());
    EXPECT_EQ(Play()->m_vecCharaGroup[0].back(), (cChara*)&g_listStageChara.back());
    EXPECT_NE(Report().find("err V[9] ( 8 ,"), std::string::npos);
    EXPECT_TRUE(ClosePosted());
}

TEST_F(PlayScene, HeldButtonsAreSwallowedUntilAllAreReleased) {
    ToPlay();
    cPlayerInput& in = g_vecPlayerInput[0];
    Play()->m_bSwallowButtons = 1;
    Frame(2, 1);
    EXPECT_EQ(in.m_wButton, 0);
    EXPECT_EQ(in.m_wKey, 2);  // directions pass
    EXPECT_EQ(Play()->m_bSwallowButtons, 1);
    Frame(0, 3);
    EXPECT_EQ(in.m_wButton, 0);
    Frame();
    EXPECT_EQ(Play()->m_bSwallowButtons, 0);
    Frame(0, 1);
    EXPECT_EQ(in.m_wButton, 1);
    // The hero's ignore words clear what it may not read.
    g_vecHero[0].m_bIgnoreDirection = 1;
    Frame(4, 2);
    EXPECT_EQ(in.m_wKey, 0);
    EXPECT_EQ(in.m_nDirection, 5);
    EXPECT_EQ(in.m_wButton, 2);
    g_vecHero[0].m_bIgnoreDirection = 0;
    g_vecHero[0].m_bIgnoreButtons = 1;
    Frame(4, 2);
    EXPECT_EQ(in.m_wKey, 4);
    EXPECT_EQ(in.m_wButton, 0);
}

TEST_F(PlayScene, RecordedInputPlaysBackAndTheEndOfTheReplayStartsTheStageAgain) {
    g_SystemData.m_bReplay = 1;
    ToPlay();
    const uint32_t seed = g_Replay.m_dwSeed;
    EXPECT_EQ(Play()->m_dwSeed, seed);
    const WORD keys[] = {2, 2, 0, 8, 1}, buttons[] = {0, 1, 1, 0, 2};
    for (int i = 0; i < 5; ++i) Frame(keys[i], buttons[i]);
    ASSERT_EQ(g_Replay.m_vecDirRuns.size(), 4u);
    // Playback of that recording, whatever the keyboard says.
    g_SceneManager.DestroyAll();
    g_SceneManager.m_nPlayMode = START_MODE_REPLAY;
    g_SceneManager.m_nCurrent = SCENE_PLAY;
    ToPlay();
    EXPECT_EQ(Play()->m_dwSeed, seed);
    crt::srand(seed);
    const int first = crt::rand();
    cPlayerInput& in = g_vecPlayerInput[0];
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 5; ++i) {
            Frame(4, 8);
            EXPECT_EQ(in.m_wKey, keys[i]) << round << " " << i;
            EXPECT_EQ(in.m_wButton, buttons[i]) << round << " " << i;
        }
        EXPECT_EQ(Play()->m_nFrameCount, 5);
        Frame(4, 8);  // the end: the stage again from its banner, with the same seed
        EXPECT_EQ(State(), PLAY_BANNER);
        EXPECT_EQ(Play()->m_nFrameCount, 0);
        EXPECT_EQ(crt::rand(), first);
        // The replay banner stays 80 frames (79 drawn with it), then play goes on.
        int banner = 0;
        while (State() == PLAY_BANNER && banner < 100) {
            Frame(4, 8);
            ++banner;
        }
        EXPECT_EQ(banner, 80);
        EXPECT_EQ(State(), PLAY_FRAME);
    }
}

TEST_F(PlayScene, TheTimeLimitKillsTheHeroWhenItRunsOut) {
    g_StageSettings.m_nValue16 = 0;  // no time warning
    ToPlay();
    Play()->m_bNoTimeLimit = 0;
    Play()->m_nTimeLimit = 2;
    Frames(59);
    EXPECT_EQ(Play()->m_nTimeLimit, 2);
    Frame();
    EXPECT_EQ(Play()->m_nTimeLimit, 1);
    EXPECT_TRUE(Taken().empty());
    const int steps = Play()->m_nSubStepTotal;
    Frames(60);
    EXPECT_EQ(Play()->m_nTimeLimit, 0);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kMiss});
    EXPECT_EQ(g_vecHero[0].m_bDying, 1);
    EXPECT_EQ(Play()->m_nSubStepTotal, steps + 59 * 3);  // the frame it ran out ends at once
    StartLongDeath(g_vecHero[0]);
    Frames(60);  // a hero already dying does not die again
    EXPECT_TRUE(Taken().empty());
}

TEST_F(PlayScene, TimerAndLimitArithmetic) {
    ToPlay();
    cPlayScene& p = *Play();
    p.m_nPlayFrames = 359998;
    p.m_nPlayTime = 599996;
    p.UpdatePlayTimer();
    EXPECT_EQ(p.m_nPlayTime, 599998);
    p.UpdatePlayTimer();
    EXPECT_EQ(p.m_nPlayTime, 599999);
    const int frames = p.m_nPlayFrames;
    p.UpdatePlayTimer();
    EXPECT_EQ(p.m_nPlayTime, 599999);
    EXPECT_EQ(p.m_nPlayFrames, frames);  // stops with the time
    // The limit moves once every 60 frames.
    p.m_bNoTimeLimit = 0;
    FrameSkipCount(0, 0);
    struct Case {
        int start, delta, want, result;
    } cases[] = {{0, -1, 0, 1}, {1, -1, 0, 1}, {5, -1, 4, 0}, {999, 5, 999, 0}, {998, 1, 999, 0}, {3, -10, 0, 1}};
    for (const Case& c : cases) {
        p.m_nTimeLimit = c.start;
        for (int i = 0; i < 59; ++i) ASSERT_EQ(p.UpdateTimeLimit(c.delta), 0);
        EXPECT_EQ(p.m_nTimeLimit, c.start);
        EXPECT_EQ(p.UpdateTimeLimit(c.delta), c.result) << c.start << " " << c.delta;
        EXPECT_EQ(p.m_nTimeLimit, c.want);
    }
    p.m_bNoTimeLimit = 1;
    p.m_nTimeLimit = 0;
    for (int i = 0; i < 120; ++i) EXPECT_EQ(p.UpdateTimeLimit(-1), 0);
}

TEST_F(PlayScene, TheQuitFlagClosesTheProgramWithoutPlayingTheFrame) {
    ToPlay();
    Play()->m_bQuit = 1;
    Frame();
    EXPECT_TRUE(ClosePosted());
    EXPECT_EQ(Play()->m_nFrameCount, 0);
    EXPECT_EQ(Play()->m_nSubStepTotal, 0);
}

TEST_F(PlayScene, TestPlayOfAStageFileStartsTheFileAgainAfterPlay) {
    cStage stage;
    MakeSampleStage(stage, 20, 15, 0, 0);
    folder->MakeFolder("data\\stg4");
    ASSERT_TRUE(WriteStageFile(*folder, "data\\stg4\\Stage1.stg4_001", stage));
    for (bool present : {true, false}) {
        std::snprintf(g_SystemIni.szFreeStage, sizeof g_SystemIni.szFreeStage, "%s",
                      present ? "data\\stg4\\Stage1.stg4_001" : "data\\stg4\\Gone.stg4_001");
        g_SceneManager.m_nPlayMode = START_MODE_STAGEFILE;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_bStageFileStart = 1;
        ToPlay();
        g_SaveData.m_nStageNumber = 7;
        Play()->m_nRequest = PLAY_REQ_GAMEEND;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        // Button 1 pressed every other frame leaves the result screen.
        for (int i = 0; i < 160 && g_SceneManager.m_nPrevious != SCENE_PLAY; ++i) Frame(0, i & 1);
        // The stage-file road plays the same stage again.
        EXPECT_EQ(g_SceneManager.m_nCurrent, SCENE_PLAY);
        if (present) {
            EXPECT_EQ(g_SaveData.m_nStageNumber, 1);  // the stage file set up afresh
            EXPECT_FALSE(ClosePosted());
        } else {
            EXPECT_TRUE(ClosePosted());
        }
        g_SceneManager.DestroyAll();
    }
}

TEST_F(PlayScene, ProjectSoundsFollowTheSystemSoundsAndAStateOutsideTheTableIsReported) {
    ToPlay();
    PlayUserSe(0);
    PlayUserSe(3);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{{WM_REQ_SOUND, 19}}));
    Play()->m_nState = 12;
    Frame();
    EXPECT_NE(Report().find("err V[12] ( 8 ,"), std::string::npos);
    EXPECT_TRUE(ClosePosted());
}

TEST(PlayRules, TakeLife) {
    struct Case {
        int stageFile, lives, result, after;
    } cases[] = {{0, 3, 1, 2}, {0, 1, 1, 0}, {0, 0, 0, 0}, {0, -4, 0, -4}, {0, 999999, 1, 999999}, {1, 0, 1, 0},
                 {1, 5, 1, 5}};
    for (const Case& c : cases) {
        g_bStageFileStart = c.stageFile;
        cSaveData data;
        data.m_nLives = c.lives;
        EXPECT_EQ(TakeLife(data), c.result) << c.stageFile << " " << c.lives;
        EXPECT_EQ(data.m_nLives, c.after);
    }
    g_bStageFileStart = 0;
}

TEST(PlayRules, SubStepFlagsSpreadTheShotHitsOverTheFrame) {
    struct Case {
        int n, m;
        std::vector<int32_t> flags;
    } cases[] = {
        {4, 0, {1, 1, 1, 1}},
        {4, 1, {1, 0, 0, 0}},
        {4, 2, {1, 0, 1, 0}},
        {5, 2, {1, 0, 1, 0, 0}},
        {5, 3, {1, 1, 0, 1, 0}},
        {3, 5, {1, 1, 1}},
        {2, 2000000000, {1, 1}},
        {0, 3, {}},
        {-2, 0, {}},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> flags{9, 9};
        BuildSubStepFlags(flags, c.n, c.m);
        EXPECT_EQ(flags, c.flags) << c.n << " " << c.m;
    }
}

}  // namespace
