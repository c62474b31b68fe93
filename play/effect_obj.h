// Effect objects: the short animations of the project's effect list shown at a point of the
// stage (where two characters hit each other, or where the effect command puts one). They live
// in the play scene's effect list and are drawn every frame until their animation ends.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "play/game_obj.h"

class cEffectRec;
struct DDSURFACEDATA;

// A rectangle of the stage in dots (left, top, right, bottom; edges included).
struct EFFECTRECT {
    double dLeft, dTop, dRight, dBottom;
};

class EffectObj {
public:
    EffectObj();

    // Centred on the overlap of two rectangles (around (0, 0) when they do not overlap), with a
    // jitter of up to 4 dots x the scale; a scalable effect grows by a scale above 1.
    void Create(int id, const EFFECTRECT& a, const EFFECTRECT& b, int8_t scale);
    // The effect command's form: the top-left corner and drawn size given; stretched when the
    // width differs from the cell width. `advanceWhileHeld` keeps it running while the game waits.
    void CreateAt(int id, double x, double y, int width, int height, int advanceWhileHeld);
    // The effect's frame list into the animation, animation 0 started at its first frame.
    void LoadFrames(int id);
    // One frame: advances the animation (not while held, unless it runs while held) and draws
    // the current cell at the stage position less the scroll. 1 when the effect has ended.
    int Draw(int hold);

    int16_t m_nId;
    double m_dX, m_dY;
    int32_t m_nWidth, m_nHeight;
    int32_t m_bStretched;
    cObjAnime m_Anime;
    int32_t m_bAdvanceWhileHeld;
};

// Draws every effect of a list and erases the ones that ended.
void DrawEffectList(std::list<EffectObj>& effects, int hold);

// The effect record of an id (checked access: a bad id is reported and takes the first record).
const cEffectRec& EffectDef(int id);
// The sheet of an effect: bitmap 2 x id - 2 of the effect bitmaps the stage bitmap loader
// fills (g_vecEffectBmp), or 2 x id - 1 for a stretched draw under DirectDraw; null when the
// sheet is not loaded.
DDSURFACEDATA* EffectSheet(int id, int stretched);
