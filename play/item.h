// An item lying on the stage, or carried by a stage character (a given item), with its own copy
// of its definition. Items are kept by value in the item list and in every stage character.
#pragma once

#include <cstdint>

#include "play/game_obj.h"
#include "records/item_rec.h"

struct DDSURFACEDATA;

class cItem : public cGameObj {
public:
    // An empty item: the definition with the record defaults, scale 1, not given.
    cItem();
    cItem(const cItem& other) = default;
    cItem& operator=(const cItem& other) = default;
    ~cItem() override = default;

    // Sets the item up from its definition: a copy of the definition (scale 0 taken as 1), the
    // size box of the stage's item size centred in the 32 x 32 cell, flying, animation 0 of the
    // item animation; not given: the definition's scale; given: appeared at once and scale 1.
    // The loop commands of the instant commands are unrolled.
    void Init(int id, const cItemRec& def, int given);
    // Grows upward from the foot of the cell: y moves by (base height + base graphic offset y)
    // per step of scale.
    void AdjustForScale(int newScale, int oldScale) override;
    // The position from block coordinates of the stage (column, row), clamped to the map.
    void SetBlockPos(int column, int row);
    // The cell of the item's graphic for its animation frame (advanced unless frozen) at its
    // screen rectangle, stretched to its graphic size when its scale is above 1
    // (play/item_draw.cpp).
    void Draw(DDSURFACEDATA* target, int frozen);

    cItemRec m_Def;           // the item's own copy of its definition
    int32_t m_bGiven = 0;     // exists only to be handed over (carried or made by a command)
    int32_t m_bScrollSync = 0;
    uint8_t m_byLayer = 0;    // draw layer 0-7
    int32_t m_bShown = 0;     // drawn (set when it appears)
    int32_t m_bPicked = 0;    // taken by a character
    int32_t m_bOnScreen = 0;  // set by the appearance pass
};
