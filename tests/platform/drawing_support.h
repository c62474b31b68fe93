// Helpers of the drawing-layer tests: a window to draw for, golden comparisons of surfaces, and
// a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/raster/surface.h"
#include "platform/win32/win32.h"
#include "tools/golden_image.h"

namespace drawtest {

inline LRESULT PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

// A top-level window with a client area of the given size (not shown).
inline HWND MakeWindow(int w = 640, int h = 480) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PlainProc;
        wc.lpszClassName = "DrawTestWindow";
        RegisterClassExA(&wc);
        registered = true;
    }
    RECT r{0, 0, w, h};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return CreateWindowExA(0, "DrawTestWindow", "draw test", WS_OVERLAPPEDWINDOW, 100, 100, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

inline std::vector<uint32_t> Argb(const raster::Surface& s, bool opaque) {
    std::vector<uint32_t> px((size_t)s.width * s.height);
    raster::ToArgbImage(s, px.data(), s.width * 4, opaque);
    return px;
}

// Compares a surface with tests/golden/NAME.png (alpha kept for formats that have it).
inline void ExpectGolden(const raster::Surface& s, const std::string& name) {
    bool alpha = raster::HasAlpha(s.format);
    std::vector<uint32_t> px = Argb(s, !alpha);
    tools::GoldenResult r = tools::CompareGolden(VELMORA_SOURCE_DIR, VELMORA_BINARY_DIR, name, px.data(), s.width,
                                                 s.height, alpha);
    EXPECT_TRUE(r.ok) << r.message;
}

// A fresh folder under the build tree for one test.
// CTest runs the tests of one executable side by side, so the folder carries the running test's
// name: two tests never empty each other's folder.
inline std::string TempFolder(const std::string& name) {
    std::string dir = std::string(VELMORA_BINARY_DIR) + "/test-tmp/" + name;
    if (const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info())
        dir += std::string("_") + info->test_suite_name() + "_" + info->name();
    std::string cmd = "rm -rf '" + dir + "' && mkdir -p '" + dir + "'";
    if (std::system(cmd.c_str()) != 0) return "";
    return dir;
}

}  // namespace drawtest
