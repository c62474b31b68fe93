// Screen effects: the whole finished play picture moved, shaken, cut into bands, waved, blinked,
// rotated, seen through a circle, zoomed, lensed or pixelated for a while. The play scene keeps
// at most one running and hands the picture to its renderer after drawing each frame.
#pragma once

#include <cstdint>

#include "records/effect_state.h"

class cPlayScene;
struct DDSURFACEDATA;

// The play scene's running screen effect.
struct SCREENEFFECT {
    SCREFFECTSTATE State;   // progress; State.nId 0: none runs
    double dShake;          // the shake position in dots
    int32_t nCounter;       // blink frame counter
    int32_t bFlag;          // shake direction (0 right/down) or blink visibility
};

// Starts screen effect `id` (replacing a running one) in a run mode, looping or not.
void StartScreenEffectOn(cPlayScene* scene, int id, int runMode, int loop);
// Under Direct3D the play picture is drawn into the virtual back buffer from now on, so that the
// whole-screen treatments can read it back.
void UseVirtualBackBuffer(cPlayScene* scene);
// Draws the running effect over the back buffer; with hold set it draws the current picture
// without advancing. An effect that ends is cleared and the colour filter switched off.
void RunScreenEffect(cPlayScene* scene, int hold);
// The renderer of each kind (0-13): 1 when the effect has ended.
typedef int (*SCREFFECTRENDERER)(cPlayScene* scene, int hold);
extern const SCREFFECTRENDERER g_ScrEffectRenderers[14];

// The two 640 x 480 work surfaces of the renderers (made when first needed; released with the
// play scene).
DDSURFACEDATA* ScreenEffectWork(int which);
void ReleaseScreenEffectSurfaces();
