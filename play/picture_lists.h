// The surfaces of the play scene's pictures and message windows. The picture surface list and
// its descriptor list go in step with the play scene's picture list (one entry of each per
// picture); every message window owns one record of the message surface list (with its
// descriptor at the same position). std::list keeps a record's address while others come and go.
#pragma once

#include <list>

#include "media/draw_types.h"

class cPlayScene;

extern std::list<DDSURFACEDATA> g_listPictureSurface;
extern std::list<SURFACEFILEDESC> g_listPictureDesc;
extern std::list<DDSURFACEDATA> g_listMessageSurface;
extern std::list<SURFACEFILEDESC> g_listMessageDesc;

// Releases every picture surface and empties both picture surface lists and the scene's
// picture list.
void ClearPictureLists(cPlayScene* scene);
// Releases every message surface and empties both message surface lists.
void ClearMessageSurfaces();
// Both of the above.
void ReleasePicturesAndMessageSurfaces(cPlayScene* scene);
// Draws the pictures of one layer (0 back, 1 front) on the target; a picture whose time has
// run out has its surface released and leaves the three lists.
void DrawPictures(cPlayScene* scene, DDSURFACEDATA* target, int layer, int hold);
// Whether a record belongs to the message surface list (a window's link to its surface is
// looked up before use, so a cleared list never leaves it pointing at freed memory).
bool IsMessageSurface(const DDSURFACEDATA* rec);
