// The animation sequencer: steps through frame lists that end in a control entry (hold, loop,
// jump, or a value handed back as it is, -4 meaning "finished").
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/types.h"

// One entry of a frame list: a frame (value >= 0) or, with a negative value, the control entry.
// The same type holds the frame lists the project database precomputes (records/anime_frame.h).
struct AnimeFrame {
    int32_t nValue;
    int32_t nDuration;  // ticks; the target animation for the jump code -3
    uint8_t bLocked;    // the animation may not be switched away from while this frame shows
};
static_assert(sizeof(AnimeFrame) == 12, "frame tables are laid out as 12-byte entries");

#define ANIME_HOLD (-1)
#define ANIME_LOOP (-2)
#define ANIME_JUMP (-3)
#define ANIME_END (-4)

class cAnime {
public:
    cAnime();
    // Rebuilds the animations from a null-terminated array of frame lists; a null table
    // changes nothing.
    void SetTable(const AnimeFrame* const* table);
    // Starts animation `no` at its first frame; refused (0) while the current frame is locked
    // and force is 0.
    DWORD Set(int no, int force);
    // As Set, but the current animation is left running (1).
    DWORD Change(int no, int force);
    // One tick; the value of the frame to show (0 with no animations).
    int Update();
    int GetFrame();

    std::vector<std::vector<AnimeFrame>> m_vecAnime;
    int m_nNo;
    int m_nFrame;
    int m_nTick;
};
