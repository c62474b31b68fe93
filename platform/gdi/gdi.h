// The GDI subset the drawing layer calls: bitmap files loaded as device-independent bitmap
// sections, memory device contexts, BitBlt/StretchBlt (negative extents mirror), the colour table
// of an 8-bit bitmap, window device contexts with the desktop's depth, display settings and the
// cursor count, and text: fonts from face names (through the text rasteriser), text output and
// measuring in a context's selected font and text colour.
#pragma once

#include "platform/win32/types.h"

#define IMAGE_BITMAP 0
#define LR_DEFAULTCOLOR 0x0000
#define LR_LOADFROMFILE 0x0010
#define LR_CREATEDIBSECTION 0x2000

#define SRCCOPY 0x00CC0020u

// GetDeviceCaps indexes.
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define VREFRESH 116

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad);
int GetObjectA(HANDLE h, int c, LPVOID pv);
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
BOOL DeleteObject(HGDIOBJ ho);
UINT GetDIBColorTable(HDC hdc, UINT iStart, UINT cEntries, RGBQUAD* prgbq);
BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop);
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);
int GetDeviceCaps(HDC hdc, int index);

// ---- fonts and text ----
#define TRANSPARENT 1
#define OPAQUE 2
#define FW_NORMAL 400
#define SHIFTJIS_CHARSET 128

// A font of a face at a size: a positive height is the cell height (ascent + descent), a
// negative one the character height, 0 a cell of 16; a width above 0 is the average character
// width. Weight, italics, the character set and the precision, quality and pitch words are
// accepted and not used (glyphs are drawn without anti-aliasing). Null when no font file can be
// opened. Select it into a context with SelectObject; DeleteObject frees it once no context
// has it selected.
HFONT CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                  DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision,
                  DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName);
// Draws Shift-JIS text with its cell's top-left at (x, y) in the context's font and text colour
// onto the pixels of the context (a surface or a selected bitmap). Only the glyphs' pixels are
// written, whatever the background mode. FALSE for a context without pixels.
BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);
// The width and cell height of a text in the context's font.
BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl);
// Previous colour, or CLR_INVALID for a bad context.
#define CLR_INVALID 0xFFFFFFFFu
COLORREF SetTextColor(HDC hdc, COLORREF color);
// Previous mode, or 0 for a bad context or mode.
int SetBkMode(HDC hdc, int mode);

// ---- display settings and the cursor ----
#define DM_BITSPERPEL 0x00040000L
#define DM_PELSWIDTH 0x00080000L
#define DM_PELSHEIGHT 0x00100000L
#define DM_DISPLAYFREQUENCY 0x00400000L
#define CDS_TEST 0x00000002
#define CDS_FULLSCREEN 0x00000004
#define DISP_CHANGE_SUCCESSFUL 0
#define DISP_CHANGE_FAILED (-1)
#define DISP_CHANGE_BADMODE (-2)

struct DEVMODEA {
    WORD dmSize;
    DWORD dmFields;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFrequency;
};

// The desktop cannot be switched here: a request that matches the current mode (or asks for
// nothing) succeeds, any other is refused with DISP_CHANGE_BADMODE.
LONG ChangeDisplaySettingsA(DEVMODEA* lpDevMode, DWORD dwFlags);
// The cursor display count: shown while it is 0 or more.
int ShowCursor(BOOL bShow);

namespace gdi {
// The desktop's refresh rate in Hz (60 when the host does not say).
int DesktopRefreshRate();
}  // namespace gdi
