#include "play/stage_bitmaps.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/globals.h"
#include "core/report.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "platform/win32/win32.h"
#include "records/database.h"
#include "records/stage.h"

std::vector<DDSURFACEDATA> g_vecStageBmp;
std::vector<SURFACEFILEDESC> g_vecStageBmpDesc;
std::vector<DDSURFACEDATA> g_vecSwordBmp;
std::vector<SURFACEFILEDESC> g_vecSwordBmpDesc;
std::vector<DDSURFACEDATA> g_vecEffectBmp;
std::vector<SURFACEFILEDESC> g_vecEffectBmpDesc;
DDSURFACEDATA g_ViewMaskSD = {};
DDSURFACEDATA g_ViewBrushSD = {};

namespace {

constexpr int kSheetColumns = 8;
constexpr int kSheetRows = 30;
constexpr int kBackgroundSlot = 55;
constexpr int kBackgroundCount = 8;

// The slots play loads when it starts from another scene: all but the debug bitmap and the
// title, title-menu and world-map pictures.
std::vector<int> CommonPlaySlots() {
    std::vector<int> slots;
    for (int s = 0; s < kSurfaceSlotCount; ++s)
        if (s != 1 && s != 47 && s != 48 && (s < 52 || s > 54)) slots.push_back(s);
    return slots;
}

void PostClose() { PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0); }

// What a view mask was last drawn for. Its pixels follow from the sight range and the shape
// alone (the palette, the colour key and the pixel format are fixed while a device lives, and
// nothing else draws into the mask), so a stage that starts again with the same view keeps it.
struct VIEWMASKKEY {
    const DDSURFACEDATA* lpMask;
    const DDSURFACEDATA* lpBrush;
    const void* lpDevice;  // the drawing device the mask was made on
    const void* lpImage;   // and the texture or surface object it got
    int nSight;            // dots, held to the surface limit
    int nShape;            // 0 no hole, 1 circle, 2 square
};
VIEWMASKKEY g_ViewMaskKey = {};

const void* DrawingDevice() { return g_lpDDDevice ? (const void*)g_lpDDDevice : (const void*)g_lpDD; }

const void* SurfaceImage(const DDSURFACEDATA* s) {
    if (s->lpDT) return s->lpDT->lpTexture;
    return s->lpDD ? s->lpDD->lpSurface : nullptr;
}

int MaskShape(int sight, int viewMode) { return sight == 0 ? 0 : (viewMode == 1 || viewMode == 2) ? 1 : 2; }

// The record holds a surface whose pixels are still there (a lost device takes them: the
// restore makes the surface again blank and marks it lost).
bool SurfaceKept(const DDSURFACEDATA* s) {
    if (s->bLost) return false;
    if (s->lpDT) return s->lpDT->lpTexture && s->lpDT->lpSurface;
    return s->lpDD && s->lpDD->lpSurface && s->lpDD->lpSurface->IsLost() != DDERR_SURFACELOST;
}

bool ViewMaskKept(const DDSURFACEDATA* mask, const DDSURFACEDATA* brush, int sight, int shape) {
    const VIEWMASKKEY& k = g_ViewMaskKey;
    if (k.lpMask != mask || k.lpBrush != brush || k.lpDevice != DrawingDevice() || k.lpImage != SurfaceImage(mask) ||
        k.nSight != sight || k.nShape != shape)
        return false;
    if (!SurfaceKept(mask) || mask->nWidth != 1280 + 2 * sight || mask->nHeight != 960 + 2 * sight) return false;
    return shape != 1 || (SurfaceKept(brush) && brush->nWidth == 2 * sight && brush->nHeight == 2 * sight);
}

// One record's descriptors appended: `count` of them named `file`, with the colour key; the
// second and the fourth get the mirror cell `mirror` (the plain and mirrored view, then their
// system-memory copies).
void AppendDescs(std::vector<SURFACEFILEDESC>& descs, const std::string& file, int count, int mirror) {
    for (int k = 0; k < count; ++k) {
        SURFACEFILEDESC d{};
        SetSurfaceFileDesc(&d, file.c_str(), 1, k >= 2 ? 1 : 0, 0, k > 0 ? 1 : 0, 0, 0, (k % 2) ? (DWORD)mirror : 0,
                           0, 0, 0);
        descs.push_back(d);
    }
}

// Creates entries first .. first + count - 1 from their descriptors, the last first; the later
// ones draw the first one's image. An entry without a file name stays empty. false: the
// message is shown and WM_CLOSE posted.
bool CreateRecordSurfaces(std::vector<DDSURFACEDATA>& recs, const std::vector<SURFACEFILEDESC>& descs, size_t first,
                          int count, const char* message) {
    if (descs[first].szPath[0] == '\0') return true;
    for (size_t k = first + 1; k < first + (size_t)count; ++k) recs[k].lpLink = &recs[first];
    for (int k = count - 1; k >= 0; --k) {
        DDSURFACEDATA* rec = &recs[first + (size_t)k];
        const DWORD* w = descs[first + (size_t)k].dwWord;
        const int r = DDCreateSurfaceFromFile(rec, descs[first].szPath, (int)w[0], g_nDDBpp, (int)w[1], (int)w[2],
                                              (int)w[3], (int)w[4], (int)w[6], (int)w[7], 0);
        if (!DDCheckCreateResult(r)) {
            for (int j = 0; j < count; ++j) DDReleaseSurface(&recs[first + (size_t)j]);
            MesBoxF(message, descs[first].szPath);
            PostClose();
            return false;
        }
    }
    return true;
}

// The common scheme of the three loaders: vectors emptied and reserved (the records refer to
// each other by address, so the vector never grows while they are made), `per` descriptors
// for each record from 1 on, named by the record's file when `named` says so.
template <class REC, class NAMEFN, class MIRRORFN>
bool LoadBitmapVector(std::vector<DDSURFACEDATA>& recs, std::vector<SURFACEFILEDESC>& descs,
                      const std::vector<REC>& list, int per, NAMEFN name, MIRRORFN mirror, const char* message) {
    DDReleaseSurfaceVector(recs);
    recs.clear();
    descs.clear();
    if (list.size() < 2) return true;
    const size_t total = (list.size() - 1) * (size_t)per;
    recs.reserve(total);
    descs.reserve(total);
    for (size_t i = 1; i < list.size(); ++i) AppendDescs(descs, name(list[i]), per, mirror(list[i]));
    recs.assign(total, DDSURFACEDATA{});
    for (size_t i = 1; i < list.size(); ++i)
        if (!CreateRecordSurfaces(recs, descs, (i - 1) * (size_t)per, per, message)) return false;
    return true;
}

}  // namespace

void LoadCommonBitmaps() {
    const int sources[2] = {kSlotShotSheet, kSlotShotSheetMirror};
    const int targets[2] = {kSlotConvertedShot, kSlotConvertedShotMirror};
    for (int s = 0; s < 2; ++s) {
        DDSURFACEDATA* dst = &g_SurfaceData[targets[s]];
        DDSURFACEDATA* src = &g_SurfaceData[sources[s]];
        DDFillRect(dst, 0, 0, dst->nWidth, dst->nHeight, 0);
        for (int r = 0; r < kSheetRows; ++r)
            for (int c = 0; c < kSheetColumns; ++c) DDBlt(dst, 8 + 32 * c, 8 + 32 * r, 16, 16, src, 16 * c, 16 * r, 1);
        dst->bLost = 0;
    }
}

bool LoadStageBitmaps() {
    // The second and fourth views mirror cells of 32 dots, or of the record's large cell.
    return LoadBitmapVector(
        g_vecStageBmp, g_vecStageBmpDesc, g_Database.m_vecBmpCharaExc, kStageBmpPerRecord,
        [](const cBmpCharaExcRec& r) { return r.m_nValue ? r.m_strFile : std::string(); },
        [](const cBmpCharaExcRec& r) { return r.m_bLargeCells ? 32 * std::max(1, std::min(r.m_nCellSize, 16)) : 32; },
        "専用bmp %s 読み込み失敗！");
}

bool LoadSwordBitmaps() {
    return LoadBitmapVector(
        g_vecSwordBmp, g_vecSwordBmpDesc, g_Database.m_vecSwordType, kSwordBmpPerRecord,
        [](const cSwordTypeRec& r) { return r.m_nValue ? r.m_strFile : std::string(); },
        [](const cSwordTypeRec&) { return 0; }, "ソード %s 読み込み失敗！");
}

bool LoadEffectBitmaps() {
    return LoadBitmapVector(
        g_vecEffectBmp, g_vecEffectBmpDesc, g_Database.m_vecEffect, kEffectBmpPerRecord,
        [](const cEffectRec& r) { return r.m_nValue ? r.m_strFile : std::string(); },
        [](const cEffectRec& r) { return std::max(0, r.m_nWidth); }, "エフェクト %s 読み込み失敗！");
}

void ReleaseStageBitmaps() {
    for (std::vector<DDSURFACEDATA>* v : {&g_vecStageBmp, &g_vecSwordBmp, &g_vecEffectBmp}) {
        DDReleaseSurfaceVector(*v);
        v->clear();
    }
    g_vecStageBmpDesc.clear();
    g_vecSwordBmpDesc.clear();
    g_vecEffectBmpDesc.clear();
}

bool CreatePlayWorkSurfaces(DDSURFACEDATA* mask, DDSURFACEDATA* brush, int sight, int viewMode) {
    // A sight range from data is held to what a surface can be made of.
    const int n = std::max(0, std::min(sight, 1024));
    const int shape = MaskShape(n, viewMode);
    if (ViewMaskKept(mask, brush, n, shape)) return true;
    g_ViewMaskKey = VIEWMASKKEY{};
    DDReleaseSurface(mask);
    DDReleaseSurface(brush);
    if (!DDCreateSurface(mask, 1280 + 2 * n, 960 + 2 * n, 1, 1, 0, 0, 0)) {
        DDReleaseSurface(mask);
        OutOfMemoryClose();
        return false;
    }
    DDFillRect(mask, 0, 0, mask->nWidth, mask->nHeight, 16);
    if (shape == 1) {
        if (!DDCreateSurface(brush, 2 * n, 2 * n, 1, 1, 0, 0, 0)) {
            DDReleaseSurface(brush);
            OutOfMemoryClose();
            return false;
        }
        DDFillRect(brush, 0, 0, brush->nWidth, brush->nHeight, 0);
        brush->bLost = 0;
        DDBltDisc(mask, mask->nWidth / 2, mask->nHeight / 2, mask->nWidth, mask->nHeight, n, 1, brush,
                  brush->nWidth / 2, brush->nHeight / 2, 0);
    } else if (shape == 2) {
        DDFillRect(mask, mask->nWidth / 2 - n, mask->nHeight / 2 - n, 2 * n, 2 * n, 0);
    }
    mask->bLost = 0;
    g_ViewMaskKey = VIEWMASKKEY{mask, brush, DrawingDevice(), SurfaceImage(mask), n, shape};
    return true;
}

bool LoadPlayBitmaps(int playOnly) {
    // The background slots take the stage's picture backgrounds (none for a plain colour).
    for (int i = 0; i < kBackgroundCount; ++i) {
        SURFACEFILEDESC& d = g_SurfaceFiles[kBackgroundSlot + i];
        const std::vector<cBackgroundRec>& backs = g_StageSettings.m_vecBackgrounds;
        const bool picture = (size_t)i < backs.size() && backs[(size_t)i].m_nA == 0;
        DDCopyName(d.szPath, picture ? backs[(size_t)i].m_strBitmap.c_str() : "");
        d.dwWord[8] = 640;
        d.dwWord[9] = 480;
    }
    // A play scene that restarts itself follows one whose end released every play surface:
    // only when the common sheets are still there is reloading the backgrounds enough.
    const DDSURFACEDATA& blocks = g_SurfaceData[2];
    if (playOnly && (blocks.lpDT || blocks.lpDD)) {
        int slots[kBackgroundCount];
        for (int i = 0; i < kBackgroundCount; ++i) slots[i] = kBackgroundSlot + i;
        return DDReloadSurfaces(g_SurfaceData, slots, kBackgroundCount);
    }
    const std::vector<int> slots = CommonPlaySlots();
    if (!DDReloadSurfaces(g_SurfaceData, slots.data(), (int)slots.size())) return false;
    LoadCommonBitmaps();
    return LoadStageBitmaps() && LoadSwordBitmaps() && LoadEffectBitmaps();
}

void RedrawLostViewMask() {
    // Only a restore that made the surface again marks it lost; while the device is still lost
    // nothing can be drawn.
    const VIEWMASKKEY k = g_ViewMaskKey;
    if (k.lpMask != &g_ViewMaskSD || k.lpBrush != &g_ViewBrushSD || !g_ViewMaskSD.bLost) return;
    if (!g_ViewMaskSD.lpDT && !g_ViewMaskSD.lpDD) return;
    CreatePlayWorkSurfaces(&g_ViewMaskSD, &g_ViewBrushSD, k.nSight, k.nShape == 1 ? 1 : 3);
}

void ReleasePlayBitmaps() {
    for (int s : CommonPlaySlots()) DDReleaseSurface(&g_SurfaceData[s]);
    ReleaseStageBitmaps();
    if (g_ViewMaskKey.lpMask == &g_ViewMaskSD) g_ViewMaskKey = VIEWMASKKEY{};
    DDReleaseSurface(&g_ViewMaskSD);
    DDReleaseSurface(&g_ViewBrushSD);
}
