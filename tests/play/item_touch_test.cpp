// Item touches: a once-only item leaves the list on its first touch (also when its commands end
// the game), a repeatable item acts once per touch, an item that cannot be taken or has not
// appeared is left alone, a flying hero gets no block items, and the item a shot carries is
// looked up in its palette.
#include <gtest/gtest.h>

#include "app/scene_manager.h"
#include "play/hero.h"
#include "play/item_def.h"
#include "play/item_touch.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/stage.h"

namespace {

class ItemTouch : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);
        g_lpPlayScene = &scene;
        g_vecHero.assign(1, cHero());
        g_listItem.clear();
        cHero& h = g_vecHero[0];
        h.m_nId = kHeroId;
        h.m_nHP = 10;
        h.m_HitThird.dLeft = 0, h.m_HitThird.dTop = 0, h.m_HitThird.dRight = 31, h.m_HitThird.dBottom = 31;
    }
    void TearDown() override {
        g_listItem.clear();
        g_vecHero.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    cItem& Item(int32_t id, int kind, double x = 10) {
        g_listItem.emplace_back();
        cItem& it = g_listItem.back();
        it.m_nId = id;
        it.m_bAppeared = 1;
        it.m_Def.m_byI11 = (uint8_t)kind;
        it.m_dX = x, it.m_dY = 10, it.m_dRight = x + 15, it.m_dBottom = 25;
        return it;
    }
    cHero& Hero() { return g_vecHero[0]; }
    cPlayScene scene;
};

TEST_F(ItemTouch, OnceRepeatableAndNever) {
    Item(1, itemdef::PICKUP_ONCE);
    Item(2, itemdef::PICKUP_REPEAT);
    Item(3, itemdef::PICKUP_NEVER);
    cItem& hidden = Item(4, itemdef::PICKUP_ONCE);
    hidden.m_bAppeared = 0;
    EXPECT_EQ(HitHeroItems(&scene, Hero()), 0);
    ASSERT_EQ(g_listItem.size(), 3u);  // the once-only item is gone
    EXPECT_EQ(g_listItem.front().m_nId, 2);
    EXPECT_EQ(Hero().HasPending(2), 0);  // the repeatable one waits for the hero to let go
    EXPECT_EQ(HitHeroItems(&scene, Hero()), 0);
    EXPECT_EQ(Hero().HasPending(2), 0);
    // Let go, then touched again: it acts again.
    g_listItem.front().m_dX = 500, g_listItem.front().m_dRight = 515;
    HitHeroItems(&scene, Hero());
    EXPECT_EQ(Hero().HasPending(2), 1);
    g_listItem.front().m_dX = 10, g_listItem.front().m_dRight = 25;
    HitHeroItems(&scene, Hero());
    EXPECT_EQ(Hero().HasPending(2), 0);
}

TEST_F(ItemTouch, CommandsThatEndTheGameStillTakeTheItem) {
    Item(1, itemdef::PICKUP_ONCE);
    Item(2, itemdef::PICKUP_ONCE);
    Hero().m_nHP = 0;  // the item's commands report the hero out of hit points
    EXPECT_EQ(HitHeroItems(&scene, Hero()), 2);
    ASSERT_EQ(g_listItem.size(), 1u);
    EXPECT_EQ(g_listItem.front().m_nId, 2);
    // ItemTouchEffect: nothing for no item, a taker that is no hero, an item never taken.
    EXPECT_EQ(ItemTouchEffect(&scene, nullptr, &Hero()), 0);
    cChara other;
    EXPECT_EQ(ItemTouchEffect(&scene, &g_listItem.front(), &other), 0);
    g_listItem.front().m_Def.m_byI11 = itemdef::PICKUP_NEVER;
    EXPECT_EQ(ItemTouchEffect(&scene, &g_listItem.front(), &Hero()), 0);
}

TEST_F(ItemTouch, NoBlockItemsWhileFlyingAndNoShotItemWithoutAPalette) {
    Hero().m_bFlying = 1;
    Hero().m_nBlockItemCool = 5;
    EXPECT_EQ(BlockItemTouch(Hero()), 0);
    EXPECT_EQ(Hero().m_nBlockItemCool, 5);
    // Walking, nothing under the hero: the cool-down runs out; falling ends it at once.
    Hero().m_bFlying = 0;
    EXPECT_EQ(BlockItemTouch(Hero()), 0);
    EXPECT_EQ(Hero().m_nBlockItemCool, 4);
    Hero().m_bFalling = 1;
    BlockItemTouch(Hero());
    EXPECT_EQ(Hero().m_nBlockItemCool, 0);
    cShot shot;
    EXPECT_EQ(GiveShotItem(&scene, shot), 0);
    shot.m_Settings.ItemPalette() = 1;
    shot.m_Settings.ItemIndex() = 60000;  // no such definition: skipped without a message
    EXPECT_EQ(GiveShotItem(&scene, shot), 0);
}

}  // namespace
