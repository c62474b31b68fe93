// Items: set-up from the definition, scaling from the foot of the cell and block positions.
#include "play/item.h"

#include <algorithm>

#include "flow/loop_unroll.h"
#include "media/anime.h"
#include "play/item_def.h"
#include "play/stage_words.h"
#include "records/stage.h"

namespace {
constexpr int kCell = 32;
// The item animation: the four frames of the item's row on its sheet, in a loop.
const AnimeFrame kItemFrames[] = {{0, 8, 0}, {1, 8, 0}, {2, 8, 0}, {3, 8, 0}, {ANIME_LOOP, 0, 0}};
const AnimeFrame* const kItemAnimeTable[] = {kItemFrames, nullptr};
}  // namespace

cItem::cItem() { m_Def.Clear(); }

void cItem::Init(int id, const cItemRec& def, int given) {
    m_Def = def;
    if (itemdef::ScaleField(m_Def) == 0) itemdef::ScaleField(m_Def) = 1;
    // Sizes from the file are held to the 32-dot cell the item is placed in.
    const int w = std::clamp(stageword::ItemSize(g_StageSettings, 0), 1, kCell);
    const int h = std::clamp(stageword::ItemSize(g_StageSettings, 1), 1, kCell);
    cGameObj::Init(id, 0, 0, 0, itemdef::KindValue(m_Def), kItemAnimeTable, 0, 16 - (w >> 1), 16 - (h >> 1), w, h,
                   kCell, kCell, 0, 1, 0);
    m_bScrollSync = 0;
    m_bGiven = given;
    if (!given)
        SetScale(itemdef::Scale(m_Def), 1);
    else
        m_bAppeared = 1;
    ExpandLoopCommands(m_Def.m_vecCmds);
}

void cItem::AdjustForScale(int newScale, int oldScale) {
    if (newScale == oldScale) return;
    m_dY -= ((double)m_nBaseHeight + m_nBaseGraphOffY) * ((double)newScale - (double)oldScale);
    ClampY(2);
}

void cItem::SetBlockPos(int column, int row) {
    const int scale = m_bGiven ? 1 : itemdef::Scale(m_Def);
    m_dX = (double)(((int64_t)StageOriginBlocks(0) + column) * kCell) + m_nBaseGraphOffX + 0.5;
    m_dY = (double)m_nBaseGraphOffY + (double)(((int64_t)StageOriginBlocks(1) + row) * kCell);
    // The centre kept for the scale, as scaling up from 1 does.
    m_dX -= (double)(m_nBaseWidth >> 1) * (double)(scale - 1);
    AdjustForScale(scale, 1);
    ClampX(2);
    ClampY(2);
}
