// The DirectDraw frame steps of the frame driver: how a frame is presented (a stage faster than
// 60 frames per second is blitted without waiting), and the order and failure of the restore
// after lost surfaces.
#include <gtest/gtest.h>

#include <cstring>

#include "app/game_loop.h"
#include "app/init_game.h"
#include "app/scene.h"
#include "app/scene_manager.h"
#include "frontend/menu_scene.h"
#include "media/game_fonts.h"
#include "records/stage.h"
#include "tests/media/draw_fixture.h"

namespace {

class FrameSteps : public drawtest::DrawFixture {
protected:
    void TearDown() override {
        delete g_SceneManager.m_lpScenes[SCENE_PLAY];
        g_SceneManager.m_lpScenes[SCENE_PLAY] = nullptr;
        g_LoadedStage.m_nFrameRate = 0;
        for (DDSURFACEDATA& r : g_vecSceneSurface) DDReleaseSurface(&r);
        g_vecSceneSurface.clear();
        DDReleaseSurface(&g_DigitSheets[0]);
        g_bDDInitialized = 0;
        g_bPresentByBlit = 1;
        DrawFixture::TearDown();
    }
    raster::Surface* FrontPixels() { return ddraw::SurfacePixels(g_PrimarySD.lpDD->lpSurface); }
    bool Lost(const DDSURFACEDATA& r) { return r.lpDD->lpSurface->IsLost() == DDERR_SURFACELOST; }
};

// Full screen: a flip hands the back buffer's picture to the front and the old front to the
// back buffer; a blit copies it and the back buffer keeps its picture.
TEST_F(FrameSteps, AStageAbove60FramesIsBlittedAndOneAt60Flipped) {
    Open(drawtest::Mode{"dd_32_full", 0, 32, 0});
    g_bDDInitialized = 1;
    g_bPresentByBlit = 0;  // start-up chose the flip
    g_SceneManager.m_lpScenes[SCENE_PLAY] = new cScene();
    struct Case {
        int rate;
        bool playScene;
        bool blitted;
    } cases[] = {{60, true, false}, {120, true, true}, {61, true, true}, {120, false, false}};
    for (const Case& c : cases) {
        if (!c.playScene) {
            delete g_SceneManager.m_lpScenes[SCENE_PLAY];
            g_SceneManager.m_lpScenes[SCENE_PLAY] = nullptr;
        }
        g_LoadedStage.m_nFrameRate = c.rate;
        EXPECT_EQ(PlayFasterThan60(), c.blitted ? 1 : 0) << c.rate;
        DDFillRect(&g_PrimarySD, 0, 0, 640, 480, 3);
        DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 9);
        const uint32_t front = FrontPixels()->Get(5, 5), back = BackPixels()->Get(5, 5);
        ASSERT_NE(front, back);
        PresentFrame();
        EXPECT_EQ(FrontPixels()->Get(5, 5), back) << c.rate;
        EXPECT_EQ(BackPixels()->Get(5, 5), c.blitted ? back : front) << c.rate;
    }
}

// After a loss the scene work surfaces are copied again before the digit sheets; a copy that
// fails ends the restore with 0 and leaves the digit sheets lost.
TEST_F(FrameSteps, RestoreCopiesTheCollectionsThenTheDigitSheetsAndStopsAtAFailedCopy) {
    Open(drawtest::Mode{"dd_32", 0, 32, 0});
    g_vecSceneSurface.resize(1);
    DDSURFACEDATA& work = g_vecSceneSurface[0];
    ASSERT_TRUE(DDCreateSurface(&work, 48, 24, 0, 0, 0, 0, 0));
    std::strcpy(work.szFileName, "bmp\\Missing.bmp");
    ASSERT_TRUE(DDCreateSurface(&g_DigitSheets[0], 40, 16, 1, 0, 0, 0, 0));

    ddraw::SimulateSurfaceLoss(g_lpDD);
    EXPECT_EQ(RestoreSurfaces(), 0);
    EXPECT_FALSE(Lost(g_PrimarySD));
    EXPECT_FALSE(Lost(work));
    EXPECT_EQ(work.bLost, 1u);
    EXPECT_TRUE(Lost(g_DigitSheets[0]));  // the visit ended before the digit sheets

    std::strcpy(work.szFileName, "bmp\\Title.bmp");
    work.bLost = 0;
    ddraw::SimulateSurfaceLoss(g_lpDD);
    EXPECT_EQ(RestoreSurfaces(), 1);
    EXPECT_FALSE(Lost(work));
    EXPECT_EQ(work.bLost, 1u);  // its scene draws it again
    EXPECT_EQ(Pixels(work)->GetArgb(0, 0) & 0xFFFFFF, 0x3050A0u);  // the bitmap copied again
    EXPECT_FALSE(Lost(g_DigitSheets[0]));
    EXPECT_EQ(RestoreSurfaces(), 1);  // nothing lost: nothing to do
}

}  // namespace
