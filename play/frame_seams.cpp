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
#include "play/stage_objects.h"

// ---- character operations ----
void cChara::RunFlowsOfTrigger(int) {}
int cChara::RunFlows(int) { return 0; }
int cChara::StepX() { return 0; }
int cChara::StepY() { return 0; }
int cChara::HitBlocksHorizontal() { return 0; }
int cChara::HitBlocksVertical() { return 0; }
int cChara::HitBlockCharacters() { return 0; }
int cChara::HitBlocksSidesAgain() { return 0; }
int cChara::HitFloorAndCeilingAgain() { return 0; }
void cChara::ApplyGravity() {}
void cChara::DecayInertiaX() {}
void cChara::DecayInertiaY() {}
void cChara::TickInvincible() {}
void cChara::ClearContactFlags() {}
void cChara::SaveHitRects() {}
void cChara::RestoreHitRects() {}
void cChara::ClearFlowRunFlags() {}
int cChara::HasRiders() const { return 0; }
void cChara::MoveRiders() {}
void cChara::ReleaseLinks() {}
int cChara::Die() {
    m_bDying = 1;
    return 0;
}
void cHero::ClearLink() {}
void cHero::ClearTarget() {}

// ---- shots: blocks, owners, sheets and summons ----
int BlockSolidFor(int, int, int) { return 0; }
cChara* FindObjectById(int id) {
    // The heroes, then the stage characters, by identifier.
    for (cHero& hero : g_vecHero)
        if (hero.m_nId == id) return &hero;
    for (cStageChara& chara : g_listStageChara)
        if (chara.m_nId == id) return &chara;
    return nullptr;
}
int RunFlowKeyDirection(const cChara&) { return 0; }
DDSURFACEDATA* ShotSheet() { return nullptr; }
DDSURFACEDATA* SwordSheet(int, int) { return nullptr; }
int CharaRecSummonable(const cCharaRec&) { return 0; }
int CharaRecBlocks(const cCharaRec&) { return 1; }
int ItemRecBlocks(const cItemRec&) { return 1; }
void SetBlockAt(int, int, const cEdShot&) {}
void SpawnCharacterAt(int, int, double, double, const cChara&, const cEdShot&) {}
void SpawnItem(int, int, double, double, const cEdShot&) {}

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
void LoadStageRanking() {}
void ResetRequestList() {}
void DrawGraphicRef(DDSURFACEDATA*, int, int, int, int, int) {}

// ---- drawing of the objects not built yet ----
int CheckAppearanceBlock(cPlayScene*, cBlockDef&) { return 1; }
void DrawCharaSprite(cChara&, int) {}
int DrawCharaDeath(cChara&, int) { return 0; }
void RunCharaAttachments(cChara&) {}
void DrawItemSprite(cItem&, DDSURFACEDATA*, int) {}
void DrawCharaRanges(cPlayScene*) {}
void BlitCentredView(cHero&) {}
void CopyStageRecords(int) {}
void ApplyCarryOver() {}
void RequestStageMusic(int) {}
void BuildBlockMap() {}
void SetupHero(cHero&, int) {}
void HeroViewBox(cHero&, double& x, double& y, int& w, int& h) {
    x = y = 0.0;
    w = h = 0;
}
void SpawnStageObjects(cPlayScene*) {}
void ResetBackgrounds() {}
void RestorePalette8() {}
void RunStageStartFlows(cPlayScene*) {}

// ---- words the records do not name yet ----
int StageTimeLimitOn() { return 0; }
int StageTimeLimit() { return 0; }
int StageBannerSwitch(int) { return 0; }
int StageExtension(int) { return 0; }
int StageShotHitCount() { return 0; }
int PlayDataStopAfterPlay() { return 0; }
void PlayDataClearStageWords() {}
int KeepDeadCharacters() { return 0; }
int StageStatusPanel() { return 0; }
int StageLayerSwitch() { return 0; }
int StageTimeWarning() { return 0; }
int StageCarryOver() { return 0; }
int HideWhilePaused() { return 0; }
