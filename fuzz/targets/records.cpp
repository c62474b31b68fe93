// The record framework: the sample record (every element size, gates, a dropped word, strings,
// a nested list) and the option data. Input byte 0 picks the record and the return-stripping
// switch; the rest is the file image.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "records/option_data.h"
#include "tools/records/sample_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t pick = data[0];
    g_bStripReturns = (pick & 0x80) ? TRUE : FALSE;
    ++data;
    --size;
    if ((pick & 1) == 0) {
        cSampleRecord a, b;
        if (fuzzsupport::ReadInto(a, data, size)) fuzzsupport::CheckRoundTrip(a, b);
    } else {
        cOptionData a, b;
        if (fuzzsupport::ReadInto(a, data, size)) fuzzsupport::CheckRoundTrip(a, b);
    }
    g_bStripReturns = FALSE;
    return 0;
}
