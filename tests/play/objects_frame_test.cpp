// A play screen with the moving things that are not characters: a shot flying from the hero, a
// sword held out by the hero and an effect object, on a small stage of their own (golden frame).
#include <gtest/gtest.h>

#include "core/frame_timer.h"
#include "play/effect_obj.h"
#include "play/hero.h"
#include "play/play_draw.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_bitmaps.h"
#include "play/stage_objects.h"
#include "records/database.h"
#include "tests/frontend/scene_fixture.h"
#include "tests/play/flying_hero.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

class ObjectsFrame : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        Open();
        saved = g_Database;
        g_StageSettings.m_nWidth = 40;
        g_StageSettings.m_nHeight = 15;
        g_StageSettings.m_nHitLevel = 1;
        g_StageSettings.m_nFrameRate = 60;
        cBackgroundRec b;
        b.m_nA = 1;
        b.m_anBC[0] = 1;
        b.m_anBC[1] = 16;
        g_StageSettings.m_vecBackgrounds.assign(1, b);
        PlaceFlyingHero(g_LoadedStage);
        g_SystemData.m_vecStatusItems.clear();
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        ResetFrameTimers();
    }
    void TearDown() override {
        g_Database = saved;
        SceneFixture::TearDown();
    }
    cDatabase saved;
};

TEST_F(ObjectsFrame, AShotASwordAndAnEffectObject) {
    for (int i = 0; i < 200 && (!g_lpPlayScene || g_lpPlayScene->m_nState != PLAY_FRAME); ++i) Frame();
    cPlayScene* p = g_lpPlayScene;
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->m_nState, PLAY_FRAME);
    // Sword type 1 and effect 1 drawn from the shot sheet's bitmap.
    cSwordTypeRec sword;
    sword.m_nValue = 1;
    sword.m_strFile = "bmp\\Shot.bmp";
    sword.m_vecEntries.resize(1);
    sword.m_vecEntries[0].m_nWidth = 32;
    sword.m_vecEntries[0].m_nHeight = 16;
    sword.m_vecEntries[0].m_nPlacement = 0;
    sword.m_vecEntries[0].m_nDuration = 10;
    g_Database.m_vecSwordType = {cSwordTypeRec(), sword};
    cEffectRec effect;
    effect.m_nValue = 1;
    effect.m_strFile = "bmp\\Shot.bmp";
    effect.m_nWidth = 32;
    effect.m_nHeight = 32;
    effect.m_vecFrames.resize(2);
    effect.m_vecFrames[1].m_nCell = 1;
    g_Database.m_vecEffect = {cEffectRec(), effect};
    g_Database.BuildIndex2(EffectFrameTable);
    ASSERT_TRUE(LoadSwordBitmaps());
    ASSERT_TRUE(LoadEffectBitmaps());

    cHero& hero = g_vecHero.front();
    hero.m_nDir = 1;
    cEdShot set;
    set.SetDefaults();
    set.Group() = 1;
    SPAWNVALUES v{};
    v.nX = (int)hero.m_dX + 96;
    v.nY = (int)hero.m_dY + 8;
    v.dVelX = 3.0;
    v.dSpeed = 3.0;
    cShot shot;
    shot.Init(p->m_nShotSerial++, hero, SHOTCMD_SHOT, set, v);
    p->m_listShot.push_back(shot);
    p->AddToGroup(&p->m_listShot.back());
    cEdShot swordSet;
    swordSet.SetDefaults();
    swordSet.Group() = 1;
    swordSet.SwordType() = 1;
    cShot held;
    held.Init(p->m_nShotSerial++, hero, SHOTCMD_SWORD, swordSet, SPAWNVALUES{});
    ASSERT_EQ(held.Update(), 0);  // placed at the hero's front
    p->m_listShot.push_back(held);
    p->AddToGroup(&p->m_listShot.back());
    EffectObj e;
    e.CreateAt(1, hero.m_dX + 160, hero.m_dY - 32, 32, 32, 0);
    p->m_listEffect.push_back(e);

    DrawPlayScreen(p, 1, 1, 0, 0);
    drawtest::ExpectGolden(*BackPixels(), "play_shot_sword_effect");
}

}  // namespace
