// D3DX fonts: Shift-JIS text drawn by the text rasteriser into the device's render target.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/d3d9/d3dx9.h"
#include "platform/d3d9/internal.h"
#include "platform/gdi/fonttext.h"

namespace d3d9 {
namespace {

class Font : public raster::RefCounted<ID3DXFont> {
public:
    Font(IDirect3DDevice9* dev, std::shared_ptr<gdi::FontText> text) : m_pDevice(dev), m_Text(std::move(text)) {
        m_pDevice->AddRef();
    }
    ~Font() override { m_pDevice->Release(); }
    HRESULT GetDevice(IDirect3DDevice9** pp) override {
        if (!pp) return D3DERR_INVALIDCALL;
        m_pDevice->AddRef();
        *pp = m_pDevice;
        return D3D_OK;
    }
    HRESULT OnLostDevice() override {
        m_bLost = true;
        return D3D_OK;
    }
    HRESULT OnResetDevice() override {
        m_bLost = false;
        return D3D_OK;
    }
    INT DrawTextA(ID3DXSprite* sprite, LPCSTR text, INT count, LPRECT rect, DWORD format, D3DCOLOR color) override {
        if (!text || !rect) return 0;
        size_t n = count < 0 ? std::strlen(text) : (size_t)count;
        const int cell = m_Text->Height();
        // Lines end at line feeds.
        std::vector<std::pair<const char*, int>> lines;
        const char* p = text;
        const char* end = text + n;
        while (true) {
            const char* nl = std::find(p, end, '\n');
            lines.emplace_back(p, (int)(nl - p));
            if (nl == end) break;
            p = nl + 1;
        }
        int height = (int)lines.size() * cell;
        if (format & DT_CALCRECT) {
            LONG w = 0;
            for (auto& [s, len] : lines) w = std::max<LONG>(w, m_Text->Measure(s, len).cx);
            rect->right = rect->left + w;
            rect->bottom = rect->top + height;
            return height;
        }
        Device* dev = static_cast<Device*>(m_pDevice);
        if (m_bLost || dev->state != Device::Ok || !dev->renderTarget) return 0;
        if (sprite && !SpriteBegun(sprite)) return 0;
        Surface* target = dev->renderTarget;
        if (target->locked) return 0;
        RECT clip{0, 0, 0, 0};
        if (!(format & DT_NOCLIP)) {
            clip = *rect;
            if (clip.right <= clip.left || clip.bottom <= clip.top) return height;  // nothing inside
        }
        bool blend = (color >> 24) != 0xFF;
        for (size_t i = 0; i < lines.size(); ++i)
            m_Text->DrawOn(target->pixels, clip, rect->left, rect->top + (int)i * cell, lines[i].first,
                           lines[i].second, color, blend);
        return height;
    }

private:
    IDirect3DDevice9* m_pDevice;
    std::shared_ptr<gdi::FontText> m_Text;
    bool m_bLost = false;
};

}  // namespace
}  // namespace d3d9

HRESULT D3DXCreateFontIndirectA(IDirect3DDevice9* pDevice, const D3DXFONT_DESCA* desc, ID3DXFont** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (!pDevice || !desc) return D3DERR_INVALIDCALL;
    // The face name may fill all 32 bytes without a terminator.
    std::string face(desc->FaceName, strnlen(desc->FaceName, LF_FACESIZE));
    auto text = gdi::FontText::Create(face.c_str(), desc->Height, (int)std::min<UINT>(desc->Width, 4096));
    if (!text) return E_FAIL;
    *out = new d3d9::Font(pDevice, std::move(text));
    return D3D_OK;
}
