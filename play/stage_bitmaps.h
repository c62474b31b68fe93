// The surfaces only play needs: the two shot sheets laid out again on a 32-dot grid, the bitmaps
// of the project's character-bitmap, sword-type and effect records (indexed by record number),
// the view-mask work surface with its brush, and the loading of the play asset slots when the
// play scene starts.
#pragma once

#include <vector>

#include "media/draw_types.h"

// Asset slots: the two source sheets of 16-dot cells and the two converted sheets.
constexpr int kSlotShotSheet = 20;
constexpr int kSlotShotSheetMirror = 21;
constexpr int kSlotConvertedShot = 63;
constexpr int kSlotConvertedShotMirror = 64;
// Surfaces per record in the three bitmap vectors.
constexpr int kStageBmpPerRecord = 4;
constexpr int kSwordBmpPerRecord = 4;
constexpr int kEffectBmpPerRecord = 2;

// The dedicated character bitmaps: record i (from 1) owns entries 4(i - 1) .. 4(i - 1) + 3; the
// one drawn is entry 4i - 2 (the mirrored view). Swords likewise, effects two per record.
extern std::vector<DDSURFACEDATA> g_vecStageBmp;
extern std::vector<SURFACEFILEDESC> g_vecStageBmpDesc;
extern std::vector<DDSURFACEDATA> g_vecSwordBmp;
extern std::vector<SURFACEFILEDESC> g_vecSwordBmpDesc;
extern std::vector<DDSURFACEDATA> g_vecEffectBmp;
extern std::vector<SURFACEFILEDESC> g_vecEffectBmpDesc;
// The view mask (colour 16 with a hole of colour 0 around its centre) and its circle brush.
extern DDSURFACEDATA g_ViewMaskSD;
extern DDSURFACEDATA g_ViewBrushSD;

// Both converted sheets: cleared to colour 0, then each 16-dot cell of the 8 x 30 source cells
// copied with the colour key into the middle of a 32-dot cell.
void LoadCommonBitmaps();
// The three bitmap vectors from the project database. A record without a file name keeps
// empty entries; a named file that cannot be loaded shows its message, posts WM_CLOSE and
// answers false.
bool LoadStageBitmaps();
bool LoadSwordBitmaps();
bool LoadEffectBitmaps();
// Releases and empties the three bitmap vectors.
void ReleaseStageBitmaps();
// The view mask for a sight range of `sight` dots and a view mode (0 none, 1 and 2 a circle,
// 3 and 4 a square): (1280 + 2n) x (960 + 2n) of colour 16 with a 2n hole of colour 0 at its
// centre (no hole for n = 0). A mask this function drew last for the same records, sight range
// and shape, still whole on the same device, is kept as it is (a restarted stage does not
// draw it again). A surface that cannot be made runs the out-of-memory close and answers false.
bool CreatePlayWorkSurfaces(DDSURFACEDATA* mask, DDSURFACEDATA* brush, int sight, int viewMode);
// The play view mask drawn again for the view it was made for, when a device restore left it
// blank; nothing otherwise.
void RedrawLostViewMask();
// The play scene's start: the eight background slots (playOnly) or the common play slots and
// then the four loaders above; false on a failure (already reported).
bool LoadPlayBitmaps(int playOnly);
// Every play slot and surface the loaders made.
void ReleasePlayBitmaps();
