// Character hits: the three passes logged in order for body, shot and sword contacts on both
// sides; protection kinds, invincibility and harmless shots; clashes by strength; kills and the
// hero's death; the sub-steps shots may hit in. Runs under AddressSanitizer in CI: stopped
// shots leave the lists only after the pass.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "app/scene_manager.h"
#include "play/chara_hits.h"
#include "play/damage.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

typedef std::tuple<int, int, int32_t, int32_t> ENTRY;
std::vector<ENTRY> g_log;
void Record(int pass, int what, int32_t a, int32_t b) { g_log.emplace_back(pass, what, a, b); }

HITRANGE Range(double l, double t, double r, double b) {
    HITRANGE h = {};
    h.dLeft = l, h.dTop = t, h.dRight = r, h.dBottom = b;
    return h;
}

class Hits : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);
        g_StageSettings.m_nValue95 = 0;  // hits off screen too
        g_StageSettings.m_nValue96 = 30;
        g_StageSettings.m_nValue98 = 30;
        g_lpPlayScene = &scene;
        g_vecHero.assign(1, cHero());
        g_listStageChara.clear();
        g_log.clear();
        g_lpHitLog = Record;
        scene.m_nSubStep = 1;
        scene.m_vecSubStepFlags = {1};
        cHero& hero = g_vecHero[0];
        Setup(hero, kHeroId, 0, 100);
        scene.AddToGroup(&hero);
    }
    void TearDown() override {
        g_lpHitLog = nullptr;
        scene.m_listShot.clear();
        g_vecHero.clear();
        g_listStageChara.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    static void Setup(cChara& c, int32_t id, int group, int hp) {
        c.m_nId = id;
        c.m_nGroup = group;
        c.m_bAppeared = 1;
        c.m_Def.m_nC39 = hp;
        c.m_nHP = hp;
        c.m_HitChara = Range(0, 0, 31, 31);
        c.m_HitShot = Range(0, 0, 31, 31);
    }
    cStageChara& Enemy(int32_t id, int group = 1, int hp = 100) {
        g_listStageChara.emplace_back();
        cStageChara& c = g_listStageChara.back();
        Setup(c, id, group, hp);
        scene.AddToGroup(&c);
        return c;
    }
    cShot& Shot(int32_t id, int group, int power, int isShot = 1) {
        scene.m_listShot.emplace_back();
        cShot& s = scene.m_listShot.back();
        s.m_nId = id;
        s.m_nGroup = group;
        s.m_bIsShot = isShot;
        s.m_Settings.Power() = power;
        s.m_dHitLeft = 10, s.m_dHitTop = 10, s.m_dHitRight = 20, s.m_dHitBottom = 20;
        s.m_dX = 10, s.m_dY = 10, s.m_dRight = 20, s.m_dBottom = 20;
        scene.AddToGroup(&s);
        return s;
    }
    cHero& Hero() { return g_vecHero[0]; }
    cPlayScene scene;
};

TEST_F(Hits, ThePassesRunInOrderOnBothSides) {
    Hero().m_Def.m_nC43 = 10;  // the hero rams for 10
    cStageChara& enemy = Enemy(1);
    enemy.m_Def.m_nC43 = 5;
    Shot(100, 0, 3);              // the hero's shot
    cShot& sword = Shot(101, 1, 4, 0);  // the enemy's sword
    EXPECT_EQ(HitCharacters(&scene), 0);
    const std::vector<ENTRY> want = {
        {1, HITLOG_TRIGGER, 100, 1}, {1, HITLOG_DAMAGE, 100, 1}, {1, HITLOG_STOP, 100, 0},
        {1, HITLOG_TRIGGER, 101, kHeroId}, {1, HITLOG_DAMAGE, 101, kHeroId},
        // Body contact: both triggers; both just became invincible, so no damage.
        {2, HITLOG_TRIGGER, 1, kHeroId}, {2, HITLOG_TRIGGER, kHeroId, 1},
    };
    EXPECT_EQ(g_log, want);
    EXPECT_EQ(enemy.m_nHP, 97);
    EXPECT_EQ(Hero().m_nHP, 96);
    ASSERT_EQ(scene.m_listShot.size(), 1u);  // the shot stopped; the sword stays
    EXPECT_EQ(&scene.m_listShot.front(), &sword);
    EXPECT_EQ(sword.m_vecHitIds, std::vector<int32_t>{kHeroId});
    EXPECT_TRUE(scene.m_vecShotGroup[0].empty());
    // Invincibility over: the body contact hits both ways, each immune to the other after.
    Hero().m_nInvincible = enemy.m_nInvincible = 0;
    g_log.clear();
    EXPECT_EQ(HitCharacters(&scene), 0);
    EXPECT_EQ(Hero().m_nHP, 91);
    EXPECT_EQ(enemy.m_nHP, 87);
    EXPECT_TRUE(Hero().IsInvincibleAgainst(1));
    EXPECT_TRUE(enemy.IsInvincibleAgainst(kHeroId));
    // The sword never hits the hero twice.
    for (const ENTRY& e : g_log) EXPECT_NE(std::get<2>(e), 101);
}

TEST_F(Hits, ProtectionInvincibilityAndHarmlessShots) {
    struct Row {
        int protection, invincible, power;
        bool trigger, stopped;
        int hp;
    };
    const Row rows[] = {
        {2, 0, 5, false, false, 100},  // shots pass through
        {1, 0, 5, true, true, 100},    // hit, stopped, no damage
        {0, 1, 5, true, false, 100},   // invincible: passes, not remembered
        {0, 0, 0, true, false, 100},   // harmless shot: trigger only
        {0, 0, 5, true, true, 95},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "protection " << r.protection << " invincible " << r.invincible);
        g_listStageChara.clear();
        scene.m_vecCharaGroup.assign(kPlayGroupCount, {});
        scene.m_vecShotGroup.assign(kPlayGroupCount, {});
        scene.m_listShot.clear();
        scene.AddToGroup(&Hero());
        cStageChara& e = Enemy(1);
        e.m_Def.m_byC30 = (uint8_t)r.protection;
        e.m_nInvincible = r.invincible;
        cShot& s = Shot(100, 0, r.power);
        g_log.clear();
        HitCharacters(&scene);
        bool shotTrigger = false;
        for (const ENTRY& e : g_log) shotTrigger |= std::get<0>(e) == 1 && std::get<1>(e) == HITLOG_TRIGGER;
        EXPECT_EQ(shotTrigger, r.trigger);
        EXPECT_EQ(scene.m_listShot.empty(), r.stopped);
        if (!r.stopped) {
            EXPECT_TRUE(s.m_vecHitIds.empty());
        }
        EXPECT_EQ(e.m_nHP, r.hp);
    }
}

TEST_F(Hits, PiercingShotsAndSameGroupsAndTheShotSubSteps) {
    cStageChara& a = Enemy(1);
    cStageChara& b = Enemy(2);
    b.m_bActsAsBlock = 1;
    cShot& s = Shot(100, 0, 1);
    s.m_Settings.PierceCharas() = 1;
    HitCharacters(&scene);
    EXPECT_EQ(a.m_nHP, 99);
    EXPECT_EQ(b.m_nHP, 99);  // hit too, then the shot stops at the block character
    EXPECT_TRUE(scene.m_listShot.empty());
    // A shot of the character's own group never touches it.
    Shot(101, 1, 50);
    a.m_nInvincible = 0;
    HitCharacters(&scene);
    EXPECT_EQ(a.m_nHP, 99);
    // Outside the sub-steps of the flag table shots do not hit.
    g_StageSettings.m_nValue23 = 2;
    scene.m_vecSubStepFlags = {1, 0};
    scene.m_nSubStep = 2;
    Shot(102, 0, 10);
    a.m_nInvincible = 0;
    HitCharacters(&scene);
    EXPECT_EQ(a.m_nHP, 99);
    scene.m_nSubStep = 1;
    HitCharacters(&scene);
    EXPECT_EQ(a.m_nHP, 89);
}

TEST_F(Hits, ClashesByStrength) {
    struct Row {
        int clashA, clashB, strengthA, strengthB;
        bool aSurvives, bSurvives;
    };
    const Row rows[] = {
        {0, 0, 0, 0, true, true},
        {1, 0, 0, 0, false, true},  // only A can be shot down
        {0, 1, 0, 0, true, false},
        {1, 1, 5, 3, true, false},
        {1, 1, 4, 4, false, false},
        {1, 1, 2, 6, false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.clashA << r.clashB << " " << r.strengthA << " " << r.strengthB);
        scene.m_listShot.clear();
        scene.m_vecShotGroup.assign(kPlayGroupCount, {});
        cShot& a = Shot(1, 2, 0);
        cShot& b = Shot(2, 3, 0);
        a.m_Settings.Clashes() = (uint8_t)r.clashA;
        b.m_Settings.Clashes() = (uint8_t)r.clashB;
        a.m_Settings.ClashStrength() = (uint8_t)r.strengthA;
        b.m_Settings.ClashStrength() = (uint8_t)r.strengthB;
        HitCharacters(&scene);
        bool haveA = false, haveB = false;
        for (cShot& s : scene.m_listShot) (s.m_nId == 1 ? haveA : haveB) = true;
        EXPECT_EQ(haveA, r.aSurvives);
        EXPECT_EQ(haveB, r.bSurvives);
    }
}

TEST_F(Hits, KillsGiveScoreAndTheHerosDeathIsReported) {
    g_SaveData.m_nStageScore = 0;
    cStageChara& e = Enemy(1, 1, 3);
    e.m_Def.m_nC48 = 70;
    Shot(100, 0, 10);
    EXPECT_EQ(HitCharacters(&scene), 0);
    EXPECT_EQ(e.m_bDying, 1);
    EXPECT_EQ(g_SaveData.m_nStageScore, 70);
    // A dying character takes no further hits; a body contact that kills the hero reports 2.
    cStageChara& f = Enemy(2, 1, 10);
    f.m_Def.m_nC43 = 500;
    EXPECT_EQ(HitCharacters(&scene), 2);
    EXPECT_EQ(Hero().m_nHP, 0);
}

}  // namespace
