// The GDI resource holder of windows and bitmap controls: what it holds is put back where it
// was displaced from and deleted, exactly once.
#include <gtest/gtest.h>

#include <string>

#include "app/ctrl.h"
#include "app/gdi_bitmap.h"
#include "app/window.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/files.h"
#include "tests/platform/drawing_support.h"
#include "tools/bmp_writer.h"

namespace {

class GdiBitmapTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string dir = drawtest::TempFolder("gdi_holder");
        ASSERT_FALSE(dir.empty());
        path_ = dir + "/pic.bmp";
        ASSERT_TRUE(tools::WriteBmp(path_, tools::SolidPicture(8, 8, 0x336699), tools::BmpOptions{24, false, false}));
    }
    HBITMAP Bitmap() {
        return (HBITMAP)LoadImageA(nullptr, WindowsPathFromHost(path_).c_str(), IMAGE_BITMAP, 0, 0,
                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    }
    static bool Alive(HBITMAP b) {
        BITMAP bm{};
        return GetObjectA(b, sizeof bm, &bm) != 0;
    }
    // Fills a holder as a window would: both contexts with a bitmap, a font in the first one
    // and a further object.
    void Fill(cGdiBitmap& g) {
        for (int i = 0; i < 2; ++i) {
            g.m_hDC[i] = CreateCompatibleDC(nullptr);
            g.m_hBitmap[i] = Bitmap();
            ASSERT_TRUE(g.m_hDC[i] && g.m_hBitmap[i]);
            g.m_hOldBitmap[i] = SelectObject(g.m_hDC[i], g.m_hBitmap[i]);
        }
        g.m_hFont = CreateFontA(16, 0, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0, "ＭＳ ゴシック");
        ASSERT_TRUE(g.m_hFont);
        g.m_hOldFont = SelectObject(g.m_hDC[0], g.m_hFont);
        g.m_hObject = Bitmap();
    }
    std::string path_;
};

TEST_F(GdiBitmapTest, TheDestructorPutsBackAndDeletesEverythingOnce) {
    HDC dc[2];
    HBITMAP bm[2], further;
    HFONT font;
    {
        cGdiBitmap g;
        Fill(g);
        dc[0] = g.m_hDC[0], dc[1] = g.m_hDC[1], bm[0] = g.m_hBitmap[0], bm[1] = g.m_hBitmap[1];
        font = g.m_hFont, further = (HBITMAP)g.m_hObject;
        // Selected objects cannot be deleted while the holder has them in its contexts.
        EXPECT_FALSE(DeleteObject(bm[0]));
        EXPECT_FALSE(DeleteObject(font));
    }
    EXPECT_FALSE(Alive(bm[0]));
    EXPECT_FALSE(Alive(bm[1]));
    EXPECT_FALSE(Alive(further));
    EXPECT_FALSE(DeleteObject(font));  // deleted already
    EXPECT_FALSE(DeleteDC(dc[0]));
    EXPECT_FALSE(DeleteDC(dc[1]));
}

TEST_F(GdiBitmapTest, ReleaseAndReleaseFontEachTakeTheirPartOnlyOnce) {
    cGdiBitmap g;
    Fill(g);
    HBITMAP bm0 = g.m_hBitmap[0], further = (HBITMAP)g.m_hObject;
    HFONT font = g.m_hFont;
    HDC dc0 = g.m_hDC[0];
    g.ReleaseFont();
    EXPECT_EQ(g.m_hFont, nullptr);
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_TRUE(Alive(bm0));  // the bitmaps stay until Release
    g.Release();
    g.Release();  // nothing left: does nothing
    g.ReleaseFont();
    EXPECT_FALSE(Alive(bm0));
    EXPECT_FALSE(DeleteDC(dc0));
    EXPECT_TRUE(Alive(further));  // the further object goes with the holder
}

TEST_F(GdiBitmapTest, WindowsAndBitmapControlsReleaseTheirTwoHolders) {
    HBITMAP held[4];
    {
        cWindow w;
        cCtrlBitmap c;
        cGdiBitmap* holders[4] = {&w.m_Gdi1, &w.m_Gdi2, &c.m_Gdi1, &c.m_Gdi2};
        for (int i = 0; i < 4; ++i) {
            held[i] = Bitmap();
            holders[i]->m_hObject = held[i];
        }
        cWindow empty;  // holds nothing, releases nothing
    }
    for (HBITMAP b : held) EXPECT_FALSE(Alive(b));
}

}  // namespace
