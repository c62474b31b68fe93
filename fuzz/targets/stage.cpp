// Stage files, the common palette, the definitions and flows inside them. Input byte 0 picks
// the reader (0 stage, 1 common palette, 2 character, 3 item, 4 block, 5 flow) and, with its
// bit 7, the editor flag (flagged flows kept); the rest is the file image. What a record
// reads, it must write and read back to the same bytes.
#include <cstdint>

#include "core/globals.h"
#include "flow/flow.h"
#include "fuzz/fuzz_support.h"
#include "records/common_palette.h"
#include "records/stage.h"

namespace {

template <class T>
void Check(const uint8_t* data, size_t size) {
    T a, b;
    if (fuzzsupport::ReadInto(a, data, size)) fuzzsupport::CheckRoundTrip(a, b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t pick = data[0];
    g_bEditor = (pick & 0x80) ? 1 : 0;
    ++data;
    --size;
    switch ((pick & 0x7F) % 6) {
        case 0: Check<cStage>(data, size); break;
        case 1: Check<cCommonPalette>(data, size); break;
        case 2: Check<cCharaRec>(data, size); break;
        case 3: Check<cItemRec>(data, size); break;
        case 4: Check<cBlockRec>(data, size); break;
        default: Check<cFlow>(data, size); break;
    }
    g_bEditor = 0;
    return 0;
}
