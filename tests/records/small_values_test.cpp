// Value lists kept inside their owner up to a fixed count: every size, inside and on the heap,
// keeps its entries through growth, shrinking, copies and moves.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "records/record_list.h"
#include "records/small_values.h"

namespace {

using cFour = cSmallValues<uint16_t, 4>;

std::vector<uint16_t> Entries(const cFour& v) { return std::vector<uint16_t>(v.begin(), v.end()); }

// A list of n entries 1, 2, ... n.
cFour Counting(size_t n) {
    cFour v;
    v.resize(n);
    for (size_t i = 0; i < n; ++i) v[i] = (uint16_t)(i + 1);
    return v;
}

std::vector<uint16_t> CountingEntries(size_t n) {
    std::vector<uint16_t> e;
    for (size_t i = 0; i < n; ++i) e.push_back((uint16_t)(i + 1));
    return e;
}

TEST(SmallValuesTest, EntriesSurviveGrowthCopiesAndMovesInsideAndOnTheHeap) {
    for (size_t n : {0u, 1u, 4u, 5u, 9u, 1000u}) {
        SCOPED_TRACE(n);
        const std::vector<uint16_t> want = CountingEntries(n);
        cFour v = Counting(n);
        ASSERT_EQ(v.size(), n);
        EXPECT_EQ(v.empty(), n == 0);
        EXPECT_EQ(Entries(v), want);

        cFour copy(v);
        if (n) {
            copy[0] = 77;  // the copy owns its entries
            EXPECT_EQ(v[0], 1);
        }

        cFour assigned = Counting(3);
        assigned = v;
        EXPECT_EQ(Entries(assigned), want);

        std::vector<uint16_t> changed = want;
        if (n) changed[0] = 77;
        cFour moved(std::move(copy));
        EXPECT_EQ(Entries(moved), changed);

        cFour target = Counting(7);  // on the heap, then given a list of any size
        target = std::move(moved);
        EXPECT_EQ(Entries(target), changed);

        // Growing past the inside entries keeps the first ones; new ones take the value.
        v.resize(n + 6, 9);
        std::vector<uint16_t> grown = want;
        grown.resize(n + 6, 9);
        EXPECT_EQ(Entries(v), grown);
        v.resize(2);
        EXPECT_EQ(Entries(v), std::vector<uint16_t>(grown.begin(), grown.begin() + 2));
    }
}

TEST(SmallValuesTest, AssignReplacesEveryEntry) {
    cFour v = Counting(9);
    v.assign(3, 5);
    EXPECT_EQ(Entries(v), (std::vector<uint16_t>{5, 5, 5}));
    v.assign(6, 2);
    EXPECT_EQ(Entries(v), std::vector<uint16_t>(6, 2));
    v.clear();
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(v.begin(), v.end());
}

// A counted list read from a file: inside or on the heap before, a count that fits inside or
// not, the file ending right after the entries or going on. The entries read are exactly the
// file's, the read takes exactly their bytes, and entries added later are the new value.
TEST(SmallValuesTest, ReadValueListTakesExactlyTheCountedEntries) {
    for (size_t before : {0u, 2u, 9u}) {
        for (uint32_t count : {0u, 1u, 3u, 4u, 5u, 11u}) {
            for (size_t trailing : {0u, 16u}) {
                SCOPED_TRACE(testing::Message() << before << " before, " << count << " read, " << trailing << " after");
                std::vector<uint8_t> image = {(uint8_t)count, 0, 0, 0};
                std::vector<uint16_t> want;
                for (uint32_t i = 0; i < count; ++i) {
                    want.push_back((uint16_t)(0x4100 + i));
                    image.push_back((uint8_t)(0x00 + i));
                    image.push_back(0x41);
                }
                image.resize(image.size() + trailing, 0xEE);
                cFour v = Counting(before);
                cRecordReader r;
                r.OpenMemory(image.data(), image.size(), "values");
                ASSERT_TRUE(ReadValueList(r, v));
                EXPECT_EQ(Entries(v), want);
                EXPECT_EQ(r.Offset(), 4u + 2u * count);
                EXPECT_FALSE(r.Ended());
                v.resize(count + 3);
                want.resize(count + 3, 0);
                EXPECT_EQ(Entries(v), want);
            }
        }
    }
}

}  // namespace
