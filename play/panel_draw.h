// The status panel across the top of the play screen: total score, stage score, the hit-point
// and skill-point gauges of hero 0 and the lives, laid out evenly from the project's five
// status items; and the time display below it.
#pragma once

#include "media/draw_types.h"

class cChara;
class cPlayScene;

// Asset slots of the panel background and of the icon and gauge sheet.
constexpr int kSlotStatusPanel = 46;
constexpr int kSlotIconSheet = 49;

// Nothing when the scene's status-panel word is 0 or no item is shown.
void DrawStatusPanel(cPlayScene* scene, DDSURFACEDATA* target);
// The lives icon of the panel's icon sheet centred over a character's head (its screen
// rectangle as last computed): the extra-life display.
void DrawLivesIconAt(DDSURFACEDATA* target, const cChara& chara);
