// The base of every object that lives in a stage: characters, items and shots.
// Only the words the play frame reads are here so far; the movement, clamping, scaling and
// aiming of the object base follow with the game object Parts.
#pragma once

#include <cstdint>

// Life counters and times of this value never count down.
constexpr int32_t kEndlessLife = 2147483647;

class cGameObj {
public:
    cGameObj() = default;
    virtual ~cGameObj() = default;

    int32_t m_nId = 0;                 // the object's identifier
    int32_t m_nLifeTime = kEndlessLife; // sub-steps left; kEndlessLife never counts down
    int32_t m_bAppeared = 0;           // set by the appearance pass
    int32_t m_bAlwaysActive = 0;       // never taken for lying beyond its activation range
};
