// The hero: the character the player moves.
#pragma once

#include "play/chara.h"

class cHero : public cChara {
public:
    // Per sub-step: the link to a carrying character and the current target are let go
    // (not built yet: see play/frame_seams.cpp).
    void ClearLink();
    void ClearTarget();
};
