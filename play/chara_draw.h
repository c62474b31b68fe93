// How a character is drawn: the cell of its graphic for the frame its animations show, through
// the renderer of its running character effect, with its mark, and the hero's range display
// and view mask.
#pragma once

#include "play/chara_effect.h"

class cChara;

// Asset slots: the eight character sheets (sheet k at 4 + 2k, its view mirrored cell by cell at
// 5 + 2k; 15 characters a sheet, one row of 16 frames each) and the mark sheet (columns of 15).
constexpr int kSlotCharaSheet = 4;
constexpr int kCharaSheetCount = 8;
constexpr int kCharasPerSheet = 15;
constexpr int kSlotMarkSheet = 43;

// Graphic kinds of a character's definition that it is drawn from.
enum {
    CHARAGRAPH_SHEET = 1,      // the character sheets, graphic n = sheet n / 15, row n mod 15
    CHARAGRAPH_DEDICATED = 4,  // a dedicated bitmap of the database, graphic n = its record
};

// The cell of cell index `cell` (frame plus form offsets) in the character's graphic, facing
// its direction; false when the graphic has no sheet (nothing is drawn).
bool PrepareCharaCell(const cChara& chara, int cell, CHARACELL& out);
