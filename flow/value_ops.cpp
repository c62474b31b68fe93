#include "flow/value_ops.h"

#include <algorithm>

#include "flow/flow_cond.h"

namespace {

int64_t Abs64(int64_t v) { return v < 0 ? -v : v; }

int32_t ClampTo(int64_t v, int64_t low, int64_t high) {
    if (low > high) std::swap(low, high);
    return (int32_t)std::clamp(v, low, high);
}

// The operator on 64-bit values (the place itself for an unknown code or a division by 0).
int64_t Apply64(int64_t place, int64_t r, int op) {
    switch (op) {
        case VALUEOP_SET: return r;
        case VALUEOP_ADD: return place + r;
        case VALUEOP_SUB: return place - r;
        case VALUEOP_MUL: return place * r;  // both within 32 bits: no overflow in 64
        case VALUEOP_DIV: return r == 0 ? place : place / r;
        case VALUEOP_MOD: return r == 0 ? place : place % r;
        case VALUEOP_PERCENT:
            return PercentRound((int32_t)std::clamp<int64_t>(place, INT32_MIN, INT32_MAX), (int32_t)r);
        default: return place;
    }
}

}  // namespace

bool CompareByOp(int32_t a, int32_t b, int op) {
    switch (op) {
        case 0: return a == b;
        case 1: return a != b;
        case 2: return a >= b;
        case 3: return a <= b;
        case 4: return a > b;
        case 5: return a < b;
        case 6: return b == 0 || Abs64(a) % Abs64(b) == 0;
        case 7: return b != 0 && Abs64(a) % Abs64(b) != 0;
        default: return false;
    }
}
bool CompareByOp8(int8_t a, int8_t b, int op) { return CompareByOp(a, b, op); }
bool CompareByOp16(int16_t a, int16_t b, int op) { return CompareByOp(a, b, op); }

int32_t PercentRound(int32_t v, int32_t p) {
    double d = (double)((int64_t)v * (int64_t)p) * 0.01;
    d += d >= 0.0 ? 0.5 : -0.5;
    d = std::clamp(d, (double)INT32_MIN, (double)INT32_MAX);
    return (int32_t)d;  // truncated toward zero
}
int32_t PercentRound8(int8_t v, int32_t p) { return PercentRound(v, p); }
int32_t PercentRound16(int16_t v, int32_t p) { return PercentRound(v, p); }

int8_t Clamp8(int64_t v, int8_t low, int8_t high) { return (int8_t)ClampTo(v, low, high); }

void ApplyOp32(int32_t& place, int32_t r, int op, int32_t low, int32_t high) {
    place = ClampTo(Apply64(place, r, op), low, high);
}
void ApplyOp8(int8_t& place, int32_t r, int op, int8_t low, int8_t high) {
    place = (int8_t)ClampTo(Apply64(place, r, op), low, high);
}
void ApplyOp16(int16_t& place, int32_t r, int op, int16_t low, int16_t high) {
    place = (int16_t)ClampTo(Apply64(place, r, op), low, high);
}

bool CompareByOpPercent32(int32_t value, int32_t base, const cFlowCond& cond, int32_t low, int32_t high) {
    const int32_t against = cond.m_byFlag2 ? ClampTo(PercentRound(cond.m_nValue, base), low, high) : cond.m_nValue;
    return CompareByOp(value, against, cond.m_byOperator);
}
// The narrow comparisons take the condition's value in their own width (its low byte or its
// low 16 bits), as the word they compare is stored.
bool CompareByOpPercent8(int8_t value, int8_t base, const cFlowCond& cond, int8_t low, int8_t high) {
    const int8_t against = cond.m_byFlag2 ? (int8_t)ClampTo(PercentRound(cond.m_nValue, base), low, high)
                                          : (int8_t)(uint8_t)(uint32_t)cond.m_nValue;
    return CompareByOp8(value, against, cond.m_byOperator);
}
bool CompareByOpPercent16(int16_t value, int16_t base, const cFlowCond& cond, int16_t low, int16_t high) {
    const int16_t against = cond.m_byFlag2 ? (int16_t)ClampTo(PercentRound(cond.m_nValue, base), low, high)
                                           : (int16_t)(uint16_t)(uint32_t)cond.m_nValue;
    return CompareByOp16(value, against, cond.m_byOperator);
}
