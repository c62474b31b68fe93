// Drawing tests of the play scene's pictures and message windows: the scene fixture's game
// folder and drawing device, a play scene of its own (not run by the manager) whose scroll
// position the tests set, and pixel access to the back buffer and to surface records.
#pragma once

#include <memory>

#include "play/picture_lists.h"
#include "play/play_scene.h"
#include "tests/frontend/scene_fixture.h"

namespace playdraw {

class PlayDrawFixture : public scenetest::SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        Open(d3d);
        // The fonts' box image, as the play scene's common assets have it.
        const int slots[] = {45};
        ASSERT_TRUE(DDReloadSurfaces(g_SurfaceData, slots, 1));
        scene = std::make_unique<cPlayScene>();
        g_lpPlayScene = scene.get();
        DDFillSurface(&g_BackBufferSD, 16);
    }
    void TearDown() override {
        ReleasePicturesAndMessageSurfaces(scene.get());
        scene.reset();
        g_lpPlayScene = nullptr;
        SceneFixture::TearDown();
    }
    // The colour of a pixel of a surface record (the back buffer when none is named).
    uint32_t At(int x, int y, DDSURFACEDATA* rec = nullptr) {
        if (!rec) rec = &g_BackBufferSD;
        raster::Surface* s = g_lpDDDevice ? d3d9::SurfacePixels(rec->lpDT->lpSurface)
                                          : ddraw::SurfacePixels(rec->lpDD->lpSurface);
        return drawtest::Argb(*s, true)[(size_t)y * s->width + x];
    }
    // The whole back buffer, row by row (640 per row).
    std::vector<uint32_t> BackColours() { return drawtest::Argb(*BackPixels(), true); }
    void ScrollTo(double x, double y) {
        scene->m_ScrollX.m_dPos = x;
        scene->m_ScrollY.m_dPos = y;
    }

    int d3d = 0;
    std::unique_ptr<cPlayScene> scene;
};

}  // namespace playdraw
