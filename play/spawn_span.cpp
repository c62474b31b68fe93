#include "play/spawn_span.h"

#include "play/game_obj.h"

void SpawnOffset(int32_t base, int32_t size, int32_t marginA, int32_t marginB, int whole, int64_t& low,
                 int64_t& high) {
    const int64_t half = size >> 1;
    if (whole && marginA == 0 && marginB == 0) {
        low = base;
        high = base + 2 * half;
    } else if (whole && marginA == 0) {
        low = base + half;
        high = base + 2 * half + marginB;
    } else {
        low = marginA != 0 ? (int64_t)base - marginA : base + half;
        high = marginB == 0 ? base + half : base + 2 * half + marginB;
    }
}

bool SpawnPlace(int32_t base, int32_t size, int32_t lowLimit, int32_t highLimit, int32_t margin, int32_t marginA,
                int32_t marginB, int whole, int useObj, const cGameObj* obj) {
    int64_t low = 0, high = 0;
    SpawnOffset(base, size, marginA, marginB, whole, low, high);
    int64_t top = (int64_t)highLimit - margin;
    if (useObj && obj && (int64_t)obj->m_nHeight + margin >= obj->m_nGraphHeight) top = highLimit;
    if (low > top) return false;
    return (int64_t)lowLimit + margin <= high;
}
