// The animation sequencer.
#include <gtest/gtest.h>

#include <vector>

#include "media/anime.h"

namespace {

struct Case {
    const char* name;
    std::vector<std::vector<AnimeFrame>> lists;
    int start;
    std::vector<int> want;  // the values of the updates after Set(start, 1)
};

TEST(Anime, StepsHoldsLoopsAndJumps) {
    const Case cases[] = {
        {"loop", {{{5, 2, 0}, {6, 3, 0}, {-2, 0, 0}}}, 0, {5, 6, 6, 6, 5, 5, 6, 6, 6, 5}},
        {"hold", {{{7, 1, 0}, {-1, 0, 0}}}, 0, {7, 7, 7, 7}},
        {"jump", {{{1, 2, 0}, {-3, 1, 0}}, {{9, 2, 0}, {-1, 0, 0}}}, 0, {1, 9, 9, 9}},
        {"duration 0 leaves on the next update", {{{3, 0, 0}, {4, 0, 0}, {-2, 0, 0}}}, 0, {4, 3, 4, 3}},
        // "Finished" is handed back and held, never run past.
        {"finished", {{{2, 1, 0}, {-4, 0, 0}}}, 0, {-4, -4, -4}},
        // A list with no frames hands back its control entry and stays there.
        {"no frames", {{{-2, 0, 0}}}, 0, {-2, -2}},
        // A jump to an animation that does not exist holds the last frame.
        {"jump to nowhere", {{{8, 1, 0}, {-3, 7, 0}}}, 0, {8, 8, 8}},
    };
    for (const Case& c : cases) {
        std::vector<const AnimeFrame*> table;
        for (const auto& l : c.lists) table.push_back(l.data());
        table.push_back(nullptr);
        cAnime a;
        a.SetTable(table.data());
        ASSERT_EQ(a.Set(c.start, 1), 1u);
        std::vector<int> got;
        for (size_t i = 0; i < c.want.size(); ++i) got.push_back(a.Update());
        EXPECT_EQ(got, c.want) << c.name;
    }
}

TEST(Anime, LockedFramesRefuseUnforcedChanges) {
    std::vector<AnimeFrame> a0{{1, 10, 1}, {-1, 0, 0}}, a1{{2, 10, 0}, {-1, 0, 0}};
    const AnimeFrame* table[] = {a0.data(), a1.data(), nullptr};
    cAnime a;
    EXPECT_EQ(a.Update(), 0);  // no animations yet
    a.SetTable(table);
    a.SetTable(nullptr);  // changes nothing
    ASSERT_EQ(a.m_vecAnime.size(), 2u);
    EXPECT_EQ(a.Update(), 1);
    EXPECT_EQ(a.Set(1, 0), 0u);
    EXPECT_EQ(a.m_nNo, 0);
    EXPECT_EQ(a.Set(1, 1), 1u);
    EXPECT_EQ(a.GetFrame(), 2);
    a.Update();
    a.Update();
    EXPECT_EQ(a.m_nTick, 2);
    EXPECT_EQ(a.Change(1, 0), 1u);  // already current: not restarted
    EXPECT_EQ(a.m_nTick, 2);
    EXPECT_EQ(a.Change(0, 0), 1u);
    EXPECT_EQ(a.m_nTick, 0);
}

}  // namespace
