// Record images of older data versions written by hand for the tests: each field by its width,
// only when the version stores it.
#pragma once

#include <map>
#include <vector>

#include "tools/records/byte_image.h"

namespace recordtest {

// Character fields C1-C53: width and first version.
inline const int kCharaWidth[53] = {1, 2, 1, 1, 1, 1, 2, 2, 2, 2, 1, 1, 2, 1, 2, 2, 1, 1, 2, 1, 1, 2, 1, 1, 2, 1, 1,
                             1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 4, 4, 2, 1, 4, 1, 2, 4, 1, 4, 1, 1, 2, 1, 1};
inline uint32_t CharaGate(int c) {
    switch (c) {
        case 20: case 23: return 196;
        case 33: return 285;
        case 36: return 210;
        case 42: return 201;
        case 46: return 168;
        default: return 0;
    }
}

// A character body of version v: fields 0 except the given ones (C14 = 1, C26 = 1, C35 = 1 by
// default), no name, `flags` template flags of 0, no conditions or flows.
inline std::vector<uint8_t> OldCharaBody(uint32_t v, std::map<int, int64_t> values, uint32_t flags) {
    values.emplace(14, 1);
    values.emplace(26, 1);  // a given value wins over these
    values.emplace(35, 1);
    cByteImage body;
    uint32_t n = 0;
    for (int c = 1; c <= 53; ++c) {
        if (v < CharaGate(c)) continue;
        ++n;
        int64_t x = values.count(c) ? values[c] : 0;
        switch (kCharaWidth[c - 1]) {
            case 1: body.U8((uint8_t)x); break;
            case 2: body.U16((uint16_t)x); break;
            default: body.U32((uint32_t)x); break;
        }
    }
    cByteImage b;
    b.U32(n).Bytes(body.Data()).U32(1).U32(1).I16(0).I16(0).I32(0).U32(flags);
    for (uint32_t i = 0; i < flags; ++i) b.U8(0);
    b.U32(0).U32(0);
    return b.Data();
}

// The same with its version word: a character file image.
inline std::vector<uint8_t> OldChara(uint32_t v, std::map<int, int64_t> values, uint32_t flags) {
    return cByteImage().U32(v).Bytes(OldCharaBody(v, values, flags)).Data();
}

// A stage of version v: the settings of that version (fields 40-41 = 7, 8; 64-65 = 5, 6;
// everything the table does not name 0, hit level 10), the numbers and texts given, a placed
// hero when asked, nothing else; the end mark from 173 on.
inline std::vector<uint8_t> OldStage(uint32_t v, const std::vector<int32_t>& numbers, size_t texts, bool hero = false) {
    cByteImage body;
    uint32_t n = 0;
    auto row = [&](std::initializer_list<int32_t> vals, uint32_t gate = 0) {
        if (v < gate) return;
        ++n;
        for (int32_t x : vals) body.I32(x);
    };
    row({40});
    row({0, 0});
    row({20});
    for (int i = 5; i <= 12; ++i) row({0});
    row({60});
    for (int i = 14; i <= 20; ++i) row({0});
    ++n;
    body.F64(0.4);  // 21
    row({10});      // 22
    row({0});
    row({0});
    row({7}, 166);
    row({7}, 199);
    row({0});
    row({0, 0});
    row({7}, 183);
    row({7}, 184);
    row({0});
    row({7}, 225);
    row({0, 0});
    row({9, 9, 9, 9}, 200);
    row({7, 8});
    row({9, 9}, 155);
    row({0, 0, 0, 0});
    row({9, 9}, 200);
    row({9, 9}, 155);
    row({9}, 200);
    row({0, 0, 0});
    row({9}, 200);
    row({0, 0, 0});
    row({9, 9, 9, 9}, 200);
    row({5, 6});
    row({9, 9}, 155);
    row({0, 0});
    row({9, 9}, 200);
    row({9, 9}, 155);
    row({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    row({0, 0});
    row({0});
    ++n;
    for (int i = 0; i < 5; ++i) body.F64(0);
    for (int i = 94; i <= 99; ++i) row({0});
    cByteImage b;
    b.U32(v).U32(n).Bytes(body.Data()).U32(1).U32(1);
    b.U32((uint32_t)numbers.size());
    for (int32_t x : numbers) b.I32(x);
    for (int p = 0; p < 5; ++p) {
        b.U32(5);
        for (int i = 0; i < 8; ++i) b.I32(0);
        b.U32(0);
    }
    b.U32(0).U32(0).U32(0).U32(0);  // palettes, placed blocks
    if (hero) b.U32(1).U32(0).Bytes(OldCharaBody(v, {{26, 0}, {13, 1}}, 37));
    else b.U32(0);
    b.U32(0).U32(0);  // placed items, backgrounds
    b.U32((uint32_t)texts);
    for (size_t i = 0; i < texts; ++i) b.U32(0).U32(1).U32(2).Raw("t", 1).U8(0);
    if (v >= 173) b.U32(123456789);
    return b.Data();
}

}  // namespace recordtest
