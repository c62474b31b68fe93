// The real window under Xvfb: the drawing layer's picture appears in the window exactly, in both
// back ends. The screen is taken with xwd and converted with netpbm.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/png.h"
#include "tools/testsupport/process.h"

namespace {

bool Have(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

bool WaitFor(const std::string& path, int ms) {
    struct stat st;
    for (int t = 0; t < ms; t += 50) {
        if (stat(path.c_str(), &st) == 0 && st.st_size > 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// How many pixels of the screen shot differ from the picture placed at (ox, oy); -1 when the
// shot cannot be read or is too small.
long Differences(const std::string& shot, const std::vector<uint32_t>& want, int ox, int oy) {
    std::vector<uint32_t> got;
    int sw = 0, sh = 0;
    if (!host::ReadPng(shot, &got, &sw, &sh) || sw < ox + 640 || sh < oy + 480) return -1;
    long bad = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if ((got[(size_t)(oy + y) * sw + ox + x] & 0xFFFFFF) != (want[(size_t)y * 640 + x] & 0xFFFFFF)) ++bad;
    return bad;
}

// Every wait below is for a condition; the bounds are only reached when something is broken,
// so a busy machine makes the test slower, never red.
constexpr int kWaitMs = 60000;

void ShowsPicture(const char* backEnd) {
    if (!Have("Xvfb") || !Have("xwd") || !Have("xwdtopnm") || !Have("pnmtopng"))
        GTEST_SKIP() << "Xvfb, xwd or netpbm missing";
    std::string dir = std::string(VELMORA_BINARY_DIR) + "/tmp/real_window_" + backEnd;
    ASSERT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    // The server picks a free display itself and writes its number once it takes connections,
    // so runs in parallel never share a server.
    int xvfb = testsupport::StartProcess(
        {"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, {}, dir,
        dir + "/display", dir + "/xvfb.err");
    ASSERT_GT(xvfb, 0);
    int number = -1;
    if (WaitFor(dir + "/display", kWaitMs)) std::ifstream(dir + "/display") >> number;
    if (number < 0) {
        std::system(("kill " + std::to_string(xvfb) + " 2>/dev/null").c_str());
        testsupport::WaitProcess(xvfb, kWaitMs);
        FAIL() << "Xvfb did not start: " << testsupport::ReadFile(dir + "/xvfb.err");
    }
    std::string disp = ":" + std::to_string(number);
    int demo = testsupport::StartProcess(
        {std::string(VELMORA_BINARY_DIR) + "/programs/draw_window_demo", backEnd, dir},
        {"DISPLAY=" + disp, "SDL_VIDEODRIVER=x11", "VELMORA_SCALE=1", "SDL_AUDIODRIVER=dummy"}, dir, dir + "/demo.out",
        dir + "/demo.err");
    ASSERT_GT(demo, 0);
    bool ready = WaitFor(dir + "/READY", kWaitMs);
    int ox = 0, oy = 0;
    std::ifstream(dir + "/READY") >> ox >> oy;
    std::vector<uint32_t> want;
    int ww = 0, wh = 0;
    const bool havePicture = ready && host::ReadPng(dir + "/PICTURE.png", &want, &ww, &wh) && ww == 640 && wh == 480;
    // The server may show the window a little after the program presented it: the screen is
    // taken again until it shows the picture.
    std::string shot = dir + "/screen.png";
    int rc = -1;
    long bad = -1;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (havePicture && std::chrono::steady_clock::now() < until) {
        rc = std::system(("xwd -root -silent -display " + disp + " | xwdtopnm 2>/dev/null | pnmtopng > '" + shot + "'").c_str());
        bad = rc == 0 ? Differences(shot, want, ox, oy) : -1;
        if (bad == 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    std::ofstream(dir + "/DONE") << "done\n";
    int demoExit = testsupport::WaitProcess(demo, kWaitMs);
    std::system(("kill " + std::to_string(xvfb) + " 2>/dev/null").c_str());
    testsupport::WaitProcess(xvfb, kWaitMs);
    ASSERT_TRUE(ready) << testsupport::ReadFile(dir + "/demo.err");
    ASSERT_TRUE(havePicture);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(demoExit, 0) << testsupport::ReadFile(dir + "/demo.err");
    EXPECT_EQ(bad, 0) << "pixels of the window differ from the picture presented; screen: " << shot;
}

TEST(RealWindow, Direct3DPictureOnScreen) { ShowsPicture("d3d"); }
TEST(RealWindow, DirectDrawPictureOnScreen) { ShowsPicture("dd"); }

}  // namespace
