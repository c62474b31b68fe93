// Shot formations and trajectories: the calls of the shot command (count, extra calls, per-call
// steps, serials and group lists), the placements of "直進A", "直進B", "拡散", "爆発", "包囲" and
// "落雷", the angle with its mirror, the direction options, the summons' record checks, and the
// trajectories that aim, home, wave and fall.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/scene_manager.h"
#include "flow/command_kinds.h"
#include "play/chara.h"
#include "play/play_scene.h"
#include "play/shot_formation.h"
#include "play/stage_objects.h"
#include "records/common_palette.h"
#include "records/stage.h"

namespace {

struct SPOT {
    double x, y, vx, vy;
};

class ShotFormation : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);  // n = 1
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 30, 0);
        scene.m_ScrollY.SetRange(0, 29, 0, 0);
        scene.m_ScrollX.m_dPos = 480;
        scene.m_ScrollY.m_dPos = 384;
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
        g_listStageChara.emplace_back();
        owner = &g_listStageChara.back();
        owner->Init(5, 0, 0, 0, 0, nullptr, 0, 0, 0, 32, 32, 32, 32, 0, 0, 0);
        // The owner's screen rectangle (100, 200) - (131, 231).
        owner->m_nRectLeft = 100;
        owner->m_nRectTop = 200;
        owner->m_nRectRight = 131;
        owner->m_nRectBottom = 231;
        set.GroupOfUser() = 0;
        set.Group() = 3;
        set.FormationCount() = 1;
        set.Speed() = 20;  // 2 dots per frame
        set.MirrorAngle() = 0;
        set.MirrorOffsetX() = 0;
    }
    void TearDown() override {
        g_lpPlayScene = nullptr;
        g_vecHero.clear();
        g_listStageChara.clear();
        g_StageSettings = cStage();
    }
    std::vector<SPOT> Fire() {
        RunShotCommand(scene.m_listShot, *owner, SHOTCMD_SHOT, set);
        std::vector<SPOT> out;
        for (const cShot& s : scene.m_listShot) out.push_back({s.m_dX, s.m_dY, s.m_dVelX, s.m_dVelY});
        scene.m_listShot.clear();
        for (auto& g : scene.m_vecShotGroup) g.clear();
        return out;
    }
    static void Expect(const std::vector<SPOT>& got, const std::vector<SPOT>& want, const char* what) {
        ASSERT_EQ(got.size(), want.size()) << what;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_DOUBLE_EQ(got[i].x, want[i].x) << what << " " << i;
            EXPECT_DOUBLE_EQ(got[i].y, want[i].y) << what << " " << i;
            EXPECT_NEAR(got[i].vx, want[i].vx, 1e-9) << what << " " << i;
            EXPECT_NEAR(got[i].vy, want[i].vy, 1e-9) << what << " " << i;
        }
    }
    cPlayScene scene;
    cStageChara* owner = nullptr;
    cEdShot set;
};

TEST_F(ShotFormation, CallsCountsSerialsAndGroups) {
    set.FormationCount() = 0;
    EXPECT_TRUE(Fire().empty());
    set.FormationCount() = (uint8_t)-2;
    EXPECT_TRUE(Fire().empty());
    set.FormationCount() = 1;
    EXPECT_EQ(Fire().size(), 1u);  // S12 = 0: one call
    // Three calls: the speed, offsets, distance and index step per call.
    set.ExtraCalls() = 2;
    set.SpeedStep() = 10;
    set.OffsetXStep() = (uint16_t)-4;
    set.RangeOn() = 1;
    set.Range() = 10;
    set.RangeStep() = 2;
    scene.m_nShotSerial = 40;
    RunShotCommand(scene.m_listShot, *owner, SHOTCMD_SHOT, set);
    ASSERT_EQ(scene.m_listShot.size(), 3u);
    int i = 0;
    for (const cShot& s : scene.m_listShot) {
        EXPECT_EQ(s.m_nId, 40 + i);
        EXPECT_EQ(s.m_nExtraCode, i);
        EXPECT_DOUBLE_EQ(s.m_dVelX, -(2.0 + i));
        EXPECT_DOUBLE_EQ(s.m_dX, 565 - 4 * i);
        EXPECT_EQ(s.m_nTravelLeft, DotToInt(((10 + 2 * i) * 16 - 16) / (2.0 + i)));
        ++i;
    }
    EXPECT_EQ(scene.m_nShotSerial, 43);
    EXPECT_EQ(scene.m_vecShotGroup[3].size(), 3u);
    EXPECT_EQ(scene.m_vecShotGroup[3].front(), &scene.m_listShot.front());
}

TEST_F(ShotFormation, StraightRowsAcrossTheDirectionOfFlight) {
    set.FormationCount() = 3;
    set.FormationParams()[0] = 1;  // 16 dots apart
    // Forward, facing left: a column left of the owner, centred on it.
    Expect(Fire(), {{565, 560, -2, 0}, {565, 592, -2, 0}, {565, 624, -2, 0}}, "left");
    owner->m_nDir = 1;
    Expect(Fire(), {{612, 560, 2, 0}, {612, 592, 2, 0}, {612, 624, 2, 0}}, "right");
    set.DirectionOption() = 6;  // up: a row above the owner
    Expect(Fire(), {{556, 568, 0, -2}, {588, 568, 0, -2}, {620, 568, 0, -2}}, "up");
    set.DirectionOption() = 7;
    Expect(Fire(), {{556, 616, 0, 2}, {588, 616, 0, 2}, {620, 616, 0, 2}}, "down");
    // "直進B": a column standing on the owner's foot line, rising, on the side it flies to.
    set.Formation() = 1;
    set.DirectionOption() = 2;
    Expect(Fire(), {{565, 600, -2, 0}, {565, 568, -2, 0}, {565, 536, -2, 0}}, "B left");
}

TEST_F(ShotFormation, AnglesAreAddedMirroredAndOffset) {
    set.DirectionOption() = 2;
    set.Angle() = 30;
    set.MirrorAngle() = 1;
    owner->m_nDir = 1;  // facing right: 360 - 30
    const double r = 330.0 * M_PI / 180.0;
    Expect(Fire(), {{565, 592, -std::cos(r) * 2, -std::sin(r) * 2}}, "mirrored");
    set.OffsetX() = 10;
    set.OffsetY() = (uint16_t)-5;
    set.MirrorOffsetX() = 1;  // negated when facing right
    Expect(Fire(), {{555, 587, -std::cos(r) * 2, -std::sin(r) * 2}}, "offsets");
}

TEST_F(ShotFormation, SpreadExplosionAndSurround) {
    set.Formation() = 2;
    set.FormationCount() = 2;
    set.FormationParams()[0] = 30;
    const double a = 15.0 * M_PI / 180.0;
    // Two shots at the code's angle -15 and +15, from one point left of the owner.
    Expect(Fire(), {{565, 592, -std::cos(a) * 2, std::sin(a) * 2}, {565, 592, -std::cos(a) * 2, -std::sin(a) * 2}},
           "spread");
    set.Formation() = 4;
    set.FormationCount() = 4;
    Expect(Fire(), {{588, 592, -2, 0}, {588, 592, 0, -2}, {588, 592, 2, 0}, {588, 592, 0, 2}}, "explosion");
    // "包囲" around the owner: four shots 96 dots from its centre, all flying inward.
    set.Formation() = 5;
    set.FormationCentre() = 2;
    set.FormationParams()[0] = 6;
    Expect(Fire(), {{684, 592, -2, 0}, {588, 688, 0, -2}, {492, 592, 2, 0}, {588, 496, 0, 2}}, "surround");
    // Centred on the owner's target, which it has not: nothing.
    set.FormationCentre() = 0;
    EXPECT_TRUE(Fire().empty());
}

TEST_F(ShotFormation, LightningMakesRowsOfColumnsBesideTheCentreObject) {
    set.Formation() = 3;
    set.FormationCentre() = 2;
    set.FormationCount() = 2;
    set.FormationParams()[1] = 3;  // columns
    Expect(Fire(),
           {{564, 584, -2, 0}, {548, 584, -2, 0}, {532, 584, -2, 0}, {564, 600, -2, 0}, {548, 600, -2, 0},
            {532, 600, -2, 0}},
           "lightning");
    set.FormationParams()[1] = 0;
    EXPECT_TRUE(Fire().empty());
    // A column count beyond the editor's 50 (a damaged file) is held at 50.
    set.FormationParams()[1] = 30000;
    EXPECT_EQ(Fire().size(), 100u);
}

TEST_F(ShotFormation, DirectionOptionsGiveCodesByFacingAndKeys) {
    const int left[13] = {2, 3, 2, 3, 6, 7, 6, 7, 8, 9, 10, 11, 2};
    const int right[13] = {3, 2, 2, 3, 7, 6, 6, 7, 8, 9, 10, 11, 3};
    for (int o = 0; o < 13; ++o) {
        owner->m_nDir = 0;
        EXPECT_EQ(DirectionCode(o, *owner), left[o]) << o;
        owner->m_nDir = 1;
        EXPECT_EQ(DirectionCode(o, *owner), right[o]) << o;
    }
    const int keys[9] = {3, 2, 3, 6, 7, 8, 9, 10, 11};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(SpawnOptionCode(k, 1), keys[k]) << k;
    EXPECT_EQ(SpawnOptionCode(0, 0), 2);
    EXPECT_EQ(SpawnOptionCode(42, 0), 2);
}

TEST_F(ShotFormation, SummonsIgnoreRecordsOutsideThePalette) {
    set.SummonPalette() = 0;
    set.SummonIndex() = (uint16_t)(g_CommonPalette.m_vecCharas.size() + 5);
    RunCharaSummonCommand(*owner, SHOTCMD_CHARA, set);
    RunItemSummonCommand(*owner, SHOTCMD_ITEM, set);
    RunBlockSummonCommand(*owner, SHOTCMD_BLOCK, set);
    EXPECT_TRUE(scene.m_listShot.empty());
    // Swords are not made by formations.
    RunShotCommand(scene.m_listShot, *owner, SHOTCMD_SWORD, set);
    EXPECT_TRUE(scene.m_listShot.empty());
}

class Trajectories : public ShotFormation {
protected:
    void SetUp() override {
        ShotFormation::SetUp();
        g_vecHero.emplace_back();
        cHero& hero = g_vecHero[0];
        hero.Init(1, 1, 0, 0, 0, nullptr, 0, 0, 0, 32, 32, 32, 32, 1, 0, 0);
        hero.m_dX = 192;  // centre (208, 108)
        hero.m_dY = 92;
        set.Speed() = 30;  // 3 dots per sub-step
    }
    cShot Shot(int trajectory, int q1, int q2 = 0, int q3 = 0) {
        set.Trajectory() = (uint8_t)trajectory;
        set.TrajectoryParams()[0] = (uint16_t)q1;
        set.TrajectoryParams()[1] = (uint16_t)q2;
        set.TrajectoryParams()[2] = (uint16_t)q3;
        SPAWNVALUES v{};
        v.nX = 100;  // centre (108, 108)
        v.nY = 100;
        v.dVelX = -2;
        v.dSpeed = 3;
        cShot s;
        s.Init(1, *owner, SHOTCMD_SHOT, set, v);
        return s;
    }
};

TEST_F(Trajectories, AimingHappensOnceAtItsStep) {
    cShot s = Shot(1, 0);
    s.Update();
    EXPECT_DOUBLE_EQ(s.m_dVelX, 3.0);
    EXPECT_DOUBLE_EQ(s.m_dVelY, 0.0);
    EXPECT_EQ(s.m_bTrajDone, 1);
    // q1 = 2 half blocks: 32 dots at 3 a sub-step, from step 10 on.
    s = Shot(1, 2);
    for (int i = 0; i < 10; ++i) s.Update();
    EXPECT_DOUBLE_EQ(s.m_dVelX, -2.0);
    s.Update();
    EXPECT_DOUBLE_EQ(s.m_dVelX, 3.0);
    // The target trajectory without a target: done, the motion unchanged.
    s = Shot(3, 0);
    s.Update();
    EXPECT_EQ(s.m_bTrajDone, 1);
    EXPECT_DOUBLE_EQ(s.m_dVelX, -2.0);
}

TEST_F(Trajectories, HomingRunsFromItsStartToItsEnd) {
    cShot s = Shot(4, 0, 0);  // end 0: never homes
    s.Update();
    EXPECT_DOUBLE_EQ(s.m_dVelX, -2.0);
    EXPECT_EQ(s.m_bTrajDone, 1);
    s = Shot(4, 0, 1);  // 16 dots: 5 sub-steps
    for (int i = 0; i < 5; ++i) {
        g_vecHero[0].m_dY = 92 + 10 * i;
        s.Update();
        // Toward the hero's centre, taken afresh each sub-step.
        const double len = std::sqrt(100.0 * 100.0 + 100.0 * i * i);
        EXPECT_NEAR(s.m_dVelX, 3.0 * 100.0 / len, 1e-9) << i;
        EXPECT_NEAR(s.m_dVelY, 3.0 * 10.0 * i / len, 1e-9) << i;
    }
    EXPECT_EQ(s.m_bTrajDone, 0);
    s.Update();
    EXPECT_EQ(s.m_bTrajDone, 1);
}

TEST_F(Trajectories, WaveAndFall) {
    cShot s = Shot(8, 4, 4, 0);
    s.Update();
    // Across a leftward flight, starting half a turn on (the shot faces left).
    const double r = 4.0 * M_PI / 180.0;
    EXPECT_NEAR(s.m_dVelX, -2.0, 1e-9);
    EXPECT_NEAR(s.m_dVelY, -64.0 * r, 1e-9);
    s = Shot(8, 4, 0, 0);  // no period: no wave, no division by zero
    s.Update();
    EXPECT_NEAR(s.m_dVelY, 0.0, 1e-9);
    s = Shot(9, 0);
    s.m_dVelY = -1.5;
    s.Update();
    EXPECT_EQ(s.m_bFlying, 0);
    EXPECT_DOUBLE_EQ(s.m_dSpeedY, -1.5);
}

}  // namespace
