// The range display of distance conditions: the reach of every distance condition of the
// characters in view drawn over the play screen, in colours that cycle through four
// neighbouring palette entries.
#pragma once

class cChara;
class cFlowCond;
class cPlayScene;
struct DDSURFACEDATA;

// One distance condition of a character: lines at the two edges of a horizontal (shapes 0-2)
// or vertical (3-5) range, or a circle (6). Nothing is drawn (0) when its display setting is 0
// or 2 outside the editor's test play, before the character appeared or while it is dead or
// hidden when the condition's switches say so, or for a colour index outside 0-7 (one report
// line); 1 when drawn.
int DrawCharaRange(cChara& chara, DDSURFACEDATA* surface, const cFlowCond& cond, int blink);
// The ranges of the appearance conditions of the stage characters in view, then of the flows
// of every character in view; advances the blink counter (0-31) once per call unless the
// project stops it in 8-bit colour.
void DrawCharaRanges(cPlayScene* scene, DDSURFACEDATA* surface);
// Starts the blink counter at 0 again: every stage begins the colour cycle afresh.
void ResetRangeBlink();
// Releases the work surface of the large circles (DirectDraw).
void ReleaseRangeDisplaySurface();
