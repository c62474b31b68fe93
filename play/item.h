// An item lying on the stage.
#pragma once

#include <cstdint>

#include "play/game_obj.h"

class cItem : public cGameObj {
public:
    uint8_t m_byLayer = 0;   // draw layer 0-7
    int32_t m_bShown = 0;    // drawn (set when it appears)
    int32_t m_bPicked = 0;   // taken by a character
    int32_t m_bOnScreen = 0; // set by the appearance pass
};
