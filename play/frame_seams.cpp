// Stand-ins for the play Parts that are not built yet. Each answers "nothing happened" so the
// play scene runs its states and its frame of n sub-steps over the stage's objects; the Part
// that is built replaces its entry here. None of these is finished behaviour.
#include "play/frame_seams.h"

#include <algorithm>

#include "core/globals.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "play/chara_def.h"
#include "play/hero.h"
#include "play/item.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "records/stage.h"

// ---- character operations ----
// Character effects, immunity and flows of a character.
int RunInstantCommand(cHero&, const cFlowCmd&) { return 0; }

// ---- scene set-up and drawing ----
void LoadStageRanking() {}

// ---- words the records do not name yet ----
int PlayDataStopAfterPlay() { return 0; }
void PlayDataClearStageWords() {}
