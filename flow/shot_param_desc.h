// The parameter descriptors of the shot formations (6 kinds) and the shot trajectories (10
// kinds): three slots per kind {label, minimum, maximum, default}; a slot the kind does not use
// has an empty label and 0, 0, 0. Command parameters driven by variables take their ranges from
// here for the formation and move-type values of a shot command.
#pragma once

#include <cstdint>

struct SHOTPARAMDESC {
    const char* pszLabel;
    int16_t nMin;
    int16_t nMax;
    int16_t nDefault;
};

constexpr int kShotParamSlots = 3;
constexpr int kFormationKindCount = 6;
constexpr int kTrajectoryKindCount = 10;

// Indexed by kind x 3 + slot.
extern const SHOTPARAMDESC g_FormationParamDesc[kFormationKindCount * kShotParamSlots];
extern const SHOTPARAMDESC g_TrajectoryParamDesc[kTrajectoryKindCount * kShotParamSlots];

// The descriptor of a kind's slot; null for a kind or slot outside the table.
const SHOTPARAMDESC* FormationParam(int kind, int slot);
const SHOTPARAMDESC* TrajectoryParam(int kind, int slot);
