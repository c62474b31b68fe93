// The aim operations of game objects and the character searches: movement toward a point, along
// one axis, arrival with and without the snap; the nearest and the first character through the
// filters; the flow animations of a flow removed, paused and resumed.
#include <gtest/gtest.h>

#include "app/scene_manager.h"
#include "play/chara_search.h"
#include "play/block_map.h"
#include "play/game_obj.h"
#include "play/play_scene.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "records/stage.h"

namespace {

class Aim : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(0, 14, 0, 0);
        scene.m_ScrollX.m_dPos = 320.0;
        scene.m_ScrollY.m_dPos = 320.0;
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
    }
    void TearDown() override {
        g_listStageChara.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    // A stage character whose 32 x 32 graphic has its top-left at screen (x, y).
    cStageChara& At(int x, int y, int id) {
        g_listStageChara.emplace_back();
        cStageChara& c = g_listStageChara.back();
        cCharaRec rec;
        rec.m_byC27 = 1;
        const int32_t place[4] = {0, 0, -1, 0};
        c.SetUp(id, rec, nullptr, place, 0);
        c.m_dX = 320.0 + x + c.m_nGraphOffX;
        c.m_dY = 320.0 + y + c.m_nGraphOffY;
        c.ClampX();
        c.ClampY();
        c.GetGraphicRect();
        c.m_bAppeared = 1;
        c.m_bInRange = 1;
        return c;
    }
    cPlayScene scene;
};

TEST_F(Aim, TowardAPointAndAlongOneAxis) {
    cStageChara& c = At(100, 100, 1);  // centre (116, 116) on screen
    struct {
        double toX, toY, speed;
        double vx, vy;
        int dir, arrived;
    } cases[] = {
        {216, 116, 2.0, 2.0, 0.0, 2, 0},        // to the right
        {116, 16, 2.0, 0.0, -2.0, 0, 0},        // straight up
        {119, 120, 5.0, 3.0, 4.0, 2, 1},        // within one step: arrived
        {16, 116, 3.0, -3.0, 0.0, 1, 0},        // to the left
        {116, 116, 2.0, 0.0, 0.0, 0, 1},        // on the point
    };
    for (const auto& k : cases) {
        AIMSTATE aim = {};
        aim.dSpeed = k.speed;
        aim.bNoEscape = 1;
        EXPECT_EQ(c.AimAtTarget(aim, nullptr, k.toX, k.toY), k.arrived);
        EXPECT_NEAR(aim.dSpeedX, k.vx, 1e-9);
        EXPECT_NEAR(aim.dSpeedY, k.vy, 1e-9);
        EXPECT_EQ(aim.nDir, k.dir);
    }
    // Along x: from >= to goes left (direction 1); along y the direction is 0.
    AIMSTATE aim = {};
    aim.dSpeed = 4.0;
    EXPECT_EQ(c.AimFromPoint(aim, nullptr, 50.0), 0);
    EXPECT_DOUBLE_EQ(aim.dSpeedX, -4.0);
    EXPECT_EQ(aim.nDir, 1);
    EXPECT_EQ(c.AimFromPoint(aim, nullptr, 118.0), 1);
    EXPECT_DOUBLE_EQ(aim.dSpeedX, 4.0);
    EXPECT_EQ(aim.nDir, 2);
    EXPECT_EQ(c.AimFromAngle(aim, nullptr, 200.0), 0);
    EXPECT_DOUBLE_EQ(aim.dSpeedY, 4.0);
    EXPECT_DOUBLE_EQ(aim.dSpeedX, 0.0);
    EXPECT_EQ(aim.nDir, 0);
}

TEST_F(Aim, ArrivalWithTheSnapPutsTheObjectOnThePoint) {
    // With the view at the map's corner screen and map positions agree.
    scene.m_ScrollX.m_dPos = 0.0;
    scene.m_ScrollY.m_dPos = 0.0;
    cStageChara& c = At(400, 400, 1);
    c.m_abContact[CONTACT_LEFT] = 1;
    AIMSTATE aim = {};
    aim.dSpeed = 5.0;
    aim.bNoEscape = 1;
    aim.bSnap = 1;
    // Points are screen positions of the graphic's centre; the character moves onto them.
    c.m_dX -= 320.0;
    c.m_dY -= 320.0;
    c.ClampX();
    c.ClampY();
    c.GetGraphicRect();
    ASSERT_EQ(c.AimAtTarget(aim, nullptr, 419.0, 413.0), 1);
    c.GetGraphicRect();
    EXPECT_EQ(c.m_nRectLeft + 16, 419);
    EXPECT_EQ(c.m_nRectTop + 16, 413);
    EXPECT_EQ(c.m_abContact[CONTACT_LEFT], 0);
    // Without the snap the object stays.
    aim.bSnap = 0;
    const double x = c.m_dX;
    ASSERT_EQ(c.AimFromPoint(aim, nullptr, 420.0), 1);
    EXPECT_DOUBLE_EQ(c.m_dX, x);
}

TEST_F(Aim, NearestAndFirstCharacterThroughTheFilters) {
    cStageChara& a = At(0, 0, 1);      // centre (16, 16)
    cStageChara& b = At(200, 0, 2);    // centre (216, 16)
    cStageChara& c = At(200, 300, 3);  // centre (216, 316)
    b.m_Def.m_byC42 = 5;
    c.m_Def.m_byC42 = 5;
    c.m_vecVar.assign(4, 0);
    c.m_vecVar[2] = 30;
    a.m_Def.m_byC30 = 1;
    std::list<cChara*> list = {&a, &b, &c};
    const CHARASEARCH none = {};
    struct {
        const char* what;
        CHARASEARCH f;
        double x, y;
        int nearest, first;
    } cases[] = {
        {"no filter", none, 210, 20, 2, 1},
        {"no filter near a", none, 0, 0, 1, 1},
        {"tag 5", {1, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 2, 2},
        {"variable 2 >= 20", {0, 0, 1, 2, 20, 2, 0, 0, 0, 0, 0}, 0, 0, 3, 3},
        {"excluded id 2", {0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 0}, 210, 20, 1, 1},
        {"light kind left out", {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}, 0, 0, 2, 2},
        {"nothing passes", {1, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, -1, -1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        cChara* n = FindNearestCharacter(k.x, k.y, list, SEARCH_ANYWHERE, k.f);
        cChara* f = FindFirstCharacter(list, k.f);
        EXPECT_EQ(n ? n->m_nId : -1, k.nearest);
        EXPECT_EQ(f ? f->m_nId : -1, k.first);
    }
    // Dead, not appeared or inactive characters are never found; an empty list finds none.
    b.m_bDead = 1;
    c.m_bAppeared = 0;
    a.m_bInRange = 0;
    EXPECT_EQ(FindNearestCharacter(210, 20, list, SEARCH_ANYWHERE, none), nullptr);
    EXPECT_EQ(FindFirstCharacter(list, none), nullptr);
    a.m_bAlwaysActive = 1;
    EXPECT_EQ(FindNearestCharacter(210, 20, list, SEARCH_ANYWHERE, none), &a);
    EXPECT_EQ(FindNearestCharacter(0, 0, {}, SEARCH_ANYWHERE, none), nullptr);
    // On screen only: a character beyond the view is passed over.
    b.m_bDead = 0;
    b.m_dX = 320.0 + 900.0;
    b.ClampX();
    b.GetGraphicRect();
    EXPECT_EQ(FindNearestCharacter(2000, 20, list, SEARCH_ON_SCREEN, none), &a);
    EXPECT_EQ(FindNearestCharacter(2000, 20, list, SEARCH_ANYWHERE, none), &b);
    // From an object's anchor: b just below the view is nearest to c, but not on screen.
    b.m_dX = 320.0 + 200.0 + b.m_nGraphOffX;
    b.m_dY = 320.0 + 500.0 + b.m_nGraphOffY;
    b.ClampX();
    b.ClampY();
    b.GetGraphicRect();
    g_StageSettings.m_nValue95 = 0;
    EXPECT_EQ(c.FindNearestFromAnchor(list, none), &b);
    g_StageSettings.m_nValue95 = 1;
    EXPECT_EQ(c.FindNearestFromAnchor(list, none), &a);
}

TEST_F(Aim, BlockCornersAndScreenRectangles) {
    cStageChara& c = At(100, 100, 1);
    EXPECT_FALSE(c.HitsBlockCorners());
    // One solid block at stage cell (3, 3): map cell (13, 13), dots 416 .. 447.
    cBlockRec block;
    block.m_wGraphic = 1;
    block.m_byB12 = 1;
    block.m_sPlaceX = block.m_sPlaceY = 3;
    g_LoadedStage.m_vecBlocks.assign(1, block);
    BuildBlockMap();
    EXPECT_TRUE(c.HitsBlockCorners());  // its box 428 .. 443 lies in that cell
    EXPECT_FALSE(c.HitsBlockAt(300.0, 300.0));
    EXPECT_TRUE(c.HitsBlockAt(405.0, 440.0));  // only its right/bottom corner reaches the block
    EXPECT_FALSE(c.HitsBlockAt(448.0, 448.0));
    g_LoadedStage = cStage();
    g_vecBlockMap.clear();
    double x = 0, y = 0;
    c.GetAnchor(x, y);
    EXPECT_DOUBLE_EQ(x, 116.0);
    EXPECT_DOUBLE_EQ(y, 116.0);
    // The rounding switches take the position and the scroll position apart as whole dots.
    scene.m_ScrollX.m_dPos = 320.7;
    c.m_dX = 500.6;
    c.CalcScreenRect();
    EXPECT_EQ(c.m_nRectLeft, DotToInt(500.6 - 320.7 - c.m_nGraphOffX));
    scene.m_abRoundRect[0] = 1;
    c.CalcScreenRect();
    EXPECT_EQ(c.m_nRectLeft, 500 - 320 - c.m_nGraphOffX);
    EXPECT_EQ(c.m_nRectRight, c.m_nRectLeft + 31);
}

TEST_F(Aim, FlowAnimationsOfAFlowAreRemovedPausedAndResumed) {
    cStageChara& c = At(0, 0, 1);
    auto add = [&c](int flow, int count, int count2) {
        FLOWANIME a;
        a.nCount = count;
        a.nCount2 = count2;
        a.nFlowId = flow;
        a.bPaused = 0;
        c.m_listFlowAnime.push_back(a);
    };
    add(1, 5, 0);
    add(2, 5, 0);
    add(1, 0, 0);  // nothing left to show: pausing removes it
    add(1, 3, 1);
    c.PauseFlowAnimes(1);
    ASSERT_EQ(c.m_listFlowAnime.size(), 3u);
    for (const FLOWANIME& a : c.m_listFlowAnime) EXPECT_EQ(a.bPaused, a.nFlowId == 1 ? 1 : 0);
    c.ResumeFlowAnimes(1);
    for (const FLOWANIME& a : c.m_listFlowAnime) EXPECT_EQ(a.bPaused, 0);
    c.RemoveFlowAnimes(1);
    ASSERT_EQ(c.m_listFlowAnime.size(), 1u);
    EXPECT_EQ(c.m_listFlowAnime.front().nFlowId, 2);
    // Copies take the list along.
    cStageChara copy(c);
    EXPECT_EQ(copy.m_listFlowAnime.size(), 1u);
}

}  // namespace
