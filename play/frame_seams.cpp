// Stand-ins for the play Parts that are not built yet. Each answers "nothing happened" so the
// play scene runs its states and its frame of n sub-steps over the stage's objects; the Part
// that is built replaces its entry here. None of these is finished behaviour.
#include "play/frame_seams.h"

// ---- character operations ----
// Character effects, immunity and flows of a character.
int RunInstantCommand(cHero&, const cFlowCmd&) { return 0; }
