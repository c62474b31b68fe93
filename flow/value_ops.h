// The arithmetic shared by the value tests and the status operations: comparison codes,
// rounded percentages and the seven operators with their limits. Intermediates are 64-bit, so
// products, quotients and percentages never wrap before they are clamped.
#pragma once

#include <cstdint>

class cFlowCond;

// Comparison codes 0-7: =, !=, >=, <=, >, <, |a| divisible by b (true when b is 0), |a| not
// divisible by b (false when b is 0); any other code is false.
bool CompareByOp(int32_t a, int32_t b, int op);
bool CompareByOp8(int8_t a, int8_t b, int op);
bool CompareByOp16(int16_t a, int16_t b, int op);

// v x p / 100 rounded half away from zero (held in the 32-bit range).
int32_t PercentRound(int32_t v, int32_t p);
int32_t PercentRound8(int8_t v, int32_t p);
int32_t PercentRound16(int16_t v, int32_t p);

int8_t Clamp8(int64_t v, int8_t low, int8_t high);

// Arithmetic operator codes of the status operation.
enum {
    VALUEOP_SET = 0, VALUEOP_ADD, VALUEOP_SUB, VALUEOP_MUL, VALUEOP_DIV, VALUEOP_MOD, VALUEOP_PERCENT,
};

// Applies operator `op` with the right-hand value r to `place`, then clamps it to [low, high].
// Division and remainder by 0 leave the place unchanged (still clamped); an unknown code too.
// A product beyond the limits ends on the limit of its sign.
void ApplyOp32(int32_t& place, int32_t r, int op, int32_t low, int32_t high);
void ApplyOp8(int8_t& place, int32_t r, int op, int8_t low, int8_t high);
void ApplyOp16(int16_t& place, int32_t r, int op, int16_t low, int16_t high);

// A condition's comparison of `value`: with the condition's percent flag against the rounded
// percentage of `base` by the condition's value, clamped to [low, high]; without it against the
// condition's value. Operators above 7 are false.
bool CompareByOpPercent32(int32_t value, int32_t base, const cFlowCond& cond, int32_t low, int32_t high);
bool CompareByOpPercent8(int8_t value, int8_t base, const cFlowCond& cond, int8_t low, int8_t high);
bool CompareByOpPercent16(int16_t value, int16_t base, const cFlowCond& cond, int16_t low, int16_t high);
