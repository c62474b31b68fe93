// The bitmap font: creation, glyph sheets, laying text out, direct glyphs through GDI or D3DX,
// icon letters, boxes, measuring, digit sheets and device restore.
#include "media/font.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "core/format.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/report.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/restore.h"
#include "media/surface.h"
#include "media/transitions.h"
#include "platform/gdi/gdi.h"

namespace {

// The full-width characters every full-width sheet starts with, in this order.
const char kPreloaded[] =
    "０１２３４５６７８９ー～、。．！？「」（）・…※→↑↓←＋－＝○●×ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"
    "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも"
    "やゆよらりるれろわをんがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽぁぃぅぇぉっゃゅょアイウエオカキクケコサシスセソ"
    "タチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲンガギグゲゴザジズゼゾダヂヅデトバビブベボヴパピプペポァィゥェォ"
    "ッャュョ□■☆★％＆＜＞：";
#ifndef __clang__  // the clang-built fuzz targets keep narrow literals in UTF-8
static_assert(sizeof(kPreloaded) == 513, "256 two-byte characters");
#endif

constexpr int kWorkWidth = 640, kWorkHeight = 480;
constexpr DWORD kSpriteFlags = D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE;  // 48

struct DIGITSHEET {
    DDSURFACEDATA* surface;
    cFont* font;
};
std::vector<DIGITSHEET>& DigitSheets() {
    static auto* v = new std::vector<DIGITSHEET>;  // lives for the whole process
    return *v;
}

void CloseProgram() { PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0); }

bool HasSurface(const DDSURFACEDATA* rec) { return rec && (rec->lpDT || rec->lpDD); }

// The lost device: every font's D3DX objects let go of the device.
void FontsLost() {
    for (cFont* f : FontList()) {
        if (f->m_lpD3DXFont) f->m_lpD3DXFont->OnLostDevice();
        if (f->m_lpSprite) f->m_lpSprite->OnLostDevice();
    }
}

// After a reset or a DirectDraw restore: the fonts take the device again and redraw their
// sheets; digit sheets made blank again by a Direct3D reset get their digits back.
void FontsRestored() {
    for (cFont* f : FontList()) {
        if (f->m_lpD3DXFont) f->m_lpD3DXFont->OnResetDevice();
        if (f->m_lpSprite) f->m_lpSprite->OnResetDevice();
        f->Restore();
    }
    if (!g_lpDDDevice) return;
    for (DIGITSHEET& d : DigitSheets())
        if (d.surface->lpDT && d.surface->bLost) {
            DrawDigitSheet(d.surface, d.font);
            d.surface->bLost = 0;
        }
}

// Lines of a text, split at line feeds (a line feed is never part of a two-byte character).
std::vector<std::string> SplitLines(const char* text) {
    std::vector<std::string> lines;
    const char* p = text;
    for (;;) {
        const char* nl = std::strchr(p, '\n');
        if (!nl) {
            lines.emplace_back(p);
            return lines;
        }
        lines.emplace_back(p, (size_t)(nl - p));
        p = nl + 1;
    }
}

bool IsLead(unsigned char c) { return _ismbblead(c) != 0; }

}  // namespace

std::vector<cFont*>& FontList() {
    static auto* v = new std::vector<cFont*>;  // lives for the whole process
    return *v;
}

// Where a text's glyphs go: direct glyphs onto `target` at (tx, ty) (Direct3D: as render target
// with the sprite; DirectDraw: through the context of its surface), cached glyphs onto
// `cacheDst` at (cx, cy).
struct cFont::LAYOUT {
    DDSURFACEDATA* target = nullptr;
    int tx = 0, ty = 0;
    DDSURFACEDATA* cacheDst = nullptr;
    int cx = 0, cy = 0;
    bool open = false;
    HDC hdc = nullptr;
    HGDIOBJ oldFont = nullptr;
    bool paletteSet = false;
    PALETTEENTRY savedEntry{};
};

cFont::~cFont() { ReleaseFontObjects(); }

void cFont::ComputeColour() {
    PALETTEENTRY e{0, 0, 0, 0};
    if (m_nColor >= 0 && m_nColor <= 255) e = g_EnginePalette[m_nColor];
    if (g_lpDDDevice) {
        m_dwColor = 0xFF000000u | (DWORD)e.peRed << 16 | (DWORD)e.peGreen << 8 | e.peBlue;
        return;
    }
    DWORD r = e.peRed, g = e.peGreen, b = e.peBlue;
    if (g_nDDBpp == 16) {
        // The engine palette holds the 16-bit channels themselves in this mode.
        auto scale = [](DWORD v, DWORD max) { return max ? std::min<DWORD>(v * 255 / max, 255) : 0; };
        r = scale(r, g_dwChannel2[CH_RMAX]);
        g = scale(g, g_dwChannel2[CH_GMAX]);
        b = scale(b, g_dwChannel2[CH_BMAX]);
    }
    m_dwColor = RGB(r, g, b);
}

bool cFont::Create(const char* face, int width, int height, int pitchW, int pitchH, int colour,
                   DDSURFACEDATA* boxImage, int frameWidth, int frameColour, DDSURFACEDATA* iconImage, int cache) {
    m_strFace = face ? face : "";
    m_nFontWidth = width;
    m_nFontHeight = height;
    m_nPitchW = std::max(0, pitchW);
    m_nPitchH = std::max(0, pitchH);
    m_nColor = colour;
    m_lpBoxImage = boxImage;
    m_nFrameWidth = frameWidth;
    m_nFrameColor = frameColour;
    m_lpIconImage = iconImage;
    m_bIcon = iconImage ? 1 : 0;
    ComputeColour();

    if (g_lpDDDevice && g_lpD3DDevice) {
        if (m_lpSprite) m_lpSprite->Release();
        if (m_lpD3DXFont) m_lpD3DXFont->Release();
        m_lpSprite = nullptr;
        m_lpD3DXFont = nullptr;
        D3DXFONT_DESCA d{};
        d.Height = height;
        d.Width = 0;
        d.Weight = FW_NORMAL;
        d.MipLevels = 1;
        d.Italic = FALSE;
        d.CharSet = SHIFTJIS_CHARSET;
        CopyBounded(d.FaceName, sizeof d.FaceName, m_strFace.c_str());  // always terminated
        if (FAILED(D3DXCreateFontIndirectA(g_lpD3DDevice, &d, &m_lpD3DXFont))) {
            m_lpD3DXFont = nullptr;
            WriteReport("D3DXCreateFontIndirect Err");
            CloseProgram();
            return false;
        }
        if (FAILED(D3DXCreateSprite(g_lpD3DDevice, &m_lpSprite))) {
            m_lpSprite = nullptr;
            WriteReport("D3DXCreateSprite Err");
            CloseProgram();
            return false;
        }
        if (!m_WorkSD.lpDT && !DDCreateSurface(&m_WorkSD, kWorkWidth, kWorkHeight, 1, 0, DTMEMORYTYPE_VIDEO_RT, 0, 0)) {
            DDReleaseSurface(&m_WorkSD);
            WriteReport("DDCreateSurface Font::Work");
            CloseProgram();
            return false;
        }
        m_dwFontNo = g_lpDDDevice->dwFontCount++;
    } else if (g_lpDD) {
        if (m_hFont) DeleteObject(m_hFont);
        m_hFont = CreateFontA(height, width, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, m_strFace.c_str());
        if (!m_hFont) {
            WriteReport("CreateFont Err");
            CloseProgram();
            return false;
        }
        if (!m_WorkSD.lpDD && !DDCreateSurface(&m_WorkSD, kWorkWidth, kWorkHeight, 1, 0, 0, 0, 0)) {
            DDReleaseSurface(&m_WorkSD);
            WriteReport("DDCreateSurface Font::Work");
            CloseProgram();
            return false;
        }
        m_dwFontNo = g_lpDDContext ? g_lpDDContext->dwFontCount++ : 0;
    } else {
        return false;  // no drawing device
    }
    std::vector<cFont*>& list = FontList();
    if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
    DDSetFontRestoreHooks(FontsLost, FontsRestored);

    m_bFastFont = (DWORD)cache;
    if (cache == 0) {
        DestroySheets();
        return true;
    }
    if (m_nPitchW == 0 || m_nPitchH == 0) return true;
    DestroySheets();
    m_lpFastFont_Half = new cFastFont;
    if (!m_lpFastFont_Half->Create(cFastFont::KIND_HALF, m_nPitchW, m_nPitchH, 16, 16)) {
        DestroySheets();
        WriteReport("m_lpFastFont_Half Err");
        CloseProgram();
        return false;
    }
    int cols, rows;
    if (g_lpDDDevice) {
        cols = std::min(1024 / m_nPitchW, 32);
        rows = std::min(1024 / m_nPitchH, 32);
    } else {
        cols = std::min(640 / m_nPitchW, 32);
        rows = std::min(480 / m_nPitchH, 30);
    }
    m_lpFastFont_FullAdd = new cFastFont;
    if (!m_lpFastFont_FullAdd->Create(cFastFont::KIND_FULL, m_nPitchW, m_nPitchH, cols, rows)) {
        delete m_lpFastFont_FullAdd;
        m_lpFastFont_FullAdd = nullptr;
        WriteReport("m_lpFastFont_FullAdd Err");
        CloseProgram();
        return false;
    }
    for (size_t i = 0; i + 1 < sizeof kPreloaded; i += 2)
        if (!m_lpFastFont_FullAdd->AddGlyph(&kPreloaded[i])) break;
    DrawHalfSheet();
    DrawFullSheet();
    return true;
}

int cFont::CreateFromTable(cFont* fonts, const FONTSETTING* settings, int n) {
    if (!fonts || !settings) return 0;
    auto slot = [](DWORD k) -> DDSURFACEDATA* { return k < (DWORD)kSurfaceSlotCount ? &g_SurfaceData[k] : nullptr; };
    int ok = 1;
    for (int i = 0; i < n; ++i) {
        const FONTSETTING& s = settings[i];
        std::string face(s.szFace, strnlen(s.szFace, sizeof s.szFace));
        const DWORD* w = s.dwWord;
        if (!fonts[i].Create(face.c_str(), (int)w[0], (int)w[1], (int)w[2], (int)w[3], (int)w[4], slot(w[5]), (int)w[6],
                             (int)w[7], slot(w[8]), (int)w[9]))
            ok = 0;
    }
    return ok;
}

int cFont::CreateDigitSheets(DDSURFACEDATA* surfaces, const SURFACEFILEDESC* descs, int n, cFont* fonts,
                             const FONTSETTING* settings) {
    (void)settings;  // the fonts carry their pitches
    if (!surfaces || !descs || !fonts) return 0;
    for (int i = 0; i < n; ++i) {
        const DWORD* w = descs[i].dwWord;
        DDReleaseSurface(&surfaces[i]);
        int64_t sw = (int64_t)fonts[i].m_nPitchW * 10, sh = fonts[i].m_nPitchH;
        if (sw <= 0 || sh <= 0 || sw > 16384 ||
            !DDCreateSurface(&surfaces[i], (int)sw, (int)sh, (int)w[0], (int)w[1], (int)w[2], (int)w[3], 0))
            return 0;
        DrawDigitSheet(&surfaces[i], &fonts[i]);
        std::vector<DIGITSHEET>& list = DigitSheets();
        auto it = std::find_if(list.begin(), list.end(), [&](const DIGITSHEET& d) { return d.surface == &surfaces[i]; });
        if (it != list.end())
            it->font = &fonts[i];
        else
            list.push_back(DIGITSHEET{&surfaces[i], &fonts[i]});
    }
    return 1;
}

void DrawDigitSheet(DDSURFACEDATA* surface, cFont* font) {
    if (!surface || !font) return;
    DDFillRect(surface, 0, 0, surface->nWidth, surface->nHeight, 0);
    font->DrawText(surface, 0, 0, "0123456789");
}

void RestoreDigitSheets(DDSURFACEDATA* surfaces, cFont* fonts, int n) {
    if (g_lpDDDevice || !surfaces || !fonts) return;
    for (int i = 0; i < n; ++i) {
        DDSURFACEDATA* rec = &surfaces[i];
        if (!rec->lpDD || !rec->lpDD->lpSurface || rec->lpDD->lpSurface->IsLost() != DDERR_SURFACELOST) continue;
        rec->lpDD->lpSurface->Restore();
        if (rec->nMemType == 0) DrawDigitSheet(rec, &fonts[i]);
    }
}

void cFont::DestroySheets() {
    delete m_lpFastFont_Half;
    delete m_lpFastFont_FullAdd;
    m_lpFastFont_Half = nullptr;
    m_lpFastFont_FullAdd = nullptr;
}

void cFont::ReleaseFontObjects() {
    if (m_lpSprite) m_lpSprite->Release();
    if (m_lpD3DXFont) m_lpD3DXFont->Release();
    m_lpSprite = nullptr;
    m_lpD3DXFont = nullptr;
    if (m_hFont) DeleteObject(m_hFont);
    m_hFont = nullptr;
    DestroySheets();
    DDReleaseSurface(&m_WorkSD);
    m_WorkSD = DDSURFACEDATA{};
    std::vector<cFont*>& list = FontList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    std::vector<DIGITSHEET>& d = DigitSheets();
    d.erase(std::remove_if(d.begin(), d.end(), [this](const DIGITSHEET& e) { return e.font == this; }), d.end());
}

// ---- direct glyphs ----

bool cFont::BeginDirect(LAYOUT& lay) {
    if (lay.open || !lay.target) return lay.open;
    if (g_lpDDDevice) {
        if (!m_lpD3DXFont || !m_lpSprite) return false;
        if (!DDBeginScene() || !DDSetRenderTarget(0, lay.target)) return false;
        if (FAILED(m_lpSprite->Begin(kSpriteFlags))) {
            DDSetRestTarget();
            return false;
        }
        lay.open = true;
        return true;
    }
    if (!m_hFont || !lay.target->lpDD || !lay.target->lpDD->lpSurface) return false;
    if (FAILED(lay.target->lpDD->lpSurface->GetDC(&lay.hdc))) return false;
    lay.oldFont = SelectObject(lay.hdc, m_hFont);
    SetBkMode(lay.hdc, TRANSPARENT);
    SetTextColor(lay.hdc, m_dwColor);
    // At 8 bits the text's colour number shows its engine colour while the text is drawn.
    if (g_nDDBpp == 8 && g_lpDDPalette && m_nColor >= 0 && m_nColor <= 255 &&
        SUCCEEDED(g_lpDDPalette->GetEntries(0, (DWORD)m_nColor, 1, &lay.savedEntry))) {
        PALETTEENTRY e = g_EnginePalette[m_nColor];
        g_lpDDPalette->SetEntries(0, (DWORD)m_nColor, 1, &e);
        lay.paletteSet = true;
    }
    lay.open = true;
    return true;
}

void cFont::EndDirect(LAYOUT& lay) {
    if (!lay.open) return;
    lay.open = false;
    if (g_lpDDDevice) {
        if (m_lpSprite) m_lpSprite->End();
        DDSetRestTarget();
        return;
    }
    SelectObject(lay.hdc, lay.oldFont);
    lay.target->lpDD->lpSurface->ReleaseDC(lay.hdc);
    lay.hdc = nullptr;
    if (lay.paletteSet) g_lpDDPalette->SetEntries(0, (DWORD)m_nColor, 1, &lay.savedEntry);
    lay.paletteSet = false;
}

void cFont::DrawDirect(LAYOUT& lay, int gx, int gy, const char* glyph, int bytes) {
    // A glyph drawn while the text's drawing context is not open (the glyph cache is on) opens
    // it around itself.
    bool temporary = !lay.open;
    if (temporary && !BeginDirect(lay)) return;
    int x = gx, y = gy;
    if (m_bCentre) {
        SIZE e{0, 0};
        if (g_lpDDDevice) {
            RECT r{0, 0, 0, 0};
            m_lpD3DXFont->DrawTextA(m_lpSprite, glyph, bytes, &r, DT_CALCRECT, m_dwColor);
            e = SIZE{r.right - r.left, r.bottom - r.top};
        } else {
            GetTextExtentPoint32A(lay.hdc, glyph, bytes, &e);
        }
        x = gx + m_nPitchW / 2 - e.cx / 2;
        y = gy + m_nPitchH / 2 - e.cy / 2;
    } else if (bytes == 1) {
        x = gx + (m_nPitchW >> 3);
        y = gy + (m_nPitchH >> 4) - 1;
    }
    if (g_lpDDDevice) {
        RECT r{x, y, x, y};
        m_lpD3DXFont->DrawTextA(m_lpSprite, glyph, bytes, &r, DT_NOCLIP, m_dwColor);
    } else {
        TextOutA(lay.hdc, x, y, glyph, bytes);
    }
    if (temporary) EndDirect(lay);
}

// ---- laying text out ----

void cFont::Layout(LAYOUT& lay, const char* text) {
    if (m_nPitchW == 0) {
        // Proportional: line by line.
        bool temporary = !lay.open;
        if (temporary && !BeginDirect(lay)) return;
        std::vector<std::string> lines = SplitLines(text);
        for (size_t k = 0; k < lines.size(); ++k) {
            int y = lay.ty + (int)k * m_nPitchH;
            if (g_lpDDDevice) {
                RECT r{lay.tx, y, lay.tx, y};
                m_lpD3DXFont->DrawTextA(m_lpSprite, lines[k].c_str(), (int)lines[k].size(), &r, DT_NOCLIP, m_dwColor);
            } else {
                TextOutA(lay.hdc, lay.tx, y, lines[k].c_str(), (int)lines[k].size());
            }
        }
        if (temporary) EndDirect(lay);
        return;
    }
    bool cache = m_bFastFont && m_lpFastFont_Half && m_lpFastFont_FullAdd && lay.cacheDst;
    bool icons = m_bIcon && HasSurface(m_lpIconImage);
    // Cached glyphs are sorted by sheet: their cells never overlap, so the pixels are the same and
    // the batch draws two runs instead of one per change of sheet.
    DDBatchBegin(cache ? 1 : 0);
    if (cache) {
        DDBatchAddTexture(&m_lpFastFont_Half->m_Sheet);
        DDBatchAddTexture(&m_lpFastFont_FullAdd->m_Sheet);
    }
    int cx = 0, cy = 0;
    for (const char* p = text; *p;) {
        unsigned char c = (unsigned char)*p;
        if (IsSjisPair(p)) {
            bool fullSpace = c == 0x81 && (unsigned char)p[1] == 0x40;  // "　"
            if (fullSpace) {
            } else if (cache) {
                cFastFont* full = m_lpFastFont_FullAdd;
                if (!full->DrawGlyph(lay.cacheDst, lay.cx + cx, lay.cy + cy, p)) {
                    if (full->AddGlyph(p)) {
                        const FASTGLYPH* g = full->FindGlyph(p);
                        LAYOUT sheet;
                        sheet.target = &full->m_Sheet;
                        DrawDirect(sheet, g->nX, g->nY, p, 2);
                        full->DrawGlyph(lay.cacheDst, lay.cx + cx, lay.cy + cy, p);
                    } else {
                        DrawDirect(lay, lay.tx + cx, lay.ty + cy, p, 2);  // the sheet is full
                    }
                }
            } else {
                DrawDirect(lay, lay.tx + cx, lay.ty + cy, p, 2);
            }
            p += 2;
            cx += m_nPitchW;
            continue;
        }
        if (c == '\n') {
            cy += m_nPitchH;
            cx = 0;
        } else if (c == ' ' || (icons && c >= 'a' && c <= 'z')) {
            cx += m_nPitchW;  // a blank, or a letter the icon pass draws
        } else {
            if (cache)
                m_lpFastFont_Half->DrawCell(lay.cacheDst, lay.cx + cx, lay.cy + cy, c);
            else
                DrawDirect(lay, lay.tx + cx, lay.ty + cy, p, 1);
            cx += m_nPitchW;
        }
        ++p;
    }
    DDBatchFlush();
}

void cFont::DrawIconLetters(DDSURFACEDATA* dst, int x, int y, const char* text) {
    if (!m_bIcon || !HasSurface(m_lpIconImage) || m_nPitchW <= 0) return;
    DDBatchBegin(0);
    int cx = 0, cy = 0;
    for (const char* p = text; *p;) {
        unsigned char c = (unsigned char)*p;
        if (IsSjisPair(p)) {
            p += 2;
            cx += m_nPitchW;
            continue;
        }
        if (c == '\n') {
            cy += m_nPitchH;
            cx = 0;
        } else {
            if (c >= 'a' && c <= 'z')
                DDBlt(dst, x + cx, y + cy, m_nPitchW, m_nPitchH, m_lpIconImage, (c - 'a') * m_nPitchW, 0,
                      DDBLT_TRANSPARENT);
            cx += m_nPitchW;
        }
        ++p;
    }
    DDBatchFlush();
}

// ---- drawing text ----

void cFont::DrawText(DDSURFACEDATA* dst, int x, int y, const char* text) {
    if (!dst || !text) return;
    // Texts taller than the work surface go through it in bands of whole lines.
    DDSURFACEDATA* d = dst;
    DDTextureOf(d);
    DDIsVirtualBackBuffer(d);
    bool viaWork = !g_lpDDDevice || (d->lpDT && d->lpDT->bSysMem);
    if (viaWork && m_nPitchH > 0 && m_nPitchH < kWorkHeight) {
        std::vector<std::string> lines = SplitLines(text);
        size_t perBand = (size_t)(kWorkHeight / m_nPitchH);
        if (lines.size() > perBand) {
            for (size_t first = 0; first < lines.size(); first += perBand) {
                std::string band;
                for (size_t k = first; k < std::min(lines.size(), first + perBand); ++k) {
                    if (k > first) band += '\n';
                    band += lines[k];
                }
                DrawTextUnbanded(dst, x, y + (int)first * m_nPitchH, band.c_str());
            }
            return;
        }
    }
    DrawTextUnbanded(dst, x, y, text);
}

void cFont::DrawTextUnbanded(DDSURFACEDATA* dst, int x, int y, const char* text) {
    if (!g_lpDDDevice) {
        if (!m_WorkSD.lpDD) return;
        SIZE sz = MeasureText(text);
        int w = std::min<LONG>(sz.cx, m_WorkSD.nWidth), h = std::min<LONG>(sz.cy, m_WorkSD.nHeight);
        DDFillRect(&m_WorkSD, 0, 0, w, h, 0);
        LAYOUT lay;
        lay.target = &m_WorkSD;
        lay.cacheDst = dst;
        lay.cx = x;
        lay.cy = y;
        BeginDirect(lay);
        Layout(lay, text);
        EndDirect(lay);
        if (w > 0 && h > 0) DDBlt(dst, x, y, w, h, &m_WorkSD, 0, 0, DDBLT_TRANSPARENT);
        DrawIconLetters(dst, x, y, text);
        return;
    }
    DDTextureOf(dst);
    DDIsVirtualBackBuffer(dst);
    if (!dst->lpDT) return;
    bool cache = m_bFastFont && m_lpFastFont_Half && m_lpFastFont_FullAdd;
    if (dst->lpDT->bSysMem) {
        // A system-memory texture cannot be a render target: through the work surface.
        if (!m_WorkSD.lpDT) return;
        SIZE sz = MeasureText(text);
        int w = std::min<LONG>(sz.cx, m_WorkSD.nWidth), h = std::min<LONG>(sz.cy, m_WorkSD.nHeight);
        DDFillRect(&m_WorkSD, 0, 0, w, h, 0);
        LAYOUT lay;
        lay.target = &m_WorkSD;
        lay.cacheDst = &m_WorkSD;
        if (!cache) BeginDirect(lay);
        Layout(lay, text);
        EndDirect(lay);
        DrawIconLetters(&m_WorkSD, 0, 0, text);
        DDSetRestTarget();
        if (w > 0 && h > 0) DDBlt(dst, x, y, w, h, &m_WorkSD, 0, 0, DDBLT_TRANSPARENT);
        return;
    }
    LAYOUT lay;
    lay.target = dst;
    lay.tx = x;
    lay.ty = y;
    lay.cacheDst = dst;
    lay.cx = x;
    lay.cy = y;
    if (!cache) BeginDirect(lay);
    Layout(lay, text);
    EndDirect(lay);
    DrawIconLetters(dst, x, y, text);
    DDSetRestTarget();
}

void cFont::DrawTextF(DDSURFACEDATA* dst, int x, int y, const char* format, ...) {
    char buf[256];
    va_list ap;
    va_start(ap, format);
    VFormatBounded(buf, sizeof buf, format, ap);
    va_end(ap);
    DrawText(dst, x, y, buf);
}

void cFont::DrawFramedBox(DDSURFACEDATA* dst, int x, int y, int width, int height) {
    int bw = m_lpBoxImage ? m_lpBoxImage->nWidth : 0, bh = m_lpBoxImage ? m_lpBoxImage->nHeight : 0;
    if (x == 10000) x = (bw >> 1) - (width >> 1);
    if (y == 10000) y = (bh >> 1) - (height >> 1);
    DrawFrameBox(dst, x, y, width, height, m_lpBoxImage, m_nFrameWidth, m_nFrameColor);
}

void cFont::DrawTextFramed(DDSURFACEDATA* dst, int x, int y, int width, int height, const char* text, int margin) {
    if (!text) text = "";
    if (width == 0 || height == 0) {
        SIZE s = MeasureText(text);
        if (width == 0) width = (int)s.cx + margin;
        if (height == 0) height = (int)s.cy;
    }
    int bw = m_lpBoxImage ? m_lpBoxImage->nWidth : 0, bh = m_lpBoxImage ? m_lpBoxImage->nHeight : 0;
    if (x == 10000) x = (bw >> 1) - (width >> 1);
    if (y == 10000) y = (bh >> 1) - (height >> 1);
    DrawFrameBox(dst, x, y, width, height, m_lpBoxImage, m_nFrameWidth, m_nFrameColor);
    DrawText(dst, x + margin, y, text);
}

void cFont::DrawTextFramedEx(DDSURFACEDATA* dst, int x, int y, int width, int height, const char* text, int margin,
                             int unused) {
    (void)unused;
    DrawTextFramed(dst, x, y, width, height, text, margin);
}

void cFont::DrawTextBox(DDSURFACEDATA* dst, int x, int y, int width, int height, const char* format, ...) {
    char buf[512];
    va_list ap;
    va_start(ap, format);
    VFormatBounded(buf, sizeof buf, format, ap);
    va_end(ap);
    DrawTextFramed(dst, x, y, width, height, buf, 0);
}

SIZE MeasureFontText(cFont* font, const char* text) {
    SIZE s{0, 0};
    if (!font || !text) return s;
    std::vector<std::string> lines = SplitLines(text);
    int64_t widest = 0;
    for (const std::string& l : lines) widest = std::max<int64_t>(widest, (int64_t)GetCharCount(l.c_str()));
    s.cx = (LONG)std::min<int64_t>(widest * font->m_nPitchW, 0x7FFFFFFF);
    s.cy = (LONG)std::min<int64_t>((int64_t)lines.size() * font->m_nPitchH, 0x7FFFFFFF);
    return s;
}

SIZE cFont::MeasureText(const char* text) {
    if (!text) return SIZE{0, 0};
    if (m_nPitchW > 0) return MeasureFontText(this, text);
    std::vector<std::string> lines = SplitLines(text);
    LONG widest = 0;
    HDC dc = nullptr;
    HGDIOBJ old = nullptr;
    bool gdiOpen = !g_lpDDDevice && m_hFont && m_WorkSD.lpDD && m_WorkSD.lpDD->lpSurface &&
                   SUCCEEDED(m_WorkSD.lpDD->lpSurface->GetDC(&dc));
    if (gdiOpen) old = SelectObject(dc, m_hFont);
    for (const std::string& l : lines) {
        SIZE e{0, 0};
        if (g_lpDDDevice && m_lpD3DXFont) {
            RECT r{0, 0, 0, 0};
            m_lpD3DXFont->DrawTextA(m_lpSprite, l.c_str(), (int)l.size(), &r, DT_CALCRECT, m_dwColor);
            e.cx = r.right;
        } else if (gdiOpen) {
            GetTextExtentPoint32A(dc, l.c_str(), (int)l.size(), &e);
        }
        widest = std::max(widest, e.cx);
    }
    if (gdiOpen) {
        SelectObject(dc, old);
        m_WorkSD.lpDD->lpSurface->ReleaseDC(dc);
    }
    return SIZE{widest, (LONG)std::min<int64_t>((int64_t)lines.size() * m_nPitchH, 0x7FFFFFFF)};
}

// ---- glyph sheets ----

void cFont::DrawSheetGlyphs(cFastFont* sheet, bool half) {
    if (!sheet || !HasSurface(&sheet->m_Sheet)) return;
    DDFillRect(&sheet->m_Sheet, 0, 0, sheet->m_Sheet.nWidth, sheet->m_Sheet.nHeight, 0);
    LAYOUT lay;
    lay.target = &sheet->m_Sheet;
    if (!BeginDirect(lay)) return;
    if (half) {
        // Every code from row 1 on in its own cell; a lead byte alone shows nothing.
        for (int code = 16; code < 256; ++code) {
            if (IsLead((unsigned char)code) || code == ' ') continue;
            char glyph[2] = {(char)code, 0};
            DrawDirect(lay, (code % 16) * m_nPitchW, (code / 16) * m_nPitchH, glyph, 1);
        }
    } else {
        for (const FASTGLYPH& g : sheet->m_lstGlyph) DrawDirect(lay, g.nX, g.nY, g.szCode, 2);
    }
    EndDirect(lay);
}

void cFont::DrawHalfSheet() { DrawSheetGlyphs(m_lpFastFont_Half, true); }
void cFont::DrawFullSheet() { DrawSheetGlyphs(m_lpFastFont_FullAdd, false); }

void cFont::Restore() {
    if (g_lpDDDevice) {
        if (m_lpFastFont_Half && m_lpFastFont_Half->m_Sheet.bLost) {
            DrawHalfSheet();
            m_lpFastFont_Half->m_Sheet.bLost = 0;
        }
        if (m_lpFastFont_FullAdd && m_lpFastFont_FullAdd->m_Sheet.bLost) {
            DrawFullSheet();
            m_lpFastFont_FullAdd->m_Sheet.bLost = 0;
        }
        return;
    }
    if (m_WorkSD.lpDD && m_WorkSD.lpDD->lpSurface && m_WorkSD.lpDD->lpSurface->IsLost() == DDERR_SURFACELOST)
        m_WorkSD.lpDD->lpSurface->Restore();
    cFastFont* sheets[2] = {m_lpFastFont_Half, m_lpFastFont_FullAdd};
    for (int i = 0; i < 2; ++i) {
        cFastFont* s = sheets[i];
        if (!s || !s->m_Sheet.lpDD || !s->m_Sheet.lpDD->lpSurface) continue;
        if (s->m_Sheet.lpDD->lpSurface->IsLost() != DDERR_SURFACELOST) continue;
        s->m_Sheet.lpDD->lpSurface->Restore();
        DrawSheetGlyphs(s, i == 0);
    }
}
