// Text in the fonts the program names, for the GDI and D3DX fonts and the layer's own dialogs.
//
// A face name (Shift-JIS, as the program passes it) maps through fontconfig to an installed
// font. A face that fontconfig does not have falls back to a Japanese Gothic font: the
// proportional faces (a "Ｐ" in the name, "ＭＳ Ｐゴシック") to IPAPGothic, every other face
// ("ＭＳ ゴシック") to IPAGothic, whose half- and full-width characters have the same fixed
// widths as the Gothic faces the games name.
//
// Text is Shift-JIS: a character is one byte or a lead and a trail byte, decoded with the CP932
// converter. Glyphs are drawn without anti-aliasing (every pixel is either the text colour or
// untouched), so colour-keyed glyph sheets stay exact.
//
// Geometry, as GDI has it: a text cell is `Height()` = ascent + descent pixels tall, the
// baseline lies `Ascent()` pixels below the cell's top, and a text drawn at (x, y) has its cell's
// top-left corner there. Each character advances by its own width (`CharWidth`).
//
// A FontText object may be used by one thread at a time; different objects are independent.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/raster/surface.h"
#include "platform/win32/types.h"

namespace gdi {

// The font file a face name resolves to.
struct FONTFILE {
    std::string path;    // host path of the font file ("" when fontconfig found nothing at all)
    int index = 0;       // face index inside the file
    std::string family;  // the family fontconfig matched (UTF-8)
    bool bFallback = false;  // the face itself is not installed; a Gothic fallback was taken
};

// Starts reading fontconfig's configuration and caches on a thread of its own, so that the
// first face name resolved later need not wait for all of it. Optional; only the first call acts.
void PrepareFontConfig();
// Resolves a face name (Shift-JIS). Results are cached; safe from any thread.
FONTFILE ResolveFontFace(const char* faceName);
// True when a face name asks for a proportional face (a full-width "Ｐ" or "PGothic").
bool IsProportionalFaceName(const char* faceName);

// A 32-bit pixel buffer (X8R8G8B8 or A8R8G8B8, `pitch` bytes per row) and the rectangle of it
// that drawing may touch.
struct TEXTTARGET {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    RECT clip{0, 0, 0, 0};  // clipped again to the buffer; an empty clip means the whole buffer
};

class FontText {
public:
    // A face at a size. `height` > 0 is the cell height (ascent + descent); `height` < 0 is the
    // character height (the em size, as a negative GDI height); 0 takes a cell of 16. `width` > 0
    // is the width of a half-width character (the faces' average width), which stretches or
    // narrows the glyphs; 0 keeps their natural width. Null when no font file can be opened.
    static std::shared_ptr<FontText> Create(const char* faceName, int height, int width = 0);
    ~FontText();
    FontText(const FontText&) = delete;
    FontText& operator=(const FontText&) = delete;

    int Height() const { return m_nAscent + m_nDescent; }
    int Ascent() const { return m_nAscent; }
    int Descent() const { return m_nDescent; }
    // The average character width as GDI reports it for these faces: the advance of a
    // half-width "x".
    int AverageCharWidth();
    const FONTFILE& File() const { return m_File; }

    // The advance of one character: a single byte (0-255) or (lead << 8) | trail.
    int CharWidth(unsigned code);
    // Width and height of a text of `bytes` bytes (-1: up to its NUL). No line breaks: a line
    // feed is a character like any other, as GDI's text output treats it.
    SIZE Measure(const char* text, int bytes = -1);
    // Draws a text with its cell's top-left at (x, y) in `color` (the whole 32-bit value is
    // written). Returns the x after the last character.
    int Draw(const TEXTTARGET& target, int x, int y, const char* text, int bytes, uint32_t color);
    // Draws a text onto a surface of any format, inside `clip` (cut to the surface; an empty
    // clip means the whole surface): covered pixels take the colour `argb` converted to the
    // surface's format (a P8 surface: the nearest colour of its palette). With `blend` the colour
    // is mixed into the pixel by its alpha instead. Returns the x after the last character.
    int DrawOn(raster::Surface& target, const RECT& clip, int x, int y, const char* text, int bytes, uint32_t argb,
               bool blend = false);

    // Splits Shift-JIS text into characters: returns the byte length of the character at `p`
    // (1 or 2; 1 for a lead byte without a valid trail byte) and its code.
    static int NextChar(const char* p, const char* end, unsigned* code);

private:
    struct GLYPH {
        int advance = 0;
        int left = 0;    // bitmap offset from the pen position
        int top = 0;     // bitmap rows above the baseline
        int width = 0;
        int rows = 0;
        int pitch = 0;
        std::vector<uint8_t> bits;  // 1 bit per pixel, most significant bit first
    };
    FontText() = default;
    const GLYPH& Glyph(unsigned code);
    // Walks the covered pixels of a text inside a clip rectangle; returns the pen's end.
    template <typename Plot>
    int Walk(int x, int y, const char* text, int bytes, RECT clip, bool canDraw, Plot plot);

    FONTFILE m_File;
    void* m_lpFace = nullptr;  // FT_Face
    int m_nAscent = 0;
    int m_nDescent = 0;
    std::mutex m_Mutex;
    std::unordered_map<unsigned, GLYPH> m_Glyphs;
};

}  // namespace gdi
