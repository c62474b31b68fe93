// The reference-counting base of the drawing interfaces (Direct3D 9, D3DX, DirectDraw 7):
// objects are shared by pointer, AddRef takes a reference, Release drops one and frees the
// object with the last one.
#pragma once

#include <atomic>

#include "platform/win32/types.h"

struct IUnknown {
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

namespace raster {

// Implements AddRef/Release for an interface; the object deletes itself at count 0.
template <typename Interface>
class RefCounted : public Interface {
public:
    ULONG AddRef() override { return (ULONG)++m_nRefs; }
    ULONG Release() override {
        ULONG n = (ULONG)--m_nRefs;
        if (n == 0) delete this;
        return n;
    }
    ULONG RefCount() const { return (ULONG)m_nRefs.load(); }

protected:
    std::atomic<long> m_nRefs{1};
};

}  // namespace raster
