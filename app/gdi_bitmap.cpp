#include "app/gdi_bitmap.h"

cGdiBitmap::cGdiBitmap()
    : m_hDC{nullptr, nullptr}, m_hBitmap{nullptr, nullptr}, m_hOldBitmap{nullptr, nullptr}, m_hFont(nullptr),
      m_hOldFont(nullptr), m_hObject(nullptr) {}

cGdiBitmap::~cGdiBitmap() {
    ReleaseFont();
    Release();
    if (m_hObject) DeleteObject(m_hObject);
    m_hObject = nullptr;
}

void cGdiBitmap::Release() {
    for (int i = 0; i < 2; ++i) {
        if (m_hBitmap[i]) {
            if (m_hDC[i] && m_hOldBitmap[i]) SelectObject(m_hDC[i], m_hOldBitmap[i]);
            DeleteObject(m_hBitmap[i]);
        }
        if (m_hDC[i]) DeleteDC(m_hDC[i]);
        m_hDC[i] = nullptr;
        m_hBitmap[i] = nullptr;
        m_hOldBitmap[i] = nullptr;
    }
}

void cGdiBitmap::ReleaseFont() {
    if (m_hFont) {
        if (m_hDC[0] && m_hOldFont) SelectObject(m_hDC[0], m_hOldFont);
        DeleteObject(m_hFont);
    }
    m_hFont = nullptr;
    m_hOldFont = nullptr;
}
