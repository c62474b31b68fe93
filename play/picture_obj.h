// A picture of the project's picture list shown over the play picture by the show-picture
// command: where it stands (with the stage, or fixed on the screen), its drawn size, its draw
// layer and its display time. The command holds its bitmap in the picture surface list.
#pragma once

#include <cstdint>

struct DDSURFACEDATA;

// The only display mode whose time the picture counts itself.
constexpr int32_t kPictureTimed = 2;

class PictureObj {
public:
    // Stores the settings. A size percentage other than 100 stretches the whole bitmap to
    // width x height; a screen-fixed picture takes its screen place from the view now.
    void Set(int pictureId, double x, double y, int width, int height, int screenFixed, int layer, int percent,
             int dispMode, int time, int countWhileHeld, int managedById, int id);
    // Counts the display time and draws the picture on the target; 1 when its time has run
    // out (nothing drawn, the caller removes it), else 0.
    int Draw(DDSURFACEDATA* target, DDSURFACEDATA* surface, int hold);
    // The picture's top-left corner on the screen now.
    void ScreenPosition(int& x, int& y) const;

    uint16_t m_wPictureId = 0;
    double m_dX = 0.0, m_dY = 0.0;     // stage position, dots
    int32_t m_nWidth = 0, m_nHeight = 0;  // drawn size, dots
    int32_t m_bStretched = 0;
    int32_t m_nLayer = 0;              // 0 back, 1 front
    int32_t m_nDispMode = 0;
    int32_t m_nTimeLeft = 0;
    int32_t m_bCountWhileHeld = 0;
    int32_t m_bScreenFixed = 0;
    int32_t m_bScreenPosSet = 0;
    int32_t m_nScreenX = 0, m_nScreenY = 0;
    int32_t m_bManagedById = 0;
    int32_t m_nManagedId = 0;
};
