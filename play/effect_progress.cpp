// Starting, stepping and restarting effect progress.
#include "play/effect_progress.h"

#include <algorithm>

#include "core/checked.h"
#include "records/database.h"

namespace {

// Copies a prepared state, keeping what the start gave the running one.
template <typename STATE>
void CopyPrepared(STATE& state, const std::vector<STATE>& forward, const std::vector<STATE>& reversed, int id,
                  int runMode, int loop, int isReversed) {
    state = CheckedAt(isReversed ? reversed : forward, id);
    state.nId = (int16_t)id;
    state.nRunMode = runMode;
    state.bLoop = loop;
    state.bReversed = isReversed;
    state.nCounter = 0;
}

// The end is reached: 1 when the effect finishes, else it starts again.
template <typename STATE>
int AtEnd(STATE& state, void (*restart)(STATE&)) {
    if (!state.bLoop && (state.nRunMode != EFFECT_RUN_SWING || state.bReversed)) return 1;
    restart(state);
    return 0;
}

// int(value), held inside the int range.
int Truncate(double v) { return (int)std::clamp(v, -2147483648.0, 2147483647.0); }

}  // namespace

void StartCharaEffect(CHARAEFFECTSTATE& state, int id, int runMode, int loop) {
    int rev = runMode == EFFECT_RUN_REVERSE ? 1 : 0;
    CopyPrepared(state, CharaEffectStates, CharaEffectStatesReversed, id, runMode, loop, rev);
}

void StartScreenEffect(SCREFFECTSTATE& state, int id, int runMode, int loop) {
    int rev = runMode == EFFECT_RUN_REVERSE ? 1 : 0;
    CopyPrepared(state, ScrEffectStates, ScrEffectStatesReversed, id, runMode, loop, rev);
}

void RestartCharaEffect(CHARAEFFECTSTATE& state) {
    int rev = state.bReversed;
    if (state.nRunMode == EFFECT_RUN_SWING) rev = !rev;
    CopyPrepared(state, CharaEffectStates, CharaEffectStatesReversed, state.nId, state.nRunMode, state.bLoop, rev);
}

void RestartScreenEffect(SCREFFECTSTATE& state) {
    int rev = state.bReversed;
    if (state.nRunMode == EFFECT_RUN_SWING) rev = !rev;
    CopyPrepared(state, ScrEffectStates, ScrEffectStatesReversed, state.nId, state.nRunMode, state.bLoop, rev);
}

int StepCharaEffect(CHARAEFFECTSTATE& state) {
    if (state.nFrom > state.nTo) {
        state.dValue -= state.dRate;
        if (state.dValue >= state.nTo) return 0;
    } else if (state.nFrom < state.nTo) {
        state.dValue += state.dRate;
        if (state.dValue <= state.nTo) return 0;
    } else {
        state.dTime += state.dRate;
        if (state.dTime <= state.nDuration) return 0;
    }
    return AtEnd(state, RestartCharaEffect);
}

int StepScreenEffect(SCREFFECTSTATE& state, int from, int to, double step) {
    if (state.bTimeBased) {
        state.dTime += state.dRate;
        if (state.dTime <= state.nDuration) return 0;
    } else if (from > to) {
        state.dValue -= step;
        if (Truncate(state.dValue) >= to) return 0;
    } else {
        state.dValue += step;
        if (Truncate(state.dValue) <= to) return 0;
    }
    return AtEnd(state, RestartScreenEffect);
}
