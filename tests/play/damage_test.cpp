// Damage, invincibility and score: the exchange of body-contact damage as a table, knock-back
// against resistance, the invincibility timer and the per-attacker immunity in sub-steps, HP and
// SP changes with the protection kinds, the score held to its range, and what a death lets go.
#include <gtest/gtest.h>

#include <cmath>

#include "app/scene_manager.h"
#include "play/chara_def.h"
#include "play/damage.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

class Damage : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.m_dGravity = 0.5;
        g_StageSettings.SetHitLevel(2);  // n = 2
        g_StageSettings.m_nValue96 = 30;  // the player's side: invincibility, immunity
        g_StageSettings.m_nValue97 = 3;
        g_StageSettings.m_nValue98 = 10;  // the enemies
        g_StageSettings.m_nValue99 = 0;
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(0, 14, 0, 0);
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
        g_SaveData.m_nStageScore = 0;
    }
    void TearDown() override {
        g_vecHero.clear();
        g_listStageChara.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    static cChara Chara(int hp, int maxHP, int defence = 0, int power = 0, int impact = 0, int resist = 0,
                        int protection = 0) {
        cChara c;
        c.m_Def.m_nC39 = maxHP;
        c.m_Def.m_nC46 = defence;
        c.m_Def.m_nC43 = power;
        c.m_Def.m_byC44 = (uint8_t)(int8_t)impact;
        c.m_Def.m_byC47 = (uint8_t)resist;
        c.m_Def.m_byC30 = (uint8_t)protection;
        c.m_nHP = hp;
        return c;
    }
    cPlayScene scene;
};

TEST_F(Damage, BodyContactExchangeAsATable) {
    struct Row {
        int power, defence, impact, resist, protection, hp, maxHP;
        int wantHP, wantResult;
        bool wantImpactSpeed;
    };
    const Row rows[] = {
        {30, 50, 0, 0, 0, 100, 100, 100, 0, false},          // defence above power: nothing lost
        {30, 10, 0, 0, 0, 100, 100, 80, 0, false},           // 20 damage
        {2000000000, 0, 0, 0, 0, 100, 100, 0, 1, false},     // held to 999999: runs out
        {-10, 5, 0, 0, 0, 50, 100, 60, 0, false},            // negative power heals, not reduced
        {30, 0, 0, 0, 1, 100, 100, 100, 0, false},           // protected: no loss without force
        {30, 0, 0, 0, 2, 100, 100, 100, 0, false},
        {0, 0, 10, 0, 0, 100, 100, 100, 0, true},            // impact alone: knock-back
        {0, 0, 5, 7, 0, 100, 100, 100, 0, false},            // impact under resistance: none
        {25, 0, -30, 0, 0, 20, 100, 0, 1, true},             // dies; impact held to -20
    };
    for (const Row& r : rows) {
        cChara attacker = Chara(10, 10, 0, r.power, r.impact);
        attacker.m_dSpeedX = 2.0;
        cChara defender = Chara(r.hp, r.maxHP, r.defence, 0, 0, r.resist, r.protection);
        const int result = defender.ExchangeDamage(attacker);
        SCOPED_TRACE(testing::Message() << "power " << r.power << " defence " << r.defence << " impact " << r.impact);
        EXPECT_EQ(defender.m_nHP, r.wantHP);
        EXPECT_EQ(result, r.wantResult);
        EXPECT_EQ(defender.m_dImpactX != 0.0, r.wantImpactSpeed);
        EXPECT_EQ(defender.m_bImpact, r.impact != 0 ? 1 : 0);
    }
}

TEST_F(Damage, KnockBackSpeedFollowsTheSquareRootRule) {
    cChara c = Chara(10, 10);
    c.m_dMoveX = -1.0;  // moving against the push: cleared
    c.m_dSpeedY = -3.0;
    c.ApplyImpact(10, 1.0, 0.0);
    // n = 2: (sqrt(1 + 128 x 2 x 10) - 1) / 4.
    EXPECT_NEAR(c.m_dImpactX, (std::sqrt(2561.0) - 1.0) / 4.0, 1e-9);
    EXPECT_EQ(c.m_dImpactY, 0.0);
    EXPECT_EQ(c.m_dMoveX, 0.0);
    EXPECT_EQ(c.m_dSpeedY, -3.0);  // no vertical impact: the fall speed stays
    // Held by the resistance to nothing: the impact speed keeps its value, the state is set.
    cChara d = Chara(10, 10, 0, 0, 0, 7);
    d.m_dImpactX = 0.5;
    d.m_bImpact = 0;
    d.ApplyImpact(5, -1.0, 0.0);
    EXPECT_EQ(d.m_dImpactX, 0.5);
    EXPECT_EQ(d.m_bImpact, 1);
    // Strength above 20 is held at 20; a diagonal push splits by the components.
    cChara e = Chara(10, 10);
    e.ApplyImpact(100, 1.0, -1.0);
    EXPECT_NEAR(e.m_dImpactX, (std::sqrt(1.0 + 256.0 * 10.0) - 1.0) / 4.0, 1e-9);
    EXPECT_NEAR(e.m_dImpactY, -e.m_dImpactX, 1e-12);
}

TEST_F(Damage, InvincibilityAndImmunityCountSubSteps) {
    cChara hero = Chara(10, 10);
    hero.m_nPlayerSide = 1;
    hero.SetInvincible(77);
    EXPECT_EQ(hero.m_nInvincible, 60);  // 30 frames x n
    ASSERT_EQ(hero.m_vecImmunity.size(), 1u);
    EXPECT_EQ(hero.m_vecImmunity[0].nLeft, 6);  // 3 frames x n
    hero.m_nInvincible = 0;
    for (int i = 0; i < 5; ++i) {
        hero.TickInvincible();
        EXPECT_TRUE(hero.IsInvincibleAgainst(77)) << i;
        EXPECT_FALSE(hero.IsInvincibleAgainst(78));
    }
    hero.TickInvincible();
    EXPECT_FALSE(hero.IsInvincibleAgainst(77));
    EXPECT_TRUE(hero.m_vecImmunity.empty());
    // The enemies' side: immunity 0 leaves no entry after one tick.
    cChara enemy = Chara(10, 10);
    enemy.ResetInvincible();
    EXPECT_EQ(enemy.m_nInvincible, 20);
    enemy.SetInvincible(5);
    enemy.TickInvincible();
    EXPECT_TRUE(enemy.m_vecImmunity.empty());
    EXPECT_TRUE(enemy.IsInvincible());
    // A frame count from data far beyond the int range is held.
    g_StageSettings.m_nValue98 = INT32_MAX;
    enemy.ResetInvincible();
    EXPECT_EQ(enemy.m_nInvincible, INT32_MAX);
}

TEST_F(Damage, HitAndSkillPointsWithProtection) {
    cChara c = Chara(90, 100, 0, 0, 0, 0, 1);
    EXPECT_EQ(c.AddHP(100, 0, 1), 0);
    EXPECT_EQ(c.m_nHP, 100);  // healing adds only what is missing
    EXPECT_EQ(c.AddHP(-50, 0, 1), 0);
    EXPECT_EQ(c.m_nHP, 100);  // protected
    EXPECT_EQ(c.AddHP(-50, 1, 1), 0);
    EXPECT_EQ(c.m_nHP, 50);  // a forced loss applies
    EXPECT_EQ(c.AddHP(INT32_MIN, 1, 0), 1);
    EXPECT_EQ(c.m_nHP, 0);
    cChara z = Chara(0, 0);
    EXPECT_EQ(z.AddHP(-1, 0, 1), 1);  // max HP 0: dies on the first loss
    z.m_Def.m_nC40 = 0;
    EXPECT_EQ(z.AddSP(5, 1), 1);
    z.m_Def.m_nC40 = 10;
    z.m_nSP = 5;
    EXPECT_EQ(z.AddSP(INT32_MAX, 1), 0);
    EXPECT_EQ(z.m_nSP, 10);
    EXPECT_EQ(z.AddSP(-20, 1), 0);  // SP at 0 is no failure
    EXPECT_EQ(z.m_nSP, 0);
}

TEST_F(Damage, ScoreIsHeldToItsRange) {
    g_SaveData.m_nStageScore = 999900;
    cChara c = Chara(0, 10);
    c.m_Def.m_nC48 = 500;
    EXPECT_EQ(c.Die(), 0);
    EXPECT_EQ(g_SaveData.m_nStageScore, kMaxScore);
    g_SaveData.m_nStageScore = 100;
    cChara d = Chara(0, 10);
    d.m_Def.m_nC48 = INT32_MIN;
    d.Die();
    EXPECT_EQ(g_SaveData.m_nStageScore, 0);
    EXPECT_EQ(DamageOf(INT32_MAX, INT32_MIN), kMaxDamage);
    EXPECT_EQ(DamageOf(INT32_MIN, 0), -kMaxDamage);
}

TEST_F(Damage, DeathLetsGoOfTargetsAndShots) {
    g_vecHero.assign(1, cHero());
    g_vecHero[0].m_nId = kHeroId;
    g_listStageChara.emplace_back();
    cStageChara& a = g_listStageChara.back();
    a.m_nId = 1;
    g_listStageChara.emplace_back();
    cStageChara& b = g_listStageChara.back();
    b.m_nId = 2;
    a.m_nTargetId = kHeroId;
    g_vecHero[0].m_vecTargetedBy = {1};
    b.m_nTargetId = 1;
    a.m_vecTargetedBy = {2};
    scene.m_listShot.emplace_back();
    scene.m_listShot.back().m_nOwnerId = 1;
    scene.m_listShot.emplace_back();
    scene.m_listShot.back().m_nOwnerId = 2;
    EXPECT_EQ(a.Die(), 0);
    EXPECT_EQ(a.m_bDying, 1);
    EXPECT_EQ(a.m_nTargetId, -1);
    EXPECT_TRUE(g_vecHero[0].m_vecTargetedBy.empty());
    EXPECT_EQ(b.m_nTargetId, -1);
    EXPECT_EQ(scene.m_listShot.front().m_nOwnerId, kNoOwner);
    EXPECT_EQ(scene.m_listShot.back().m_nOwnerId, 2);
    // With the play's end requested, the death ends the game and keeps its links.
    scene.m_nRequest = PLAY_REQ_GAMEEND;
    b.m_nTargetId = kHeroId;
    EXPECT_EQ(b.Die(), 1);
    EXPECT_EQ(b.m_nTargetId, kHeroId);
    EXPECT_EQ(FindObjectById(2), &b);
    EXPECT_EQ(FindObjectById(kHeroId), &g_vecHero[0]);
    EXPECT_EQ(FindObjectById(3), nullptr);
}

}  // namespace
