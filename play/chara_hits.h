// Character hits: once per sub-step, shots and swords against characters, characters against
// characters by body contact, and shots against shots, by the play scene's group lists. Objects
// of the same group never hit each other.
//
// Pass 1 (shots against characters) runs only in the sub-steps the stage's shot-hit count
// allows; passes 2 and 3 run in every sub-step. A shot that a hit stops or a clash shoots down
// is marked and takes no further part; marked shots leave the group lists and the shot list at
// the end of the call, so no pass ever follows a shot that is gone. Characters never leave play
// here (a killed one is dying and stays in its list).
#pragma once

#include <cstdint>

class cPlayScene;
class cShot;

// The results: 0 nothing that ends the frame, 1 the game ends, 2 the hero was killed; any other
// value is the result of a carried item's instant commands, passed on.
int HitCharacters(cPlayScene* scene);

// What the passes did, in order, for whoever listens (tests): the pass (1-3), what happened and
// the two identifiers (shot serials for shots, character identifiers for characters).
enum {
    HITLOG_TRIGGER = 0,   // a contact trigger raised on b (a the other party)
    HITLOG_DAMAGE = 1,    // b took a hit from a
    HITLOG_KILL = 2,      // b was killed by a
    HITLOG_STOP = 3,      // shot a stopped (its hit on b)
    HITLOG_CLASH = 4,     // shot b shot down by shot a
};
typedef void (*HITLOGFUNC)(int pass, int what, int32_t a, int32_t b);
extern HITLOGFUNC g_lpHitLog;
