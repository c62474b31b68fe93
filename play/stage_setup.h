// The stage set-up's own steps (the play scene's SetStage runs them in order): the settings
// taken afresh, the carried hero values, the stage's music, the hero on its placement, the
// stage-start values, the backgrounds and the 8-bit palette, the stage-start flows; and the
// stage words the play scene reads.
#pragma once

class cHero;
class cPlayScene;

// Step 2: the settings copied afresh from the loaded stage (reload = 1).
void CopyStageRecords(int reload);
// Step 4: the play data's carried values applied to the hero placement when the stage asks.
void ApplyCarryOver();
// Step 5: the stage's tune (music = 1: even when another one was chosen meanwhile).
void RequestStageMusic(int music);
// Step 10: a hero built from its placement and put on the stage.
void SetupHero(cHero& hero, int index);
// Hero position and size for centring the view: x, y, width, height.
void HeroViewBox(cHero& hero, double& x, double& y, int& w, int& h);
// Step 17: the stage-clear word (the stage score) to 0, the common variables cleared in replay
// playback and in the editor's test play of a stage file, then the stage-start backup taken.
void ResetStageValues();
// Step 20: every background record's scroll offsets back to 0.
void ResetBackgrounds();
// Step 21: in 8-bit colour the saved palette back on the device.
void RestorePalette8();
// Step 23: the stage-start flows; characters they end or kill leave play.
void RunStageStartFlows(cPlayScene* scene);

// Stage words: time limit switch and seconds, banner switches 1 and 2, extension of an axis,
// shot hits per frame.
int StageTimeLimitOn();
int StageTimeLimit();
int StageBannerSwitch(int which);
int StageExtension(int axis);
int StageShotHitCount();
