// Face names through fontconfig, glyphs through FreeType in monochrome, Shift-JIS through the
// CP932 converter.
#include "platform/gdi/fonttext.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <future>
#include <map>

#include "platform/win32/codepage.h"

namespace gdi {
namespace {

std::mutex g_fontM;  // fontconfig, the FreeType library and face creation
FT_Library g_library = nullptr;
std::map<std::string, FONTFILE> g_resolved;

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// Lower-case ASCII without blanks, for comparing family names.
std::string FoldName(const std::string& s) {
    std::string r;
    for (char c : s) {
        if (c == ' ') continue;
        r += (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
    }
    return r;
}

// fontconfig's best match for a family; true when the match is that family itself.
bool MatchFamily(const std::string& familyUtf8, FONTFILE* out) {
    FcPattern* pat = FcPatternCreate();
    if (!pat) return false;
    FcPatternAddString(pat, FC_FAMILY, (const FcChar8*)familyUtf8.c_str());
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    FcPatternDestroy(pat);
    if (!match) return false;
    bool exact = false;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        out->path = (const char*)file;
        int index = 0;
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        out->index = index;
        FcChar8* fam = nullptr;
        std::string want = FoldName(familyUtf8);
        for (int n = 0; FcPatternGetString(match, FC_FAMILY, n, &fam) == FcResultMatch; ++n) {
            if (n == 0) out->family = (const char*)fam;
            if (FoldName((const char*)fam) == want) {
                out->family = (const char*)fam;
                exact = true;
            }
        }
    }
    FcPatternDestroy(match);
    return exact;
}

// fontconfig's set-up when PrepareFontConfig started it on a thread of its own.
std::mutex g_fcEarlyM;
std::future<bool> g_fcEarly;

// True once fontconfig is set up; the first call takes the early set-up's result or does it
// now. Called with g_fontM held.
bool FontConfigUp() {
    static bool s_bFcUp = false;
    if (s_bFcUp) return true;
    std::future<bool> early;
    {
        std::lock_guard<std::mutex> lock(g_fcEarlyM);
        early = std::move(g_fcEarly);
    }
    bool up = early.valid() && early.get();
    if (!up) up = FcInit() != FcFalse;
    if (up) {
        s_bFcUp = true;
        // fontconfig's configuration is given back at exit.
        std::atexit([] { FcFini(); });
    }
    return up;
}

FT_Library Library() {
    if (!g_library && FT_Init_FreeType(&g_library) != 0) g_library = nullptr;
    return g_library;
}

// The code point of one Shift-JIS character ('?' when it has none).
uint32_t CodePoint(unsigned code) {
    if (code < 0x80) return code;
    std::string sj;
    if (code > 0xFF) sj += (char)(code >> 8);
    sj += (char)(code & 0xFF);
    std::string u = Cp932ToUtf8(sj);
    const unsigned char* p = (const unsigned char*)u.data();
    size_t n = u.size();
    if (n == 0) return '?';
    uint32_t cp;
    if (p[0] < 0x80) cp = p[0];
    else if (p[0] < 0xE0 && n >= 2) cp = ((p[0] & 0x1Fu) << 6) | (p[1] & 0x3Fu);
    else if (p[0] < 0xF0 && n >= 3) cp = ((p[0] & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
    else if (n >= 4) cp = ((p[0] & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
    else cp = '?';
    return cp;
}

}  // namespace

bool IsProportionalFaceName(const char* faceName) {
    if (!faceName) return false;
    std::string u = Cp932ToUtf8(faceName);
    if (u.find("\xEF\xBC\xB0") != std::string::npos) return true;  // full-width P
    std::string f = FoldName(u);
    return f.find("pgothic") != std::string::npos;
}

void PrepareFontConfig() {
    std::lock_guard<std::mutex> lock(g_fcEarlyM);
    static bool s_bStarted = false;
    if (s_bStarted) return;
    s_bStarted = true;
    try {
        g_fcEarly = std::async(std::launch::async, [] { return FcInit() != FcFalse; });
    } catch (...) {
        // No thread to spare: the first face name sets fontconfig up itself.
    }
}

FONTFILE ResolveFontFace(const char* faceName) {
    std::string face = faceName ? faceName : "";
    std::lock_guard<std::mutex> lock(g_fontM);
    auto it = g_resolved.find(face);
    if (it != g_resolved.end()) return it->second;
    FONTFILE r;
    if (!FontConfigUp()) {
        g_resolved[face] = r;
        return r;
    }
    std::string utf8 = Cp932ToUtf8(face);
    if (utf8.empty() || !MatchFamily(utf8, &r)) {
        FONTFILE fallback;
        const char* family = IsProportionalFaceName(faceName) ? "IPAPGothic" : "IPAGothic";
        // Without the Japanese Gothic fonts, whatever fontconfig offers for them.
        MatchFamily(family, &fallback);
        if (!fallback.path.empty()) r = fallback;
        r.bFallback = true;
    }
    g_resolved[face] = r;
    return r;
}

int FontText::NextChar(const char* p, const char* end, unsigned* code) {
    unsigned char c = (unsigned char)p[0];
    if (IsLead(c) && p + 1 < end && IsTrail((unsigned char)p[1])) {
        *code = ((unsigned)c << 8) | (unsigned char)p[1];
        return 2;
    }
    *code = c;
    return 1;
}

std::shared_ptr<FontText> FontText::Create(const char* faceName, int height, int width) {
    FONTFILE file = ResolveFontFace(faceName);
    if (file.path.empty()) return nullptr;
    std::shared_ptr<FontText> font(new FontText());
    font->m_File = file;
    std::lock_guard<std::mutex> lock(g_fontM);
    FT_Library lib = Library();
    FT_Face face = nullptr;
    if (!lib || FT_New_Face(lib, file.path.c_str(), file.index, &face) != 0) return nullptr;
    font->m_lpFace = face;
    double upem = face->units_per_EM > 0 ? face->units_per_EM : 1000;
    double asc = face->ascender, desc = -face->descender;
    if (const TT_OS2* os2 = (const TT_OS2*)FT_Get_Sfnt_Table(face, FT_SFNT_OS2);
        os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        asc = os2->usWinAscent;
        desc = os2->usWinDescent;
    }
    if (asc + desc <= 0) {
        asc = upem * 0.88;
        desc = upem * 0.12;
    }
    if (height == 0) height = 16;
    double em;
    if (height > 0) {
        em = height * upem / (asc + desc);
        font->m_nAscent = (int)std::lround(height * asc / (asc + desc));
        font->m_nDescent = height - font->m_nAscent;
    } else {
        em = -(double)height;
        font->m_nAscent = (int)std::lround(em * asc / upem);
        font->m_nDescent = (int)std::lround(em * desc / upem);
    }
    double emX = width > 0 ? 2.0 * width : em;
    if (FT_Set_Char_Size(face, (FT_F26Dot6)std::lround(emX * 64), (FT_F26Dot6)std::lround(em * 64), 72, 72) != 0)
        return nullptr;
    return font;
}

FontText::~FontText() {
    if (m_lpFace) {
        std::lock_guard<std::mutex> lock(g_fontM);
        FT_Done_Face((FT_Face)m_lpFace);
    }
}

const FontText::GLYPH& FontText::Glyph(unsigned code) {
    auto it = m_Glyphs.find(code);
    if (it != m_Glyphs.end()) return it->second;
    GLYPH g;
    FT_Face face = (FT_Face)m_lpFace;
    FT_UInt index = FT_Get_Char_Index(face, CodePoint(code));
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) == 0) {
        FT_GlyphSlot slot = face->glyph;
        g.advance = (int)((slot->advance.x + 32) >> 6);
        const FT_Bitmap& bm = slot->bitmap;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO && bm.buffer && bm.width > 0 && bm.rows > 0) {
            g.width = (int)bm.width;
            g.rows = (int)bm.rows;
            g.pitch = ((int)bm.width + 7) / 8;
            g.bits.resize((size_t)g.pitch * g.rows);
            for (int r = 0; r < g.rows; ++r) {
                const unsigned char* src = bm.buffer + (ptrdiff_t)r * bm.pitch;
                if (bm.pitch < 0) src = bm.buffer + (ptrdiff_t)(g.rows - 1 - r) * -bm.pitch;
                std::memcpy(&g.bits[(size_t)r * g.pitch], src, (size_t)g.pitch);
            }
        }
    }
    return m_Glyphs.emplace(code, std::move(g)).first->second;
}

int FontText::AverageCharWidth() { return CharWidth('x'); }

int FontText::CharWidth(unsigned code) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return Glyph(code).advance;
}

SIZE FontText::Measure(const char* text, int bytes) {
    SIZE s{0, Height()};
    if (!text) return s;
    const char* end = text + (bytes < 0 ? std::strlen(text) : (size_t)bytes);
    std::lock_guard<std::mutex> lock(m_Mutex);
    for (const char* p = text; p < end;) {
        unsigned code;
        p += NextChar(p, end, &code);
        s.cx += Glyph(code).advance;
    }
    return s;
}

template <typename Plot>
int FontText::Walk(int x, int y, const char* text, int bytes, RECT c, bool canDraw, Plot plot) {
    if (!text) return x;
    const char* end = text + (bytes < 0 ? std::strlen(text) : (size_t)bytes);
    std::lock_guard<std::mutex> lock(m_Mutex);
    int pen = x;
    for (const char* p = text; p < end;) {
        unsigned code;
        p += NextChar(p, end, &code);
        const GLYPH& g = Glyph(code);
        if (canDraw && g.rows > 0) {
            int gx = pen + g.left, gy = y + m_nAscent - g.top;
            for (int r = 0; r < g.rows; ++r) {
                int py = gy + r;
                if (py < c.top || py >= c.bottom) continue;
                const uint8_t* bits = &g.bits[(size_t)r * g.pitch];
                for (int i = 0; i < g.width; ++i) {
                    int px = gx + i;
                    if (px < c.left || px >= c.right) continue;
                    if (bits[i >> 3] & (0x80 >> (i & 7))) plot(px, py);
                }
            }
        }
        pen += g.advance;
    }
    return pen;
}

namespace {
RECT ClipTo(RECT c, int width, int height) {
    if (c.right <= c.left || c.bottom <= c.top) c = RECT{0, 0, width, height};
    c.left = std::max<LONG>(c.left, 0);
    c.top = std::max<LONG>(c.top, 0);
    c.right = std::min<LONG>(c.right, width);
    c.bottom = std::min<LONG>(c.bottom, height);
    return c;
}
}  // namespace

int FontText::Draw(const TEXTTARGET& t, int x, int y, const char* text, int bytes, uint32_t color) {
    RECT c = ClipTo(t.clip, t.width, t.height);
    bool canDraw = t.pixels && c.right > c.left && c.bottom > c.top;
    return Walk(x, y, text, bytes, c, canDraw, [&](int px, int py) {
        uint32_t* row = (uint32_t*)((char*)t.pixels + (ptrdiff_t)py * t.pitch);
        row[px] = color;
    });
}

int FontText::DrawOn(raster::Surface& t, const RECT& clip, int x, int y, const char* text, int bytes, uint32_t argb,
                     bool blend) {
    RECT c = ClipTo(clip, t.width, t.height);
    bool canDraw = t.Valid() && c.right > c.left && c.bottom > c.top;
    if (blend && (argb >> 24) == 0) canDraw = false;  // fully transparent: nothing shows
    if (blend && (argb >> 24) == 0xFF) blend = false;
    uint32_t pixel = raster::FromArgb(t.format, argb, t.palette.get());
    return Walk(x, y, text, bytes, c, canDraw, [&](int px, int py) {
        if (!blend) {
            t.Set(px, py, pixel);
            return;
        }
        uint32_t a = argb >> 24, d = t.GetArgb(px, py), out = 0xFF000000u & (d | 0xFF000000u);
        for (int sh = 0; sh < 24; sh += 8) {
            uint32_t s = (argb >> sh) & 0xFF, o = (d >> sh) & 0xFF;
            out |= raster::Div255(s * a + o * (255 - a)) << sh;
        }
        t.Set(px, py, raster::FromArgb(t.format, out, t.palette.get()));
    });
}

}  // namespace gdi
