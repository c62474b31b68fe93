// The headless test driver end to end: a small program on the layer gets scripted keys as window
// messages at the right frames, a scripted message-box answer, a captured frame and a close.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/host/png.h"
#include "tools/testsupport/process.h"

namespace {

TEST(TestDriver, ScriptedKeysAnswersCaptureAndClose) {
    std::string dir = std::string(VELMORA_BINARY_DIR) + "/tmp/driver";
    ASSERT_EQ(system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    // Scripts are UTF-8 (narrow literals here are Shift-JIS, so the text is a u8 literal).
    std::ofstream(dir + "/run.script") << "# keys, an answer, a capture, the end\n"
                                       << "msgbox no \"" << (const char*)u8"続けますか" << "\"\n"
                                       << "at 3 key down ESCAPE\n"
                                          "at 5 key tap Z\n"
                                          "at 4 capture frame4.png\n"
                                          "at 8 close\n"
                                          "timeout 60\n";
    auto r = testsupport::RunProcess({std::string(VELMORA_BINARY_DIR) + "/programs/driver_demo"},
                                     {"VELMORA_SCRIPT=" + dir + "/run.script", "SDL_VIDEODRIVER=dummy", "DISPLAY="},
                                     dir, 60000);
    ASSERT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 7) << r.err;
    EXPECT_EQ(r.out,
              "answer 7\n"
              "frame 3 keydown 27\n"
              "frame 5 keydown 90\n"
              "frame 6 keyup 90\n"
              "frame 9 close\n"
              "quit 7 after 9 frames\n");
    EXPECT_NE(r.err.find("[script] msgbox"), std::string::npos);
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(host::ReadPng(dir + "/frame4.png", &px, &w, &h));
    ASSERT_EQ(w, 64);
    ASSERT_EQ(h, 48);
    EXPECT_EQ(px[0] & 0xFFFFFF, 0x282828u);  // frame 4's grey
    EXPECT_EQ(px[4] & 0xFFFFFF, 0xFFFFFFu);  // and its dot
}

}  // namespace
