// The span test of the range condition: the low and high edge of an object's span along one
// axis with its margins, and whether that span reaches a band.
#pragma once

#include <cstdint>

class cGameObj;

// L and H of a span: half = size >> 1; whole span without margins: base .. base + 2 half; whole
// span with only margin b: base + half .. base + 2 half + b; otherwise L = base - a (a != 0) or
// base + half, H = base + half (b = 0) or base + 2 half + b.
void SpawnOffset(int32_t base, int32_t size, int32_t marginA, int32_t marginB, int whole, int64_t& low,
                 int64_t& high);
// Whether the span reaches the band [low limit + margin, high limit - margin]: false when L lies
// above the high limit less the margin, else true when H reaches the low limit plus the margin.
// With `useObj`, the high test drops the margin when the object's height + margin is at least
// its graphic height.
bool SpawnPlace(int32_t base, int32_t size, int32_t lowLimit, int32_t highLimit, int32_t margin, int32_t marginA,
                int32_t marginB, int whole, int useObj, const cGameObj* obj);
