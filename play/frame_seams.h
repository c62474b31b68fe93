// The calls of the play frame and of the stage set-up into play Parts that are not built yet
// (block map, appearance pass, floor effects, deaths and the game end, character hits, item
// touches, spawning, stage bitmaps, drawing, play menus and the ranking), and the stage, play
// data and system settings words the records do not name yet. Each one here answers "nothing
// happened" (0, no change) until its Part replaces it; see play/frame_seams.cpp.
#pragma once

class cChara;
class cFlowCmd;
class cGameObj;
class cHero;
class cPlayScene;
class cStagePartA;

// ---- characters: block under, effects, immunity and flows ----
bool BlockUnderIsSolid(const cChara& chara);
void StartAppearEffect(cChara& chara);
void ClearImmunity(cChara& chara);
// The running flows of a character built from its definition's flows; 0 when done.
int BuildFlowRuns(cChara& chara);
// The per-frame flow bookkeeping and one step of each running flow; 1 when the character is
// killed by them.
int StepRunningFlows(cChara& chara, int dying);
// The instant-command handler of a command's kind run on the hero; its result.
int RunInstantCommand(cHero& hero, const cFlowCmd& cmd);
// Whether the last key entry of the running flow holds for the hero's input at this frame.
bool KeyConditionHoldsNow(cHero& hero);
// Sub-steps of the frame in which the riding characters have moved (n once their step is done).
int RidingStepsDone();
// ---- play rules (appearances, pause key, floor effects) ----
int CheckPauseKey(cPlayScene* scene);
void CheckAppearances(cPlayScene* scene);
int ApplyFloorBlockEffect(cChara& chara);
// ---- deaths, hits and the end of the game ----
int CheckDeaths();
int KillCharacterCheckEnd(cChara& chara);
void FinishGameRanking(cPlayScene* scene);
int BlockItemTouch();
int HitCharacters();
int HitHeroItems();
// ---- view and distance tests ----
int KeepInViewX(cHero& hero);
int KeepInViewY(cHero& hero);
// ---- scene set-up and drawing ----
// Reloads the play assets (only the eight play surfaces when play restarts itself); false on failure.
bool LoadPlayBitmaps(int playOnly);
// Loads the ranking of the current mode for the stage.
void LoadStageRanking();
// Empties the request list of the scenes.
void ResetRequestList();
// The play screen into the back buffer.
void DrawPlayScreen(cPlayScene* scene, int a, int b, int c, int d);
// The stage-start banner sprites: 0 start (with the stage number), 1 replay, 2 second banner.
void DrawBannerSprite(int kind, int stageNumber);
// ---- the stage set-up's steps into other Parts ----
void CopyStageRecords(int reload);
void ApplyCarryOver();
void RequestStageMusic(int music);
void BuildBlockMap();
// Builds hero 0 from its placement and puts it on the stage.
void SetupHero(cHero& hero, int index);
// Hero position and size for centring the view: x, y, width, height.
void HeroViewBox(cHero& hero, double& x, double& y, int& w, int& h);
void SpawnStageObjects(cPlayScene* scene);
void ReleasePicturesAndMessageSurfaces(cPlayScene* scene);
void ResetBackgrounds();
void RestorePalette8();
void RunStageStartFlows(cPlayScene* scene);
// ---- words the records do not name yet ----
int StageTimeLimitOn();
int StageTimeLimit();
int StageBannerSwitch(int which);
int StageExtension(int axis);
int StageShotHitCount();
int PlayDataStopAfterPlay();
void PlayDataClearStageWords();
int KeepDeadCharacters();
// The system setting that defers the appearances of the stage start.
int DeferAppearances();
// The stage's jump correction (the jump speed is multiplied by 0.99 - correction x 0.025).
double StageJumpCorrection();
