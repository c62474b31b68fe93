// The frame a character shows: its own animation, or the flow animation picked from its list
// (paused ones left out, ended ones removed).
#include <gtest/gtest.h>

#include "media/anime.h"
#include "play/stage_chara.h"

namespace {

// A looping animation of one frame showing `value` for `ticks` ticks, or a one-shot that ends.
void Set(cObjAnime& a, int value, int ticks, bool once) {
    const AnimeFrame frames[] = {{value, ticks, 0}, {once ? ANIME_END : ANIME_LOOP, 0, 0}};
    const AnimeFrame* table[] = {frames, nullptr};
    a->SetTable(table);
    a->Set(0, 1);
}

FLOWANIME Entry(int value, int count, int count2, bool once = false, int paused = 0) {
    FLOWANIME e{};
    Set(e.anime, value, 5, once);
    e.nCount = count;
    e.nCount2 = count2;
    e.bPaused = paused;
    return e;
}

TEST(FlowAnimeDraw, TheFrameShownComesFromTheOwnAnimationOrThePickedFlowAnimation) {
    cStageChara c;
    Set(c.m_Anime, 7, 5, false);
    EXPECT_EQ(c.UpdateAttachments(0), 7);
    // Without a second count the first entry is shown.
    c.m_listFlowAnime.push_back(Entry(11, 10, 0));
    c.m_listFlowAnime.push_back(Entry(12, 3, 0));
    EXPECT_EQ(c.UpdateAttachments(1), 11);
    // With second counts the smallest remaining count wins; paused entries are left out.
    c.m_listFlowAnime.clear();
    c.m_listFlowAnime.push_back(Entry(21, 10, 1));
    c.m_listFlowAnime.push_back(Entry(22, 4, 1, false, 1));
    c.m_listFlowAnime.push_back(Entry(23, 6, 1));
    EXPECT_EQ(c.UpdateAttachments(1), 23);
    // Counts go down by one per update, not while skipped; an animation that ends is removed.
    c.m_listFlowAnime.clear();
    c.m_listFlowAnime.push_back(Entry(31, 10, 0, true));
    for (int i = 0; i < 4; ++i) c.UpdateAttachments(0);
    EXPECT_EQ(c.m_listFlowAnime.front().nCount, 6);
    c.UpdateAttachments(1);
    EXPECT_EQ(c.m_listFlowAnime.front().nCount, 6);
    for (int i = 0; i < 10 && !c.m_listFlowAnime.empty(); ++i) c.UpdateAttachments(0);
    EXPECT_TRUE(c.m_listFlowAnime.empty());
    EXPECT_EQ(c.UpdateAttachments(1), 7);
}

}  // namespace
