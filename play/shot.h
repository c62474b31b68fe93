// A shot or a sword in the play scene's shot list.
#pragma once

#include <cstdint>

#include "play/game_obj.h"

class cShot : public cGameObj {
public:
    // ---- operations of the shot Parts (not built yet: see play/frame_seams.cpp) ----
    // One sub-step of the shot's own life; non-zero: the shot ends.
    int Update();
    void AddGravity();
    void AccelStepY();
    void AccelStepX();
    // Non-zero when the shot ends on a block.
    int HitsBlocks();

    int32_t m_nGroup = 0;        // shot group 0-7
    int32_t m_bFarErase = 0;     // erased when it leaves its range
    int32_t m_bFollowOwner = 0;  // follows its owner (the second shot range applies)
    uint8_t m_byLayer = 0;       // draw layer 0-7
};
