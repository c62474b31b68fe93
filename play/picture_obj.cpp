#include "play/picture_obj.h"

#include <cstdint>

#include "app/scene_manager.h"
#include "media/blit.h"
#include "media/draw_types.h"
#include "play/game_obj.h"
#include "play/play_scene.h"

namespace {

// The view's top-left corner in whole dots (none without a play scene).
void ScrollDots(int& x, int& y) {
    x = g_lpPlayScene ? DotToInt(g_lpPlayScene->m_ScrollX.m_dPos) : 0;
    y = g_lpPlayScene ? DotToInt(g_lpPlayScene->m_ScrollY.m_dPos) : 0;
}

// A screen coordinate from a stage coordinate, held inside the int range.
int32_t ToScreen(double stage, int scroll) {
    const int64_t v = (int64_t)DotToInt(stage) - scroll;
    return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : (int32_t)v;
}

}  // namespace

void PictureObj::Set(int pictureId, double x, double y, int width, int height, int screenFixed, int layer,
                     int percent, int dispMode, int time, int countWhileHeld, int managedById, int id) {
    m_wPictureId = (uint16_t)pictureId;
    m_dX = x;
    m_dY = y;
    m_nWidth = width;
    m_nHeight = height;
    m_bStretched = percent != 100 ? 1 : 0;
    m_nLayer = layer;
    m_nDispMode = dispMode;
    m_nTimeLeft = time;
    m_bCountWhileHeld = countWhileHeld;
    m_bScreenFixed = screenFixed;
    m_bManagedById = managedById;
    m_nManagedId = id;
    m_bScreenPosSet = 0;
    m_nScreenX = m_nScreenY = 0;
    if (screenFixed) {
        int sx, sy;
        ScrollDots(sx, sy);
        m_nScreenX = ToScreen(x, sx);
        m_nScreenY = ToScreen(y, sy);
        m_bScreenPosSet = 1;
    }
}

void PictureObj::ScreenPosition(int& x, int& y) const {
    if (m_bScreenFixed) {
        x = m_nScreenX;
        y = m_nScreenY;
        return;
    }
    int sx, sy;
    ScrollDots(sx, sy);
    x = ToScreen(m_dX, sx);
    y = ToScreen(m_dY, sy);
}

int PictureObj::Draw(DDSURFACEDATA* target, DDSURFACEDATA* surface, int hold) {
    if (m_nDispMode == kPictureTimed && (m_bCountWhileHeld || !hold)) {
        if (m_nTimeLeft > INT32_MIN) --m_nTimeLeft;
        if (m_nTimeLeft < 0) return 1;
    }
    if (!target || !surface || m_nWidth <= 0 || m_nHeight <= 0) return 0;
    int x, y;
    ScreenPosition(x, y);
    if (!m_bStretched)
        DDBlt(target, x, y, m_nWidth, m_nHeight, surface, 0, 0, DDBLT_TRANSPARENT);
    else if (surface->nWidth > 0 && surface->nHeight > 0)
        DDBltStretch(target, x, y, m_nWidth, m_nHeight, surface, 0, 0, surface->nWidth, surface->nHeight,
                     DDBLT_TRANSPARENT);
    return 0;
}
