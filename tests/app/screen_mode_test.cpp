// Start-up's screen-mode resolution as a table.
#include <gtest/gtest.h>

#include "app/screen_mode.h"

namespace {

struct Case {
    const char* what;
    SCREENMODEINPUT in;
    int result;
    SCREENMODE mode;
};

TEST(ScreenMode, ResolvesWindowSyncAndDepthOrRefuses) {
    // in: D3D, WindowMode, Bpp, VSync, RGB key, desktop depth, D3D full, DD full, Vista or later
    const Case cases[] = {
        {"D3D window, automatic depth", {1, 1, 0, 2, 0, 32, 0, 0, true}, SCREENMODE_OK, {1, 1, 32}},
        {"D3D window, depth unlike the desktop", {1, 1, 16, 0, 0, 32, 0, 0, true}, SCREENMODE_REFUSED_WINDOW, {1, 0, 16}},
        {"D3D full screen, 16-bit choice", {1, 0, 0, 1, 0, 32, 1, 0, true}, SCREENMODE_OK, {0, 1, 16}},
        {"D3D full screen never takes 8 bits", {1, 0, 0, 3, 0, 32, 2, 0, true}, SCREENMODE_OK, {0, 1, 32}},
        {"D3D full screen, Bpp 8 given", {1, 0, 8, 0, 0, 32, 0, 0, true}, SCREENMODE_REFUSED, {0, 0, 8}},
        {"DD window: no vertical sync", {0, 2, 0, 1, 0, 32, 0, 0, true}, SCREENMODE_OK, {1, 0, 32}},
        {"DD window at 8 bits", {0, 1, 8, 0, 0, 8, 0, 2, true}, SCREENMODE_REFUSED, {1, 0, 8}},
        {"DD full screen 8 bits", {0, 0, 0, 2, 0, 32, 0, 2, true}, SCREENMODE_OK, {0, 0, 8}},
        {"DD full screen, automatic sync on an old system", {0, 0, 0, 2, 0, 32, 0, 0, false}, SCREENMODE_OK, {0, 1, 32}},
        {"DD 8 bits needs the palette key", {0, 0, 0, 0, 1, 32, 0, 2, true}, SCREENMODE_OK, {0, 0, 32}},
        {"DD 8 bits given with the RGB key", {0, 0, 8, 0, 1, 32, 0, 0, true}, SCREENMODE_REFUSED, {0, 0, 8}},
        {"unknown depth", {0, 0, 24, 0, 0, 32, 0, 0, true}, SCREENMODE_REFUSED, {0, 0, 24}},
        {"window at 16 on a 16-bit desktop", {0, 1, 0, 0, 0, 16, 0, 0, true}, SCREENMODE_OK, {1, 0, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SCREENMODE m{};
        EXPECT_EQ(ResolveScreenMode(c.in, &m), c.result);
        EXPECT_EQ(m.bWindow, c.mode.bWindow);
        EXPECT_EQ(m.nVSync, c.mode.nVSync);
        EXPECT_EQ(m.nBpp, c.mode.nBpp);
    }
}

}  // namespace
