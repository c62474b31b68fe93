#include "platform/gdi/bmp.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/win32/crt.h"

namespace gdi {
namespace {

constexpr size_t kMaxFileBytes = 512u * 1024 * 1024;
// The longest header the decoder takes, its masks and a full colour table: every byte the
// headers can name lies in this many bytes from the start of the file.
constexpr size_t kHeadBytes = 14 + 1024 + 12 + 256 * 4;
// Stored rows are read from a file in blocks of about this many bytes (at least one row).
constexpr size_t kBlockBytes = 64 * 1024;

struct Reader {
    const uint8_t* p;
    size_t n;
    bool Has(size_t off, size_t len) const { return off <= n && len <= n - off; }
    uint32_t U16(size_t off) const { return (uint32_t)p[off] | ((uint32_t)p[off + 1] << 8); }
    uint32_t U32(size_t off) const { return U16(off) | (U16(off + 2) << 16); }
    int32_t I32(size_t off) const { return (int32_t)U32(off); }
};

bool Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

// Position and width of a channel mask; a zero mask reads as 0.
void MaskShape(uint32_t mask, int* shift, int* bits) {
    *shift = 0;
    *bits = 0;
    if (!mask) return;
    while (!(mask & 1)) {
        mask >>= 1;
        ++*shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++*bits;
    }
}

uint32_t Channel(uint32_t v, uint32_t mask, int shift, int bits) {
    if (!bits) return 0;
    uint32_t c = (v & mask) >> shift;
    if (bits >= 8) return c >> (bits - 8);
    // Widen by repeating the bits.
    uint32_t out = 0;
    int have = 0;
    while (have < 8) {
        out = (out << bits) | c;
        have += bits;
    }
    return out >> (have - 8);
}

// The headers of a bitmap file: size, depth, compression and where the colour table starts.
struct BmpHeader {
    int64_t width = 0, height = 0;
    int bpp = 0;
    uint32_t compression = 0, clrUsed = 0;
    size_t tableOff = 0, entrySize = 0;
    uint32_t masks[3] = {0, 0, 0};
    bool topDown = false;
    uint32_t offBits = 0;
};

bool ParseHeader(const Reader& r, BmpHeader* b, std::string* error) {
    const uint8_t* data = r.p;
    if (!data || !r.Has(0, 18) || data[0] != 'B' || data[1] != 'M') return Fail(error, "not a bitmap file");
    b->offBits = r.U32(10);
    uint32_t hdr = r.U32(14);
    if (hdr == 12) {
        if (!r.Has(14, 12)) return Fail(error, "truncated header");
        b->width = r.U16(18);
        b->height = (int16_t)r.U16(20);
        b->bpp = (int)r.U16(24);
        b->tableOff = 26;
        b->entrySize = 3;
    } else if (hdr >= 40 && hdr <= 1024) {
        if (!r.Has(14, hdr)) return Fail(error, "truncated header");
        b->width = r.I32(18);
        b->height = r.I32(22);
        b->bpp = (int)r.U16(28);
        b->compression = r.U32(30);
        b->clrUsed = r.U32(46);
        b->tableOff = 14 + (size_t)hdr;
        b->entrySize = 4;
        if (b->compression == 3) {  // BI_BITFIELDS: masks in the header (V4/V5) or after it
            size_t mo = hdr >= 52 ? 54 : b->tableOff;
            if (!r.Has(mo, 12)) return Fail(error, "truncated colour masks");
            b->masks[0] = r.U32(mo);
            b->masks[1] = r.U32(mo + 4);
            b->masks[2] = r.U32(mo + 8);
            if (hdr < 52) b->tableOff += 12;
        }
    } else {
        return Fail(error, "unknown header size");
    }
    b->topDown = b->height < 0;
    if (b->topDown) b->height = -b->height;
    if (b->width <= 0 || b->height <= 0 || b->width > raster::kMaxSide || b->height > raster::kMaxSide ||
        b->width * b->height > raster::kMaxPixels)
        return Fail(error, "bad picture size");
    bool rle8 = b->compression == 1;
    if (!(b->compression == 0 || (rle8 && b->bpp == 8 && !b->topDown) ||
          (b->compression == 3 && (b->bpp == 16 || b->bpp == 32))))
        return Fail(error, "unsupported compression");
    if (b->bpp != 1 && b->bpp != 4 && b->bpp != 8 && b->bpp != 16 && b->bpp != 24 && b->bpp != 32)
        return Fail(error, "unsupported bit count");
    return true;
}

// Everything the headers say about the picture and where its rows are, checked against the
// file's size: `r` holds at least the file's first kHeadBytes (or the whole file), `fileSize` is
// the whole file's. Uncompressed rows must all be in the file before anything is allocated: a
// damaged header can promise a picture hundreds of megabytes larger than the file.
struct Layout {
    BmpHeader header;
    BmpInfo info;
    size_t offBits = 0;
    size_t stride = 0;  // bytes of a stored (uncompressed) row
    bool rle8 = false;
    uint32_t masks[3] = {0, 0, 0};
    int shifts[3] = {0, 0, 0}, bits[3] = {0, 0, 0};
};

bool ReadLayout(const Reader& r, size_t fileSize, Layout* l, std::string* error) {
    BmpHeader& b = l->header;
    if (!ParseHeader(r, &b, error)) return false;
    BmpInfo& info = l->info;
    info.width = (int)b.width;
    info.height = (int)b.height;
    info.bitCount = b.bpp;
    info.colourCount = 0;
    for (uint32_t& c : info.colours) c = 0xFF000000u;
    if (b.bpp <= 8) {
        uint32_t maxColours = 1u << b.bpp;
        uint32_t count = b.clrUsed ? b.clrUsed : maxColours;
        if (count > maxColours) count = maxColours;
        if (!r.Has(b.tableOff, (size_t)count * b.entrySize)) return Fail(error, "truncated colour table");
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = r.p + b.tableOff + i * b.entrySize;
            info.colours[i] = 0xFF000000u | ((uint32_t)e[2] << 16) | ((uint32_t)e[1] << 8) | e[0];
        }
        info.colourCount = (int)count;
    }
    l->offBits = b.offBits;
    if (l->offBits == 0) l->offBits = b.tableOff + (b.bpp <= 8 ? (size_t)info.colourCount * b.entrySize : 0);
    if (l->offBits > fileSize) return Fail(error, "pixel data outside the file");
    l->rle8 = b.compression == 1;
    l->stride = (((size_t)info.width * (size_t)b.bpp + 31) / 32) * 4;
    size_t rowBytes = l->stride * (size_t)info.height;
    if (!l->rle8 && (rowBytes > fileSize - l->offBits)) return Fail(error, "truncated pixel data");
    if (b.compression == 3) {
        std::memcpy(l->masks, b.masks, sizeof l->masks);
    } else if (b.bpp == 16) {
        l->masks[0] = 0x7C00;
        l->masks[1] = 0x03E0;
        l->masks[2] = 0x001F;
    } else {
        l->masks[0] = 0xFF0000;
        l->masks[1] = 0xFF00;
        l->masks[2] = 0xFF;
    }
    for (int k = 0; k < 3; ++k) MaskShape(l->masks[k], &l->shifts[k], &l->bits[k]);
    return true;
}

// The picture row a stored row becomes.
int PictureRow(const Layout& l, int stored) { return l.header.topDown ? stored : l.info.height - 1 - stored; }

// Unpacks one stored row of `w` pixels: palette indexes (1-8 bits) as one byte a pixel, the
// other depths as 0x00RRGGBB words.
void UnpackRow(const Layout& l, const uint8_t* src, int w, uint8_t* dst) {
    switch (l.header.bpp) {
    case 1:
        for (int x = 0; x < w; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
        break;
    case 4:
        for (int x = 0; x < w; ++x) dst[x] = (x & 1) ? (src[x >> 1] & 15) : (src[x >> 1] >> 4);
        break;
    case 8: std::memcpy(dst, src, (size_t)w); break;
    case 24:
        for (int x = 0; x < w; ++x) {
            uint32_t v = (uint32_t)src[x * 3] | ((uint32_t)src[x * 3 + 1] << 8) | ((uint32_t)src[x * 3 + 2] << 16);
            std::memcpy(dst + x * 4, &v, 4);
        }
        break;
    default: {
        bool two = l.header.bpp == 16;
        for (int x = 0; x < w; ++x) {
            const uint8_t* s = src + (size_t)x * (two ? 2 : 4);
            uint32_t v = (uint32_t)s[0] | ((uint32_t)s[1] << 8);
            if (!two) v |= ((uint32_t)s[2] << 16) | ((uint32_t)s[3] << 24);
            uint32_t c = (Channel(v, l.masks[0], l.shifts[0], l.bits[0]) << 16) |
                         (Channel(v, l.masks[1], l.shifts[1], l.bits[1]) << 8) |
                         Channel(v, l.masks[2], l.shifts[2], l.bits[2]);
            std::memcpy(dst + x * 4, &c, 4);
        }
        break;
    }
    }
}

// Runs of an RLE8 picture (bottom-up rows); put(x, y, index) gets every pixel inside the
// picture, y counted from its top. Runs never write outside the picture.
template <class Put>
bool DecodeRle8(const uint8_t* data, size_t size, const Layout& l, Put put, std::string* error) {
    Reader r{data, size};
    int w = l.info.width, h = l.info.height;
    size_t pos = l.offBits;
    int x = 0, y = 0;
    while (pos + 2 <= size && y < h) {
        uint8_t n = data[pos], v = data[pos + 1];
        pos += 2;
        if (n) {
            for (int i = 0; i < n && x < w; ++i, ++x) put(x, h - 1 - y, v);
            continue;
        }
        if (v == 0) {
            x = 0;
            ++y;
        } else if (v == 1) {
            break;
        } else if (v == 2) {
            if (pos + 2 > size) break;
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
        } else {
            size_t len = v, padded = (len + 1) & ~(size_t)1;
            if (!r.Has(pos, padded)) return Fail(error, "truncated run");
            for (size_t i = 0; i < len; ++i, ++x)
                if (x < w && y < h) put(x, h - 1 - y, data[pos + i]);
            pos += padded;
        }
    }
    return true;
}

// Writes pictures into a surface of any format: a pixel's colour with alpha 255, 0 where it is
// the key colour, in the surface's format; clipped to the surface.
class TargetWriter {
public:
    TargetWriter(const Layout& l, raster::Surface& t, uint32_t key) : m_l(l), m_t(t), m_key(key) {
        m_w = std::min(t.width, l.info.width);
        m_h = std::min(t.height, l.info.height);
        for (int i = 0; i < 256; ++i) m_lut[i] = Convert(l.info.colours[i]);
    }
    bool Prepare(std::string* error) {
        m_line.reset(new (std::nothrow) uint8_t[(size_t)m_l.info.width * 4]);
        return m_line ? true : Fail(error, "out of memory");
    }
    // One stored row, `stored` counted in file order.
    void StoredRow(int stored, const uint8_t* src) {
        int y = PictureRow(m_l, stored);
        if (y >= m_h || m_w <= 0) return;
        uint8_t* dst = m_t.Row(y);
        if (m_l.header.bpp == 24 && m_t.format == raster::PixelFormat::A8R8G8B8) {
            // The common file: three bytes a pixel straight to an ARGB word.
            for (int x = 0; x < m_w; ++x, src += 3) {
                uint32_t c = 0xFF000000u | ((uint32_t)src[2] << 16) | ((uint32_t)src[1] << 8) | src[0];
                c = c == m_key ? 0 : c;
                std::memcpy(dst + (size_t)x * 4, &c, 4);
            }
            return;
        }
        UnpackRow(m_l, src, m_l.info.width, m_line.get());
        const uint8_t* line = m_line.get();
        if (m_l.header.bpp <= 8) {
            Store(dst, [&](int x) { return m_lut[line[x]]; });
        } else {
            Store(dst, [&](int x) {
                uint32_t v;
                std::memcpy(&v, line + (size_t)x * 4, 4);
                return Convert(v);
            });
        }
    }
    void Index(int x, int y, uint8_t index) {
        if (x < m_w && y < m_h) m_t.Set(x, y, m_lut[index]);
    }

private:
    uint32_t Convert(uint32_t rgb) const {
        uint32_t c = rgb | 0xFF000000u;
        return raster::FromArgb(m_t.format, c == m_key ? 0 : c);
    }
    template <class Get>
    void Store(uint8_t* dst, Get get) const {
        switch (raster::BytesPerPixel(m_t.format)) {
        case 4:
            for (int x = 0; x < m_w; ++x) {
                uint32_t v = get(x);
                std::memcpy(dst + (size_t)x * 4, &v, 4);
            }
            break;
        case 2:
            for (int x = 0; x < m_w; ++x) {
                uint16_t v = (uint16_t)get(x);
                std::memcpy(dst + (size_t)x * 2, &v, 2);
            }
            break;
        case 1:
            for (int x = 0; x < m_w; ++x) dst[x] = (uint8_t)get(x);
            break;
        default: break;
        }
    }

    const Layout& m_l;
    raster::Surface& m_t;
    uint32_t m_key;
    int m_w = 0, m_h = 0;
    uint32_t m_lut[256];
    std::unique_ptr<uint8_t[]> m_line;
};

// The surface the caller makes for the picture; false when it refuses or makes none.
raster::Surface* MakeTarget(const BmpTargetFn& target, const Layout& l, std::string* error) {
    raster::Surface* t = target ? target(l.info) : nullptr;
    if (!t || !t->Valid()) {
        Fail(error, "no surface for the picture");
        return nullptr;
    }
    return t;
}

// Reads a whole file (at most kMaxFileBytes) into `buf`.
bool ReadWhole(FILE* fp, std::unique_ptr<uint8_t[]>* buf, size_t* size, std::string* error) {
    bool ok = std::fseek(fp, 0, SEEK_END) == 0;
    long len = ok ? std::ftell(fp) : -1;
    if (len < 0 || (size_t)len > kMaxFileBytes || std::fseek(fp, 0, SEEK_SET) != 0)
        return Fail(error, "cannot read the file");
    // Read straight into the buffer (no clearing pass first).
    buf->reset(new (std::nothrow) uint8_t[len ? (size_t)len : 1]);
    if (!*buf) return Fail(error, "out of memory");
    size_t got = len ? std::fread(buf->get(), 1, (size_t)len, fp) : 0;
    if (got != (size_t)len) return Fail(error, "cannot read the file");
    *size = (size_t)len;
    return true;
}

struct FileCloser {
    void operator()(FILE* fp) const { std::fclose(fp); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, Dib* out, std::string* error) {
    Layout l;
    if (!ReadLayout(Reader{data, size}, size, &l, error)) return false;
    const BmpInfo& info = l.info;
    Dib dib;
    dib.bitCount = info.bitCount;
    dib.colourCount = info.colourCount;
    bool palettised = info.bitCount <= 8;
    if (!dib.pixels.Create(info.width, info.height, palettised ? raster::PixelFormat::P8 : raster::PixelFormat::X8R8G8B8))
        return Fail(error, "out of memory");
    if (palettised) {
        dib.pixels.palette = std::make_shared<raster::Palette>();
        std::memcpy(dib.pixels.palette->argb, info.colours, sizeof info.colours);
    }
    if (l.rle8) {
        if (!DecodeRle8(data, size, l, [&](int x, int y, uint8_t v) { dib.pixels.Row(y)[x] = v; }, error))
            return false;
    } else {
        for (int row = 0; row < info.height; ++row)
            UnpackRow(l, data + l.offBits + l.stride * (size_t)row, info.width, dib.pixels.Row(PictureRow(l, row)));
    }
    *out = std::move(dib);
    return true;
}

bool DecodeBmpInto(const uint8_t* data, size_t size, const BmpTargetFn& target, uint32_t key, BmpInfo* info,
                   std::string* error) {
    Layout l;
    if (!ReadLayout(Reader{data, size}, size, &l, error)) return false;
    if (info) *info = l.info;
    raster::Surface* t = MakeTarget(target, l, error);
    if (!t) return false;
    TargetWriter out(l, *t, key);
    if (l.rle8) return DecodeRle8(data, size, l, [&](int x, int y, uint8_t v) { out.Index(x, y, v); }, error);
    if (!out.Prepare(error)) return false;
    for (int row = 0; row < l.info.height; ++row) out.StoredRow(row, data + l.offBits + l.stride * (size_t)row);
    return true;
}

bool LoadBmpFileInto(const char* path, const BmpTargetFn& target, uint32_t key, BmpInfo* info, std::string* error) {
    if (!path || !*path) return Fail(error, "no file name");
    FilePtr fp(crt::fopen(path, "rb"));
    if (!fp) return Fail(error, "cannot open the file");
    std::setvbuf(fp.get(), nullptr, _IONBF, 0);  // blocks go straight into our buffer
    long len = -1;
    if (std::fseek(fp.get(), 0, SEEK_END) == 0) len = std::ftell(fp.get());
    if (len < 0 || (size_t)len > kMaxFileBytes || std::fseek(fp.get(), 0, SEEK_SET) != 0)
        return Fail(error, "cannot read the file");
    uint8_t head[kHeadBytes];
    size_t got = std::fread(head, 1, sizeof head, fp.get());
    if (got != std::min(sizeof head, (size_t)len)) return Fail(error, "cannot read the file");
    Layout l;
    if (!ReadLayout(Reader{head, got}, (size_t)len, &l, error)) return false;
    if (l.rle8) {
        // Runs cannot be found without reading all before them: the file is read whole.
        std::unique_ptr<uint8_t[]> buf;
        size_t size = 0;
        if (!ReadWhole(fp.get(), &buf, &size, error)) return false;
        fp.reset();
        return DecodeBmpInto(buf.get(), size, target, key, info, error);
    }
    if (info) *info = l.info;
    size_t rowsPerBlock = std::max<size_t>(1, kBlockBytes / l.stride);
    rowsPerBlock = std::min(rowsPerBlock, (size_t)l.info.height);
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[rowsPerBlock * l.stride]);
    if (!block) return Fail(error, "out of memory");
    raster::Surface* t = MakeTarget(target, l, error);
    if (!t) return false;
    TargetWriter out(l, *t, key);
    if (!out.Prepare(error)) return false;
    if (std::fseek(fp.get(), (long)l.offBits, SEEK_SET) != 0) return Fail(error, "cannot read the file");
    for (size_t row = 0; row < (size_t)l.info.height; row += rowsPerBlock) {
        size_t n = std::min(rowsPerBlock, (size_t)l.info.height - row);
        // The rows were checked to be in the file: a short read means it changed or failed.
        if (std::fread(block.get(), l.stride, n, fp.get()) != n) return Fail(error, "cannot read the file");
        for (size_t i = 0; i < n; ++i) out.StoredRow((int)(row + i), block.get() + i * l.stride);
    }
    return true;
}

bool ReadBmpInfo(const char* path, int* width, int* height, int* bitCount) {
    if (!path || !*path) return false;
    FILE* fp = crt::fopen(path, "rb");
    if (!fp) return false;
    uint8_t head[14 + 1024 + 12];
    size_t got = std::fread(head, 1, sizeof head, fp);
    std::fclose(fp);
    BmpHeader b;
    if (!ParseHeader(Reader{head, got}, &b, nullptr)) return false;
    if (width) *width = (int)b.width;
    if (height) *height = (int)b.height;
    if (bitCount) *bitCount = b.bpp;
    return true;
}

bool LoadBmpFile(const char* path, Dib* out, std::string* error) {
    if (!path || !*path) return Fail(error, "no file name");
    FilePtr fp(crt::fopen(path, "rb"));
    if (!fp) return Fail(error, "cannot open the file");
    std::unique_ptr<uint8_t[]> buf;
    size_t size = 0;
    if (!ReadWhole(fp.get(), &buf, &size, error)) return false;
    fp.reset();
    return DecodeBmp(buf.get(), size, out, error);
}

}  // namespace gdi
