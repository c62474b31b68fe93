// Stand-ins for the play Parts that are not built yet. Each answers "nothing happened" so the
// play scene runs its states and its frame of n sub-steps over the stage's objects; the Part
// that is built replaces its entry here. None of these is finished behaviour.
#include "play/frame_seams.h"

#include "app/globals.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_chara.h"
#include "records/stage.h"

// ---- character operations ----
void cChara::RunFlowsOfTrigger(int) {}
int cChara::HitBlocksHorizontal() { return 0; }
int cChara::HitBlocksVertical() { return 0; }
int cChara::HitBlockCharacters() { return 0; }
int cChara::HitBlocksSidesAgain() { return 0; }
int cChara::HitFloorAndCeilingAgain() { return 0; }
void cChara::TickInvincible() {}
void cChara::ClearFlowRunFlags() {}
// The block under a character is solid for its block side (block map).
bool BlockUnderIsSolid(const cChara&) { return false; }
// Character effects, immunity and flows of a character.
void StartAppearEffect(cChara&) {}
void ClearImmunity(cChara&) {}
int BuildFlowRuns(cChara&) { return 0; }
int StepRunningFlows(cChara&, int) { return 0; }
int RunInstantCommand(cHero&, const cFlowCmd&) { return 0; }
bool KeyConditionHoldsNow(cHero&) { return false; }
int RidingStepsDone() { return g_StageSettings.m_nSubSteps; }
int cChara::HasRiders() const { return 0; }
void cChara::MoveRiders() {}
int cChara::Die() {
    m_bDying = 1;
    return 0;
}

// ---- shot operations ----
int cShot::Update() { return 0; }
void cShot::AddGravity() {}
void cShot::AccelStepY() {}
void cShot::AccelStepX() {}
int cShot::HitsBlocks() { return 0; }

// ---- play rules, deaths and hits ----
int CheckPauseKey(cPlayScene*) { return 0; }
void CheckAppearances(cPlayScene*) {}
int ApplyFloorBlockEffect(cChara&) { return 0; }
int CheckDeaths() { return 0; }
int KillCharacterCheckEnd(cChara&) { return 0; }
void FinishGameRanking(cPlayScene*) {}
int BlockItemTouch() { return 0; }
int HitCharacters() { return 0; }
int HitHeroItems() { return 0; }
int KeepInViewX(cHero&) { return 0; }
int KeepInViewY(cHero&) { return 0; }

// ---- scene set-up and drawing ----
bool LoadPlayBitmaps(int) { return true; }
void LoadStageRanking() {}
void ResetRequestList() {}
void DrawPlayScreen(cPlayScene*, int, int, int, int) {
    // Until the play-scene drawing is built: the empty screen.
    if (g_bDDInitialized) DDFillSurface(&g_BackBufferSD, 16);
}
void DrawBannerSprite(int, int) {}
void BuildBlockMap() {}
void SpawnStageObjects(cPlayScene*) {}
void ReleasePicturesAndMessageSurfaces(cPlayScene*) {}
void ResetBackgrounds() {}
void RestorePalette8() {}

// ---- words the records do not name yet ----
int PlayDataStopAfterPlay() { return 0; }
void PlayDataClearStageWords() {}
int KeepDeadCharacters() { return 0; }
double StageJumpCorrection() { return 0.0; }
int DeferAppearances() { return 0; }
