// Block characters and riding: a character lands on a block character and rides it, moves with
// a horizontal and a vertical carrier, is pushed out sideways, is squeezed between two block
// characters or against a ceiling, leaves its carrier by jumping, and flying characters of the
// three block modes.
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <random>
#include <vector>

#include "app/scene_manager.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/riding.h"
#include "play/stage_objects.h"
#include "records/stage.h"

namespace {

class Riding : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.m_dGravity = 0.5;
        g_StageSettings.SetHitLevel(1);
        // A 40 x 15 stage: x 320 .. 1600, y 320 .. 800.
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(0, 14, 0, 0);
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
    }
    void TearDown() override {
        g_listStageChara.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    static void Place(cChara& c, double x, double y) {
        c.m_dX = x;
        c.m_dY = y;
        c.ClampX();
        c.ClampY();
    }
    cStageChara& Add(int32_t id, double x, double y, int w, int h, int block) {
        g_listStageChara.emplace_back();
        cStageChara& c = g_listStageChara.back();
        c.m_nId = id;
        c.m_bAppeared = 1;
        c.m_bActsAsBlock = block;
        c.m_nWidth = c.m_nBaseWidth = w;
        c.m_nHeight = c.m_nBaseHeight = h;
        c.m_nMoveMode = 1;
        Place(c, x, y);
        c.SaveHitRects();
        return c;
    }
    cPlayScene scene;
};

TEST_F(Riding, ARiderLandsAndMovesWithItsCarrier) {
    cStageChara& p = Add(10, 400, 500, 32, 32, 1);
    p.m_bFlying = 1;
    cStageChara& r = Add(1, 405, 474, 16, 24, 0);  // bottom 497: above the platform
    r.m_dSpeedY = 4.0;
    Place(r, 405, 479);  // fell 5 dots: 3 into the platform
    EXPECT_EQ(HitBlockCharacters(r, -1), 0);
    EXPECT_EQ(r.m_dY, 476.0);
    EXPECT_EQ(r.m_bStanding, 1);
    EXPECT_EQ(r.m_nCarrierId, 10);
    EXPECT_EQ(r.m_abContact[CONTACT_BOTTOM], 1);
    EXPECT_EQ(r.m_dSpeedY, 0.0);
    EXPECT_TRUE(r.IsRiding());
    // The carrier moves right by 5 and up by 4: the rider takes both.
    p.SaveHitRects();
    r.SaveHitRects();
    Place(p, 405, 496);
    r.m_dSpeedX = 0.0;
    EXPECT_EQ(MoveRiders(r), 0);
    EXPECT_EQ(r.m_dSpeedX, 5.0);
    EXPECT_EQ(r.m_dSpeedY, -4.0);
    Place(r, r.m_dX + r.m_dSpeedX, r.m_dY + r.m_dSpeedY);
    EXPECT_EQ(HitBlockCharacters(r, -1), 0);
    EXPECT_EQ(r.m_nCarrierId, 10);  // still on it: its box remembered anew
    EXPECT_EQ(r.m_adCarrierBox[0], 405.0);
    EXPECT_EQ(r.m_adCarrierBox[1], 496.0);
    // A walking carrier moves the rider only sideways: the vertical speed is left to gravity.
    p.m_bFlying = 0;
    p.m_bFalling = 0;
    Place(p, 410, 496);
    r.m_dSpeedX = r.m_dSpeedY = 0.0;
    MoveRiders(r);
    EXPECT_EQ(r.m_dSpeedX, 5.0);
    EXPECT_EQ(r.m_dSpeedY, 0.0);
    // Jumping leaves the carrier at once, even while still touching it.
    r.m_bJumping = 1;
    r.m_dSpeedY = -6.0;
    EXPECT_EQ(HitBlockCharacters(r, -1), 0);
    EXPECT_EQ(r.m_bStanding, 0);
    EXPECT_EQ(r.m_nCarrierId, -1);
    // A carrier that left play ends nothing badly: no carrier, no move.
    r.m_bStanding = 1;
    r.m_nCarrierId = 99;
    r.m_dSpeedX = 0.0;
    EXPECT_EQ(MoveRiders(r), 0);
    EXPECT_EQ(r.m_dSpeedX, 0.0);
}

TEST_F(Riding, PushedOutSidewaysAndSqueezed) {
    cStageChara& b = Add(10, 600, 470, 32, 32, 1);
    cStageChara& r = Add(1, 580, 470, 16, 24, 0);  // right edge 595
    Place(r, 590, 470);                             // walked 10 dots into it
    EXPECT_EQ(HitBlockCharacters(r, -1), 0);
    EXPECT_EQ(r.m_dX, 584.0);
    EXPECT_EQ(r.m_abContact[CONTACT_RIGHT], 1);
    EXPECT_EQ(r.m_bPushedByBlock, 1);
    // A second block character closes in from the left: squeezed.
    cStageChara& l = Add(11, 560, 470, 32, 32, 1);
    l.SaveHitRects();
    Place(l, 560, 470);
    r.SaveHitRects();
    Place(l, 570, 470);  // its right edge 601 now reaches into the character
    r.ClearContactFlags();
    EXPECT_EQ(HitBlockCharacters(r, -1), 2);
    (void)b;
    // The excluded one is left out: only the left one still overlaps.
    r.ClearContactFlags();
    Place(r, 584, 470);
    EXPECT_EQ(OverlapsOtherBlockCharacter(r, 11), 0);
    EXPECT_EQ(OverlapsOtherBlockCharacter(r, 10), 1);
}

TEST_F(Riding, ACarrierRisingIntoACeilingSqueezesItsRider) {
    cStageChara& p = Add(10, 400, 500, 32, 32, 1);
    p.m_bFlying = 1;
    cStageChara& r = Add(1, 405, 476, 16, 24, 0);
    r.m_bStanding = 1;
    r.m_nCarrierId = 10;
    // The map's ceiling held the rider down this step while the platform rose into it.
    Place(p, 400, 496);
    r.m_abContact[CONTACT_TOP] = 1;
    EXPECT_EQ(HitBlockCharacters(r, -1), 2);
}

TEST_F(Riding, FlyingCharactersByBlockMode) {
    Add(10, 400, 400, 32, 32, 1);
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        cStageChara& f = Add(1 + mode, 425, 400, 16, 16, 0);
        f.m_bFlying = 1;
        f.m_nMoveMode = mode;
        const int result = HitBlockCharacters(f, -1);
        EXPECT_EQ(result, mode == 2 ? 2 : 0);
        // Mode 1 is pushed out to the right of the block character; mode 0 passes.
        EXPECT_EQ(f.m_dX, mode == 1 ? 432.0 : 425.0);
        g_listStageChara.pop_back();
    }
}

// The block-character scans over a roster kept through a frame's sub-steps give what the scans
// over a freshly gathered list give: the same carriers, pushes, contacts and squeezes in the same
// order, while characters appear, die, vanish and are added between the scans.
TEST_F(Riding, AKeptRosterScansAsTheWholeList) {
    struct RUN {
        std::vector<double> vecOut;
        void Note(double v) { vecOut.push_back(v); }
    };
    auto play = [this](uint32_t seed, bool keep) {
        g_listStageChara.clear();
        std::mt19937 rng(seed);
        auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        auto add = [&](int32_t id) {
            // Crowded into a few blocks so that most boxes meet several others.
            cStageChara& c = Add(id, pick(400, 520), pick(400, 500), pick(8, 40), pick(8, 40), pick(0, 2) == 0);
            c.m_bAppeared = pick(0, 5) != 0;
            c.m_bDying = pick(0, 7) == 0;
            c.m_bFlying = pick(0, 3) == 0;
            c.m_nMoveMode = pick(0, 2);
            c.m_dSpeedX = pick(-3, 3);
            c.m_dSpeedY = pick(-3, 3);
            c.m_bStanding = pick(0, 1);
            c.m_nCarrierId = pick(-1, 30);
            Place(c, c.m_dX + pick(-6, 6), c.m_dY + pick(-6, 6));
        };
        for (int32_t id = 0; id < 30; ++id) add(id);
        RUN run;
        std::unique_ptr<cBlockCharaRoster> roster;
        if (keep) roster = std::make_unique<cBlockCharaRoster>();
        int32_t nextId = 30;
        for (int round = 0; round < 6; ++round) {
            for (cStageChara& c : g_listStageChara) {
                const double box[4] = {c.m_dX - 3, c.m_dY - 3, c.m_dRight + 3, c.m_dBottom + 3};
                run.Note(IsSqueezed(c, box));
                run.Note(OverlapsOtherBlockCharacter(c, pick(-1, 30)));
                const cStageChara* below = FindCarrierBelow(c);
                run.Note(below ? below->m_nId : -2);
                run.Note(IsOnCarrier(c));
                MoveRiders(c);
                PushOutOfCharacters(c, pick(0, 1));
                run.Note(HitBlockCharacters(c, pick(-1, 30)));
                for (double v : {c.m_dX, c.m_dY, c.m_dSpeedX, c.m_dSpeedY}) run.Note(v);
                for (int32_t v : c.m_abContact) run.Note(v);
                run.Note(c.m_bStanding);
                run.Note(c.m_nCarrierId);
                run.Note(c.m_bPushedByBlock);
                c.ClearContactFlags();
                c.SaveHitRects();
            }
            // Between the rounds: characters appear and die, one leaves the list, one joins.
            for (cStageChara& c : g_listStageChara)
                if (pick(0, 9) == 0) c.m_bAppeared = !c.m_bAppeared, c.m_bDying = pick(0, 3) == 0;
            auto gone = g_listStageChara.begin();
            std::advance(gone, pick(0, (int)g_listStageChara.size() - 1));
            g_listStageChara.erase(gone);
            BlockCharasChanged();
            add(nextId++);
            BlockCharasChanged();
        }
        return run.vecOut;
    };
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        const std::vector<double> fresh = play(seed, false);
        const std::vector<double> kept = play(seed, true);
        ASSERT_EQ(fresh, kept);
    }
}

}  // namespace
