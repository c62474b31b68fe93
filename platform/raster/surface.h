// A block of pixels in one format: the store behind every drawing surface, texture and bitmap.
// Rows are `pitch` bytes apart (the row size rounded up to 4 bytes); the store is owned here.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/raster/format.h"

namespace raster {

// A rectangle [left, right) x [top, bottom) in pixels.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

// Intersection of two rectangles (empty when they do not meet).
Rect Intersect(const Rect& a, const Rect& b);

// A zero-filled byte store taken from calloc: large stores come as untouched zero pages, so a big
// sheet or texture costs nothing until it is drawn on. The store knows while it is still all
// zero (no writable access since it was made or zero-filled), so clearing it to zero again
// touches nothing. Copies are deep. The contents carry a stamp that every writable access moves
// on and that no other store shares, so a fact learnt from the bytes holds while it is the same.
class PixelStore {
public:
    PixelStore() = default;
    ~PixelStore() { std::free(m_data); }
    PixelStore(const PixelStore& o) { CopyFrom(o); }
    PixelStore& operator=(const PixelStore& o) {
        if (this != &o) {
            clear();
            CopyFrom(o);
        }
        return *this;
    }
    PixelStore(PixelStore&& o) noexcept
        : m_data(o.m_data), m_size(o.m_size), m_zero(o.m_zero), m_id(o.m_id), m_writes(o.m_writes) {
        o.m_data = nullptr;
        o.m_size = 0;
        o.m_id = NewId();
    }
    PixelStore& operator=(PixelStore&& o) noexcept {
        std::swap(m_data, o.m_data);
        std::swap(m_size, o.m_size);
        std::swap(m_zero, o.m_zero);
        std::swap(m_id, o.m_id);
        std::swap(m_writes, o.m_writes);
        return *this;
    }
    friend bool operator==(const PixelStore& a, const PixelStore& b) {
        return a.m_size == b.m_size && (a.m_size == 0 || std::memcmp(a.m_data, b.m_data, a.m_size) == 0);
    }
    friend void swap(PixelStore& a, PixelStore& b) noexcept {
        std::swap(a.m_data, b.m_data);
        std::swap(a.m_size, b.m_size);
        std::swap(a.m_zero, b.m_zero);
        std::swap(a.m_id, b.m_id);
        std::swap(a.m_writes, b.m_writes);
    }
    // A zero-filled store of n bytes; false when memory runs out (the store is then empty).
    bool Allocate(size_t n) {
        clear();
        if (n == 0) return true;
        m_data = static_cast<uint8_t*>(std::calloc(n, 1));
        if (!m_data) return false;
        m_size = n;
        m_zero = true;
        return true;
    }
    void clear() {
        std::free(m_data);
        m_data = nullptr;
        m_size = 0;
        m_zero = false;
        m_id = NewId();
    }
    // Every byte 0 (nothing to write when it already is).
    void ZeroFill() {
        if (!m_zero && m_size) std::memset(m_data, 0, m_size);
        m_zero = m_size != 0;
        ++m_writes;
    }
    bool KnownZero() const { return m_zero; }
    // The contents' stamp: equal stamps mean the same store with no writable access between.
    struct Stamp {
        uint64_t id = 0, writes = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp ContentStamp() const { return Stamp{m_id, m_writes}; }
    // Writable access: the store may no longer be all zero, and its stamp moves on.
    uint8_t* data() {
        m_zero = false;
        ++m_writes;
        return m_data;
    }
    const uint8_t* data() const { return m_data; }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    uint8_t* begin() { return data(); }
    uint8_t* end() { return data() + m_size; }
    uint8_t& operator[](size_t i) { return data()[i]; }
    const uint8_t& operator[](size_t i) const { return m_data[i]; }

private:
    static uint64_t NewId() {
        static std::atomic<uint64_t> next{1};
        return next.fetch_add(1, std::memory_order_relaxed);
    }
    void CopyFrom(const PixelStore& o) {
        if (o.m_size && Allocate(o.m_size)) {
            std::memcpy(m_data, o.m_data, o.m_size);
            m_zero = o.m_zero;
        }
    }
    uint8_t* m_data = nullptr;
    size_t m_size = 0;
    bool m_zero = false;
    uint64_t m_id = NewId();  // never shared: a new one for every allocation, copy and release
    uint64_t m_writes = 0;
};

// Largest side and pixel count a surface may have; bigger requests fail cleanly.
constexpr int kMaxSide = 16384;
constexpr int64_t kMaxPixels = 64ll * 1024 * 1024;

struct Surface {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Unknown;
    int pitch = 0;
    PixelStore bits;
    // Colours of a P8 surface when it is shown or converted (shared with its palette object).
    std::shared_ptr<Palette> palette;

    // Allocates a zero-filled store; false (and an empty surface) for a bad size or format.
    bool Create(int w, int h, PixelFormat f);
    void Clear() { bits.ZeroFill(); }
    bool Valid() const { return width > 0 && height > 0 && !bits.empty(); }
    Rect Bounds() const { return Rect{0, 0, width, height}; }
    uint8_t* Row(int y) { return bits.data() + (size_t)y * (size_t)pitch; }
    const uint8_t* Row(int y) const { return bits.data() + (size_t)y * (size_t)pitch; }
    // The pixel value at (x, y), which lies within the surface.
    uint32_t Get(int x, int y) const {
        const uint8_t* r = Row(y);
        switch (BytesPerPixel(format)) {
        case 1: return r[x];
        case 2: {
            uint16_t v;
            std::memcpy(&v, r + x * 2, 2);
            return v;
        }
        case 4: {
            uint32_t v;
            std::memcpy(&v, r + x * 4, 4);
            return v;
        }
        default: return 0;
        }
    }
    void Set(int x, int y, uint32_t v) {
        uint8_t* r = Row(y);
        switch (BytesPerPixel(format)) {
        case 1: r[x] = (uint8_t)v; break;
        case 2: {
            uint16_t w = (uint16_t)v;
            std::memcpy(r + x * 2, &w, 2);
            break;
        }
        case 4: std::memcpy(r + x * 4, &v, 4); break;
        default: break;
        }
    }
    uint32_t GetArgb(int x, int y) const { return ToArgb(format, Get(x, y), palette.get()); }
    // Whether every pixel reads with alpha 0xFF (always for formats without alpha). Learnt from
    // the pixels once and kept while they are not written.
    bool AllOpaque() const;

private:
    mutable PixelStore::Stamp m_opaqueStamp{0, ~0ull};
    mutable PixelFormat m_opaqueFormat = PixelFormat::Unknown;
    mutable bool m_opaque = false;
};

// The whole surface as ARGB words, `outPitch` bytes per row (P8 through its palette). With
// `opaque` the alpha byte is forced to 0xFF (what a screen shows).
void ToArgbImage(const Surface& s, uint32_t* out, int outPitch, bool opaque);

}  // namespace raster
