// Character effects: how one character is drawn while an effect of the character-effect list
// runs on it (bursts, splits, waves, blinks, rotations, growth, mosaic, blur, translucency). The
// renderer of the effect's kind draws the character's cell and advances the effect.
#pragma once

#include <cstdint>

#include "media/blit.h"

class cChara;
struct DDSURFACEDATA;

// The character's drawing cell as the character prepares it for this frame.
struct CHARACELL {
    DDSURFACEDATA* lpSrc;  // the sheet
    int32_t nSrcX, nSrcY;  // the cell's top-left on the sheet
    int32_t nWidth, nHeight;  // the cell's size on the sheet
    int32_t nScale;        // the character's scale (1 normal)
    int32_t nCellScale;    // the scale the sheet is already drawn at (1 normal)
    int32_t bColourPair;   // draw with the colour pair below
    DDCOLORPAIR Pair;
};

// A renderer: draws the character (unless draw is 0: hidden this frame) and advances the effect
// (unless held). 1 when the effect has ended.
typedef int (*CHARAEFFECTRENDERER)(cChara& chara, DDSURFACEDATA* target, const CHARACELL& cell, int hold, int draw);
extern const CHARAEFFECTRENDERER g_CharaEffectRenderers[17];

// The renderer of the character's current effect with draw = 1; an ended effect is cleared.
int RunCharaEffectRenderer(cChara& chara, DDSURFACEDATA* target, const CHARACELL& cell, int hold);
// The renderer of the current effect's kind (kind 0 with no effect).
int RenderCharaEffect(cChara& chara, DDSURFACEDATA* target, const CHARACELL& cell, int hold, int draw);
// The cell at (0, 0) of the target, plain or with its colour pair.
void CharaEffectBlit(DDSURFACEDATA* target, const CHARACELL& cell);
// The cell at (0, 0) of the target: unscaled when the scales agree, else stretched by the scale.
void CharaEffectBlitClipped(DDSURFACEDATA* target, const CHARACELL& cell);
// The work surface of the scaled renderers (made when first needed).
DDSURFACEDATA* CharaEffectWork();
void ReleaseCharaEffectSurfaces();
