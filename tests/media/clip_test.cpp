// DDClipRect and DDMirrorSourceRect as one table of cases.
#include <gtest/gtest.h>

#include "media/blit.h"
#include "media/draw_device.h"

namespace {

struct ClipCase {
    const char* what;
    bool d3d;
    int x, y, dw, dh, sx, sy, sw, sh;  // in
    int ok;
    int ox = 0, oy = 0, odw = 0, odh = 0, osx = 0, osy = 0, osw = 0, osh = 0;  // out (when ok)
};

}  // namespace

TEST(DrawClip, TableOfCases) {
    DDSURFACEDATA dst{}, src{};
    dst.nWidth = 100;
    dst.nHeight = 80;
    src.nWidth = 64;
    src.nHeight = 32;
    const ClipCase cases[] = {
        {"inside", false, 10, 10, 16, 16, 8, 8, 16, 16, 1, 10, 10, 16, 16, 8, 8, 16, 16},
        {"nothing: zero width", false, 10, 10, 0, 16, 8, 8, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"nothing: zero source height", false, 10, 10, 16, 16, 8, 8, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"left edge", false, -5, 10, 16, 16, 8, 8, 16, 16, 1, 0, 10, 11, 16, 13, 8, 11, 16},
        {"top edge", false, 10, -6, 16, 16, 8, 8, 16, 16, 1, 10, 0, 16, 10, 8, 14, 16, 10},
        {"right edge", false, 90, 10, 16, 16, 8, 8, 16, 16, 1, 90, 10, 10, 16, 8, 8, 10, 16},
        {"bottom edge", false, 10, 70, 16, 16, 8, 8, 16, 16, 1, 10, 70, 16, 10, 8, 8, 16, 10},
        {"wholly outside", false, 100, 10, 16, 16, 8, 8, 16, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"source past the sheet's right", false, 10, 10, 16, 16, 56, 0, 16, 16, 1, 10, 10, 8, 16, 56, 0, 8, 16},
        {"negative source x moves the destination", false, 10, 10, 16, 16, -4, 0, 16, 16, 1, 14, 10, 12, 16, 0, 0, 12, 16},
        {"source over both edges", false, 0, 0, 80, 8, -8, 0, 80, 8, 1, 8, 0, 64, 8, 0, 0, 64, 8},
        {"negative source y", false, 10, 10, 16, 16, 0, -3, 16, 16, 1, 10, 13, 16, 13, 0, 0, 16, 13},
        {"stretch inside", false, 10, 10, 32, 32, 0, 0, 16, 16, 1, 10, 10, 32, 32, 0, 0, 16, 16},
        {"stretch: source shrinks, destination in proportion", false, 10, 10, 64, 32, 48, 0, 32, 16, 1, 10, 10, 32, 32, 48, 0, 16, 16},
        {"stretch: left edge of the destination", false, -8, 0, 32, 32, 0, 0, 16, 16, 1, 0, 0, 24, 32, 4, 0, 12, 16},
        {"stretch: right edge of the destination", false, 84, 0, 32, 32, 0, 0, 16, 16, 1, 84, 0, 16, 32, 0, 0, 8, 16},
        {"stretch: negative source x", false, 0, 0, 32, 16, -8, 0, 16, 16, 1, 16, 0, 16, 16, 0, 0, 8, 16},
        {"Direct3D mirrored stretch inside", true, 0, 0, 32, 32, 32, 0, -32, 32, 1, 0, 0, 32, 32, 32, 0, -32, 32},
        {"Direct3D mirrored source past the left", true, 0, 0, 32, 32, 16, 0, -32, 32, 1, 0, 0, 16, 32, 16, 0, -16, 32},
        {"Direct3D mirrored source past the right", true, 0, 0, 32, 16, 72, 0, -32, 16, 1, 8, 0, 24, 16, 64, 0, -24, 16},
    };
    DDDEVICE fake{};
    for (const ClipCase& c : cases) {
        SCOPED_TRACE(c.what);
        g_lpDDDevice = c.d3d ? &fake : nullptr;
        int x = c.x, y = c.y, dw = c.dw, dh = c.dh, sx = c.sx, sy = c.sy, sw = c.sw, sh = c.sh;
        int ok = DDClipRect(&dst, &x, &y, &dw, &dh, &src, &sx, &sy, &sw, &sh);
        EXPECT_EQ(ok, c.ok);
        if (ok && c.ok) {
            EXPECT_EQ(x, c.ox);
            EXPECT_EQ(y, c.oy);
            EXPECT_EQ(dw, c.odw);
            EXPECT_EQ(dh, c.odh);
            EXPECT_EQ(sx, c.osx);
            EXPECT_EQ(sy, c.osy);
            EXPECT_EQ(sw, c.osw);
            EXPECT_EQ(sh, c.osh);
        }
    }
    g_lpDDDevice = nullptr;
}

TEST(DrawClip, MirrorSourceRectFormulas) {
    DDSURFACEDATA owner{}, view{};
    view.lpLink = &owner;
    view.nMirrorW = 32;
    view.nMirrorH = 16;
    struct Case {
        int sx, sy, sw, sh;
        int osx, osy, osw, osh;
    } cases[] = {
        {0, 0, 32, 16, 32, 16, -32, -16},     // whole cells
        {40, 0, 16, 16, 56, 16, -16, -16},    // part of a cell mirrored within it
        {64, 20, 8, 4, 96, 28, -8, -4},
        {10, 0, 64, 32, 10, 0, 64, 32},       // larger than a cell: left alone
        {-4, 0, 8, 16, 36, 16, -8, -16},      // the remainder takes the sign of sx
        {8, 0, 0, 16, 24, 16, 0, -16},        // zero width counts as less than a cell
    };
    DDDEVICE fake{};
    g_lpDDDevice = &fake;
    for (const Case& c : cases) {
        int sx = c.sx, sy = c.sy, sw = c.sw, sh = c.sh;
        DDMirrorSourceRect(&view, &sx, &sy, &sw, &sh);
        EXPECT_EQ(sx, c.osx) << c.sx;
        EXPECT_EQ(sy, c.osy) << c.sy;
        EXPECT_EQ(sw, c.osw) << c.sw;
        EXPECT_EQ(sh, c.osh) << c.sh;
    }
    // Only views of another record's texture are mirrored, and only with Direct3D.
    int sx = 0, sy = 0, sw = 32, sh = 16;
    DDMirrorSourceRect(&owner, &sx, &sy, &sw, &sh);
    EXPECT_EQ(sw, 32);
    g_lpDDDevice = nullptr;
    DDMirrorSourceRect(&view, &sx, &sy, &sw, &sh);
    EXPECT_EQ(sw, 32);
}
