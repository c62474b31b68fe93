// The start-up dialog in a real window: under Xvfb the dialog appears in a window of its own,
// pixel for pixel as the layer draws it, and Start writes Boot.dat. The screen is taken with xwd
// and converted with netpbm.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/host/png.h"
#include "tools/testsupport/process.h"

namespace {

bool Have(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

// Where a picture lies within a larger one, exactly; false when it is nowhere.
bool Find(const std::vector<uint32_t>& big, int bw, int bh, const std::vector<uint32_t>& small, int sw, int sh,
          int* fx, int* fy) {
    for (int y = 0; y + sh <= bh; ++y)
        for (int x = 0; x + sw <= bw; ++x) {
            bool same = true;
            for (int j = 0; j < sh && same; ++j)
                for (int i = 0; i < sw; ++i)
                    if ((big[(size_t)(y + j) * bw + x + i] & 0xFFFFFF) != (small[(size_t)j * sw + i] & 0xFFFFFF)) {
                        same = false;
                        break;
                    }
            if (same) {
                *fx = x;
                *fy = y;
                return true;
            }
        }
    return false;
}

TEST(StartupDialogOnScreen, TheDialogShowsInItsOwnWindowAndStartWritesBootDat) {
    if (!Have("xvfb-run") || !Have("xwd") || !Have("xwdtopnm") || !Have("pnmtopng"))
        GTEST_SKIP() << "xvfb-run, xwd or netpbm missing";
    std::string dir = std::string(VELMORA_BINARY_DIR) + "/tmp/e2e_startup_dialog";
    ASSERT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "/user_data' '" + dir + "/.runtime'").c_str()),
              0);
    // The dialog is drawn and saved, stays up while the screen is taken (a few times, as the X
    // server may map the window late on a busy machine), then Start is pressed.
    std::ofstream(dir + "/run.script") << "answer dialog capture shown.png wait 6000 click 1000\ntimeout 60\n";
    std::string demo = std::string(VELMORA_BINARY_DIR) + "/programs/startup_dialog_demo";
    std::string cmd = "cd '" + dir + "' && xvfb-run -a -s '-screen 0 1024x768x24' sh -c '"
                      "SDL_VIDEODRIVER=x11 VELMORA_SCALE=1 VELMORA_SCRIPT=" + dir + "/run.script VELMORA_RUNTIME_DIR=" +
                      dir + "/.runtime " + demo + " " + dir + " > demo.out 2> demo.err & pid=$!; "
                      "for i in $(seq 1 400); do [ -s shown.png ] && break; sleep 0.05; done; "
                      "for n in 1 2 3 4 5; do sleep 0.8; xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > screen$n.png; done; "
                      "wait $pid' > run.out 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << testsupport::ReadFile(dir + "/run.out")
                                           << testsupport::ReadFile(dir + "/demo.err");
    EXPECT_EQ(testsupport::ReadFile(dir + "/demo.out"), "ok 1\n") << testsupport::ReadFile(dir + "/demo.err");
    EXPECT_EQ(testsupport::ReadFile(dir + "/user_data/Boot.dat").size(), 20u);
    std::vector<uint32_t> dialog;
    int dw = 0, dh = 0;
    ASSERT_TRUE(host::ReadPng(dir + "/shown.png", &dialog, &dw, &dh)) << testsupport::ReadFile(dir + "/demo.err");
    int x = -1, y = -1;
    for (int n = 1; n <= 5 && x < 0; ++n) {
        std::vector<uint32_t> screen;
        int sw = 0, sh = 0;
        if (host::ReadPng(dir + "/screen" + std::to_string(n) + ".png", &screen, &sw, &sh))
            Find(screen, sw, sh, dialog, dw, dh, &x, &y);
    }
    ASSERT_GE(x, 0) << "the dialog is on none of the screens taken: " << dir << "/screen*.png";
    // Over the centre of the main window, which is centred on the screen.
    EXPECT_GT(x, 200);
    EXPECT_GT(y, 150);
}

}  // namespace
