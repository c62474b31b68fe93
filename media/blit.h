// Blits and draw batches: the rectangle copy DDBlt with its stretching and colour-pair forms,
// clipping and cell mirroring, the sorted quad batch and the filled-rectangle batch, and the
// disc copy of the reveal and spotlight effects.
#pragma once

#include <cstdint>

#include "media/draw_types.h"

// Blit flags.
#define DDBLT_OPAQUE 0
#define DDBLT_TRANSPARENT 1

// A draw colour and colour operation for one draw.
struct DDCOLORPAIR {
    DWORD dwColor;
    DWORD dwColorOp;
};

HRESULT DDBlt(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags);
void DDBltStretch(DDSURFACEDATA* dst, int x, int y, int dw, int dh, DDSURFACEDATA* src, int sx, int sy, int sw, int sh,
                  int flags);
void DDBltColor(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
                const DDCOLORPAIR& pair);
void DDBltStretchColor(DDSURFACEDATA* dst, int x, int y, int dw, int dh, DDSURFACEDATA* src, int sx, int sy, int sw,
                       int sh, int flags, const DDCOLORPAIR& pair);
// 1 when something remains to draw; the rectangles are cut to both records.
int DDClipRect(DDSURFACEDATA* dst, int* x, int* y, int* dw, int* dh, DDSURFACEDATA* src, int* sx, int* sy, int* sw,
               int* sh);
void DDMirrorSourceRect(DDSURFACEDATA* src, int* sx, int* sy, int* sw, int* sh);

void DDBatchBegin(int sort);
void DDBatchAddTexture(DDSURFACEDATA* src);
void DDBatchFlush();
void DDFillBatchBegin();
void DDFillBatchFlush();
// One coloured rectangle on a render target: queued while the fill batch is on, else drawn.
void DDFillQuad(DDSURFACEDATA* dst, int x, int y, int w, int h, DWORD argb);
// Quads queued and runs drawn by the last flush (tests).
struct DDBATCHSTATS {
    int nQueued;
    int nRuns;
};
DDBATCHSTATS DDLastBatchStats();

void DDBltDisc(DDSURFACEDATA* dst, int dx, int dy, int clipX, int clipY, int radius, int band, DDSURFACEDATA* src,
               int sx, int sy, int flags);
