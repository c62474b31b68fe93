// Pictures: the display time (also while the game is held), the drawn size unscaled and
// stretched, the place with the stage or fixed on the screen, and the layer pass that removes
// finished pictures with their surfaces, the three lists kept in step.
#include <gtest/gtest.h>

#include "media/surface.h"
#include "play/picture_obj.h"
#include "tests/play/play_draw_fixture.h"

namespace {

class Pictures : public playdraw::PlayDrawFixture {
protected:
    // A 40 x 30 picture surface in the picture list: four quadrants of 20 x 15 in the
    // colours a (top-left), b (top-right), c (bottom-left) and d (bottom-right).
    DDSURFACEDATA* AddSurface(int a = 1, int b = 2, int c = 3, int d = 4) {
        EXPECT_TRUE(DDAddBlankSurfaceToList(g_listPictureSurface, g_listPictureDesc, 40, 30, 1, 0, 0, 0));
        DDSURFACEDATA* rec = &g_listPictureSurface.back();
        DDFillRect(rec, 0, 0, 20, 15, a);
        DDFillRect(rec, 20, 0, 20, 15, b);
        DDFillRect(rec, 0, 15, 20, 15, c);
        DDFillRect(rec, 20, 15, 20, 15, d);
        return rec;
    }
    // A picture with its surface appended to the lists.
    PictureObj& Add(double x, double y, int w, int h, int percent, int layer = 0, int time = 100, int fixed = 0,
                    int colour = 1) {
        AddSurface(colour, colour + 1, colour + 2, colour + 3);
        scene->m_listPicture.emplace_back();
        scene->m_listPicture.back().Set(1, x, y, w, h, fixed, layer, percent, kPictureTimed, time, 0, 0, 0);
        return scene->m_listPicture.back();
    }
    uint32_t Black() { return At(639, 479); }
};

TEST_F(Pictures, SetStoresTheSettingsAndFixesTheScreenPlaceFromTheViewOfThatMoment) {
    ScrollTo(100.7, 40.2);
    PictureObj p;
    p.Set(70000 + 3, 150.9, 60.5, 20, 10, 1, 1, 50, 2, 12, 1, 1, 9);
    EXPECT_EQ(p.m_wPictureId, (uint16_t)(70003 & 0xFFFF));
    EXPECT_EQ(p.m_bStretched, 1);
    EXPECT_EQ(p.m_nLayer, 1);
    EXPECT_EQ(p.m_nTimeLeft, 12);
    EXPECT_EQ(p.m_bManagedById, 1);
    EXPECT_EQ(p.m_nManagedId, 9);
    EXPECT_EQ(p.m_bScreenPosSet, 1);
    EXPECT_EQ(p.m_nScreenX, 150 - 100);
    EXPECT_EQ(p.m_nScreenY, 60 - 40);
    PictureObj q;
    q.Set(1, 150.0, 60.0, 20, 10, 0, 0, 100, 2, 12, 0, 0, 0);
    EXPECT_EQ(q.m_bStretched, 0);
    EXPECT_EQ(q.m_bScreenPosSet, 0);
}

TEST_F(Pictures, ATimedPictureEndsWhenItsTimeFallsBelowZeroAndCountsWhileHeldOnlyWhenAsked) {
    DDSURFACEDATA* rec = AddSurface();
    PictureObj zero;
    zero.Set(1, 10, 10, 40, 30, 0, 0, 100, kPictureTimed, 0, 0, 0, 0);
    EXPECT_EQ(zero.Draw(&g_BackBufferSD, rec, 0), 1);  // time 0: -1 on its first draw, not drawn
    EXPECT_EQ(At(10, 10), Black());

    struct Case {
        int countWhileHeld, hold, draws, endsOn;  // endsOn 0: still shown after the draws
    } cases[] = {{0, 0, 3, 3}, {0, 1, 5, 0}, {1, 1, 3, 3}};
    for (const Case& c : cases) {
        PictureObj p;
        p.Set(1, 10, 10, 40, 30, 0, 0, 100, kPictureTimed, 2, c.countWhileHeld, 0, 0);
        int ended = 0;
        for (int i = 1; i <= c.draws && !ended; ++i)
            if (p.Draw(&g_BackBufferSD, rec, c.hold)) ended = i;
        EXPECT_EQ(ended, c.endsOn) << "count while held " << c.countWhileHeld << ", hold " << c.hold;
    }
    // Another display mode is not counted here.
    PictureObj other;
    other.Set(1, 10, 10, 40, 30, 0, 0, 100, 0, 0, 1, 0, 0);
    EXPECT_EQ(other.Draw(&g_BackBufferSD, rec, 0), 0);
}

TEST_F(Pictures, UnscaledDrawsFromTheBitmapsTopLeftClippedToItsSizeStretchedScalesTheWholeBitmap) {
    DDSURFACEDATA* rec = AddSurface();
    const uint32_t a = At(0, 0, rec), b = At(39, 0, rec), c = At(0, 29, rec), d = At(39, 29, rec);
    ASSERT_NE(a, d);
    ASSERT_NE(a, Black());
    ScrollTo(0, 0);
    PictureObj clip;
    clip.Set(1, 100, 100, 25, 20, 0, 0, 100, kPictureTimed, 10, 0, 0, 0);
    EXPECT_EQ(clip.Draw(&g_BackBufferSD, rec, 0), 0);
    EXPECT_EQ(At(100, 100), a);
    EXPECT_EQ(At(124, 100), b);      // 25 wide: into the top-right quadrant
    EXPECT_EQ(At(125, 100), Black());  // clipped
    EXPECT_EQ(At(100, 119), c);
    EXPECT_EQ(At(100, 120), Black());

    PictureObj big;
    big.Set(1, 300, 200, 80, 60, 0, 0, 200, kPictureTimed, 10, 0, 0, 0);
    EXPECT_EQ(big.Draw(&g_BackBufferSD, rec, 0), 0);
    EXPECT_EQ(At(300, 200), a);
    EXPECT_EQ(At(339, 229), a);  // source (19, 14)
    EXPECT_EQ(At(340, 230), d);  // source (20, 15)
    EXPECT_EQ(At(379, 259), d);
    EXPECT_EQ(At(380, 259), Black());
    EXPECT_EQ(At(379, 260), Black());
}

TEST_F(Pictures, AScreenFixedPictureKeepsItsScreenPlaceWhileTheViewScrollsAnotherMovesWithTheStage) {
    DDSURFACEDATA* rec = AddSurface();
    const uint32_t a = At(0, 0, rec);
    ScrollTo(100, 20);
    PictureObj fixed, stage;
    fixed.Set(1, 150, 70, 40, 30, 1, 0, 100, kPictureTimed, 10, 0, 0, 0);
    stage.Set(1, 150, 170, 40, 30, 0, 0, 100, kPictureTimed, 10, 0, 0, 0);
    ScrollTo(130.9, 25);
    fixed.Draw(&g_BackBufferSD, rec, 0);
    stage.Draw(&g_BackBufferSD, rec, 0);
    int x, y;
    fixed.ScreenPosition(x, y);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 50);
    EXPECT_EQ(At(50, 50), a);
    stage.ScreenPosition(x, y);
    EXPECT_EQ(x, 150 - 130);
    EXPECT_EQ(y, 170 - 25);
    EXPECT_EQ(At(20, 145), a);
    EXPECT_EQ(At(19, 145), Black());
}

TEST_F(Pictures, TheLayerPassDrawsItsLayerAndRemovesFinishedPicturesWithTheirSurfaces) {
    ScrollTo(0, 0);
    Add(0, 0, 40, 30, 100, 0, 0, 0, 5);     // finishes on its first draw
    Add(100, 0, 40, 30, 100, 1, 10, 0, 9);  // front layer
    Add(200, 0, 40, 30, 100, 0, 10, 0, 13);
    const uint32_t third = At(0, 0, &*std::next(g_listPictureSurface.begin(), 2));
    DrawPictures(scene.get(), &g_BackBufferSD, 0, 0);
    EXPECT_EQ(scene->m_listPicture.size(), 2u);
    EXPECT_EQ(g_listPictureSurface.size(), 2u);
    EXPECT_EQ(g_listPictureDesc.size(), 2u);
    EXPECT_EQ(At(0, 0), Black());
    EXPECT_EQ(At(100, 0), Black());  // not in this pass
    EXPECT_EQ(At(200, 0), third);    // its own surface, the lists still in step
    // The surfaces that remain belong to the two pictures that remain, in order.
    EXPECT_EQ(scene->m_listPicture.front().m_nLayer, 1);
    DrawPictures(scene.get(), &g_BackBufferSD, 1, 0);
    EXPECT_EQ(At(100, 0), At(0, 0, &g_listPictureSurface.front()));
    EXPECT_EQ(scene->m_listPicture.front().m_nTimeLeft, 9);  // counted once, by its own pass

    ReleasePicturesAndMessageSurfaces(scene.get());
    EXPECT_TRUE(scene->m_listPicture.empty());
    EXPECT_TRUE(g_listPictureSurface.empty());
    EXPECT_TRUE(g_listPictureDesc.empty());
    DrawPictures(scene.get(), &g_BackBufferSD, 0, 0);  // nothing left: nothing happens
}

TEST_F(Pictures, ListsOutOfStepEndTheWalkInsteadOfDrawingAnotherPicturesBitmap) {
    ScrollTo(0, 0);
    Add(0, 0, 40, 30, 100);
    scene->m_listPicture.emplace_back();  // a picture without a surface
    scene->m_listPicture.back().Set(1, 100, 0, 40, 30, 0, 0, 100, kPictureTimed, 0, 0, 0, 0);
    DrawPictures(scene.get(), &g_BackBufferSD, 0, 0);
    EXPECT_EQ(scene->m_listPicture.size(), 2u);
    EXPECT_EQ(At(100, 0), Black());
}

}  // namespace
