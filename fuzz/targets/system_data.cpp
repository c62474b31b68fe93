// "System.dat": read, written, read back and written again (the images must match).
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "records/system_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cSystemData a, b;
    if (fuzzsupport::ReadInto(a, data, size)) fuzzsupport::CheckRoundTrip(a, b);
    return 0;
}
