// Characters on the play screen: the hero from its sheet facing its way with its range display,
// the cell table of the graphic kinds, the gauges, the death animation and the restart it
// leads to, the view mask, the draw layers, the paused shortcut, the background fixed to the
// stage, and every character-effect kind on a stage character.
#include <gtest/gtest.h>

#include <array>

#include "core/frame_timer.h"
#include "media/blit.h"
#include "play/chara_def.h"
#include "play/chara_draw.h"
#include "play/effect_progress.h"
#include "play/gauge.h"
#include "play/graphic_sheet.h"
#include "play/play_draw.h"
#include "play/play_scene.h"
#include "play/stage_bitmaps.h"
#include "play/stage_objects.h"
#include "records/database.h"
#include "tests/frontend/scene_fixture.h"
#include "tests/play/flying_hero.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

cCharaEffectRec CharaEffect(int kind, std::array<int32_t, 5> p) {
    cCharaEffectRec e;
    e.m_nKind = kind;
    std::copy(p.begin(), p.end(), e.m_anParams);
    return e;
}

class CharaDraw : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        Open();
        saved = g_Database;
        g_StageSettings.m_nWidth = 40;
        g_StageSettings.m_nHeight = 15;
        g_StageSettings.m_nHitLevel = 1;
        g_StageSettings.m_nFrameRate = 60;
        g_StageSettings.m_vecBackgrounds.assign(1, Plain(16));
        PlaceFlyingHero(g_LoadedStage);
        g_SystemData.m_vecStatusItems.clear();
        g_SaveData.m_nLivesReserve = 3;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        ResetFrameTimers();
    }
    void TearDown() override {
        g_listStageChara.clear();
        g_Database = saved;
        SceneFixture::TearDown();
    }
    static cBackgroundRec Plain(int colour) {
        cBackgroundRec b;
        b.m_nA = 1;
        b.m_anBC[0] = 1;
        b.m_anBC[1] = colour;
        return b;
    }
    cPlayScene* Play() { return g_lpPlayScene; }
    void ToPlay() {
        for (int i = 0; i < 200 && (!Play() || Play()->m_nState != PLAY_FRAME); ++i) Frame();
        ASSERT_EQ(Play()->m_nState, PLAY_FRAME);
        Taken();
    }
    std::vector<uint32_t> Pixels() { return drawtest::Argb(*BackPixels(), true); }
    uint32_t At(int x, int y) { return Pixels()[(size_t)y * 640 + x]; }
    uint32_t Colour(int palNum) {
        DDFillRect(&g_BackBufferSD, 0, 0, 1, 1, palNum);
        return At(0, 0);
    }
    void DefineEffects(std::vector<cCharaEffectRec> defs) {
        defs.insert(defs.begin(), CharaEffect(0, {}));
        g_Database.m_vecCharaEffect = defs;
        g_Database.CopyReversedTables();
        g_Database.BuildIndex3(CharaEffectStates, CharaEffectStatesReversed);
    }
    // A stage character on screen at (x, y) of the view, drawn from sheet graphic n.
    cStageChara& AddChara(int x, int y, int n = 2) {
        cStageChara c;
        c.m_Def.m_byGraphicKind = CHARAGRAPH_SHEET;
        c.m_Def.m_wGraphic = (uint16_t)n;
        c.m_nGraphWidth = c.m_nBaseGraphWidth = 32;
        c.m_nGraphHeight = c.m_nBaseGraphHeight = 32;
        c.m_dX = Play()->m_ScrollX.m_dPos + x;
        c.m_dY = Play()->m_ScrollY.m_dPos + y;
        c.m_nDir = 0;
        c.m_bOnScreen = 1;
        c.m_bAppeared = 1;
        g_listStageChara.push_back(c);
        return g_listStageChara.back();
    }
    // The play screen with everything drawn fresh and nothing advanced.
    void DrawScreen(int full = 1, int hold = 1) { DrawPlayScreen(Play(), full, hold, 0, 0); }
    cDatabase saved;
};

// ---- the hero ----

TEST_F(CharaDraw, TheHeroIsDrawnFromItsSheetFacingItsWayWithItsRangeDisplay) {
    g_StageSettings.m_anHeroSize42_43[0] = g_StageSettings.m_anHeroSize42_43[1] = 8;  // a small hit range
    ToPlay();
    cHero& hero = g_vecHero[0];
    ASSERT_EQ(charadef::GraphicNumber(hero.m_Def), 1);
    for (int dir : {1, 0}) {
        hero.m_nDir = dir;
        DrawScreen();
        const std::vector<uint32_t> drawn = Pixels();
        // The same cell copied by hand: row 1 of the first sheet, the mirrored view facing right.
        DDFillSurface(&g_BackBufferSD, 16);
        DDBlt(&g_BackBufferSD, hero.m_nRectLeft, hero.m_nRectTop, 32, 32, &g_SurfaceData[dir ? 5 : 4], 0, 32,
              DDBLT_TRANSPARENT);
        EXPECT_EQ(drawn, Pixels()) << "direction " << dir;
        DDFillSurface(&g_BackBufferSD, 16);
        EXPECT_NE(drawn, Pixels());
    }
    // The size box framed in colour 5 and the character hit range filled in colour 9, the
    // smaller over the larger.
    g_StageSettings.m_nHeroFlow52 = 1;
    g_StageSettings.m_nHeroFlow56 = 5;
    g_StageSettings.m_anHeroFlow53_55[0] = 2;
    g_StageSettings.m_anHeroFlow57_59[0] = 9;
    hero.BuildRangeDisplay();
    DrawScreen();
    const int bx = hero.m_nRectLeft + hero.m_nGraphOffX, by = hero.m_nRectTop + hero.m_nGraphOffY;
    const int rx = bx + hero.m_HitChara.nOffX, ry = by + hero.m_HitChara.nOffY;
    const uint32_t frame = At(bx, by);
    EXPECT_EQ(frame, Colour(5));
    DrawScreen();
    EXPECT_EQ(At(bx + hero.m_nWidth - 1, by + hero.m_nHeight - 1), Colour(5));
    EXPECT_EQ(At(rx + hero.m_HitChara.nWidth / 2, ry + hero.m_HitChara.nHeight / 2), Colour(9));
}

TEST_F(CharaDraw, CellsOfTheGraphicKinds) {
    ToPlay();
    cStageChara c;
    c.m_nDir = 0;
    struct CASE {
        int kind, number, cell;
        bool drawn;
        int slot, sx, sy;
    } cases[] = {
        {1, 1, 0, true, 4, 0, 32},      // sheet 1, row 1
        {1, 2, 3, true, 4, 96, 64},     // frame 3 across the row
        {1, 14, 0, false, 0, 0, 0},     // row 14 lies beyond this small sheet
        {1, 0, 0, false, 0, 0, 0},      // graphic 0: none
        {1, 16, 0, false, 0, 0, 0},     // sheet 2 was not loaded
        {1, 1, 16, false, 0, 0, 0},     // one row of 16 frames a character
        {1, 1, -1, false, 0, 0, 0},
        {1, 200, 0, false, 0, 0, 0},    // beyond the eight sheets
        {4, 1, 0, false, 0, 0, 0},      // no dedicated bitmap in the database
        {2, 1, 0, false, 0, 0, 0},      // kinds without a character sheet draw nothing
    };
    for (const CASE& k : cases) {
        c.m_Def.m_byGraphicKind = (uint8_t)k.kind;
        c.m_Def.m_wGraphic = (uint16_t)k.number;
        CHARACELL cell;
        ASSERT_EQ(PrepareCharaCell(c, k.cell, cell), k.drawn) << k.kind << "/" << k.number << "/" << k.cell;
        if (!k.drawn) continue;
        EXPECT_EQ(cell.lpSrc, &g_SurfaceData[k.slot]);
        EXPECT_EQ(cell.nSrcX, k.sx);
        EXPECT_EQ(cell.nSrcY, k.sy);
        EXPECT_EQ(cell.nWidth, 32);
    }
    c.m_Def.m_byGraphicKind = 1;
    c.m_Def.m_wGraphic = 1;
    c.m_nDir = 1;  // facing right: the mirrored view
    CHARACELL cell;
    ASSERT_TRUE(PrepareCharaCell(c, 0, cell));
    EXPECT_EQ(cell.lpSrc, &g_SurfaceData[5]);
}

TEST_F(CharaDraw, ACopiedCharacterKeepsHowItIsDrawn) {
    DefineEffects({CharaEffect(2, {10, 0, 32, 4, 0})});
    cStageChara c;
    c.m_byLayer = 3;
    c.m_byHidden = 1;
    c.m_byViewMode = 2;
    c.m_bOnScreen = 1;
    c.m_nHP = 5;
    StartCharaEffect(c.m_CharaEffect, 1, EFFECT_RUN_NORMAL, 0);
    StartGauge(c.m_HPGauge, 5, 10, 2);
    const cStageChara copy(c);
    EXPECT_EQ(copy.m_byLayer, 3);
    EXPECT_EQ(copy.m_byHidden, 1);
    EXPECT_EQ(copy.m_byViewMode, 2);
    EXPECT_EQ(copy.m_bOnScreen, 1);
    EXPECT_EQ(copy.m_CharaEffect.nId, 1);
    EXPECT_EQ(copy.m_HPGauge.nFrames, 120);
}

// ---- gauges ----

TEST_F(CharaDraw, GaugesShowAChangeForTwoSecondsShrinkingDuringTheFirst) {
    cStageChara c;
    charadef::MaxHPField(c.m_Def) = 40;
    c.m_nHP = 30;
    c.StartHPGauge(0);  // no change: nothing starts
    EXPECT_EQ(c.m_HPGauge.nFrames, 0);
    c.StartHPGauge(10);  // healed by 10: 30 of 40 is 37 dots, 12.5 of them the change
    EXPECT_EQ(c.m_HPGauge.nFrames, 120);
    EXPECT_EQ(c.m_HPGauge.nLength, 37);
    EXPECT_DOUBLE_EQ(c.m_HPGauge.dChange, 12.5);
    EXPECT_DOUBLE_EQ(c.m_HPGauge.dStep, 12.5 / 60);
    c.StartSPGauge(-3);  // no maximum SP: nothing
    EXPECT_EQ(c.m_SPGauge.nFrames, 0);
    struct ROW {
        int height, step, row;
    } rows[] = {{208, 0, 128}, {208, 2, 160}, {208, 4, 192}, {209, 0, 208}, {209, 3, 214}, {480, 1, 210}};
    for (const ROW& r : rows) EXPECT_EQ(GaugeRow(r.height, r.step), r.row) << r.height << "/" << r.step;

    ToPlay();
    c.m_nRectLeft = 200;
    c.m_nRectTop = 200;
    c.m_nGraphWidth = 32;
    DDFillSurface(&g_BackBufferSD, 16);
    const uint32_t empty = At(180, 197);
    c.DrawGaugeA(&g_BackBufferSD);
    EXPECT_NE(At(191, 197), empty);  // x = 200 + 16 - 25, y = 200 - 3
    EXPECT_EQ(At(190, 197), empty);
    EXPECT_EQ(At(191, 199), empty);  // two dots high
    EXPECT_EQ(c.m_HPGauge.nFrames, 119);
    for (int i = 0; i < 59; ++i) c.DrawGaugeA(&g_BackBufferSD);
    EXPECT_EQ(c.m_HPGauge.nFrames, 60);
    EXPECT_NEAR(c.m_HPGauge.dChange, 0.0, 1e-9);
    for (int i = 0; i < 60; ++i) c.DrawGaugeA(&g_BackBufferSD);
    EXPECT_EQ(c.m_HPGauge.nFrames, 0);
    DDFillSurface(&g_BackBufferSD, 16);
    const std::vector<uint32_t> none = Pixels();
    c.DrawGaugeA(&g_BackBufferSD);  // over: nothing
    c.StartHPGauge(-5);
    c.m_bDead = 1;  // a dead character shows no gauge
    c.DrawGaugeA(&g_BackBufferSD);
    EXPECT_EQ(Pixels(), none);
}

// ---- death, restart, view mask ----

TEST_F(CharaDraw, ADeadHeroRestartsTheStageWhenItsDeathAnimationEnds) {
    DefineEffects({CharaEffect(1, {1, 0, 16, 0, 0})});  // a burst of 6 frames
    ToPlay();
    const int lives = g_SaveData.m_nLives;
    cHero& hero = g_vecHero[0];
    hero.m_bDying = 1;
    StartCharaEffect(hero.m_CharaEffect, 1, EFFECT_RUN_NORMAL, 0);
    for (int i = 0; i < 20; ++i) DrawScreen(1, 1);  // held frames stand still
    EXPECT_EQ(Play()->m_nState, PLAY_FRAME);
    int frames = 0;
    while (Play()->m_nState == PLAY_FRAME && frames < 30) {
        DrawScreen(1, 0);
        ++frames;
    }
    EXPECT_GE(frames, 6);
    EXPECT_LE(frames, 8);
    EXPECT_EQ(Play()->m_nState, PLAY_BANNER);
    EXPECT_EQ(g_SaveData.m_nLives, lives - 1);
    EXPECT_EQ(g_vecHero[0].m_bDying, 0);  // built again by the stage set-up

    // Without a death effect the death is over at once.
    ToPlay();
    g_vecHero[0].m_bDying = 1;
    DrawScreen(1, 0);
    EXPECT_EQ(Play()->m_nState, PLAY_BANNER);
}

TEST_F(CharaDraw, StageCharactersLeavePlayWhenTheirDeathAnimationEnds) {
    ToPlay();
    cStageChara& c = AddChara(200, 200);
    c.m_bDying = 1;
    DrawScreen(1, 1);
    EXPECT_EQ(g_listStageChara.size(), 1u);  // not while held
    DrawScreen(1, 0);
    EXPECT_TRUE(g_listStageChara.empty());
}

TEST_F(CharaDraw, TheViewMaskIsCutAroundTheHero) {
    ToPlay();
    cHero& hero = g_vecHero[0];
    hero.m_nSightRange = 48;
    hero.m_byViewMode = 3;
    ASSERT_TRUE(CreatePlayWorkSurfaces(&g_ViewMaskSD, &g_ViewBrushSD, 48, 3));
    g_StageSettings.m_vecBackgrounds.assign(1, Plain(40));
    DrawScreen();
    const int cx = hero.m_nRectLeft + 16, cy = hero.m_nRectTop + 16;
    EXPECT_EQ(At(cx - 30, cy), Colour(40));  // inside the square hole
    DrawScreen();
    EXPECT_EQ(At(cx - 60, cy), Colour(16));  // the mask beyond it
    DrawScreen();
    EXPECT_EQ(At(5, 5), Colour(16));
    hero.m_byViewMode = 0;  // no view mode: no mask
    DrawScreen();
    EXPECT_EQ(At(5, 5), Colour(40));
}

// ---- layers, the paused shortcut, backgrounds ----

TEST_F(CharaDraw, WithTheLayerSwitchObjectsAreDrawnByTheirLayersElseHeroFirst) {
    ToPlay();
    cHero& hero = g_vecHero[0];
    hero.GetGraphicRect();
    // A stage character on the hero's place, from another row of the sheet.
    cStageChara& c = AddChara(hero.m_nRectLeft, hero.m_nRectTop, 3);
    c.m_nDir = hero.m_nDir;
    auto onTop = [&]() {
        DrawScreen();
        return At(hero.m_nRectLeft + 16, hero.m_nRectTop + 16);
    };
    const uint32_t charaOnTop = onTop();
    hero.m_byLayer = 1;
    EXPECT_EQ(onTop(), charaOnTop);  // one layer: the order hero, items, characters
    g_StageSettings.m_anValue28_29[0] = 1;
    const uint32_t heroOnTop = onTop();
    EXPECT_NE(heroOnTop, charaOnTop);
    c.m_byLayer = 2;
    EXPECT_EQ(onTop(), charaOnTop);
}

TEST_F(CharaDraw, PausedWithTheHideSwitchOnlyTheBackgroundsShow) {
    ToPlay();
    g_SystemData.m_nWordC = 1;
    Play()->m_nState = PLAY_MENU;
    DrawScreen(0, 1);
    const std::vector<uint32_t> hidden = Pixels();
    DDFillSurface(&g_BackBufferSD, 16);
    EXPECT_EQ(hidden, Pixels());  // the hero is not drawn
    g_SystemData.m_nWordC = 0;
    DrawScreen(0, 1);
    EXPECT_NE(hidden, Pixels());
    g_SystemData.m_nWordC = 1;
    DrawScreen(1, 1);  // a full draw ignores the switch
    EXPECT_NE(hidden, Pixels());
}

TEST_F(CharaDraw, AnAutoScrollingBackgroundIsFixedToTheStageAndMovesByItsOffset) {
    cBackgroundRec b;
    b.m_nA = 0;
    b.m_anBC[0] = 1;
    b.m_strBitmap = "背景その1.bmp";
    b.m_adPQ[0] = b.m_adPQ[1] = 0.5;
    g_StageSettings.m_vecBackgrounds = {b};
    ToPlay();
    cScroll& sx = Play()->m_ScrollX;
    cScroll& sy = Play()->m_ScrollY;
    sy.m_dPos = sy.m_nMargin * 32;
    auto draw = [&](double x) {
        sx.m_dPos = x;
        DrawBackgroundLayer(Play(), &g_BackBufferSD, 0);
        return Pixels();
    };
    const std::vector<uint32_t> origin = draw(sx.m_nMargin * 32);
    // By its rate: 60 dots of view move the picture 30 (the offset is not used).
    cBackgroundRec& rec = g_StageSettings.m_vecBackgrounds[0];
    rec.m_adGH[0] = 100;
    std::vector<uint32_t> moved = draw(sx.m_nMargin * 32 + 60.7);
    for (int x : {0, 100, 500}) EXPECT_EQ(moved[(size_t)50 * 640 + x], origin[(size_t)50 * 640 + (x + 30) % 320]);
    // Scrolling by itself: fixed to the stage, offset 100 + 60 (truncated) from the origin.
    rec.m_anEF[0] = 4;
    moved = draw(sx.m_nMargin * 32 + 60.7);
    for (int x : {0, 100, 500}) EXPECT_EQ(moved[(size_t)50 * 640 + x], origin[(size_t)50 * 640 + (x + 160) % 320]);
    ScrollBackgrounds();
    EXPECT_DOUBLE_EQ(rec.m_adGH[0], 96.0);
}

// ---- items, graphic references, the carried item ----

TEST_F(CharaDraw, ItemsAndGraphicReferencesAndTheBlinkingCarriedItem) {
    ToPlay();
    // A graphic reference as an icon: an item cell scaled down to 16 x 16, a shot cell copied.
    DDFillSurface(&g_BackBufferSD, 16);
    const uint32_t empty = At(0, 100);
    DrawGraphicRef(&g_BackBufferSD, 100, 100, 1, 2, 0);
    DrawGraphicRef(&g_BackBufferSD, 200, 100, 2, 3, 0);
    DrawGraphicRef(&g_BackBufferSD, 300, 100, 9, 3, 0);  // no such kind: nothing
    const std::vector<uint32_t> icons = Pixels();
    auto drawnIn = [&](int x0, int y0, int w, int h) {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) n += icons[(size_t)y * 640 + x] != empty;
        return n;
    };
    EXPECT_GT(drawnIn(100, 100, 16, 16), 0);
    EXPECT_EQ(drawnIn(116, 96, 20, 24) + drawnIn(96, 116, 24, 8), 0);
    EXPECT_GT(drawnIn(200, 100, 16, 16), 0);
    EXPECT_EQ(drawnIn(216, 96, 20, 24), 0);
    EXPECT_EQ(drawnIn(290, 90, 40, 40), 0);
    // An item at its screen rectangle; a larger one stretched.
    cItem item;
    item.m_Def.m_byGraphicKind = 1;
    item.m_Def.m_wGraphic = 2;
    item.m_nRectLeft = 400;
    item.m_nRectTop = 200;
    item.m_nGraphWidth = item.m_nGraphHeight = 32;
    DDFillSurface(&g_BackBufferSD, 16);
    item.Draw(&g_BackBufferSD, 1);
    const std::vector<uint32_t> small = Pixels();
    item.m_nGraphWidth = item.m_nGraphHeight = 64;
    DDFillSurface(&g_BackBufferSD, 16);
    item.Draw(&g_BackBufferSD, 1);
    const std::vector<uint32_t> large = Pixels();
    EXPECT_EQ(large[(size_t)(200 + 2 * 16) * 640 + 400 + 2 * 16], small[(size_t)(200 + 16) * 640 + 400 + 16]);
    EXPECT_NE(large[(size_t)250 * 640 + 450], small[(size_t)250 * 640 + 450]);
    // The carried item shows over the head for 32 calls of every 96, only while the carrier acts.
    cStageChara& c = AddChara(300, 300);
    c.m_Item.m_bGiven = 1;
    c.m_Item.m_Def.m_byGraphicKind = 1;
    c.m_Item.m_Def.m_wGraphic = 3;
    c.m_Item.m_nGraphWidth = c.m_Item.m_nGraphHeight = 32;
    c.GetGraphicRect();
    auto shown = [&]() {
        DDFillSurface(&g_BackBufferSD, 16);
        c.DrawCarriedItem(&g_BackBufferSD);
        return At(c.m_nRectLeft + 16 - 8 + 8, c.m_nRectTop - 16 + 8) != empty;
    };
    int count = 0;
    for (int i = 0; i < 96 * 2; ++i) count += shown();
    EXPECT_EQ(count, 0);  // not acting
    c.m_bInRange = 1;
    for (int i = 0; i < 96 * 2; ++i) count += shown();
    EXPECT_EQ(count, 64);
    c.m_Item.m_bGiven = 0;
    for (int i = 0; i < 96; ++i) count += shown();
    EXPECT_EQ(count, 64);
}

// ---- character effects on a stage character ----

TEST_F(CharaDraw, EveryCharacterEffectKindOnAStageCharacterAtMidProgressAndBackToNone) {
    // One second each (60 frames); drawn after 30.
    DefineEffects({CharaEffect(0, {10, 0, 0, 0, 0}),     CharaEffect(1, {10, 0, 16, 0, 0}),
                   CharaEffect(2, {10, 0, 32, 4, 0}),    CharaEffect(3, {10, 0, 32, 4, 0}),
                   CharaEffect(4, {10, 0, 8, 2, 2}),     CharaEffect(5, {10, 0, 8, 2, 2}),
                   CharaEffect(6, {10, 7, 0, 0, 0}),     CharaEffect(7, {10, 0, 360, 0, 0}),
                   CharaEffect(8, {10, 0, 360, 0, 0}),   CharaEffect(9, {10, 0, 40, 0, 0}),
                   CharaEffect(10, {10, 32, 0, 2, 0}),   CharaEffect(11, {10, 32, 64, 0, 0}),
                   CharaEffect(12, {10, 100, 5, 0, 0}),  CharaEffect(13, {10, 1, 4, 100, 0}),
                   CharaEffect(14, {10, 9999, 0, 0, 0}), CharaEffect(15, {10, 1, 8, 0, 0}),
                   CharaEffect(16, {10, 1, 4, 0, 0})});
    ToPlay();
    g_vecHero[0].m_byHidden = 1;
    std::vector<cStageChara*> charas;
    for (int kind = 0; kind <= 16; ++kind) {
        cStageChara& c = AddChara(40 + (kind % 6) * 100, 60 + (kind / 6) * 130, 1 + kind % 3);
        StartCharaEffect(c.m_CharaEffect, kind + 1, EFFECT_RUN_NORMAL, 0);
        charas.push_back(&c);
    }
    for (int f = 0; f < 30; ++f) DrawScreen(1, 0);
    drawtest::ExpectGolden(*BackPixels(), "chara_effect_kinds");
    // Turning in depth draws stripes: the character is narrower than its cell.
    const cStageChara& turning = *charas[9];
    const std::vector<uint32_t> px = Pixels();
    const uint32_t background = px[(size_t)470 * 640 + 5];
    int columns = 0;
    for (int x = turning.m_nRectLeft; x <= turning.m_nRectRight; ++x)
        for (int y = turning.m_nRectTop; y <= turning.m_nRectBottom; ++y)
            if (px[(size_t)y * 640 + x] != background) {
                ++columns;
                break;
            }
    EXPECT_GT(columns, 4);
    EXPECT_LT(columns, 28);
    for (int f = 0; f < 40; ++f) DrawScreen(1, 0);
    for (int kind = 0; kind <= 16; ++kind)
        EXPECT_EQ(charas[(size_t)kind]->m_CharaEffect.nId, kind == 0 ? 1 : 0) << "kind " << kind;
}

}  // namespace
