// The animation sequencer.
#include <gtest/gtest.h>

#include <vector>

#include "media/anime.h"
#include "records/anime_frame.h"
#include "records/database.h"

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

// The lists the project database precomputes are the sequencer's own tables: record 0 loops
// locked frames of no duration, the others run their frames once, lock from the locked frame on,
// and hand back "finished".
TEST(Anime, RunsTheDatabaseFrameLists) {
    cDatabase db;
    db.m_vecAnime.assign(2, cAnimeRec());
    db.m_vecAnime[0].m_vecFrames.assign(2, cAnimeFrameRec());
    db.m_vecAnime[0].m_vecFrames[0].m_nCell = 1;
    db.m_vecAnime[0].m_vecFrames[1].m_nCell = 2;
    db.m_vecAnime[1].m_vecFrames.assign(2, cAnimeFrameRec());
    db.m_vecAnime[1].m_vecFrames[0].m_nCell = 3;
    db.m_vecAnime[1].m_vecFrames[1].m_nCell = 4;
    db.m_vecAnime[1].m_vecFrames[1].m_nLock = 1;
    ANIMEFRAMETABLE frames;
    db.BuildIndex1(frames);
    ASSERT_EQ(frames.size(), 2u);
    const AnimeFrame* table[] = {frames[0].data(), frames[1].data(), nullptr};

    cAnime a;
    a.SetTable(table);
    std::vector<int> got;
    for (int i = 0; i < 4; ++i) got.push_back(a.Update());
    EXPECT_EQ(got, (std::vector<int>{2, 1, 2, 1}));
    EXPECT_EQ(a.Set(1, 0), 0u);  // record 0 is locked throughout
    ASSERT_EQ(a.Set(1, 1), 1u);

    got.clear();
    for (int i = 0; i < 6; ++i) got.push_back(a.Update());
    EXPECT_EQ(a.Set(0, 0), 0u);  // locked from frame 1 on
    for (int i = 0; i < 7; ++i) got.push_back(a.Update());
    EXPECT_EQ(got, (std::vector<int>{3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, -4, -4}));  // 1/10 s = 6 ticks
    EXPECT_EQ(a.Set(0, 0), 1u);  // a finished animation gives way
}

}  // namespace
