// The play screen: cPlayScene::Draw composes it on the back buffer (backgrounds, block map,
// objects in their draw layers, effects, messages, screen effects, status panel, time
// display, caption), finishes the hero's death and takes characters whose death animation has
// ended out of play. Also the stage-start banner sprites.
#pragma once

#include "media/draw_types.h"

class cPlayScene;
class cStageChara;

// Asset slots: the word sheet (plates and 32-dot digits) and the first background.
constexpr int kSlotWordSheet = 51;
constexpr int kSlotBackground = 55;
constexpr int kBackgroundSlots = 8;
// Draw layers with the stage's layer switch on.
constexpr int kDrawLayers = 8;

// full 0 allows the paused shortcut; hold 1 draws animations without advancing them; warn 1
// lets the time display sound its warning; caption 1 draws the caption line.
void DrawPlayScreen(cPlayScene* scene, int full, int hold, int warn, int caption);
// Automatic background scrolling: each offset moves by its speed, wrapped into the picture.
void ScrollBackgrounds();
// The background records of one pass (0 back, 1 front); the back pass clears to colour 16
// when it draws nothing.
void DrawBackgroundLayer(cPlayScene* scene, DDSURFACEDATA* target, int front);
// The same pass on the back buffer.
void DrawBackgroundLayer(cPlayScene* scene, int layer);
// Hero 0, or the end of its death: the stage starts again, the game is over or the continue
// menu opens. 1 when the death ended this frame.
int DrawHeroAndRestart(cPlayScene* scene, int hold);
// 1 when the character may leave play (its death animation has ended).
int DrawStageChara(cStageChara& chara, int hold);
// The remaining seconds in three 32-dot digits at (272, 24).
void DrawTimeLimit(cPlayScene* scene, int warn);
// The banner sprites: 0 the start plate with the stage number, 1 the replay plate, 2 the
// second plate.
void DrawBannerSprite(int kind, int stageNumber);
