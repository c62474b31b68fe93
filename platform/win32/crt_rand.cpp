// The runtime's per-thread random generator and the code-page 932 byte tests.
#include "platform/win32/crt.h"

namespace {
thread_local unsigned int t_seed = 1;
}

namespace crt {

int rand() {
    t_seed = t_seed * 214013u + 2531011u;
    return (int)((t_seed >> 16) & 0x7FFF);
}

void srand(unsigned int seed) { t_seed = seed; }

}  // namespace crt

int _ismbblead(unsigned int c) {
    c &= 0xFF;
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

int _ismbbtrail(unsigned int c) {
    c &= 0xFF;
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}
