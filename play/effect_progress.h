// Effect progress: the timing state of a running character effect or screen effect. A value runs
// from a start to an end over a duration (or the time alone is counted), normally, reversed or
// back and forth, optionally looping. The prepared states are built when the project database is
// indexed; starting an effect copies one.
#pragma once

#include "records/effect_state.h"

// Run modes.
enum { EFFECT_RUN_NORMAL = 0, EFFECT_RUN_REVERSE = 1, EFFECT_RUN_SWING = 2 };

// Copies the prepared state of `id` (the reversed list for run mode 1) and stores id, run mode
// and loop; reversed = 1 for run mode 1; counter 0. A bad id is reported and takes the first.
void StartCharaEffect(CHARAEFFECTSTATE& state, int id, int runMode, int loop);
void StartScreenEffect(SCREFFECTSTATE& state, int id, int runMode, int loop);
// One frame of a character effect; 1 when it has finished.
int StepCharaEffect(CHARAEFFECTSTATE& state);
// One frame of a screen effect whose value runs from `from` to `to` by `step`; 1 when finished.
int StepScreenEffect(SCREFFECTSTATE& state, int from, int to, double step);
// The effect's end was reached: back-and-forth turns back, a loop starts again (state copied
// afresh, counter 0).
void RestartCharaEffect(CHARAEFFECTSTATE& state);
void RestartScreenEffect(SCREFFECTSTATE& state);
