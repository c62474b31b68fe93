// Setting up the progress states of character and screen effects.
#include "records/effect_state.h"

#include <cmath>
#include <utility>

#include "core/checked.h"
#include "records/database.h"

namespace {

// Change per frame to run from a to b in `duration` tenths of a second. A run time of 0 or
// below takes one frame (it would divide by zero or run backwards for ever).
double RatePerFrame(int32_t a, int32_t b, int32_t duration) {
    double frames = (double)duration * 6.0;
    if (frames < 1.0) frames = 1.0;
    return std::fabs((double)b - (double)a) / frames;
}

}  // namespace

void SetupCharaEffect(CHARAEFFECTSTATE& state, int id, int mode, cDatabase& db) {
    state = CHARAEFFECTSTATE{};
    state.nId = (int16_t)id;
    state.nDefTable = mode ? 1 : 0;
    cCharaEffectRec& def = CheckedAt(mode ? db.m_vecCharaEffectRev : db.m_vecCharaEffect, id);
    int32_t* p = def.m_anParams;  // p[0] is parameter 1
    switch (def.m_nKind) {
    case 1: case 2: case 3: case 4: case 5: case 7: case 8: case 9: case 10: case 11: case 12: case 13: case 15:
    case 16:
        if (mode) std::swap(p[1], p[2]);
        state.nDuration = p[0];
        state.nFrom = p[1];
        state.nTo = p[2];
        state.dValue = p[1];
        state.dRate = RatePerFrame(p[1], p[2], p[0]);
        break;
    case 6:
    case 14:  // a pure time count
        state.nDuration = p[0];
        state.nFrom = 0;
        state.nTo = p[0];
        state.dValue = 0.0;
        state.dRate = 1.0 / 6.0;
        break;
    default:
        break;
    }
    if (def.m_nKind != 0 && state.nFrom == state.nTo) {  // a constant value runs as a time count
        state.dRate = 1.0 / 6.0;
        state.dTime = 0.0;
        state.nPhase = state.nExtra = 0;
    }
}

void SetupScreenEffect(SCREFFECTSTATE& state, int id, int mode, cDatabase& db) {
    state = SCREFFECTSTATE{};
    state.nId = (int16_t)id;
    state.nDefTable = mode ? 1 : 0;
    cScrEffectRec& def = CheckedAt(mode ? db.m_vecScrEffectRev : db.m_vecScrEffect, id);
    int32_t* p = def.m_anParams;
    switch (def.m_nKind) {
    case 1:  // move: two start values, two end values
        if (mode) {
            std::swap(p[1], p[3]);
            std::swap(p[2], p[4]);
        }
        state.nDuration = p[0];
        state.dRate = 1.0 / 6.0;
        state.nWord1 = p[1];
        state.nWord2 = p[2];
        break;
    case 2: case 3: case 8:  // shakes and blink
        state.nDuration = p[0];
        state.dRate = 1.0 / 6.0;
        break;
    case 4: case 5: case 6: case 7: case 9: case 10: case 11: case 12: case 13:
        if (mode) std::swap(p[1], p[2]);
        state.nDuration = p[0];
        state.dValue = p[1];
        state.dRate = RatePerFrame(p[1], p[2], p[0]);
        if (p[1] == p[2]) {  // no interpolation: runs for its duration
            state.bTimeBased = 1;
            state.dRate = 1.0 / 6.0;
            state.dTime = 0.0;
            state.nWord1 = state.nWord2 = 0;
        }
        break;
    default:
        break;
    }
}

void SetupCharaEffect(CHARAEFFECTSTATE& state, int16_t id, int mode) { SetupCharaEffect(state, (int)id, mode, g_Database); }

void SetupScreenEffect(SCREFFECTSTATE& state, int16_t id, int mode) { SetupScreenEffect(state, (int)id, mode, g_Database); }

const cCharaEffectRec& CharaEffectDef(const CHARAEFFECTSTATE& state) {
    return CheckedAt(state.nDefTable ? g_Database.m_vecCharaEffectRev : g_Database.m_vecCharaEffect, state.nId);
}

const cScrEffectRec& ScrEffectDef(const SCREFFECTSTATE& state) {
    return CheckedAt(state.nDefTable ? g_Database.m_vecScrEffectRev : g_Database.m_vecScrEffect, state.nId);
}
