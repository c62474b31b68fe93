#include "platform/gdi/bmp.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/win32/crt.h"

namespace gdi {
namespace {

constexpr size_t kMaxFileBytes = 512u * 1024 * 1024;

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

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, Dib* out, std::string* error) {
    Reader r{data, size};
    BmpHeader b;
    if (!ParseHeader(r, &b, error)) return false;
    uint32_t offBits = b.offBits;
    int64_t width = b.width, height = b.height;
    int bpp = b.bpp;
    uint32_t compression = b.compression, clrUsed = b.clrUsed;
    size_t tableOff = b.tableOff, entrySize = b.entrySize;
    uint32_t masks[3] = {b.masks[0], b.masks[1], b.masks[2]};
    bool topDown = b.topDown;
    bool rle8 = compression == 1;

    Dib dib;
    dib.bitCount = bpp;
    int w = (int)width, h = (int)height;
    std::shared_ptr<raster::Palette> pal;
    if (bpp <= 8) {
        uint32_t maxColours = 1u << bpp;
        uint32_t count = clrUsed ? clrUsed : maxColours;
        if (count > maxColours) count = maxColours;
        if (!r.Has(tableOff, (size_t)count * entrySize)) return Fail(error, "truncated colour table");
        pal = std::make_shared<raster::Palette>();
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = data + tableOff + i * entrySize;
            pal->argb[i] = 0xFF000000u | ((uint32_t)e[2] << 16) | ((uint32_t)e[1] << 8) | e[0];
        }
        for (uint32_t i = count; i < 256; ++i) pal->argb[i] = 0xFF000000u;
        dib.colourCount = (int)count;
    }
    if (offBits == 0) offBits = (uint32_t)(tableOff + (bpp <= 8 ? (size_t)dib.colourCount * entrySize : 0));
    if (offBits > size) return Fail(error, "pixel data outside the file");
    // Uncompressed rows must all be in the file before the picture is allocated: a damaged
    // header can promise a picture hundreds of megabytes larger than the file.
    size_t stride = (((size_t)w * (size_t)bpp + 31) / 32) * 4;
    if (!rle8 && !r.Has(offBits, stride * (size_t)h)) return Fail(error, "truncated pixel data");
    if (!dib.pixels.Create(w, h, pal ? raster::PixelFormat::P8 : raster::PixelFormat::X8R8G8B8))
        return Fail(error, "out of memory");
    if (pal) dib.pixels.palette = pal;

    if (rle8) {
        // Bottom-up rows; runs never write outside the picture.
        size_t pos = offBits;
        int x = 0, y = 0;
        while (pos + 2 <= size && y < h) {
            uint8_t n = data[pos], v = data[pos + 1];
            pos += 2;
            if (n) {
                for (int i = 0; i < n && x < w; ++i, ++x) dib.pixels.Row(h - 1 - y)[x] = v;
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
                    if (x < w && y < h) dib.pixels.Row(h - 1 - y)[x] = data[pos + i];
                pos += padded;
            }
        }
        *out = std::move(dib);
        return true;
    }

    int shifts[3], bits[3];
    if (compression != 3) {
        if (bpp == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else {
            masks[0] = 0xFF0000;
            masks[1] = 0xFF00;
            masks[2] = 0xFF;
        }
    }
    for (int k = 0; k < 3; ++k) MaskShape(masks[k], &shifts[k], &bits[k]);
    for (int row = 0; row < h; ++row) {
        const uint8_t* src = data + offBits + stride * (size_t)row;
        int y = topDown ? row : h - 1 - row;
        uint8_t* dst = dib.pixels.Row(y);
        switch (bpp) {
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
            int bytes = bpp / 8;
            for (int x = 0; x < w; ++x) {
                uint32_t v = bytes == 2 ? (uint32_t)src[x * 2] | ((uint32_t)src[x * 2 + 1] << 8)
                                        : r.U32((size_t)(src - data) + (size_t)x * 4);
                uint32_t c = (Channel(v, masks[0], shifts[0], bits[0]) << 16) |
                             (Channel(v, masks[1], shifts[1], bits[1]) << 8) | Channel(v, masks[2], shifts[2], bits[2]);
                std::memcpy(dst + x * 4, &c, 4);
            }
            break;
        }
        }
    }
    *out = std::move(dib);
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
    FILE* fp = crt::fopen(path, "rb");
    if (!fp) return Fail(error, "cannot open the file");
    bool ok = std::fseek(fp, 0, SEEK_END) == 0;
    long len = ok ? std::ftell(fp) : -1;
    if (len < 0 || (size_t)len > kMaxFileBytes || std::fseek(fp, 0, SEEK_SET) != 0) {
        std::fclose(fp);
        return Fail(error, "cannot read the file");
    }
    // Read straight into the buffer (no clearing pass first).
    std::unique_ptr<uint8_t[]> buf(new (std::nothrow) uint8_t[len ? (size_t)len : 1]);
    if (!buf) {
        std::fclose(fp);
        return Fail(error, "out of memory");
    }
    size_t got = len ? std::fread(buf.get(), 1, (size_t)len, fp) : 0;
    std::fclose(fp);
    if (got != (size_t)len) return Fail(error, "cannot read the file");
    return DecodeBmp(buf.get(), (size_t)len, out, error);
}

}  // namespace gdi
