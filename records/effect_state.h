// The prepared progress states of character effects and screen effects: computed once per
// effect definition and direction when the project database is indexed, copied when an effect
// starts. A state names its definition by table and id (never by pointer).
#pragma once

#include <cstdint>

class cDatabase;
class cCharaEffectRec;
class cScrEffectRec;

struct CHARAEFFECTSTATE {
    int16_t nId;           // effect id
    int32_t nDefTable;     // 0: the CharaEffect table; 1: its reversed copy
    int32_t nRunMode;      // 0 normal, 1 reverse, 2 back-and-forth (set when started)
    int32_t bLoop;         // set when started
    int32_t bReversed;     // 1 while running the reversed state
    int32_t nCounter;
    int32_t nFrom;         // start value
    int32_t nTo;           // end value
    double dValue;         // current value
    double dRate;          // change per frame
    double dTime;          // elapsed time of the kinds that count time
    int32_t nDuration;     // tenths of a second
    int32_t nPhase;        // waves
    int32_t nExtra;
};

struct SCREFFECTSTATE {
    int16_t nId;
    int32_t nDefTable;     // 0: the ScrEffect table; 1: its reversed copy
    int32_t nRunMode;
    int32_t bLoop;
    int32_t bReversed;
    int32_t nCounter;
    double dValue;
    double dRate;
    int32_t nWord1;        // move: first start value; waves: phase
    int32_t nWord2;        // move: second start value
    int32_t bTimeBased;    // runs as a pure time count
    double dTime;
    int32_t nDuration;     // tenths of a second
};

// Prepares a state from definition `id` in mode 0 (forward) or mode 1 (reversed: the record of
// the reversed copy table, whose start and end parameters are exchanged first). The forms
// without a database use the project database g_Database.
void SetupCharaEffect(CHARAEFFECTSTATE& state, int16_t id, int mode);
void SetupScreenEffect(SCREFFECTSTATE& state, int16_t id, int mode);
void SetupCharaEffect(CHARAEFFECTSTATE& state, int id, int mode, cDatabase& db);
void SetupScreenEffect(SCREFFECTSTATE& state, int id, int mode, cDatabase& db);

// The definition a state was prepared from (through the checked access).
const cCharaEffectRec& CharaEffectDef(const CHARAEFFECTSTATE& state);
const cScrEffectRec& ScrEffectDef(const SCREFFECTSTATE& state);
