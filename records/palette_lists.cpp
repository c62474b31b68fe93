// Palette lookups: the common palette and the stage palette of the stage being loaded.
#include "records/palette_lists.h"

#include <algorithm>

#include "records/common_palette.h"
#include "records/stage.h"

std::vector<cBlockRec>* PaletteBlocks(int palette) {
    if (palette == kPaletteCommon) return &g_CommonPalette.m_vecBlocks;
    if (palette == kPaletteStage) return &g_LoadedStage.m_vecPaletteBlocks;
    return nullptr;
}

std::vector<cCharaRec>* PaletteCharas(int palette) {
    if (palette == kPaletteCommon) return &g_CommonPalette.m_vecCharas;
    if (palette == kPaletteStage) return &g_LoadedStage.m_vecPaletteCharas;
    return nullptr;
}

std::vector<cItemRec>* PaletteItems(int palette) {
    if (palette == kPaletteCommon) return &g_CommonPalette.m_vecItems;
    if (palette == kPaletteStage) return &g_LoadedStage.m_vecPaletteItems;
    return nullptr;
}

size_t PaletteListSize(int palette, DEFCLASS cls) {
    switch (cls) {
        case DEF_BLOCK: {
            auto* l = PaletteBlocks(palette);
            return l ? l->size() : 0;
        }
        case DEF_CHARA: {
            auto* l = PaletteCharas(palette);
            return l ? l->size() : 0;
        }
        case DEF_ITEM: {
            auto* l = PaletteItems(palette);
            return l ? l->size() : 0;
        }
    }
    return 0;
}

cItemRec* PaletteRecordFor(int kind, int index) {
    std::vector<cItemRec>* list = PaletteItems(kind);
    if (!list || index < 0 || (size_t)index >= list->size()) return nullptr;
    return &(*list)[(size_t)index];
}

void ValidateTemplateRef(uint8_t& kind, uint16_t& index, DEFCLASS cls) {
    if (kind != kPaletteCommon && kind != kPaletteStage) return;
    if (index >= PaletteListSize(kind, cls)) {
        kind = kPaletteNone;
        index = 0;
    }
}

uint16_t RaiseGraphic119(uint16_t graphic) { return (uint16_t)std::min((int)graphic + 1, 119); }
