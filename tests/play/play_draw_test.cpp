// The play screen: the converted shot sheets, the bitmap vectors of the project's records and
// the view mask; the block map of the view in its two passes; the status panel; the
// backgrounds; the time display and the banners; and whole play screens as goldens.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/frame_timer.h"
#include "platform/d3d9/testing.h"
#include "platform/win32/codepage.h"
#include "media/blit.h"
#include "media/restore.h"
#include "play/block_draw.h"
#include "play/block_map.h"
#include "play/chara_def.h"
#include "play/panel_draw.h"
#include "play/play_draw.h"
#include "play/play_scene.h"
#include "play/stage_bitmaps.h"
#include "play/stage_objects.h"
#include "tests/frontend/scene_fixture.h"
#include "tests/play/flying_hero.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

const REQUEST kTimeWarning{WM_REQ_SOUND, 13};

class PlayDraw : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        Open(m_nDirect3D);
        g_StageSettings.m_nWidth = 40;
        g_StageSettings.m_nHeight = 15;
        g_StageSettings.m_nHitLevel = 1;
        g_StageSettings.m_nFrameRate = 60;
        PlaceFlyingHero(g_LoadedStage);
        g_SaveData.m_nLivesReserve = 3;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        ResetFrameTimers();
    }
    void TearDown() override {
        g_vecBlockMap.clear();
        SceneFixture::TearDown();
    }
    cPlayScene* Play() { return g_lpPlayScene; }
    int m_nDirect3D = 0;
    // Frames until play runs.
    void ToPlay() {
        for (int i = 0; i < 200 && (!Play() || Play()->m_nState != PLAY_FRAME); ++i) Frame();
        ASSERT_EQ(Play()->m_nState, PLAY_FRAME);
        Taken();
    }
    // An empty block map of the stage's size; Cell(c, r) in view columns and rows.
    void EmptyMap() {
        const cScroll& x = Play()->m_ScrollX;
        g_vecBlockMap.assign((size_t)Play()->m_ScrollY.m_nMapSize << x.m_nRowShift, cBlockDef());
    }
    cBlockDef& Cell(int c, int r) {
        return g_vecBlockMap[((size_t)r << Play()->m_ScrollX.m_nRowShift) + (size_t)c];
    }
    void Put(int c, int r, int graphic, int front = 0) {
        cBlockDef& b = Cell(c, r);
        b.m_wGraphic = (uint16_t)graphic;
        b.m_byB9 = (uint8_t)front;
    }
    std::vector<uint32_t> Pixels() { return drawtest::Argb(*BackPixels(), true); }
    uint32_t At(int x, int y) { return Pixels()[(size_t)y * 640 + x]; }
    // The colour a palette number fills with.
    uint32_t Colour(int palNum) {
        DDFillRect(&g_BackBufferSD, 0, 0, 1, 1, palNum);
        return At(0, 0);
    }
    // A plain background record.
    static cBackgroundRec Plain(int colour, int front = 0) {
        cBackgroundRec b;
        b.m_nA = 1;
        b.m_anBC[0] = 1;
        b.m_anBC[1] = colour;
        b.m_nD = front;
        return b;
    }
    static cBackgroundRec Picture(double rate) {
        cBackgroundRec b;
        b.m_nA = 0;
        b.m_anBC[0] = 1;
        b.m_strBitmap = "背景その1.bmp";
        b.m_adPQ[0] = b.m_adPQ[1] = rate;
        return b;
    }
};

// ---- stage bitmaps and work surfaces ----

TEST_F(PlayDraw, ConvertedSheetsCentreEachShotCellInA32DotCell) {
    ToPlay();
    DDSURFACEDATA* src = &g_SurfaceData[kSlotShotSheet];
    DDSURFACEDATA* dst = &g_SurfaceData[kSlotConvertedShot];
    ASSERT_EQ(dst->nWidth, 256);
    ASSERT_EQ(dst->nHeight, 960);
    // Both sheets are copied onto a plain surface and compared cell by cell.
    DDFillSurface(&g_BackBufferSD, 5);
    DDBlt(&g_BackBufferSD, 0, 0, 256, 480, dst, 0, 0, DDBLT_TRANSPARENT);
    DDBlt(&g_BackBufferSD, 300, 0, 128, 240, src, 0, 0, DDBLT_TRANSPARENT);
    const std::vector<uint32_t> px = Pixels();
    auto at = [&](int x, int y) { return px[(size_t)y * 640 + x]; };
    for (int r : {0, 3, 14})
        for (int c : {0, 5, 7})
            for (int dy = 0; dy < 16; dy += 3)
                for (int dx = 0; dx < 16; dx += 3)
                    ASSERT_EQ(at(8 + 32 * c + dx, 8 + 32 * r + dy), at(300 + 16 * c + dx, 16 * r + dy))
                        << "cell " << c << "," << r;
    // The margins are colour 0, drawn as transparent.
    const uint32_t empty = at(639, 479);
    EXPECT_EQ(at(32 * 2 + 2, 32 * 3 + 2), empty);
    EXPECT_EQ(at(32 * 2 + 29, 32 * 3 + 16), empty);
}

TEST_F(PlayDraw, ViewMaskHasAHoleOfTheSightRangeShapedByTheViewMode) {
    ToPlay();
    struct CASE {
        int sight, mode;
        int width, height;
        bool centreOpen, cornerOpen;  // the hole's centre, and the corner of its square
    };
    const CASE cases[] = {
        {0, 1, 1280, 960, false, false},   // no sight range: nothing cut out
        {64, 1, 1408, 1088, true, false},  // a circle
        {64, 2, 1408, 1088, true, false},
        {64, 3, 1408, 1088, true, true},   // a square
        {64, 0, 1408, 1088, true, true},   // view mode 0 takes the square too
    };
    DDSURFACEDATA mask{}, brush{};
    for (const CASE& c : cases) {
        ASSERT_TRUE(CreatePlayWorkSurfaces(&mask, &brush, c.sight, c.mode));
        EXPECT_EQ(mask.nWidth, c.width);
        EXPECT_EQ(mask.nHeight, c.height);
        const int cx = mask.nWidth / 2, cy = mask.nHeight / 2;
        // The mask shown over colour 7: its colour-16 part covers, the hole lets colour 7 through.
        DDFillSurface(&g_BackBufferSD, 7);
        DDBlt(&g_BackBufferSD, 0, 0, 640, 480, &mask, cx - 320, cy - 240, DDBLT_TRANSPARENT);
        const uint32_t through = Colour(7) , covered = Colour(16);
        DDFillSurface(&g_BackBufferSD, 7);
        DDBlt(&g_BackBufferSD, 0, 0, 640, 480, &mask, cx - 320, cy - 240, DDBLT_TRANSPARENT);
        EXPECT_EQ(At(320, 240), c.centreOpen ? through : covered) << c.sight << " " << c.mode;
        EXPECT_EQ(At(320 - 62, 240 - 62), c.cornerOpen ? through : covered) << c.sight << " " << c.mode;
        EXPECT_EQ(At(320 + 70, 240), covered);
        if (c.sight) {
            EXPECT_EQ(At(320 + 60, 240), through);
        }
    }
    DDReleaseSurface(&mask);
    DDReleaseSurface(&brush);
}

class PlayDrawDirect3D : public PlayDraw {
protected:
    PlayDrawDirect3D() { m_nDirect3D = 1; }
};

// A stage started again with the same view keeps its mask; a device reset takes the mask's pixels
// and it is drawn again, by the next play frame or the next stage start, for the view it was
// made for.
TEST_F(PlayDrawDirect3D, ViewMaskIsKeptForTheSameViewAndDrawnAgainAfterADeviceReset) {
    ToPlay();
    const uint32_t through = Colour(7), covered = Colour(16);
    // The centre and a corner of the mask's screen-sized cut around its centre, shown over colour 7.
    auto shown = [&] {
        DDFillSurface(&g_BackBufferSD, 7);
        DDBlt(&g_BackBufferSD, 0, 0, 640, 480, &g_ViewMaskSD, g_ViewMaskSD.nWidth / 2 - 320,
              g_ViewMaskSD.nHeight / 2 - 240, DDBLT_TRANSPARENT);
        return std::vector<uint32_t>{At(320, 240), At(5, 5)};
    };
    const std::vector<uint32_t> want{through, covered};
    ASSERT_TRUE(CreatePlayWorkSurfaces(&g_ViewMaskSD, &g_ViewBrushSD, 48, 1));
    EXPECT_EQ(shown(), want);
    IDirect3DTexture9* texture = g_ViewMaskSD.lpDT->lpTexture;
    ASSERT_TRUE(CreatePlayWorkSurfaces(&g_ViewMaskSD, &g_ViewBrushSD, 48, 2));  // a circle as well
    EXPECT_EQ(g_ViewMaskSD.lpDT->lpTexture, texture);
    EXPECT_EQ(shown(), want);

    struct CASE {
        const char* name;
        bool frame;  // drawn again by a play frame, else by a stage start
    };
    for (const CASE& c : {CASE{"play frame", true}, CASE{"stage start", false}}) {
        d3d9::SimulateDeviceLoss(g_lpD3DDevice);
        d3d9::SimulateDeviceNotReset(g_lpD3DDevice);
        ASSERT_EQ(DDRestoreSurface(), 1u) << c.name;
        ASSERT_EQ(g_ViewMaskSD.bLost, 1u) << c.name;
        EXPECT_EQ(shown()[1], through) << c.name;  // blank: nothing covered
        if (c.frame)
            Frame();
        else
            ASSERT_TRUE(CreatePlayWorkSurfaces(&g_ViewMaskSD, &g_ViewBrushSD, 48, 1));
        EXPECT_EQ(g_ViewMaskSD.bLost, 0u) << c.name;
        EXPECT_EQ(g_ViewMaskSD.nWidth, 1280 + 96) << c.name;
        EXPECT_EQ(shown(), want) << c.name;
    }
}

TEST_F(PlayDraw, BitmapVectorsHoldFourCharacterTwoEffectAndFourSwordSurfacesPerRecordFromOne) {
    ToPlay();
    // Entry 0 alone in each list gives empty vectors.
    g_Database.m_vecBmpCharaExc.resize(1);
    g_Database.m_vecSwordType.resize(1);
    g_Database.m_vecEffect.resize(1);
    ASSERT_TRUE(LoadStageBitmaps() && LoadSwordBitmaps() && LoadEffectBitmaps());
    EXPECT_TRUE(g_vecStageBmp.empty());
    EXPECT_TRUE(g_vecSwordBmp.empty());
    EXPECT_TRUE(g_vecEffectBmp.empty());

    g_Database.m_vecBmpCharaExc.resize(3);
    g_Database.m_vecBmpCharaExc[1].m_nValue = 1;
    g_Database.m_vecBmpCharaExc[1].m_strFile = "bmp\\Character1.bmp";
    g_Database.m_vecBmpCharaExc[2].m_nValue = 0;  // no file of its own
    g_Database.m_vecBmpCharaExc[2].m_strFile = "bmp\\Character1.bmp";
    ASSERT_TRUE(LoadStageBitmaps());
    ASSERT_EQ(g_vecStageBmp.size(), 8u);
    ASSERT_EQ(g_vecStageBmpDesc.size(), 8u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(g_vecStageBmp[(size_t)k].nWidth, 256) << k;
        EXPECT_STREQ(g_vecStageBmpDesc[(size_t)k].szPath, "bmp\\Character1.bmp");
    }
    EXPECT_EQ(g_vecStageBmpDesc[1].dwWord[6], 32u);  // the mirrored view of 32-dot cells
    EXPECT_EQ(g_vecStageBmp[4].lpDD, nullptr);      // record 2 keeps empty entries
    EXPECT_FALSE(ClosePosted());

    g_Database.m_vecEffect.resize(2);
    g_Database.m_vecEffect[1].m_nValue = 1;
    g_Database.m_vecEffect[1].m_strFile = "bmp\\Shot.bmp";
    ASSERT_TRUE(LoadEffectBitmaps());
    EXPECT_EQ(g_vecEffectBmp.size(), 2u);
    EXPECT_EQ(g_vecEffectBmp[0].nWidth, 128);

    // A named file that cannot be loaded: the message, WM_CLOSE, nothing half made.
    g_Database.m_vecSwordType.resize(2);
    g_Database.m_vecSwordType[1].m_nValue = 1;
    g_Database.m_vecSwordType[1].m_strFile = "bmp\\NoSuchSword.bmp";
    host::script::LoadText(Cp932ToUtf8("msgbox ok \"ソード bmp\\NoSuchSword.bmp 読み込み失敗！\"\n"), folder->Root());
    EXPECT_FALSE(LoadSwordBitmaps());
    int answer = 0;
    EXPECT_FALSE(host::script::TakeMessageBoxAnswer("エラー", "ソード bmp\\NoSuchSword.bmp 読み込み失敗！", MB_OK, &answer))
        << "the message was not shown";
    host::script::Reset();
    EXPECT_TRUE(ClosePosted());
    ASSERT_EQ(g_vecSwordBmp.size(), 4u);
    for (const DDSURFACEDATA& s : g_vecSwordBmp) EXPECT_EQ(s.lpDD, nullptr);
    g_Database = cDatabase();
}

TEST_F(PlayDraw, AMissingCommonSheetStopsThePlaySceneStart) {
    std::remove(folder->HostPath("bmp\\Block.bmp").c_str());
    host::script::LoadText(Cp932ToUtf8("msgbox ok \"bmp\\Block.bmp の読み込みに失敗！\"\n"), folder->Root());
    Frame();
    int answer = 0;
    EXPECT_FALSE(host::script::TakeMessageBoxAnswer("エラー", "bmp\\Block.bmp の読み込みに失敗！", MB_OK, &answer))
        << "the message was not shown";
    host::script::Reset();
    EXPECT_TRUE(ClosePosted());
}

// ---- block map ----

TEST_F(PlayDraw, BlockMapDrawsTheViewsCellsInTheirPassOnlyAndSkipsCellsOutsideTheMap) {
    g_StageSettings.m_vecBackgrounds.assign(1, Plain(16));
    g_SystemData.m_vecStatusItems.clear();  // no panel
    ToPlay();
    EmptyMap();
    cScroll& sx = Play()->m_ScrollX;
    cScroll& sy = Play()->m_ScrollY;
    const int c0 = sx.m_nMargin, r0 = sy.m_nMargin;
    Put(c0 + 1, r0 + 2, PLAYBMP_BRICK);
    Put(c0 + 2, r0 + 2, PLAYBMP_QUESTION, 1);  // front pass
    Put(c0 + 3, r0 + 2, PLAYBMP_STONE);
    Cell(c0 + 3, r0 + 2).m_byHidden = 1;
    sx.m_dPos = c0 * 32 + 40;  // scrolled by 40 dots: cells sit 8 dots left of the grid
    sy.m_dPos = r0 * 32;
    DDFillSurface(&g_BackBufferSD, 16);
    const uint32_t black = At(0, 0);
    DrawBlockMap(Play(), &g_BackBufferSD, 0);
    // Column c0 + 1 is view column 0 at x = -8: its right part shows at 0..23.
    EXPECT_NE(At(10, 64 + 16), black);
    EXPECT_EQ(At(26, 64 + 16), black);
    EXPECT_EQ(At(40, 64 + 16), black);  // the front cell is not in the back pass
    EXPECT_EQ(At(70, 64 + 16), black);  // hidden
    DrawBlockMap(Play(), &g_BackBufferSD, 1);
    EXPECT_NE(At(40, 64 + 16), black);

    // Views reaching beyond every edge of the map read no cell outside it.
    const std::string before = Report();
    for (double x : {-200.0, (double)sx.m_nMapSize * 32 - 100})
        for (double y : {-300.0, (double)sy.m_nMapSize * 32 - 50}) {
            sx.m_dPos = x;
            sy.m_dPos = y;
            DrawBlockMap(Play(), &g_BackBufferSD, 0);
        }
    EXPECT_EQ(Report(), before);
    EXPECT_FALSE(ClosePosted());
}

TEST_F(PlayDraw, BlockCellsOutsideTheSheetDrawTheFirstCellAndOverlaysComeFromTheOverlaySheet) {
    ToPlay();
    cBlockDef far;
    far.m_wGraphic = 400;  // column 26: beyond the 64-dot sheet
    DDFillSurface(&g_BackBufferSD, 16);
    DrawBlockCell(far, &g_BackBufferSD, 0, 0);
    const std::vector<uint32_t> a = Pixels();
    DDFillSurface(&g_BackBufferSD, 16);
    DDBlt(&g_BackBufferSD, 0, 0, 32, 32, &g_SurfaceData[kSlotBlockSheet], 0, 0, DDBLT_TRANSPARENT);
    EXPECT_EQ(Pixels(), a);

    cBlockDef over;
    over.m_wGraphic = PLAYBMP_STONE;
    over.m_byGraphicKind2 = 1;
    over.m_wGraphic2 = 0;
    DDFillSurface(&g_BackBufferSD, 16);
    DrawBlockCell(over, &g_BackBufferSD, 0, 0);
    EXPECT_NE(At(16, 16), At(2, 2));  // the overlay's disc over the stone
}

// ---- status panel ----

TEST_F(PlayDraw, StatusPanelInIconAndLabelForm) {
    g_StageSettings.m_vecBackgrounds.assign(1, Plain(16));
    ToPlay();
    cHero& hero = g_vecHero[0];
    hero.m_nHP = 30;
    charadef::MaxHPField(hero.m_Def) = 40;
    hero.m_nSP = 2;
    charadef::MaxSPField(hero.m_Def) = 10;
    g_SaveData.m_nScore = 1234;
    g_SaveData.m_nStageScore = 56;
    g_SaveData.m_nLives = 3;
    g_SystemData.m_vecStatusItems[2].m_bShowValue = 1;
    g_SystemData.m_vecStatusItems[3].m_nLimit = 30;
    g_SystemData.m_vecStatusItems[3].m_bLimitPercent = 1;  // SP at 20 % is within its warning limit
    Play()->m_nStatusPanel = 1;
    DDFillSurface(&g_BackBufferSD, 16);
    DrawStatusPanel(Play(), &g_BackBufferSD);
    drawtest::ExpectGolden(*BackPixels(), "play_panel_icons");

    for (cSysStatusItem& item : g_SystemData.m_vecStatusItems) item.m_bIcon = 0;
    g_SystemData.m_vecStatusItems[0].m_strName = "SCORE ";
    g_SaveData.m_nLives = kUnlimitedLives;
    DDFillSurface(&g_BackBufferSD, 16);
    DrawStatusPanel(Play(), &g_BackBufferSD);
    drawtest::ExpectGolden(*BackPixels(), "play_panel_labels");
}

TEST_F(PlayDraw, StatusPanelHidesWithTheStageSwitchOrWhenNoItemIsShownAndGaugesStayInside) {
    ToPlay();
    DDFillSurface(&g_BackBufferSD, 16);
    const std::vector<uint32_t> empty = Pixels();
    Play()->m_nStatusPanel = 0;
    DrawStatusPanel(Play(), &g_BackBufferSD);
    EXPECT_EQ(Pixels(), empty);
    Play()->m_nStatusPanel = 1;
    for (cSysStatusItem& item : g_SystemData.m_vecStatusItems) item.m_bShown = 0;
    DrawStatusPanel(Play(), &g_BackBufferSD);
    EXPECT_EQ(Pixels(), empty);  // the panel background too

    // Only the hit-point gauge: a maximum of 0 draws it empty, a value past the maximum full.
    g_SystemData.m_vecStatusItems[2].m_bShown = 1;
    cHero& hero = g_vecHero[0];
    const int s = (638 - 66) / 2, gx = s + 16;
    struct CASE {
        int32_t hp, max;
        int filled;  // dots of the gauge's fill
    } cases[] = {{10, 0, 0}, {-5, 10, 0}, {5, 10, 25}, {40, 10, 50}, {2147483647, 1, 50}};
    for (const CASE& c : cases) {
        hero.m_nHP = c.hp;
        charadef::MaxHPField(hero.m_Def) = c.max;
        DDFillSurface(&g_BackBufferSD, 16);
        DrawStatusPanel(Play(), &g_BackBufferSD);
        const uint32_t frameInside = At(gx + 48, 10);  // right end, inside the frame
        const uint32_t fillStart = At(gx + 2, 10);
        if (c.filled == 0) {
            EXPECT_EQ(fillStart, frameInside) << c.hp << "/" << c.max;
        }
        if (c.filled == 50) {
            EXPECT_NE(frameInside, At(gx + 48, 1)) << c.hp << "/" << c.max;
        }
        if (c.filled == 25) {
            EXPECT_NE(At(gx + 20, 10), At(gx + 30, 10));
            EXPECT_EQ(At(gx + 30, 10), frameInside);
        }
    }
}

// ---- backgrounds, time, banners ----

TEST_F(PlayDraw, BackPassClearsToColour16WhenNoBackgroundIsShownAndDrawsPlainAndPictureBackgrounds) {
    cBackgroundRec hidden = Plain(40);
    hidden.m_anBC[0] = 0;
    g_StageSettings.m_vecBackgrounds = {hidden, Plain(40, 1)};
    ToPlay();
    DDFillSurface(&g_BackBufferSD, 3);
    DrawBackgroundLayer(Play(), &g_BackBufferSD, 0);
    EXPECT_EQ(At(100, 100), Colour(16));
    DrawBackgroundLayer(Play(), &g_BackBufferSD, 0);
    DrawBackgroundLayer(Play(), &g_BackBufferSD, 1);
    EXPECT_EQ(At(100, 100), Colour(40));
}

TEST_F(PlayDraw, PictureBackgroundsTileFromTheScrollPositionTimesTheirRate) {
    g_StageSettings.m_vecBackgrounds = {Picture(0.5)};
    ToPlay();
    ASSERT_EQ(g_SurfaceData[kSlotBackground].nWidth, 320);
    cScroll& sx = Play()->m_ScrollX;
    sx.m_dPos = sx.m_nMargin * 32 + 200;  // source x = 100
    DrawBackgroundLayer(Play(), &g_BackBufferSD, 0);
    const std::vector<uint32_t> shifted = Pixels();
    sx.m_dPos = sx.m_nMargin * 32;
    DrawBackgroundLayer(Play(), &g_BackBufferSD, 0);
    const std::vector<uint32_t> plain = Pixels();
    for (int y : {30, 60, 200})
        for (int x : {0, 50, 219, 400}) EXPECT_EQ(shifted[(size_t)y * 640 + x], plain[(size_t)y * 640 + (x + 100) % 320]);
    // Automatic scrolling moves the offset by its speed each frame, wrapped into the picture.
    cBackgroundRec& b = g_StageSettings.m_vecBackgrounds[0];
    b.m_anEF[0] = 7;
    b.m_adGH[0] = 3;
    ScrollBackgrounds();
    EXPECT_DOUBLE_EQ(b.m_adGH[0], 316.0);
}

TEST_F(PlayDraw, TimeDisplayShowsThreeDigitsAndWarnsOncePerSecondBelowTheThreshold) {
    ToPlay();
    DDFillSurface(&g_BackBufferSD, 16);
    const std::vector<uint32_t> empty = Pixels();
    DrawTimeLimit(Play(), 1);  // no time limit: nothing
    EXPECT_EQ(Pixels(), empty);
    Play()->m_bNoTimeLimit = 0;
    Play()->m_nTimeLimit = 7;
    DrawTimeLimit(Play(), 0);
    EXPECT_NE(Pixels(), empty);
    EXPECT_TRUE(Taken().empty());  // the threshold is 0 until the stage names one
}

TEST_F(PlayDraw, BannerSprites) {
    g_StageSettings.m_vecBackgrounds.assign(1, Plain(16));
    g_SystemData.m_vecStatusItems.clear();
    ToPlay();
    DDFillSurface(&g_BackBufferSD, 16);
    DrawBannerSprite(0, 12);
    DrawBannerSprite(1, 0);  // over the start plate: the replay plate wins
    DDFillSurface(&g_BackBufferSD, 16);
    DrawBannerSprite(0, 12);
    drawtest::ExpectGolden(*BackPixels(), "play_banner_start");
}

// ---- the play screen ----

TEST_F(PlayDraw, PlayScreenOfASmallStage) {
    g_StageSettings.m_vecBackgrounds = {Picture(0.5)};
    ToPlay();
    EmptyMap();
    cScroll& sx = Play()->m_ScrollX;
    cScroll& sy = Play()->m_ScrollY;
    const int c0 = sx.m_nMargin, r0 = sy.m_nMargin;
    for (int c = 0; c < 40; ++c) {
        Put(c0 + c, r0 + 13, PLAYBMP_GROUND);
        Put(c0 + c, r0 + 14, PLAYBMP_BRICK);
    }
    for (int c = 6; c < 10; ++c) Put(c0 + c, r0 + 9, PLAYBMP_BRICK);
    Put(c0 + 8, r0 + 9, PLAYBMP_QUESTION);
    Put(c0 + 15, r0 + 12, PLAYBMP_STONE, 1);
    sx.m_dPos = c0 * 32 + 40;
    sy.m_dPos = r0 * 32;
    Play()->m_bNoTimeLimit = 0;
    Play()->m_nTimeLimit = 95;
    g_vecHero[0].m_nHP = charadef::MaxHPField(g_vecHero[0].m_Def) = 10;
    g_SaveData.m_nScore = 500;
    g_bStageFileStart = 1;
    g_SystemData.m_vecTexts.resize(27);
    g_SystemData.m_vecTexts[26] = "テストプレイ中";
    Play()->m_nStatusPanel = 1;
    DrawPlayScreen(Play(), 1, 0, 1, 1);
    drawtest::ExpectGolden(*BackPixels(), "play_screen_small_stage");
}

TEST_F(PlayDraw, PlayFramesDrawThroughTheSceneAndTheBannerShowsTheStageNumber) {
    g_StageSettings.m_vecBackgrounds.assign(1, Plain(16));
    g_SystemData.m_vecStatusItems.clear();
    g_SaveData.m_nStageNumber = 3;
    Frame();
    ASSERT_NE(Play(), nullptr);
    // Through the fade-in to the banner; no banner switch: play starts.
    for (int i = 0; i < 200 && Play()->m_nState != PLAY_FRAME; ++i) Frame();
    EXPECT_EQ(Play()->m_nState, PLAY_FRAME);
    Frame();
    EXPECT_EQ(At(320, 240), Colour(16));
}

}  // namespace
