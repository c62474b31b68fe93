// The appearance pass: which objects are in play and on screen, and which stage characters act
// this frame. Run once per sub-step before the objects move and by the stage set-up.
#pragma once

#include <cstddef>

class cBlockDef;
class cChara;
class cItem;
class cPlayScene;

// Entries of the appearance-group byte vector: one per 16-bit group number.
constexpr size_t kAppearGroupSlots = 65536;

void CheckAppearances(cPlayScene* scene);

// The appearance conditions of a stage character (tested for itself), an item and a block cell
// (tested for the first hero): an empty list holds; a list that held once holds on with its
// once-held switch; otherwise the list by its mode, and the appeared flag is set when it holds.
int CheckAppearanceChara(cPlayScene* scene, cChara& chara);
int CheckAppearanceItem(cPlayScene* scene, cItem& item);
int CheckAppearanceBlock(cPlayScene* scene, const cBlockDef& cell);
