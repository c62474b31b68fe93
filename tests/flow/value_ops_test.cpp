// Comparison codes, rounded percentages and the operators with their limits.
#include <gtest/gtest.h>

#include <climits>

#include "flow/flow_cond.h"
#include "flow/value_ops.h"

namespace {

TEST(ValueOps, ComparisonCodes) {
    struct { int32_t a, b; int op; bool expected; } cases[] = {
        {3, 3, 0, true}, {3, 4, 0, false}, {3, 4, 1, true}, {4, 4, 2, true}, {3, 4, 2, false},
        {4, 4, 3, true}, {5, 4, 3, false}, {5, 4, 4, true}, {4, 4, 5, false}, {-9, 3, 6, true},
        {7, 3, 6, false}, {7, 0, 6, true}, {7, 3, 7, true}, {7, 0, 7, false}, {INT_MIN, -1, 6, true},
        {1, 1, 8, false}, {1, 1, -1, false},
    };
    for (const auto& c : cases) EXPECT_EQ(CompareByOp(c.a, c.b, c.op), c.expected) << c.a << " " << c.op << " " << c.b;
}

TEST(ValueOps, PercentRoundsHalfAwayFromZero) {
    EXPECT_EQ(PercentRound(7, 50), 4);
    EXPECT_EQ(PercentRound(-7, 50), -4);
    EXPECT_EQ(PercentRound(7, -50), -4);
    EXPECT_EQ(PercentRound(200, 50), 100);
    EXPECT_EQ(PercentRound(3, 10), 0);
    // The product does not wrap.
    EXPECT_EQ(PercentRound(999999, 999999), INT32_MAX);
    EXPECT_EQ(PercentRound(100000, 100000), 100000000);
}

TEST(ValueOps, OperatorsClampToTheLimits) {
    struct { int32_t place, r; int op; int32_t expected; } cases[] = {
        {5, 9, VALUEOP_SET, 9},        {5, 9, VALUEOP_ADD, 14},      {5, 9, VALUEOP_SUB, -4},
        {600000, 2, VALUEOP_MUL, 999}, {-600000, 2, VALUEOP_MUL, -999},
        {-7, 2, VALUEOP_DIV, -3},      {7, 0, VALUEOP_DIV, 7},       {-7, 3, VALUEOP_MOD, -1},
        {7, 0, VALUEOP_MOD, 7},        {7, 50, VALUEOP_PERCENT, 4},  {7, 1, 7, 7},
        {5000, 1, 9, 999},  // an unknown code leaves the value, still held in its limits
    };
    for (const auto& c : cases) {
        int32_t v = c.place;
        ApplyOp32(v, c.r, c.op, -999, 999);
        EXPECT_EQ(v, c.expected) << c.place << " op " << c.op << " " << c.r;
    }
    // Products of the full range saturate instead of wrapping.
    int32_t big = 999999;
    ApplyOp32(big, 999999, VALUEOP_MUL, 0, 999999);
    EXPECT_EQ(big, 999999);
    int32_t low = INT32_MIN;
    ApplyOp32(low, -1, VALUEOP_DIV, INT32_MIN, INT32_MAX);
    EXPECT_EQ(low, INT32_MAX);
    // The narrow twins compute wide: 100 x 3 is not the wrapped byte 44.
    int8_t z = 100;
    ApplyOp8(z, 3, VALUEOP_MUL, 0, 120);
    EXPECT_EQ(z, 120);
    int8_t layer = 3;
    ApplyOp8(layer, 8, VALUEOP_SET, 0, 7);
    EXPECT_EQ(layer, 7);
    int16_t stop = 150;
    ApplyOp16(stop, 1000, VALUEOP_ADD, 0, 200);
    EXPECT_EQ(stop, 200);
    EXPECT_EQ(Clamp8(300, -20, 20), 20);
}

TEST(ValueOps, ConditionCompareWithAndWithoutPercent) {
    cFlowCond cond;
    cond.m_byOperator = 2;  // >=
    cond.m_nValue = 50;
    cond.m_byFlag2 = 1;
    EXPECT_TRUE(CompareByOpPercent32(50, 100, cond, 0, 999999));
    EXPECT_FALSE(CompareByOpPercent32(49, 100, cond, 0, 999999));
    cond.m_byFlag2 = 0;
    EXPECT_TRUE(CompareByOpPercent32(50, 100, cond, 0, 999999));
    EXPECT_FALSE(CompareByOpPercent32(49, 100, cond, 0, 999999));
    cond.m_byOperator = 8;
    EXPECT_FALSE(CompareByOpPercent32(50, 100, cond, 0, 999999));
}

}  // namespace
