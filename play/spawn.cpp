#include "play/spawn.h"

#include <algorithm>
#include <vector>

#include "core/checked.h"
#include "core/report.h"
#include "app/scene_manager.h"
#include "flow/ed_shot.h"
#include "play/appearance.h"
#include "play/block_hit.h"
#include "play/block_map.h"
#include "play/chara_def.h"
#include "play/damage.h"
#include "play/hero.h"
#include "play/item.h"
#include "play/item_def.h"
#include "play/play_scene.h"
#include "play/riding.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "records/common_palette.h"
#include "records/stage.h"

namespace {
constexpr int kCell = 32;

// Cells changed by the toggling block summon (mode 2) in this stage.
std::vector<int32_t> s_vecToggledCells;

int SubStepsN() { return g_StageSettings.m_nSubSteps > 0 ? g_StageSettings.m_nSubSteps : 1; }

bool RoomFor(size_t size, const char* what) {
    if (size < kMaxStageObjects) return true;
    static int s_nReported = 0;
    if (!s_nReported++) WriteReport("Too many %s: no more than %u are kept", what, (unsigned)kMaxStageObjects);
    return false;
}

// The far edges after a move of the position (the test for lying inside the map reads them).
void UpdateEdges(cGameObj& obj) {
    obj.m_dRight = obj.m_dX + obj.m_nWidth - 1.0;
    obj.m_dBottom = obj.m_dY + obj.m_nHeight - 1.0;
}

// A life time in tenths of a second as sub-steps.
int32_t LifeSteps(const cEdShot& s) {
    const int64_t v = (int64_t)(int16_t)s.m_wS40 * SubStepsN() * 6;
    return (int32_t)std::clamp<int64_t>(v, 0, kEndlessLife - 1);
}

// The palette lists the summons pick from: the common palette, or the stage's own.
const std::vector<cCharaRec>& CharaList(const cEdShot& s) {
    return s.m_byS56 == 0 ? g_CommonPalette.m_vecCharas : g_LoadedStage.m_vecPaletteCharas;
}
const std::vector<cItemRec>& ItemList(const cEdShot& s) {
    return s.m_byS56 == 0 ? g_CommonPalette.m_vecItems : g_LoadedStage.m_vecPaletteItems;
}
const std::vector<cBlockRec>& BlockList(const cEdShot& s) {
    return s.m_byS56 == 0 ? g_CommonPalette.m_vecBlocks : g_LoadedStage.m_vecPaletteBlocks;
}

// The summon command's flags: clear the new character's appearance conditions; keep the cell
// when a hero, or a stage character, would be caught.
int ClearsConditions(const cEdShot& s) { return s.m_byS58; }
int KeepsForHeroes(const cEdShot& s) { return s.m_byS54; }
int KeepsForCharas(const cEdShot& s) { return s.m_byS55; }

bool OnMap(int cellX, int cellY) {
    int32_t w = 0, h = 0;
    g_StageSettings.BlockMapSize(w, h);
    return cellX >= 0 && cellY >= 0 && cellX < w && cellY < h;
}
}  // namespace

int SpawnStageCharacter(cPlayScene* scene, std::list<cStageChara>& list, int cellX, int cellY, int32_t& counter,
                        const cCharaRec& rec, const cItem* carried) {
    (void)scene;
    int added = 0;
    const int clones = charadef::CloneCount(rec);
    for (int i = 0; i <= clones; ++i) {
        if (!RoomFor(list.size(), "stage characters")) break;
        cStageChara chara;
        const int32_t place[4] = {cellX, cellY, -1, i};
        chara.SetUp(counter, rec, carried, place, (int16_t)i);
        chara.SetBlockPos(cellX, cellY);
        chara.m_dX += rec.OffsetX(i, chara.m_nDir);
        chara.m_dY += rec.OffsetY(i, chara.m_nDir);
        UpdateEdges(chara);
        if (!chara.IsInStageY(1)) continue;
        chara.ClampX();
        chara.ClampY();
        list.push_back(chara);
        BlockCharasChanged();
        list.back().GetGraphicRect();
        ++counter;
        ++added;
    }
    return added;
}

int SpawnStageItem(std::list<cItem>& list, int cellX, int cellY, int32_t& counter, const cItemRec& rec) {
    if (!RoomFor(list.size(), "items")) return 0;
    cItem item;
    item.Init(counter, rec, 0);
    item.SetBlockPos(cellX, cellY);
    item.m_dX += itemdef::OffsetX(rec);
    item.m_dY += itemdef::OffsetY(rec);
    UpdateEdges(item);
    if (!item.IsInStageY(1)) return 0;
    item.ClampX(2);
    item.ClampY(2);
    list.push_back(item);
    list.back().GetGraphicRect();
    ++counter;
    return 1;
}

void SpawnStageObjects(cPlayScene* scene) {
    s_vecToggledCells.clear();
    int32_t spareChara = 0, spareItem = 0;
    int32_t& charaSerial = scene ? scene->m_nCharaSerial : spareChara;
    int32_t& itemSerial = scene ? scene->m_nItemSerial : spareItem;
    const std::vector<cCharaRec>& charas = g_LoadedStage.m_vecCharas;
    const std::vector<cItemRec>& items = g_LoadedStage.m_vecItems;
    std::vector<uint8_t> used(items.size(), 0);
    for (size_t i = 0; i < charas.size(); ++i) {
        const cCharaRec& rec = charas[i];
        if (rec.m_byRole != 1) continue;  // the hero role, or a placement that does not start
        if (!OnMap(rec.m_sPlaceX, rec.m_sPlaceY)) {
            WriteReport("Character placement %u at (%d, %d) lies off the map: skipped", (unsigned)i, rec.m_sPlaceX,
                        rec.m_sPlaceY);
            continue;
        }
        cItem carried;
        const cItem* given = nullptr;
        const int32_t itemIndex = rec.m_nPlaceValue;
        if (itemIndex != -1) {
            if (itemIndex >= 0 && (size_t)itemIndex < items.size()) {
                carried.Init(itemSerial++, items[(size_t)itemIndex], 1);
                used[(size_t)itemIndex] = 1;
                given = &carried;
            } else {
                WriteReport("Character placement %u names item placement %d, which does not exist", (unsigned)i,
                            itemIndex);
            }
        }
        SpawnStageCharacter(scene, g_listStageChara, rec.m_sPlaceX, rec.m_sPlaceY, charaSerial, rec, given);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        if (used[i]) continue;
        const cItemRec& rec = items[i];
        if (!OnMap(rec.m_sPlaceX, rec.m_sPlaceY)) {
            WriteReport("Item placement %u at (%d, %d) lies off the map: skipped", (unsigned)i, rec.m_sPlaceX,
                        rec.m_sPlaceY);
            continue;
        }
        SpawnStageItem(g_listItem, rec.m_sPlaceX, rec.m_sPlaceY, itemSerial, rec);
    }
}

void SpawnCharacterAt(int x, int y, double, double, const cChara& owner, const cEdShot& settings) {
    const std::vector<cCharaRec>& list = CharaList(settings);
    const int index = settings.m_wS57;
    if ((size_t)index >= list.size()) return;
    if (charadef::Summonable(list[(size_t)index]) != 1) return;
    cCharaRec rec = list[(size_t)index];
    // The new character faces as its summoner does.
    rec.m_byC28 = owner.m_nDir > 0 ? 1 : 0;
    if (ClearsConditions(settings)) rec.m_vecConds.clear();
    int32_t spare = 0;
    int32_t& counter = g_lpPlayScene ? g_lpPlayScene->m_nCharaSerial : spare;
    const int clones = charadef::CloneCount(rec);
    for (int i = 0; i <= clones; ++i) {
        if (!RoomFor(g_listStageChara.size(), "stage characters")) return;
        cStageChara chara;
        const int32_t place[4] = {-1, -1, owner.m_nId, i};
        chara.SetUp(counter, rec, nullptr, place, (int16_t)i);
        // The graphic cell's top-left on the formation's point, then the clone offsets.
        chara.m_dX = (double)x + chara.m_nGraphOffX + rec.OffsetX(i, owner.m_nDir);
        chara.m_dY = (double)y + chara.m_nGraphOffY + rec.OffsetY(i, owner.m_nDir);
        UpdateEdges(chara);
        if (!chara.IsInStageY(1)) continue;
        chara.ClampX();
        chara.ClampY();
        g_listStageChara.push_back(chara);
        BlockCharasChanged();
        cStageChara& added = g_listStageChara.back();
        added.GetGraphicRect();
        if (IsPlaceBlocked(added)) {
            g_listStageChara.pop_back();
            BlockCharasChanged();
            continue;
        }
        if (settings.m_byS39) added.m_nLifeTime = LifeSteps(settings);
        if (g_lpPlayScene) g_lpPlayScene->AddToGroup(&added);
        // The summoner keeps the characters it summoned.
        if (cChara* summoner = FindObjectById(owner.m_nId)) summoner->m_vecSummoned.push_back(added.m_nId);
        ++counter;
    }
}

void SpawnItem(int x, int y, double, double, const cEdShot& settings) {
    const std::vector<cItemRec>& list = ItemList(settings);
    const int index = settings.m_wS57;
    if ((size_t)index >= list.size() || !RoomFor(g_listItem.size(), "items")) return;
    int32_t spare = 0;
    int32_t& counter = g_lpPlayScene ? g_lpPlayScene->m_nItemSerial : spare;
    cItem item;
    item.Init(counter, list[(size_t)index], 0);
    item.m_dX = (double)x + item.m_nGraphOffX;
    item.m_dY = (double)y + item.m_nGraphOffY;
    UpdateEdges(item);
    if (!item.IsInStageY(1)) return;
    item.ClampX(2);
    item.ClampY(2);
    if (settings.m_byS39) item.m_nLifeTime = LifeSteps(settings);
    g_listItem.push_back(item);
    g_listItem.back().GetGraphicRect();
    ++counter;
}

void SetBlockAt(int x, int y, const cEdShot& settings) {
    const int px = DotToInt((double)x + 16.5), py = DotToInt((double)y + 16.5);
    const int index = BlockCellIndex(px, py);
    const cBlockDef* cell = BlockCell(index);
    if (!cell || cell->NotReplaceable()) return;
    const std::vector<cBlockRec>& blocks = BlockList(settings);
    const size_t which = settings.m_wS57;
    const int mode = settings.m_byS53;
    // The empty block of definition 0.
    cBlockRec empty;
    empty.m_byB12 = 0;
    empty.m_byB18 = 0;
    const int heroFlag = KeepsForHeroes(settings), charaFlag = KeepsForCharas(settings);
    bool summon = false, erase = false;
    switch (mode) {
    case 0: summon = true; break;
    case 1: erase = true; break;
    case 2:
        // Each cell toggles once per stage.
        if (std::find(s_vecToggledCells.begin(), s_vecToggledCells.end(), index) != s_vecToggledCells.end()) return;
        s_vecToggledCells.push_back(index);
        if (cell->Graphic() != 0 && (cell->m_vecConds.empty() || CheckAppearanceBlock(g_lpPlayScene, *cell)))
            erase = true;
        else
            summon = true;
        break;
    default: return;
    }
    // The map's writer keeps its solidity table in step with the cell.
    auto put = [index](const cBlockRec& record) {
        g_vecBlockMap.Change((size_t)index, [&](cBlockDef& target) {
            static_cast<cBlockRec&>(target) = record;
            target.m_nChanged = 0;
        });
    };
    if (erase) {
        put(empty);
        return;
    }
    if (!summon || which >= blocks.size()) return;
    const cBlockDef previous = *cell;
    put(blocks[which]);
    const int row = py >> 5, column = px >> 5;
    if (FlagCaughtInBlock(index, column, row, heroFlag, charaFlag)) {
        g_vecBlockMap.Change((size_t)index, [&](cBlockDef& target) {
            target = previous;
            target.m_nChanged = 0;
        });
    }
}

int FlagCaughtInBlock(int index, int cellX, int cellY, int heroFlag, int charaFlag) {
    const cBlockDef* cell = BlockCell(index);
    if (!cell) return 0;
    const double left = (double)cellX * kCell, right = (double)(cellX + 1) * kCell - 0.1;
    const double top = (double)cellY * kCell, bottom = (double)(cellY + 1) * kCell - 0.1;
    auto caught = [&](cChara& c) {
        if (!cell->IsSolidFor(c.m_nBlockSide)) return false;
        return c.m_dX <= right && c.m_dRight >= left && c.m_dY <= bottom && c.m_dBottom >= top;
    };
    std::vector<cChara*> found;
    for (cHero& hero : g_vecHero) {
        if (hero.m_bDying || hero.m_bDead || !caught(hero)) continue;
        if (heroFlag) return 1;
        found.push_back(&hero);
    }
    for (cStageChara& chara : g_listStageChara) {
        if (!chara.m_bAppeared || chara.m_bDying || chara.m_bDead || !caught(chara)) continue;
        if (charaFlag) return 1;
        found.push_back(&chara);
    }
    // The block stays: those it caught are marked for the crush checks.
    for (cChara* c : found) c->m_nCaught = 2;
    return 0;
}
