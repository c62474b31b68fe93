// Message windows: setting up by position mode (the text expanded, measured and rendered into a
// surface of the message surface list, or set up again in place), the display time while the
// game runs and while it is held, the placements with the held first place and the screen
// bounds, the refresh of shown values, the opening window, and windows whose character or
// surface has gone.
#include <gtest/gtest.h>

#include "media/font.h"
#include "media/game_fonts.h"
#include "play/message_text.h"
#include "play/message_window.h"
#include "play/stage_objects.h"
#include "records/save_data.h"
#include "tests/play/play_draw_fixture.h"

namespace {

class MessageWindow : public playdraw::PlayDrawFixture {
protected:
    static MESSAGESETTINGS Text(const char* text, int bitmapFont = 1) {
        MESSAGESETTINGS s;
        s.nPosMode = MSGPOS_TEXT;
        s.strText = text;
        s.bBitmapFont = bitmapFont;
        return s;
    }
    // A message set up and appended to the scene's list.
    MessageObj& Show(const MESSAGESETTINGS& s) {
        scene->m_listMessage.emplace_back();
        EXPECT_TRUE(ShowMessageWindow(scene->m_listMessage.back(), s, 0, scene.get()));
        return scene->m_listMessage.back();
    }
    // A stage character with its screen rectangle.
    cStageChara& Chara(int id, int left, int top, int right, int bottom) {
        g_listStageChara.emplace_back();
        cStageChara& c = g_listStageChara.back();
        c.m_nId = id;
        c.m_nRectLeft = left;
        c.m_nRectTop = top;
        c.m_nRectRight = right;
        c.m_nRectBottom = bottom;
        return c;
    }
    int Draw(MessageObj& m, int hold = 0) { return DrawMessageWindow(m, scene.get(), &g_BackBufferSD, hold); }
    uint32_t Black() { return At(639, 479); }
};

TEST_F(MessageWindow, ATextWindowIsExpandedMeasuredAndRenderedIntoItsOwnSurface) {
    g_SaveData.m_vecCommonVars[3] = 42;
    MESSAGESETTINGS s = Text("HP #C3_4.\nもう一行です");
    s.bExpand = 1;
    MessageObj& m = Show(s);
    EXPECT_EQ(m.m_strShown, "HP   42\nもう一行です");
    const SIZE grid = MeasureFontText(&g_Fonts[1], m.m_strShown.c_str());
    EXPECT_EQ(m.m_nTextWidth, grid.cx + 2);
    EXPECT_EQ(m.m_nTextHeight, grid.cy + 2);
    ASSERT_EQ(g_listMessageSurface.size(), 1u);
    EXPECT_EQ(g_listMessageDesc.size(), 1u);
    ASSERT_EQ(m.m_lpSurface, &g_listMessageSurface.back());
    EXPECT_EQ(m.m_lpSurface->nWidth, m.m_nTextWidth);
    EXPECT_EQ(m.m_nWidth, m.m_lpSurface->nWidth + 8);
    EXPECT_EQ(m.m_nHeight, m.m_lpSurface->nHeight + 8);
    // Without expansion the codes are shown as written.
    MessageObj& raw = Show(Text("#C3"));
    EXPECT_EQ(raw.m_strShown, "#C3");

    // Set up again in place: the same surface, the new text rendered over the old one.
    DDSURFACEDATA* before = m.m_lpSurface;
    EXPECT_TRUE(ShowMessageWindow(m, Text("HP   43\nもう一行です"), 1, scene.get()));
    EXPECT_EQ(m.m_lpSurface, before);
    EXPECT_EQ(g_listMessageSurface.size(), 2u);
}

TEST_F(MessageWindow, GraphicAndSurfaceModesTakeASixteenDotExtentOtherModesNone) {
    struct Case {
        int mode, extent;
    } cases[] = {{MSGPOS_GRAPHIC, 16}, {MSGPOS_SURFACE, 16}, {MSGPOS_NONE, 0}, {9, 0}};
    for (const Case& c : cases) {
        MESSAGESETTINGS s;
        s.nPosMode = c.mode;
        MessageObj& m = Show(s);
        EXPECT_EQ(m.m_nTextWidth, c.extent) << c.mode;
        EXPECT_EQ(m.m_nWidth, c.extent) << c.mode;
        EXPECT_EQ(m.m_lpSurface, nullptr);
    }
    EXPECT_TRUE(g_listMessageSurface.empty());
}

TEST_F(MessageWindow, ATimedWindowClosesBelowZeroAndCountsWhileHeldOnlyWhenAsked) {
    struct Case {
        int countWhileHeld, hold, time, closesOn;  // closesOn 0: still open after 5 frames
    } cases[] = {{0, 0, 0, 1}, {0, 0, 2, 3}, {0, 1, 0, 0}, {1, 1, 2, 3}};
    for (const Case& c : cases) {
        MESSAGESETTINGS s = Text("abc");
        s.nDispMode = kMessageTimed;
        s.nTime = c.time;
        s.bCountWhileHeld = c.countWhileHeld;
        MessageObj& m = Show(s);
        int closed = 0;
        for (int i = 1; i <= 5 && !closed; ++i)
            if (Draw(m, c.hold)) closed = i;
        EXPECT_EQ(closed, c.closesOn) << "count while held " << c.countWhileHeld << ", hold " << c.hold;
        EXPECT_EQ(m.m_lpSurface == nullptr, closed != 0);
        scene->m_listMessage.pop_back();
    }
    EXPECT_EQ(g_listMessageSurface.size(), 1u);  // the window still open keeps its surface
}

TEST_F(MessageWindow, PlacementOptionsPutTheWindowOnTheScreenOnTheCharacterOrOnTheStage) {
    ScrollTo(100, 50);
    Chara(7, 200, 100, 231, 131);  // 32 x 32, centre x 216
    struct Case {
        int place, blockX, blockY, x, y;
    } cases[] = {
        {MSGPLACE_CENTRE, 0, 0, 320 + 5 - 20, 240 - 6 - 10},
        {MSGPLACE_ABOVE_SELF, 0, 0, 216 - 20 + 5, 100 - 20 - 6},
        {MSGPLACE_BELOW_SELF, 0, 0, 216 - 20 + 5, 131 + 1 - 6},
        {MSGPLACE_ON_SELF, 0, 0, 216 - 20 + 5, 116 - 10 - 6},
        {MSGPLACE_ABOVE_HERO, 0, 0, 216 - 20 + 5, 100 - 20 - 6},
        {MSGPLACE_ON_HERO, 0, 0, 216 - 20 + 5, 116 - 10 - 6},
        {MSGPLACE_SCREEN, 3, 2, 96 + 5, 64 - 6},
        {MSGPLACE_STAGE, 10, 4, 320 + 5 - 100, 128 - 6 - 50},
    };
    for (const Case& c : cases) {
        MessageObj m;
        m.m_nWidth = 40;
        m.m_nHeight = 20;
        m.m_Set.nPlace = c.place;
        m.m_Set.nCharaId = 7;
        m.m_Set.nBlockX = c.blockX;
        m.m_Set.nBlockY = c.blockY;
        m.m_Set.nOffsetX = 5;
        m.m_Set.nOffsetY = -6;
        m.m_Set.nFixed = 1;
        int x = -1, y = -1;
        ASSERT_TRUE(PlaceMessageWindow(m, scene.get(), x, y)) << c.place;
        EXPECT_EQ(x, c.x) << "option " << c.place;
        EXPECT_EQ(y, c.y) << "option " << c.place;
    }
}

TEST_F(MessageWindow, TheFirstPlaceIsHeldOnTheStageOrTheWindowKeepsItsScreenPlace) {
    // Options 0 and 7: fixed-position 0 holds the first place on the stage, 1 keeps the screen
    // place. Other options hold the first place only with the setting on.
    struct Case {
        int place, fixed;
        bool staysOnStage;
    } cases[] = {{MSGPLACE_CENTRE, 0, true},      {MSGPLACE_CENTRE, 1, false}, {MSGPLACE_SCREEN, 0, true},
                 {MSGPLACE_SCREEN, 1, false},     {MSGPLACE_ABOVE_SELF, 1, true}, {MSGPLACE_ABOVE_SELF, 0, false}};
    for (const Case& c : cases) {
        g_listStageChara.clear();
        cStageChara& chara = Chara(3, 300, 200, 331, 231);
        ScrollTo(0, 0);
        MessageObj m;
        m.m_nWidth = 40;
        m.m_nHeight = 20;
        m.m_Set.nPlace = c.place;
        m.m_Set.nCharaId = 3;
        m.m_Set.nFixed = c.fixed;
        int x0, y0, x1, y1;
        ASSERT_TRUE(PlaceMessageWindow(m, scene.get(), x0, y0));
        ScrollTo(48.5, 16);  // the view scrolls; the character moves 100 dots to the right
        chara.m_nRectLeft += 100 - 48;
        chara.m_nRectRight += 100 - 48;
        chara.m_nRectTop -= 16;
        chara.m_nRectBottom -= 16;
        ASSERT_TRUE(PlaceMessageWindow(m, scene.get(), x1, y1));
        const bool follows = c.place == MSGPLACE_ABOVE_SELF && !c.staysOnStage;
        const int wantX = c.staysOnStage ? x0 - 48 : follows ? x0 + 100 - 48 : x0;
        const int wantY = c.staysOnStage || follows ? y0 - 16 : y0;
        EXPECT_EQ(x1, wantX) << "option " << c.place << " fixed " << c.fixed;
        EXPECT_EQ(y1, wantY) << "option " << c.place << " fixed " << c.fixed;
    }
}

TEST_F(MessageWindow, AWindowWhoseCharacterIsGoneClosesAndReleasesItsSurface) {
    Chara(4, 0, 0, 31, 31);
    MESSAGESETTINGS s = Text("abc");
    s.nPlace = MSGPLACE_BELOW_SELF;
    s.nCharaId = 4;
    MessageObj& m = Show(s);
    EXPECT_EQ(Draw(m), 0);
    g_listStageChara.clear();
    EXPECT_EQ(Draw(m), 1);
    EXPECT_EQ(m.m_lpSurface, nullptr);
    EXPECT_TRUE(g_listMessageSurface.empty());
    EXPECT_TRUE(g_listMessageDesc.empty());
}

TEST_F(MessageWindow, KeepOnScreenHoldsTheWindowInsideTheScreenBelowThePanel) {
    struct Case {
        int blockX, blockY, x, y;
    } cases[] = {{-3, -3, 0, 20}, {30, 30, 640 - 100, 480 - 40}, {5, 5, 160, 160}};
    for (const Case& c : cases) {
        MESSAGESETTINGS s = Text("abc");
        s.nPlace = MSGPLACE_SCREEN;
        s.nBlockX = c.blockX;
        s.nBlockY = c.blockY;
        s.nFixed = 1;
        s.bKeepOnScreen = 1;
        MessageObj& m = Show(s);
        m.m_nWidth = 100;
        m.m_nHeight = 40;
        EXPECT_EQ(Draw(m), 0);
        EXPECT_EQ(m.m_nDrawX, c.x) << c.blockX;
        EXPECT_EQ(m.m_nDrawY, c.y) << c.blockY;
    }
    // A window wider than the screen goes to its left edge.
    MessageObj wide;
    wide.m_Set.nPlace = MSGPLACE_CENTRE;
    wide.m_Set.nFixed = 1;
    wide.m_Set.bKeepOnScreen = 1;
    wide.m_nWidth = 900;
    wide.m_nHeight = 900;
    EXPECT_EQ(Draw(wide), 0);
    EXPECT_EQ(wide.m_nDrawX, 0);
    EXPECT_EQ(wide.m_nDrawY, 20);
}

TEST_F(MessageWindow, RefreshShowsChangedValuesInANewSurfaceWhenTheSizeChanged) {
    g_SaveData.m_vecCommonVars[2] = 5;
    MESSAGESETTINGS s = Text("#C2");
    s.bExpand = 1;
    s.bRefresh = 1;
    s.nRefreshInterval = 4;
    MessageObj& m = Show(s);
    EXPECT_EQ(m.m_strShown, "5");
    const int narrow = m.m_nTextWidth;
    g_SaveData.m_vecCommonVars[2] = 12345;
    scene->m_nFrameCount = 3;  // not a multiple of 4
    Draw(m);
    EXPECT_EQ(m.m_strShown, "5");
    scene->m_nFrameCount = 8;
    Draw(m);
    EXPECT_EQ(m.m_strShown, "12345");
    EXPECT_GT(m.m_nTextWidth, narrow);
    ASSERT_EQ(g_listMessageSurface.size(), 1u);  // the old surface went
    EXPECT_EQ(m.m_lpSurface, &g_listMessageSurface.back());
    EXPECT_EQ(m.m_lpSurface->nWidth, m.m_nTextWidth);
}

TEST_F(MessageWindow, AnOpeningWindowGrowsFromItsCentreOverTenFrames) {
    MESSAGESETTINGS s = Text("ひらく窓です\nもう一行あります");
    s.nPlace = MSGPLACE_SCREEN;
    s.nBlockX = 4;
    s.nBlockY = 4;
    s.nFixed = 1;
    s.bAppear = 1;
    MessageObj& m = Show(s);
    // The box of what one frame drew, by its left, top, right and bottom edge.
    auto drawn = [&]() {
        DDFillSurface(&g_BackBufferSD, 16);
        Draw(m);
        const std::vector<uint32_t> px = BackColours();
        const uint32_t black = px[0];
        std::vector<int> box{640, 480, -1, -1};
        for (int y = 100; y < 250; ++y)
            for (int x = 100; x < 400; ++x)
                if (px[(size_t)y * 640 + x] != black) box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x),
                                                std::max(box[3], y)};
        return box;
    };
    EXPECT_EQ(drawn(), (std::vector<int>{640, 480, -1, -1}));  // t = 0: nothing
    std::vector<int> last = drawn();
    for (int t = 2; t < kMessageOpenFrames; ++t) {
        const std::vector<int> box = drawn();
        EXPECT_LE(box[0], last[0]) << t;  // grows on every side
        EXPECT_LE(box[1], last[1]) << t;
        EXPECT_GE(box[2], last[2]) << t;
        EXPECT_GE(box[3], last[3]) << t;
        last = box;
    }
    const std::vector<int> open = drawn();  // t = 10: the whole window
    EXPECT_LT(open[0], last[0]);
    EXPECT_GT(open[2], last[2]);
    // Centred: the growing window's middle is the open window's middle.
    EXPECT_NEAR((last[0] + last[2]) / 2.0, (open[0] + open[2]) / 2.0, 1.5);
    EXPECT_NEAR((last[1] + last[3]) / 2.0, (open[1] + open[3]) / 2.0, 1.5);
    EXPECT_EQ(drawn(), open);
}

class MessageWindowD3D : public MessageWindow {
protected:
    void SetUp() override {
        d3d = 1;
        MessageWindow::SetUp();
    }
};

TEST_F(MessageWindowD3D, ASurfaceThatCannotBeMadeIsReportedAndClosesTheProgram) {
    d3d9::Testing().failTextures = 100;
    MessageObj m;
    EXPECT_FALSE(ShowMessageWindow(m, Text("abc"), 0, scene.get()));
    d3d9::Testing().failTextures = 0;
    EXPECT_EQ(m.m_lpSurface, nullptr);
    EXPECT_TRUE(g_listMessageSurface.empty());
    EXPECT_TRUE(g_listMessageDesc.empty());
    EXPECT_TRUE(ClosePosted());
    EXPECT_NE(Report().find("MessageWindow Err"), std::string::npos);
    EXPECT_EQ(Draw(m), 0);  // the window left behind draws nothing
}

TEST_F(MessageWindow, WindowsLeftAfterTheSurfacesWereClearedDrawNothingAndCloseCleanly) {
    MESSAGESETTINGS s = Text("abc");
    s.nDispMode = kMessageTimed;
    s.nTime = 1;
    MessageObj& m = Show(s);
    ClearMessageSurfaces();
    EXPECT_EQ(Draw(m), 0);
    EXPECT_EQ(m.m_lpSurface, nullptr);
    EXPECT_EQ(Draw(m), 1);
}

// The framed bitmap-font window in the centre and a plain-text window at a screen place, in
// both back ends.
class MessageWindowLooks : public MessageWindow, public testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        d3d = GetParam();
        MessageWindow::SetUp();
    }
};

TEST_P(MessageWindowLooks, TextWindowsLookRight) {
    g_SaveData.m_vecCommonVars[1] = 3;
    MESSAGESETTINGS framed = Text("宝箱を見つけた！\nコインが #C1 枚");
    framed.bExpand = 1;
    framed.nFixed = 1;
    Show(framed);
    MESSAGESETTINGS plain = Text("plain text", 0);
    plain.nPlace = MSGPLACE_SCREEN;
    plain.nBlockX = 1;
    plain.nBlockY = 12;
    plain.nFixed = 1;
    Show(plain);
    for (MessageObj& m : scene->m_listMessage) EXPECT_EQ(Draw(m), 0);
    drawtest::ExpectGolden(*BackPixels(), GetParam() ? "play_message_windows_d3d" : "play_message_windows_dd");
}

INSTANTIATE_TEST_SUITE_P(BackEnds, MessageWindowLooks, testing::Values(0, 1));

}  // namespace
