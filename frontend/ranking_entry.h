// The ranking registration after a finished game: the name (stored or asked for in the
// name-entry dialog), one entry in each table where the game found a place, the ranking file
// saved, and the ranking view on the ranking worker thread until the player confirms.
#pragma once

#include <cstdint>

#include "records/ranking.h"

class cPlayScene;

// What the end of play found for the ranking (filled by the play engine at the end of a game).
struct RANKINGRESULT {
    int32_t anValues[kRankingKinds];  // the five results of the finished game
    int32_t anPlaces[kRankingKinds];  // the place each result found in its table, -1 none
    int32_t bPlaceReached;            // at least one place was found
    int32_t bRegistered;              // this game's results have been entered
};

// The play screen under the ranking view (the play scene draws itself without moving anything).
typedef void (*RANKINGBACKDROPFUNC)(cPlayScene* scene);

// What the ranking view loop works on; the registration keeps it alive until the loop ends.
struct RANKINGVIEW {
    cPlayScene* lpScene;
    const RANKINGRESULT* lpResult;
    RANKINGBACKDROPFUNC pfnBackdrop;  // may be null: the back buffer is then cleared to black
};

// The ranking board's place in the ranking view.
constexpr int kRankingViewX = 184, kRankingViewY = 64;

// Enters the finished game's results into the ranking of the current game mode, on the game
// thread. Nothing happens when the mode does not rank, no place was reached or this game is
// already registered. The name is the stored ranking name (ranking-name modes 1 and 3), or the
// play data's name edited in the name-entry dialog (modes 0 and 2; the edited name becomes the
// play data's name). Then system sound 16, the entries, the ranking file saved (a failed save
// is reported), and the ranking view runs on the ranking worker thread until it ends.
void RegisterRankingEntry(cPlayScene& scene, RANKINGRESULT& result, RANKINGBACKDROPFUNC backdrop);

// The ranking view (thread procedure, parameter a RANKINGVIEW): frames of the play screen with
// the board of the shown ranking table at (184, 64) and the new entry's place marked. Button 4
// steps to the next table the mode ranks (when it ranks two or more), button 1 ends the view
// (system sound 1). Both act on a new press only: a button still held from the result screen
// does nothing. WM_QUIT ends the loop. Returns 1.
unsigned RankingViewLoop(void* param);
