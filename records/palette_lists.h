// Palette references: the definition lists that template kinds, block item references and flow
// commands point into (the common palette and the stage palette of the stage being loaded).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class cBlockRec;
class cCharaRec;
class cItemRec;

enum DEFCLASS { DEF_BLOCK = 0, DEF_CHARA = 1, DEF_ITEM = 2 };

// Palette choices of template kinds and item references.
constexpr int kPaletteNone = 0;
constexpr int kPaletteCommon = 1;
constexpr int kPaletteStage = 2;

// The number of definitions of a class in palette 1 (the common palette) or 2 (the stage
// palette of g_LoadedStage); 0 for any other palette number.
size_t PaletteListSize(int palette, DEFCLASS cls);

// The item definition of the common palette (kind 1) or the stage palette of g_LoadedStage
// (kind 2) at an index; null for kind 0, another kind or an index past the end.
cItemRec* PaletteRecordFor(int kind, int index);

// A template reference of kind 1 or 2 whose index lies outside the selected list becomes
// kind 0, index 0; other kinds are left alone (they act as none).
void ValidateTemplateRef(uint8_t& kind, uint16_t& index, DEFCLASS cls);

// The definition lists of a palette (1 common, 2 the stage palette of g_LoadedStage); null for
// any other palette number.
std::vector<cBlockRec>* PaletteBlocks(int palette);
std::vector<cCharaRec>* PaletteCharas(int palette);
std::vector<cItemRec>* PaletteItems(int palette);

// Makes a template flag vector exactly `count` entries, moves the entries from `group` up one
// place (the last is lost) and sets entry `group`: a field group that older files lacked is
// taken from the template.
template <class Flags>
void InsertTemplateGroup(Flags& flags, size_t count, size_t group) {
    flags.resize(count, 0);
    if (group >= count) return;
    for (size_t i = count - 1; i > group; --i) flags[i] = flags[i - 1];
    flags[group] = 1;
}
// A 0-119 graphic number that a file older than 219 stored one lower.
uint16_t RaiseGraphic119(uint16_t graphic);
