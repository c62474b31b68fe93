#include "tools/bmp_writer.h"

#include <cstdio>

namespace tools {
namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back((uint8_t)v);
    b.push_back((uint8_t)(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// One row of 8-bit indices as RLE8: runs of equal bytes, absolute runs for the rest.
void EncodeRleRow(std::vector<uint8_t>& out, const uint8_t* row, int w) {
    int x = 0;
    while (x < w) {
        int run = 1;
        while (x + run < w && run < 255 && row[x + run] == row[x]) ++run;
        if (run >= 2 || w - x < 3) {
            out.push_back((uint8_t)run);
            out.push_back(row[x]);
            x += run;
            continue;
        }
        int lit = 0;
        while (x + lit < w && lit < 255 && !(x + lit + 1 < w && row[x + lit] == row[x + lit + 1])) ++lit;
        if (lit < 3) {
            for (int i = 0; i < lit; ++i) {
                out.push_back(1);
                out.push_back(row[x + i]);
            }
        } else {
            out.push_back(0);
            out.push_back((uint8_t)lit);
            for (int i = 0; i < lit; ++i) out.push_back(row[x + i]);
            if (lit & 1) out.push_back(0);
        }
        x += lit;
    }
    out.push_back(0);
    out.push_back(0);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const BmpPicture& pic, const BmpOptions& opt) {
    int w = pic.width, h = pic.height, bits = opt.bitCount;
    bool pal = bits <= 8;
    if (w <= 0 || h <= 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) return {};
    if (opt.rle8 && (bits != 8 || opt.topDown)) return {};
    if (pal && (pic.indices.size() != (size_t)w * h || pic.colours.empty() || pic.colours.size() > (1u << bits)))
        return {};
    if (!pal && pic.rgb.size() != (size_t)w * h) return {};
    size_t stride = (((size_t)w * bits + 31) / 32) * 4;
    std::vector<uint8_t> pixels;
    for (int r = 0; r < h; ++r) {
        int y = opt.topDown ? r : h - 1 - r;
        if (opt.rle8) {
            EncodeRleRow(pixels, &pic.indices[(size_t)y * w], w);
            continue;
        }
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < w; ++x) {
            size_t i = (size_t)y * w + x;
            switch (bits) {
            case 1: row[x >> 3] |= (uint8_t)((pic.indices[i] & 1) << (7 - (x & 7))); break;
            case 4: row[x >> 1] |= (uint8_t)((pic.indices[i] & 15) << ((x & 1) ? 0 : 4)); break;
            case 8: row[x] = pic.indices[i]; break;
            default: {
                uint32_t c = pic.rgb[i];
                int b = bits / 8;
                row[x * b] = (uint8_t)c;
                row[x * b + 1] = (uint8_t)(c >> 8);
                row[x * b + 2] = (uint8_t)(c >> 16);
                break;
            }
            }
        }
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    if (opt.rle8) {
        pixels.push_back(0);
        pixels.push_back(1);
    }
    uint32_t colours = pal ? (uint32_t)pic.colours.size() : 0;
    uint32_t off = 14 + 40 + colours * 4;
    std::vector<uint8_t> f;
    f.push_back('B');
    f.push_back('M');
    Put32(f, off + (uint32_t)pixels.size());
    Put32(f, 0);
    Put32(f, off);
    Put32(f, 40);
    Put32(f, (uint32_t)w);
    Put32(f, (uint32_t)(opt.topDown ? -h : h));
    Put16(f, 1);
    Put16(f, (uint32_t)bits);
    Put32(f, opt.rle8 ? 1 : 0);
    Put32(f, (uint32_t)pixels.size());
    Put32(f, 2835);
    Put32(f, 2835);
    Put32(f, colours);
    Put32(f, 0);
    for (uint32_t i = 0; i < colours; ++i) Put32(f, pic.colours[i] & 0xFFFFFF);
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

bool WriteBmp(const std::string& hostPath, const BmpPicture& pic, const BmpOptions& opt) {
    std::vector<uint8_t> f = EncodeBmp(pic, opt);
    if (f.empty()) return false;
    FILE* fp = std::fopen(hostPath.c_str(), "wb");
    if (!fp) return false;
    bool ok = std::fwrite(f.data(), 1, f.size(), fp) == f.size();
    return std::fclose(fp) == 0 && ok;
}

BmpPicture SolidPicture(int w, int h, uint32_t rgb) {
    BmpPicture p;
    p.width = w;
    p.height = h;
    p.rgb.assign((size_t)w * h, rgb);
    return p;
}

BmpPicture PalettePicture(int w, int h, const std::vector<uint32_t>& colours) {
    BmpPicture p;
    p.width = w;
    p.height = h;
    p.colours = colours;
    p.indices.assign((size_t)w * h, 0);
    return p;
}

}  // namespace tools
