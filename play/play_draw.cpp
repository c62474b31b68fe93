#include "play/play_draw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/frame_timer.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "flow/range_display.h"
#include "app/pulse_colours.h"
#include "app/scene_manager.h"
#include "app/system_se.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "media/primitives.h"
#include "media/surface.h"
#include "play/block_draw.h"
#include "play/damage.h"
#include "play/effect_obj.h"
#include "play/graphic_sheet.h"
#include "play/message_window.h"
#include "play/panel_draw.h"
#include "play/picture_lists.h"
#include "play/play_scene.h"
#include "play/screen_colour.h"
#include "play/screen_effect.h"
#include "play/stage_bitmaps.h"
#include "play/stage_objects.h"
#include "play/stage_words.h"
#include "play/system_words.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_list.h"
#include "records/system_data.h"

namespace {

constexpr DWORD kSeTimeWarning = 13;
constexpr int kMaxTiles = 1000;
constexpr int kCaptionY = 456;
constexpr int kCaptionFirstText = 25;  // 25 the editor's caption, 26 the stage file's

// The fields of a background record as play reads them: A the plain-colour flag (no picture),
// B shown, C the colour, D the pass (0 back, 1 front), P and Q the rates, E and F the automatic
// scroll speeds in dots per frame (0: no automatic scrolling on that axis), G and H the offsets.
// A background that scrolls by itself is fixed to the stage: it moves with the view one to one,
// shifted by its offsets, instead of following the view by its rates.
struct BACKGROUND {
    static bool Plain(const cBackgroundRec& b) { return b.m_nA != 0; }
    static bool Shown(const cBackgroundRec& b) { return b.m_anBC[0] != 0; }
    static int Colour(const cBackgroundRec& b) { return b.m_anBC[1]; }
    static int Front(const cBackgroundRec& b) { return b.m_nD; }
    static int Speed(const cBackgroundRec& b, int axis) { return b.m_anEF[axis]; }
    static bool FixedToStage(const cBackgroundRec& b) { return b.m_anEF[0] != 0 || b.m_anEF[1] != 0; }
};

DDSURFACEDATA* Back() { return &g_BackBufferSD; }

bool HasImage(const DDSURFACEDATA* s) { return (s->lpDT || s->lpDD) && s->nWidth > 0 && s->nHeight > 0; }

// A value wrapped into 0 .. size (size > 0).
double Wrap(double v, int size) {
    if (!std::isfinite(v)) return 0.0;
    v = std::fmod(v, (double)size);
    return v < 0 ? v + size : v;
}

int Mod(int64_t v, int size) {
    const int64_t m = v % size;
    return (int)(m < 0 ? m + size : m);
}

// The picture's source position on one axis for the view's scroll position: the rounded view
// position less the margin, times the rate; fixed to the stage, the offset plus the view
// position less the margin.
int SourcePos(const cScroll& axis, const cBackgroundRec& b, int which) {
    const double margin = (double)axis.m_nMargin * 32.0;
    if (BACKGROUND::FixedToStage(b)) return DotToInt(b.m_adGH[which] + axis.m_dPos - margin);
    const double rounded = (double)DotToInt(axis.m_dPos + 0.5) - margin;
    return DotToInt(rounded * b.m_adPQ[which]);
}

// Tiles the picture over 640 x 480 from its source position.
void TileBackground(cPlayScene* scene, DDSURFACEDATA* target, const cBackgroundRec& b, DDSURFACEDATA* pic, int flags) {
    const int sx = Mod(SourcePos(scene->m_ScrollX, b, 0), pic->nWidth);
    const int sy = Mod(SourcePos(scene->m_ScrollY, b, 1), pic->nHeight);
    DDBatchBegin(0);
    DDBatchAddTexture(pic);
    int rows = 0;
    for (int y = -sy; y < 480 && rows < kMaxTiles; y += pic->nHeight, ++rows) {
        int columns = 0;
        for (int x = -sx; x < 640 && columns < kMaxTiles; x += pic->nWidth, ++columns)
            DDBlt(target, x, y, pic->nWidth, pic->nHeight, pic, 0, 0, flags);
    }
    DDBatchFlush();
}

bool InLayer(int layers, int objectLayer, int layer) { return layers == 1 || objectLayer == layer; }

// The state the play scene takes after the hero's death animation.
void RestartAfterDeath(cPlayScene* scene) {
    const int mode = g_SceneManager.m_nPlayMode;
    const BOOL testPlay = g_bEditor && g_bStageFileStart;
    if (mode == START_MODE_REPLAY) {
        ResetStageVariables(g_SaveData, 1, mode, testPlay);
        scene->SetStage(1, 1);
        scene->m_nState = PLAY_BANNER;
        return;
    }
    if (!TakeLife(g_SaveData)) {
        scene->m_nState = PLAY_GAMEOVER;
        return;
    }
    if (stageword::CarryOver(g_StageSettings)) ClearOverriddenFlags(g_SaveData);
    ResetStageVariables(g_SaveData, 0, mode, testPlay);
    if (mode == START_MODE_STORY && g_SystemData.m_nWord9) {
        scene->m_nPhase = 0;
        scene->m_nState = PLAY_CONTINUE;
        return;
    }
    scene->SetStage(1, 0);
    scene->m_nState = PLAY_BANNER;
}

}  // namespace

void ScrollBackgrounds() {
    for (size_t i = 0; i < g_StageSettings.m_vecBackgrounds.size(); ++i) {
        cBackgroundRec& b = g_StageSettings.m_vecBackgrounds[i];
        const DDSURFACEDATA* pic = i < (size_t)kBackgroundSlots ? &g_SurfaceData[kSlotBackground + i] : nullptr;
        for (int axis = 0; axis < 2; ++axis) {
            if (BACKGROUND::Speed(b, axis) == 0) continue;
            const int size = pic && HasImage(pic) ? (axis == 0 ? pic->nWidth : pic->nHeight) : 0;
            const double moved = b.m_adGH[axis] - BACKGROUND::Speed(b, axis);
            b.m_adGH[axis] = size > 0 ? Wrap(moved, size) : 0.0;
        }
    }
}

void DrawBackgroundLayer(cPlayScene* scene, DDSURFACEDATA* target, int front) {
    const std::vector<cBackgroundRec>& backs = g_StageSettings.m_vecBackgrounds;
    bool drawn = false;
    for (size_t i = 0; i < backs.size(); ++i) {
        const cBackgroundRec& b = backs[i];
        if (BACKGROUND::Front(b) != front || !BACKGROUND::Shown(b)) continue;
        if (BACKGROUND::Plain(b)) {
            DDFillRect(target, 0, 0, 640, 480, BACKGROUND::Colour(b));
            drawn = true;
            continue;
        }
        // A picture background has one of the eight background slots; one whose picture did
        // not load draws nothing.
        if (i >= (size_t)kBackgroundSlots) continue;
        DDSURFACEDATA* pic = &g_SurfaceData[kSlotBackground + i];
        if (!HasImage(pic)) continue;
        const int flags = (front == 0 && !drawn) ? DDBLT_OPAQUE : DDBLT_TRANSPARENT;
        TileBackground(scene, target, b, pic, flags);
        drawn = true;
    }
    if (front == 0 && !drawn) DDFillRect(target, 0, 0, 640, 480, 16);
}

void DrawBackgroundLayer(cPlayScene* scene, int layer) { DrawBackgroundLayer(scene, &g_BackBufferSD, layer); }

int DrawHeroAndRestart(cPlayScene* scene, int hold) {
    if (g_vecHero.empty()) return 0;
    cHero& hero = g_vecHero.front();
    hero.GetGraphicRect();
    if (!hero.m_bDying) {
        hero.Draw(Back(), hold);
        hero.DrawGaugeA(Back());
        hero.DrawGaugeB(Back());
        return 0;
    }
    if (!hero.DrawShadowed(Back(), hold)) return 0;
    RestartAfterDeath(scene);
    return 1;
}

int DrawStageChara(cStageChara& chara, int hold) {
    if (chara.m_bDying) {
        chara.GetGraphicRect();
        return chara.DrawShadowed(Back(), hold) ? 1 : 0;
    }
    if (chara.m_bOnScreen) {
        chara.GetGraphicRect();
        if (chara.m_byHidden) {
            chara.UpdateAttachments(hold);
            chara.RunEffectRenderer(hold);
        } else {
            chara.Draw(Back(), hold);
            chara.DrawGaugeA(Back());
            chara.DrawGaugeB(Back());
            chara.DrawCarriedItem(Back());
        }
        return 0;
    }
    if (chara.m_bInRange) {
        chara.GetGraphicRect();
        chara.UpdateAttachments(hold);
        chara.RunEffectRenderer(hold);
    }
    return 0;
}

void DrawTimeLimit(cPlayScene* scene, int warn) {
    if (scene->m_bNoTimeLimit) return;
    const int t = std::clamp(scene->m_nTimeLimit, 0, (int32_t)kMaxTimeLimit);
    const int digits[3] = {t / 100, t / 10 % 10, t % 10};
    for (int k = 0; k < 3; ++k)
        DDBlt(Back(), 272 + 32 * k, 24, 32, 32, &g_SurfaceData[kSlotWordSheet], 32 * digits[k], 160, DDBLT_TRANSPARENT);
    if (warn == 1 && t >= 1 && t <= stageword::TimeWarning(g_StageSettings) && FrameSkipCount(2, g_SceneManager.m_nFrameRate))
        PlaySystemSe(kSeTimeWarning);
}

void DrawBannerSprite(int kind, int stageNumber) {
    DDSURFACEDATA* words = &g_SurfaceData[kSlotWordSheet];
    switch (kind) {
    case 0:
        DDBlt(Back(), 256, 224, 128, 32, words, 0, 0, DDBLT_TRANSPARENT);
        DDDrawNumber(Back(), 384, 224, 32, 32, words, 0, 128, DDBLT_TRANSPARENT, stageNumber, 0, 0);
        break;
    case 1: DDBlt(Back(), 256, 224, 128, 32, words, 0, 32, DDBLT_TRANSPARENT); break;
    case 2: DDBlt(Back(), 280, 224, 80, 32, words, 160, 0, DDBLT_TRANSPARENT); break;
    default: break;
    }
}

void DrawPlayScreen(cPlayScene* scene, int full, int hold, int warn, int caption) {
    if (!g_bDDInitialized || !scene) return;
    DDSURFACEDATA* back = Back();
    // 1. Converted sheets that lost their pixels are built again.
    if (g_SurfaceData[kSlotConvertedShot].bLost || g_SurfaceData[kSlotConvertedShotMirror].bLost) LoadCommonBitmaps();
    RedrawLostViewMask();
    // 2. The virtual back buffer when the stage asks for it.
    if (scene->m_nVirtualScreen != 0) DDSetVirtualBackBuffer(1);
    // 3, 4. Backgrounds behind everything.
    ScrollBackgrounds();
    DrawBackgroundLayer(scene, back, 0);
    // 5. Paused with the project's hide-while-paused switch: the backgrounds alone.
    if (full == 0 && scene->m_nState == PLAY_MENU && HideWhilePaused()) {
        DrawBackgroundLayer(scene, back, 1);
        ScreenFlash(scene);
        return;
    }
    // 6. Back pictures and back blocks.
    DrawPictures(scene, back, 0, hold);
    DrawBlockMap(scene, back, 0);
    // 7. The objects, layer by layer.
    const int layers = stageword::LayerSwitch(g_StageSettings) ? kDrawLayers : 1;
    for (int layer = 0; layer < layers; ++layer) {
        if (layers == 1 || (!g_vecHero.empty() && g_vecHero.front().m_byLayer == layer))
            DrawHeroAndRestart(scene, hold);
        DDBatchBegin(0);
        DDBatchAddTexture(g_lpItemSheet);
        for (cItem& item : g_listItem) {
            // An item is shown once the appearance pass lets it appear.
            if (!InLayer(layers, item.m_byLayer, layer) || !item.m_bAppeared || item.m_bPicked) continue;
            item.GetGraphicRect();
            item.Draw(back, hold);
        }
        DDBatchFlush();
        for (auto it = g_listStageChara.begin(); it != g_listStageChara.end();) {
            if (InLayer(layers, it->m_byLayer, layer) && DrawStageChara(*it, hold)) {
                cStageChara* gone = &*it;
                ++it;
                scene->RemoveStageChara(gone);
            } else {
                ++it;
            }
        }
        DDBatchBegin(0);
        for (cShot& shot : scene->m_listShot) {
            if (!InLayer(layers, shot.m_byLayer, layer) || !shot.IsOnScreen()) continue;
            shot.GetGraphicRect();
            shot.Draw(hold);
        }
        DDBatchFlush();
    }
    // 8. Front blocks and backgrounds, ranges, the view mask, front pictures.
    DrawBlockMap(scene, back, 1);
    DrawBackgroundLayer(scene, back, 1);
    DrawCharaRanges(scene, back);
    if (!g_vecHero.empty()) g_vecHero.front().BlitCentredView(back);
    DrawPictures(scene, back, 1, hold);
    // 9-11. Effects, messages, the screen effect, the panel and the time.
    DrawEffectList(scene->m_listEffect, hold);
    for (const int32_t id : scene->m_vecDisplay)
        if (const cChara* c = FindObjectById(id)) DrawLivesIconAt(back, *c);
    for (auto it = scene->m_listMessage.begin(); it != scene->m_listMessage.end();) {
        if (DrawMessageWindow(*it, scene, back, hold) == 1)
            it = scene->m_listMessage.erase(it);
        else
            ++it;
    }
    RunScreenEffect(scene, hold);
    DrawStatusPanel(scene, back);
    DrawTimeLimit(scene, warn);
    // 12. The caption line.
    if (caption == 1 && (g_bStageFileStart || g_bEditor)) {
        const size_t n = (size_t)(g_bStageFileStart ? kCaptionFirstText + 1 : kCaptionFirstText);
        if (n < g_SystemData.m_vecTexts.size()) {
            const char* text = g_SystemData.m_vecTexts[n].c_str();
            g_Fonts[1].DrawText(back, 320 - GetCharCount(text) * 16 / 2, kCaptionY, text);
        }
    }
    // 13.
    UpdatePulseColours();
    ScreenFlash(scene);
}
