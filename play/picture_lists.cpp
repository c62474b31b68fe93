#include "play/picture_lists.h"

#include <iterator>

#include "media/surface.h"
#include "play/play_scene.h"

std::list<DDSURFACEDATA> g_listPictureSurface;
std::list<SURFACEFILEDESC> g_listPictureDesc;
std::list<DDSURFACEDATA> g_listMessageSurface;
std::list<SURFACEFILEDESC> g_listMessageDesc;

void ClearPictureLists(cPlayScene* scene) {
    DDReleaseSurfaceArray(g_listPictureSurface);
    g_listPictureSurface.clear();
    g_listPictureDesc.clear();
    if (scene) scene->m_listPicture.clear();
}

void ClearMessageSurfaces() {
    DDReleaseSurfaceArray(g_listMessageSurface);
    g_listMessageSurface.clear();
    g_listMessageDesc.clear();
}

void ReleasePicturesAndMessageSurfaces(cPlayScene* scene) {
    ClearPictureLists(scene);
    ClearMessageSurfaces();
}

void DrawPictures(cPlayScene* scene, DDSURFACEDATA* target, int layer, int hold) {
    if (!scene || scene->m_listPicture.empty()) return;
    // The three lists are walked in step; a picture without its surface (lists out of step)
    // ends the walk rather than drawing another picture's bitmap.
    auto pic = scene->m_listPicture.begin();
    auto surf = g_listPictureSurface.begin();
    auto desc = g_listPictureDesc.begin();
    while (pic != scene->m_listPicture.end() && surf != g_listPictureSurface.end()) {
        if (pic->m_nLayer == layer && pic->Draw(target, &*surf, hold)) {
            DDReleaseSurface(&*surf);
            pic = scene->m_listPicture.erase(pic);
            surf = g_listPictureSurface.erase(surf);
            if (desc != g_listPictureDesc.end()) desc = g_listPictureDesc.erase(desc);
            continue;
        }
        ++pic;
        ++surf;
        if (desc != g_listPictureDesc.end()) ++desc;
    }
}

bool IsMessageSurface(const DDSURFACEDATA* rec) {
    if (!rec) return false;
    for (const DDSURFACEDATA& r : g_listMessageSurface)
        if (&r == rec) return true;
    return false;
}
