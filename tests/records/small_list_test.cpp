// Record lists kept inside their owner up to a fixed count: every size, inside and on the heap,
// keeps its elements in order through growth, copies, moves, inserts and erases, and every
// element made is destroyed once.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "flow/flow.h"
#include "records/small_list.h"

namespace {

// An element that counts the live instances (a leak or a double destruction shows).
struct cCounted {
    static int s_nLive;
    int v;
    cCounted(int x = 0) : v(x) { ++s_nLive; }
    cCounted(const cCounted& o) : v(o.v) { ++s_nLive; }
    cCounted(cCounted&& o) noexcept : v(o.v) {
        o.v = -1;
        ++s_nLive;
    }
    cCounted& operator=(const cCounted&) = default;
    cCounted& operator=(cCounted&& o) noexcept {
        v = o.v;
        o.v = -1;
        return *this;
    }
    ~cCounted() { --s_nLive; }
};
int cCounted::s_nLive = 0;

using cTwo = cSmallList<cCounted, 2>;

std::vector<int> Values(const cTwo& l) {
    std::vector<int> out;
    for (const cCounted& c : l) out.push_back(c.v);
    return out;
}

std::vector<int> Counting(size_t n, int from = 1) {
    std::vector<int> out;
    for (size_t i = 0; i < n; ++i) out.push_back(from + (int)i);
    return out;
}

cTwo Make(size_t n, int from = 1) {
    cTwo l;
    for (int v : Counting(n, from)) l.push_back(cCounted(v));
    return l;
}

TEST(SmallListTest, ElementsSurviveGrowthCopiesMovesAndSwapsInsideAndOnTheHeap) {
    for (size_t n : {0u, 1u, 2u, 3u, 17u, 1000u}) {
        SCOPED_TRACE(n);
        const int live = cCounted::s_nLive;
        {
            const std::vector<int> want = Counting(n);
            cTwo l = Make(n);
            ASSERT_EQ(l.size(), n);
            EXPECT_EQ(l.empty(), n == 0);
            EXPECT_GE(l.capacity(), n);
            EXPECT_EQ(Values(l), want);

            cTwo copy(l);
            if (n) {
                copy[0].v = 77;  // the copy owns its elements
                EXPECT_EQ(l[0].v, 1);
            }
            for (size_t m : {0u, 1u, 5u}) {  // assigned over lists inside and on the heap
                cTwo target = Make(m, 50);
                target = l;
                EXPECT_EQ(Values(target), want);
                cTwo moved = Make(m, 50);
                moved = cTwo(l);
                EXPECT_EQ(Values(moved), want);
            }
            cTwo taken(std::move(copy));
            EXPECT_TRUE(copy.empty());
            if (n) {
                EXPECT_EQ(taken[0].v, 77);
            }
            EXPECT_EQ(taken.size(), n);

            for (size_t m : {1u, 9u}) {
                cTwo other = Make(m, 100);
                cTwo mine = Make(n);
                mine.swap(other);
                EXPECT_EQ(Values(mine), Counting(m, 100));
                EXPECT_EQ(Values(other), want);
            }

            // Growing keeps the first elements and fills with the value; shrinking keeps the first.
            l.resize(n + 3, cCounted(9));
            std::vector<int> grown = want;
            grown.resize(n + 3, 9);
            EXPECT_EQ(Values(l), grown);
            l.resize(1);
            EXPECT_EQ(Values(l), std::vector<int>(grown.begin(), grown.begin() + 1));
            l.assign(n, cCounted(4));
            EXPECT_EQ(Values(l), std::vector<int>(n, 4));
        }
        EXPECT_EQ(cCounted::s_nLive, live);
    }
}

TEST(SmallListTest, InsertAndEraseKeepTheOrderAtEveryPlace) {
    const int live = cCounted::s_nLive;
    {
        struct Case {
            size_t size, at, inserted;
        };
        for (const Case& c : {Case{0, 0, 1}, Case{1, 0, 1}, Case{1, 1, 1}, Case{2, 1, 3}, Case{5, 2, 1},
                              Case{5, 5, 4}, Case{5, 0, 40}}) {
            SCOPED_TRACE(testing::Message() << c.size << " " << c.at << " " << c.inserted);
            cTwo l = Make(c.size);
            std::vector<int> want = Counting(c.size);
            const std::vector<cCounted> more(c.inserted, cCounted(0));
            cCounted* at = l.insert(l.begin() + c.at, more.begin(), more.end());
            EXPECT_EQ(at, l.begin() + c.at);
            want.insert(want.begin() + (std::ptrdiff_t)c.at, c.inserted, 0);
            EXPECT_EQ(Values(l), want);
            l.erase(l.begin() + c.at, l.begin() + c.at + c.inserted);
            EXPECT_EQ(Values(l), Counting(c.size));
            if (c.size) {
                l.erase(l.begin());
                EXPECT_EQ(Values(l), Counting(c.size - 1, 2));
            }
        }
        // An element of the list itself, at the growth boundary.
        cTwo l = Make(2);
        l.push_back(l[0]);
        l.insert(l.begin(), l[2]);
        EXPECT_EQ(Values(l), (std::vector<int>{1, 1, 2, 1}));
    }
    EXPECT_EQ(cCounted::s_nLive, live);
}

TEST(SmallListTest, ACommandListTakesAListThatLivesInsideItsOwnCommands) {
    // A flow's commands are given the commands of a flow nested in its first command: the
    // source lies inside the list being replaced.
    cFlowCmd inner1, inner2;
    inner1.m_cKind = 3;
    inner2.m_cKind = 4;
    cFlow nested;
    nested.m_vecCmds = {inner1, inner2};
    cFlowCmd outer;
    outer.m_cKind = 7;
    outer.m_vecFlows.push_back(nested);
    cFlow flow;
    flow.m_vecCmds.push_back(outer);

    flow.m_vecCmds = flow.m_vecCmds[0].m_vecFlows[0].m_vecCmds;
    ASSERT_EQ(flow.m_vecCmds.size(), 2u);
    EXPECT_EQ(flow.m_vecCmds[0].m_cKind, 3);
    EXPECT_EQ(flow.m_vecCmds[1].m_cKind, 4);

    // The same by move, and a copied flow owns commands and parts of its own.
    flow.m_vecCmds[0].CreateEdMove();
    flow.m_vecCmds[0].m_vecFlows.push_back(nested);
    flow.m_vecCmds = std::move(flow.m_vecCmds[0].m_vecFlows[0].m_vecCmds);
    ASSERT_EQ(flow.m_vecCmds.size(), 2u);
    EXPECT_EQ(flow.m_vecCmds[1].m_cKind, 4);
    flow.m_vecCmds[0].CreateEdMove();
    const cFlow copy = flow;
    EXPECT_NE(copy.m_vecCmds[0].m_pMove.get(), flow.m_vecCmds[0].m_pMove.get());
    EXPECT_NE(copy.m_vecCmds.data(), flow.m_vecCmds.data());
}

}  // namespace
