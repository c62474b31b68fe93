// Item touches: by touch, from a block, and handed over.
#include "play/item_touch.h"

#include <algorithm>

#include "app/scene_manager.h"
#include "play/block_map.h"
#include "play/damage.h"
#include "play/item_def.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_objects.h"
#include "records/palette_lists.h"
#include "records/stage.h"

namespace {

constexpr int kTrigItem = 8;  // "アイテムに当たった時"

cHero* AsHero(cChara* chara) {
    for (cHero& hero : g_vecHero)
        if (&hero == chara) return &hero;
    return nullptr;
}

bool Touches(const HITRANGE& r, const cItem& item) {
    return r.dLeft <= item.m_dRight && r.dRight >= item.m_dX && r.dTop <= item.m_dBottom && r.dBottom >= item.m_dY;
}

// A temporary item of a palette definition handed to the hero; the result of its commands.
int GiveDefinedItem(cPlayScene* scene, int kind, int index) {
    const cItemRec* def = PaletteRecordFor(kind, index);
    if (!def || g_vecHero.empty()) return 0;
    cItem item;
    item.Init(0, *def, 1);
    return ItemTouchEffect(scene, &item, &g_vecHero.front());
}

}  // namespace

int ItemTouchEffect(cPlayScene*, cItem* item, cChara* chara) {
    if (!item || !chara) return 0;
    if (itemdef::PickUpKind(item->m_Def) == itemdef::PICKUP_NEVER || !item->m_bAppeared) return 0;
    cHero* hero = AsHero(chara);
    if (!hero) return 0;
    if (itemdef::TakeEffect(item->m_Def))
        hero->SpawnEffect((int8_t)itemdef::GraphicKind(item->m_Def), (int16_t)itemdef::Graphic(item->m_Def),
                          (int16_t)itemdef::TakeEffectFrame(item->m_Def));
    PlayUserSe(itemdef::Sound(item->m_Def));
    return hero->RunItemCommands(item->m_Def.m_vecCmds);
}

int HitHeroItems(cPlayScene* scene, cHero& hero) {
    for (auto it = g_listItem.begin(); it != g_listItem.end();) {
        cItem& item = *it;
        const int kind = itemdef::PickUpKind(item.m_Def);
        if (!item.m_bAppeared || item.m_bPicked || kind == itemdef::PICKUP_NEVER) {
            ++it;
            continue;
        }
        if (!Touches(hero.m_HitThird, item)) {
            if (kind == itemdef::PICKUP_REPEAT) hero.RemovePending(item.m_nId);
            ++it;
            continue;
        }
        hero.RunFlowsOfTrigger(kTrigItem);
        if (kind == itemdef::PICKUP_REPEAT) {
            if (!hero.HasPending(item.m_nId)) {
                ++it;
                continue;
            }
            hero.AddPending(item.m_nId);
        }
        // The item stays in place while its commands run (they may look at the list); a
        // once-only item leaves afterwards, also when its commands end the game.
        const int result = ItemTouchEffect(scene, &item, &hero);
        if (kind == itemdef::PICKUP_ONCE)
            it = g_listItem.erase(it);
        else
            ++it;
        if (result != 0) return result;
    }
    return 0;
}

int BlockItemTouch(cHero& hero) {
    if (hero.m_bFlying) return 0;
    const int n = std::max(1, (int)g_StageSettings.m_nSubSteps);
    bool applied = false;
    if (hero.m_nBlockUnder >= 0 && hero.m_nBlockItemCool == 0 &&
        BlockCellSolidity(hero.m_nBlockUnder, hero.m_nBlockSide) != 0) {
        if (const cBlockDef* cell = BlockCell(hero.m_nBlockUnder); cell && PaletteRecordFor(cell->m_byItemKind, cell->m_wItemIndex)) {
            applied = true;
            if (const int r = GiveDefinedItem(g_lpPlayScene, cell->m_byItemKind, cell->m_wItemIndex)) return r;
            hero.m_nBlockItemCool = n * 60;
        }
    }
    if (hero.m_nBlockItemCool > 0) {
        if (hero.m_bFalling) {
            hero.m_nBlockItemCool = 0;
        } else {
            --hero.m_nBlockItemCool;
            if (hero.m_nLastFloor != hero.m_nPrevFloor && !applied) {
                hero.m_nBlockItemCool = 0;
                if (hero.m_dSpeedY >= 0.0) hero.m_dSpeedY += 1.0;
            }
        }
    }
    hero.m_nPrevFloor = hero.m_nLastFloor;
    return 0;
}

int GiveShotItem(cPlayScene* scene, cShot& shot) {
    cEdShot& s = shot.m_Settings;
    if (s.ItemPalette() == 0) return 0;
    return GiveDefinedItem(scene, s.ItemPalette(), s.ItemIndex());
}
