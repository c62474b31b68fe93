// The real window under Xvfb: the drawing layer's picture appears in the window exactly, in both
// back ends. The screen is taken with xwd and converted with netpbm.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

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

void ShowsPicture(const char* backEnd, int display) {
    if (!Have("Xvfb") || !Have("xwd") || !Have("xwdtopnm") || !Have("pnmtopng"))
        GTEST_SKIP() << "Xvfb, xwd or netpbm missing";
    std::string dir = std::string(VELMORA_BINARY_DIR) + "/tmp/real_window_" + backEnd;
    ASSERT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    std::string disp = ":" + std::to_string(display);
    int xvfb = testsupport::StartProcess({"/usr/bin/Xvfb", disp, "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, {},
                                         dir, "", dir + "/xvfb.err");
    ASSERT_GT(xvfb, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    int demo = testsupport::StartProcess(
        {std::string(VELMORA_BINARY_DIR) + "/programs/draw_window_demo", backEnd, dir},
        {"DISPLAY=" + disp, "SDL_VIDEODRIVER=x11", "VELMORA_SCALE=1", "SDL_AUDIODRIVER=dummy"}, dir, dir + "/demo.out",
        dir + "/demo.err");
    ASSERT_GT(demo, 0);
    bool ready = WaitFor(dir + "/READY", 20000);
    std::string shot = dir + "/screen.png";
    int rc = ready ? std::system(("xwd -root -silent -display " + disp + " | xwdtopnm 2>/dev/null | pnmtopng > '" + shot + "'").c_str()) : -1;
    std::ofstream(dir + "/DONE") << "done\n";
    int demoExit = testsupport::WaitProcess(demo, 20000);
    std::system(("kill " + std::to_string(xvfb) + " 2>/dev/null").c_str());
    testsupport::WaitProcess(xvfb, 5000);
    ASSERT_TRUE(ready) << testsupport::ReadFile(dir + "/demo.err");
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(demoExit, 0) << testsupport::ReadFile(dir + "/demo.err");
    int ox = 0, oy = 0;
    std::ifstream(dir + "/READY") >> ox >> oy;
    std::vector<uint32_t> want, got;
    int ww = 0, wh = 0, sw = 0, sh = 0;
    ASSERT_TRUE(host::ReadPng(dir + "/PICTURE.png", &want, &ww, &wh));
    ASSERT_TRUE(host::ReadPng(shot, &got, &sw, &sh));
    ASSERT_EQ(ww, 640);
    ASSERT_GE(sw, ox + 640);
    ASSERT_GE(sh, oy + 480);
    size_t bad = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if ((got[(size_t)(oy + y) * sw + ox + x] & 0xFFFFFF) != (want[(size_t)y * 640 + x] & 0xFFFFFF)) ++bad;
    EXPECT_EQ(bad, 0u) << "pixels of the window differ from the picture presented; screen: " << shot;
}

TEST(RealWindow, Direct3DPictureOnScreen) { ShowsPicture("d3d", 57); }
TEST(RealWindow, DirectDrawPictureOnScreen) { ShowsPicture("dd", 58); }

}  // namespace
