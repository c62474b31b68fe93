// The window record: its exact bytes, and the clamps applied when it is read.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/window_record.h"
#include "tools/records/byte_image.h"

namespace {

TEST(WindowRecord, WritesFiveBlocksAndNoStrings) {
    cWindowData w;
    w.m_nX = 120;
    w.m_nY = -3;
    w.m_nWidth = 640;
    w.m_nHeight = 480;
    w.m_bMaximized = 1;
    cByteImage expect;
    expect.U32(5).I32(120).I32(-3).I32(640).I32(480).I32(1).U32(0);
    EXPECT_EQ(RecordBody(w), expect.Data());
}

TEST(WindowRecord, ReadingClampsThePositionAndTheSize) {
    g_MainWindow.SetPlacement(640, 480, 100, 100, 640, 480, (LONG)0x80CB0000, 0, 0, 0, 0, 0);
    struct Case {
        int x, y, w, h;
        int ex, ey, ew, eh;
    };
    // The farthest a 640 x 480 window with its frame can go and still be on the display.
    int fx = GetSystemMetrics(SM_CXFULLSCREEN) - g_MainWindow.m_nOuterW;
    int fy = GetSystemMetrics(SM_CYFULLSCREEN) - g_MainWindow.m_nOuterH;
    const Case cases[] = {
        {10, 20, 640, 480, 10, 20, 640, 480},
        {-50, -1, 320, 200, 0, 0, 320, 200},
        {99999, 99999, 5000, 5000, fx, fy, 640, 480},
        {0, 0, 10, 0, 0, 0, 100, 100},  // below the minimum tracking size
    };
    for (const Case& c : cases) {
        cByteImage image;
        image.U32(kDataVersion).U32(5).I32(c.x).I32(c.y).I32(c.w).I32(c.h).I32(7).U32(0);
        cRecordReader reader;
        ASSERT_TRUE(cDataFile::OpenReadMemory(reader, image.Data().data(), image.Size(), "Window.dat"));
        cWindowData w;
        w.Read(reader);
        EXPECT_EQ(w.m_nX, c.ex);
        EXPECT_EQ(w.m_nY, c.ey);
        EXPECT_EQ(w.m_nWidth, c.ew);
        EXPECT_EQ(w.m_nHeight, c.eh);
        EXPECT_EQ(w.m_bMaximized, 1);
    }
}

}  // namespace
