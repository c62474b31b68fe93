// Ready-to-run frame lists: what the animation sequencer steps through and what the project
// database precomputes for every animation and effect.
#pragma once

#include <cstdint>
#include <vector>

// One frame: a cell number (0 or more) or, in the last entry of a list, a control code:
// -1 hold the last frame, -2 back to frame 0, -3 jump to the animation named by the duration
// field, -4 the animation has ended.
struct AnimeFrame {
    int32_t nValue;
    int32_t nDuration;  // frames
    uint8_t bLocked;    // the animation may not be switched away from while this frame shows
};

constexpr int32_t kAnimeHold = -1;
constexpr int32_t kAnimeLoop = -2;
constexpr int32_t kAnimeJump = -3;
constexpr int32_t kAnimeEnd = -4;

typedef std::vector<AnimeFrame> ANIMEFRAMELIST;
// One frame list per record of a table, same index.
typedef std::vector<ANIMEFRAMELIST> ANIMEFRAMETABLE;
