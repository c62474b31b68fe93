// Our own additions for tests and for the layer's other parts: conditions a desktop never shows
// (lost surfaces, exhausted video memory) and access to the pixels behind a surface.
#pragma once

#include "platform/ddraw/ddraw.h"
#include "platform/raster/surface.h"

namespace ddraw {

struct TestSettings {
    bool failCreate = false;       // DirectDrawCreateEx fails
    int failVideoSurfaces = 0;     // the next n video-memory surfaces fail with DDERR_OUTOFVIDEOMEMORY
};
TestSettings& Testing();
void ResetTesting();

// Every video-memory surface of the object is lost (its pixels are gone; IsLost answers
// DDERR_SURFACELOST until Restore).
void SimulateSurfaceLoss(IDirectDraw7* dd);
// One surface is lost.
void SimulateSurfaceLost(IDirectDrawSurface7* surface);

// The pixels behind a surface (for a windowed primary: the window's picture).
raster::Surface* SurfacePixels(IDirectDrawSurface7* surface);
// Frames the object has shown.
unsigned PresentCount(IDirectDraw7* dd);

}  // namespace ddraw
