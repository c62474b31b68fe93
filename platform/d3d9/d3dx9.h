// The D3DX 9 utility functions the drawing layer calls: textures made empty or from a bitmap file
// (with its colour key and size rules), the sprite that is the context of text drawing, and
// fonts that draw Shift-JIS text into the device's render target.
#pragma once

#include "platform/d3d9/d3d9.h"

#define D3DX_DEFAULT ((UINT)-1)
#define D3DX_DEFAULT_NONPOW2 ((UINT)-2)
#define D3DX_FILTER_NONE (1 << 0)
#define D3DX_FILTER_POINT (2 << 0)

#define D3DXSPRITE_DONOTSAVESTATE (1 << 0)
#define D3DXSPRITE_DONOTMODIFY_RENDERSTATE (1 << 1)
#define D3DXSPRITE_OBJECTSPACE (1 << 2)
#define D3DXSPRITE_BILLBOARD (1 << 3)
#define D3DXSPRITE_ALPHABLEND (1 << 4)
#define D3DXSPRITE_SORT_TEXTURE (1 << 5)

#define D3DXERR_INVALIDDATA ((HRESULT)0x88760B59)

enum D3DXIMAGE_FILEFORMAT : DWORD { D3DXIFF_BMP = 0 };

struct D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

struct ID3DXSprite : IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** ppDevice) = 0;
    virtual HRESULT Begin(DWORD Flags) = 0;
    virtual HRESULT Flush() = 0;
    virtual HRESULT End() = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
};

// A texture of one level; the size is rounded up to what the device needs.
HRESULT D3DXCreateTexture(IDirect3DDevice9* pDevice, UINT Width, UINT Height, UINT MipLevels, DWORD Usage,
                          D3DFORMAT Format, D3DPOOL Pool, IDirect3DTexture9** ppTexture);
// A texture from a bitmap file (program path). Width/Height of 0 or D3DX_DEFAULT take the
// picture's size (rounded as the device needs); with D3DX_FILTER_NONE the picture is placed at the
// top-left and the rest of the texture is transparent black. Pixels whose opaque colour equals a
// non-zero ColorKey (compared as A8R8G8B8) become transparent black.
HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile, UINT Width, UINT Height,
                                     UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, DWORD Filter,
                                     DWORD MipFilter, D3DCOLOR ColorKey, D3DXIMAGE_INFO* pSrcInfo,
                                     PALETTEENTRY* pPalette, IDirect3DTexture9** ppTexture);
HRESULT D3DXCreateSprite(IDirect3DDevice9* pDevice, ID3DXSprite** ppSprite);

// ---- fonts ----
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define LF_FACESIZE 32

struct D3DXFONT_DESCA {
    INT Height;  // > 0 the cell height (ascent + descent), < 0 the character height
    UINT Width;  // 0 the face's own width
    UINT Weight;
    UINT MipLevels;
    BOOL Italic;
    BYTE CharSet;
    BYTE OutputPrecision;
    BYTE Quality;
    BYTE PitchAndFamily;
    CHAR FaceName[LF_FACESIZE];  // Shift-JIS; read up to its NUL or its 32 bytes
};

struct ID3DXFont : IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** ppDevice) = 0;
    // Draws a text (Count bytes, -1 up to its NUL; "\n" starts a line one cell lower) with its
    // first cell's top-left at the rectangle's top-left into the device's render target, in
    // Color (its alpha mixes it in). Without DT_NOCLIP the text is cut at the rectangle. With
    // DT_CALCRECT nothing is drawn and the rectangle's right and bottom are set to the text's
    // extent. A sprite given must be between its Begin and End, else nothing is drawn. Returns
    // the text's height, 0 when nothing could be drawn.
    virtual INT DrawTextA(ID3DXSprite* pSprite, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                          D3DCOLOR Color) = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
};

// A font of the description's face and size (through the same text rasteriser as GDI fonts).
HRESULT D3DXCreateFontIndirectA(IDirect3DDevice9* pDevice, const D3DXFONT_DESCA* pDesc, ID3DXFont** ppFont);
