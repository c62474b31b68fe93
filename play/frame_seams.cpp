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
int RunInstantCommand(cHero&, const cFlowCmd&) { return 0; }
// The gauges of an HP or SP change (drawn with the characters).
void cChara::StartHPGauge(int32_t) {}
void cChara::StartSPGauge(int32_t) {}

// ---- scene set-up and drawing ----
void LoadStageRanking() {}
void DrawGraphicRef(DDSURFACEDATA*, int, int, int, int, int) {}

// ---- drawing of the objects not built yet ----
void DrawCharaSprite(cChara&, int) {}
int DrawCharaDeath(cChara&, int) { return 0; }
void RunCharaAttachments(cChara&) {}
void DrawItemSprite(cItem&, DDSURFACEDATA*, int) {}
void DrawCharaRanges(cPlayScene*) {}
void BlitCentredView(cHero&) {}

// ---- words the records do not name yet ----
int PlayDataStopAfterPlay() { return 0; }
void PlayDataClearStageWords() {}
int StageStatusPanel() { return 0; }
int StageLayerSwitch() { return 0; }
int StageTimeWarning() { return 0; }
int StageCarryOver() { return 0; }
int HideWhilePaused() { return 0; }
