#include "play/message_window.h"

#include <algorithm>
#include <cstdint>

#include "core/globals.h"
#include "core/report.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/font.h"
#include "media/game_fonts.h"
#include "media/surface.h"
#include "play/graphic_sheet.h"
#include "play/hero.h"
#include "play/message_text.h"
#include "play/picture_lists.h"
#include "play/play_scene.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "platform/win32/win32.h"

namespace {

constexpr int kMessageFont = 1;
constexpr int kGraphicExtent = 16;
// The window stays below the status panel when it is kept on the screen.
constexpr int kScreenTop = 20;
constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

// The window's surface when it still belongs to the message surface list.
DDSURFACEDATA* SurfaceOf(MessageObj& msg) {
    if (!IsMessageSurface(msg.m_lpSurface)) msg.m_lpSurface = nullptr;
    return msg.m_lpSurface;
}

int ScrollDot(const cScroll& axis) { return DotToInt(axis.m_dPos); }

// A character of the stage by its identifier: the heroes first, then the stage characters.
const cChara* FindChara(int id) {
    for (const cHero& h : g_vecHero)
        if (h.m_nId == id) return &h;
    for (const cStageChara& c : g_listStageChara)
        if (c.m_nId == id) return &c;
    return nullptr;
}

int32_t Clamp32(int64_t v) { return (int32_t)std::clamp<int64_t>(v, INT32_MIN, INT32_MAX); }

}  // namespace

bool CreateMessageSurface(MessageObj& msg) {
    // With little texture memory left the surface goes to system memory.
    int memType = 0;
    if (g_lpDDDevice) {
        DWORD total = 0, free = 0;
        DDGetVideoMemory(&total, &free);
        if (total > 0 && (uint64_t)free * 100 / total < 20) memType = 1;
    }
    if (!DDAddBlankSurfaceToList(g_listMessageSurface, g_listMessageDesc, msg.m_nTextWidth, msg.m_nTextHeight, 1,
                                 memType, 0, 0)) {
        if (!g_listMessageSurface.empty())
            DDRemoveSurface(g_listMessageSurface, g_listMessageDesc, &g_listMessageSurface.back());
        msg.m_lpSurface = nullptr;
        WriteReport("MessageWindow Err : a %d x %d surface could not be made", (int)msg.m_nTextWidth,
                    (int)msg.m_nTextHeight);
        PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
        return false;
    }
    msg.m_lpSurface = &g_listMessageSurface.back();
    msg.m_nWidth = msg.m_lpSurface->nWidth + 8;
    msg.m_nHeight = msg.m_lpSurface->nHeight + 8;
    return true;
}

void RenderMessageText(MessageObj& msg) {
    DDSURFACEDATA* surface = SurfaceOf(msg);
    if (!surface) return;
    cFont& font = g_Fonts[kMessageFont];
    // Cleared first: a window set up again in place draws over its old text.
    DDFillSurface(surface, 0);
    if (msg.m_Set.bBitmapFont)
        font.DrawTextFramed(surface, 1, 1, 0, 0, msg.m_strShown.c_str(), 0);
    else
        font.DrawText(surface, 1, 1, msg.m_strShown.c_str());
    surface->bLost = 0;
}

void ReleaseMessageSurface(MessageObj& msg) {
    if (DDSURFACEDATA* surface = SurfaceOf(msg)) DDRemoveSurface(g_listMessageSurface, g_listMessageDesc, surface);
    msg.m_lpSurface = nullptr;
}

bool ShowMessageWindow(MessageObj& msg, const MESSAGESETTINGS& settings, int keepSurface, cPlayScene* scene) {
    msg.m_Set = settings;
    msg.m_strShown = settings.strText;
    msg.m_nTimeLeft = settings.nTime;
    msg.m_bPosHeld = 0;
    msg.m_nHeldX = msg.m_nHeldY = 0;
    msg.m_dAppear = 0.0;
    if (settings.bExpand) ExpandMessageText(msg, scene);
    msg.m_nTextWidth = msg.m_nTextHeight = 0;
    msg.m_nWidth = msg.m_nHeight = 0;
    switch (settings.nPosMode) {
    case MSGPOS_TEXT: {
        const SIZE s = MeasureText(msg.m_strShown, settings.bBitmapFont);
        msg.m_nTextWidth = s.cx;
        msg.m_nTextHeight = s.cy;
        if (keepSurface && SurfaceOf(msg)) {
            msg.m_nWidth = msg.m_lpSurface->nWidth + 8;
            msg.m_nHeight = msg.m_lpSurface->nHeight + 8;
        } else {
            msg.m_lpSurface = nullptr;
            if (!CreateMessageSurface(msg)) return false;
        }
        RenderMessageText(msg);
        break;
    }
    case MSGPOS_GRAPHIC:
    case MSGPOS_SURFACE:
        msg.m_nTextWidth = msg.m_nTextHeight = kGraphicExtent;
        msg.m_nWidth = msg.m_nHeight = kGraphicExtent;
        break;
    default: break;
    }
    return true;
}

bool PlaceMessageWindow(MessageObj& msg, cPlayScene* scene, int& x, int& y) {
    const MESSAGESETTINGS& s = msg.m_Set;
    const int w = msg.m_nWidth, h = msg.m_nHeight;
    const int sx = scene ? ScrollDot(scene->m_ScrollX) : 0;
    const int sy = scene ? ScrollDot(scene->m_ScrollY) : 0;
    // Options 0 and 7 hold their first place on the stage unless the fixed-position setting
    // keeps them on the screen; the others hold it when the setting is on.
    const bool hold = (s.nPlace == MSGPLACE_CENTRE || s.nPlace == MSGPLACE_SCREEN) ? s.nFixed == 0 : s.nFixed != 0;
    if (hold && msg.m_bPosHeld) {
        x = Clamp32((int64_t)msg.m_nHeldX - sx);
        y = Clamp32((int64_t)msg.m_nHeldY - sy);
        return true;
    }
    int64_t px = 0, py = 0;
    switch (s.nPlace) {
    case MSGPLACE_CENTRE:
        px = 320 + (int64_t)s.nOffsetX - w / 2;
        py = 240 + (int64_t)s.nOffsetY - h / 2;
        break;
    case MSGPLACE_ABOVE_SELF:
    case MSGPLACE_BELOW_SELF:
    case MSGPLACE_ON_SELF:
    case MSGPLACE_ABOVE_HERO:
    case MSGPLACE_BELOW_HERO:
    case MSGPLACE_ON_HERO: {
        const cChara* c = FindChara(s.nCharaId);
        if (!c) return false;
        const int64_t left = c->m_nRectLeft, top = c->m_nRectTop, bottom = c->m_nRectBottom;
        const int64_t centreX = left + ((int64_t)c->m_nRectRight - left + 1) / 2;
        px = centreX - w / 2 + s.nOffsetX;
        const int kind = (s.nPlace - 1) % 3;  // 0 above, 1 below, 2 centred
        if (kind == 0) py = top - h + s.nOffsetY;
        else if (kind == 1) py = bottom + 1 + s.nOffsetY;
        else py = top + (bottom - top + 1) / 2 - h / 2 + s.nOffsetY;
        break;
    }
    case MSGPLACE_SCREEN:
        px = (int64_t)s.nBlockX * 32 + s.nOffsetX;
        py = (int64_t)s.nBlockY * 32 + s.nOffsetY;
        break;
    case MSGPLACE_STAGE:
        px = (int64_t)s.nBlockX * 32 + s.nOffsetX - sx;
        py = (int64_t)s.nBlockY * 32 + s.nOffsetY - sy;
        break;
    default: break;
    }
    x = Clamp32(px);
    y = Clamp32(py);
    if (hold) {
        msg.m_bPosHeld = 1;
        msg.m_nHeldX = Clamp32((int64_t)x + sx);
        msg.m_nHeldY = Clamp32((int64_t)y + sy);
    }
    return true;
}

int DrawMessageWindow(MessageObj& msg, cPlayScene* scene, DDSURFACEDATA* target, int hold) {
    const MESSAGESETTINGS& s = msg.m_Set;
    // 1. The display time.
    if (s.nDispMode == kMessageTimed && (s.bCountWhileHeld || !hold)) {
        if (msg.m_nTimeLeft > INT32_MIN) --msg.m_nTimeLeft;
        if (msg.m_nTimeLeft < 0) {
            ReleaseMessageSurface(msg);
            return 1;
        }
    }
    // 2. Values shown afresh every r frames.
    if (s.bRefresh && s.nRefreshInterval > 0 && scene && scene->m_nFrameCount % s.nRefreshInterval == 0 &&
        s.nPosMode == MSGPOS_TEXT && s.bExpand) {
        const std::string shown = msg.m_strShown;
        ExpandMessageText(msg, scene);
        if (msg.m_strShown != shown) {
            const SIZE e = MeasureText(msg.m_strShown, s.bBitmapFont);
            if (e.cx != msg.m_nTextWidth || e.cy != msg.m_nTextHeight || !SurfaceOf(msg)) {
                ReleaseMessageSurface(msg);
                msg.m_nTextWidth = e.cx;
                msg.m_nTextHeight = e.cy;
                if (!CreateMessageSurface(msg)) return 1;
            }
            RenderMessageText(msg);
        }
    }
    // 3. and 4. The place, kept on the screen when asked.
    int x = 0, y = 0;
    if (!PlaceMessageWindow(msg, scene, x, y)) {
        ReleaseMessageSurface(msg);
        return 1;
    }
    if (s.bKeepOnScreen) {
        x = std::max(std::min(x, kScreenW - msg.m_nWidth), 0);
        y = std::max(std::min(y, kScreenH - msg.m_nHeight), kScreenTop);
    }
    msg.m_nDrawX = x;
    msg.m_nDrawY = y;
    // 5. The window.
    switch (s.nPosMode) {
    case MSGPOS_TEXT: {
        DDSURFACEDATA* surface = SurfaceOf(msg);
        if (!surface) break;
        if (surface->bLost) RenderMessageText(msg);
        if (msg.m_strShown.empty()) break;
        const int sw = surface->nWidth, sh = surface->nHeight;
        if (s.bAppear && msg.m_dAppear < kMessageOpenFrames) {
            // Opening: grown from its centre by a tenth each frame.
            const double scale = msg.m_dAppear * 0.1;
            const int dw = (int)(sw * scale), dh = (int)(sh * scale);
            if (dw > 0 && dh > 0)
                DDBltStretch(target, x + (sw - dw) / 2, y + (sh - dh) / 2, dw, dh, surface, 0, 0, sw, sh,
                             DDBLT_TRANSPARENT);
            msg.m_dAppear += 1.0;
        } else {
            DDBlt(target, x, y, sw, sh, surface, 0, 0, DDBLT_TRANSPARENT);
        }
        break;
    }
    case MSGPOS_SURFACE:
        if (DDSURFACEDATA* surface = SurfaceOf(msg))
            DDBlt(target, x, y, surface->nWidth, surface->nHeight, surface, 0, 0, DDBLT_TRANSPARENT);
        break;
    case MSGPOS_GRAPHIC:
        DrawGraphicRef(target, x, y - ((30 - msg.m_nTimeLeft) >> 2), s.nGraphKind, s.nGraphIndex, s.nGraphFrame);
        break;
    default: break;
    }
    return 0;
}
