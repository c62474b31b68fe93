// Effect objects (placement on the overlap of two boxes with the jitter, the end of their
// animation, held frames) and effect progress (normal, reverse, back-and-forth, loops, time
// counts) of character and screen effects.
#include <gtest/gtest.h>

#include <array>

#include "platform/win32/crt.h"
#include "play/effect_obj.h"
#include "play/effect_progress.h"
#include "records/database.h"

namespace {

cCharaEffectRec CharaEffect(int kind, std::array<int32_t, 5> p) {
    cCharaEffectRec e;
    e.m_nKind = kind;
    std::copy(p.begin(), p.end(), e.m_anParams);
    return e;
}

cScrEffectRec ScrEffect(int kind, std::array<int32_t, 5> p) {
    cScrEffectRec e;
    e.m_nKind = kind;
    std::copy(p.begin(), p.end(), e.m_anParams);
    return e;
}

cEffectRec Effect(int w, int h, int scaling, int frames) {
    cEffectRec e;
    e.m_nWidth = w;
    e.m_nHeight = h;
    e.m_bScaling = scaling;
    e.m_vecFrames.resize((size_t)frames);  // each one tenth of a second: 6 frames
    for (int i = 0; i < frames; ++i) e.m_vecFrames[(size_t)i].m_nCell = i;
    return e;
}

class EffectTest : public testing::Test {
protected:
    void SetUp() override {
        saved = g_Database;
        cDatabase& db = g_Database;
        // 1: 0 -> 60 in 1/10 s (10 a frame); 2: start = end; 3: blink, a pure time count.
        db.m_vecCharaEffect = {CharaEffect(0, {}), CharaEffect(1, {1, 0, 60, 0, 0}), CharaEffect(7, {1, 5, 5, 0, 0}),
                               CharaEffect(6, {2, 3, 0, 0, 0})};
        // 1: shake (time kinds get from/to/step from the renderer); 2: bands 0 -> 30; 3: bands 7 -> 7.
        db.m_vecScrEffect = {ScrEffect(0, {}), ScrEffect(2, {1, 4, 2, 0, 0}), ScrEffect(4, {1, 0, 30, 3, 0}),
                             ScrEffect(4, {2, 7, 7, 3, 0})};
        db.m_vecEffect = {Effect(32, 32, 0, 0), Effect(32, 16, 1, 2), Effect(20, 20, 0, 1), Effect(32, 32, 0, 0)};
        db.CopyReversedTables();
        db.BuildIndex2(EffectFrameTable);
        db.BuildIndex3(CharaEffectStates, CharaEffectStatesReversed);
        db.BuildIndex4(ScrEffectStates, ScrEffectStatesReversed);
    }
    void TearDown() override { g_Database = saved; }
    // Steps until finished; the number of steps (limit + 1 when it never finished).
    static int StepsToEnd(CHARAEFFECTSTATE& s, int limit = 200) {
        for (int i = 1; i <= limit; ++i)
            if (StepCharaEffect(s)) return i;
        return limit + 1;
    }
    cDatabase saved;
};

TEST_F(EffectTest, CharaEffectRunsNormalReverseAndAsATimeCount) {
    CHARAEFFECTSTATE s;
    StartCharaEffect(s, 1, EFFECT_RUN_NORMAL, 0);
    EXPECT_EQ(s.nId, 1);
    EXPECT_EQ(s.bReversed, 0);
    EXPECT_EQ(StepCharaEffect(s), 0);
    EXPECT_DOUBLE_EQ(s.dValue, 10.0);
    EXPECT_EQ(StepsToEnd(s), 6);  // 20 .. 60 still run, 70 is past the end

    StartCharaEffect(s, 1, EFFECT_RUN_REVERSE, 0);  // the prepared reverse state
    EXPECT_EQ(s.bReversed, 1);
    EXPECT_EQ(s.nFrom, 60);
    EXPECT_EQ(s.nTo, 0);
    EXPECT_DOUBLE_EQ(s.dValue, 60.0);
    EXPECT_DOUBLE_EQ(s.dRate, 10.0);
    EXPECT_EQ(StepsToEnd(s), 7);

    // start = end: runs its duration (one tenth of a second, six frames) as a time count.
    StartCharaEffect(s, 2, EFFECT_RUN_NORMAL, 0);
    int n = StepsToEnd(s);
    EXPECT_GE(n, 6);
    EXPECT_LE(n, 7);
    StartCharaEffect(s, 3, EFFECT_RUN_NORMAL, 0);  // the blink counts two tenths
    n = StepsToEnd(s);
    EXPECT_GE(n, 12);
    EXPECT_LE(n, 13);
}

TEST_F(EffectTest, BackAndForthTurnsOnceOrSwingsForeverAndLoopsStartAgain) {
    CHARAEFFECTSTATE s;
    StartCharaEffect(s, 1, EFFECT_RUN_SWING, 0);
    for (int i = 0; i < 7; ++i) ASSERT_EQ(StepCharaEffect(s), 0) << i;
    EXPECT_EQ(s.bReversed, 1);  // turned back at the end
    EXPECT_EQ(s.nRunMode, EFFECT_RUN_SWING);
    EXPECT_EQ(s.nFrom, 60);
    EXPECT_DOUBLE_EQ(s.dValue, 60.0);
    EXPECT_EQ(StepsToEnd(s), 7);  // down to 0, then finished

    StartCharaEffect(s, 1, EFFECT_RUN_SWING, 1);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(StepCharaEffect(s), 0) << i;
        ASSERT_GE(s.dValue, 0.0);
        ASSERT_LE(s.dValue, 70.0);
    }
    StartCharaEffect(s, 1, EFFECT_RUN_NORMAL, 1);
    for (int i = 0; i < 7; ++i) StepCharaEffect(s);
    EXPECT_EQ(s.bReversed, 0);
    EXPECT_DOUBLE_EQ(s.dValue, 0.0);  // started again from the start value
    EXPECT_EQ(s.nCounter, 0);
}

TEST_F(EffectTest, ScreenEffectStepsByTheRendererOrByTime) {
    SCREFFECTSTATE s;
    StartScreenEffect(s, 2, EFFECT_RUN_NORMAL, 0);  // 0 -> 30 by 5
    int n = 0;
    while (!StepScreenEffect(s, 0, 30, 5.0) && n < 100) ++n;
    EXPECT_EQ(n, 6);  // 5 .. 30 run; 35 ends
    StartScreenEffect(s, 2, EFFECT_RUN_REVERSE, 0);
    EXPECT_DOUBLE_EQ(s.dValue, 30.0);
    n = 0;
    while (!StepScreenEffect(s, 30, 0, 5.0) && n < 100) ++n;
    EXPECT_EQ(n, 6);
    StartScreenEffect(s, 2, EFFECT_RUN_SWING, 0);  // there and back
    n = 0;
    while (!StepScreenEffect(s, s.bReversed ? 30 : 0, s.bReversed ? 0 : 30, 5.0) && n < 100) ++n;
    EXPECT_EQ(n, 13);

    // The same start and end values run as a time count of two tenths.
    StartScreenEffect(s, 3, EFFECT_RUN_NORMAL, 0);
    EXPECT_EQ(s.bTimeBased, 1);
    n = 0;
    while (!StepScreenEffect(s, 7, 7, 0.0) && n < 100) ++n;
    EXPECT_GE(n, 11);
    EXPECT_LE(n, 12);
    // A shake runs from 0 to its duration with the rate the renderer passes; a loop never ends.
    StartScreenEffect(s, 1, EFFECT_RUN_NORMAL, 1);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(StepScreenEffect(s, 0, s.nDuration, s.dRate), 0);
}

TEST_F(EffectTest, BadEffectIdIsReportedAndTakesTheFirst) {
    CHARAEFFECTSTATE s;
    StartCharaEffect(s, 99, EFFECT_RUN_NORMAL, 0);
    EXPECT_EQ(s.nFrom, 0);
    EXPECT_EQ(s.nTo, 0);
    SCREFFECTSTATE t;
    StartScreenEffect(t, -1, EFFECT_RUN_REVERSE, 0);
    EXPECT_EQ(t.bTimeBased, 0);
    EffectObj e;
    e.Create(50, EFFECTRECT{0, 0, 9, 9}, EFFECTRECT{0, 0, 9, 9}, 1);  // the first effect: no frames
    EXPECT_EQ(e.Draw(0), 1);
}

TEST_F(EffectTest, CreatePlacesTheEffectOnTheOverlapWithAJitter) {
    struct Case {
        EFFECTRECT a, b;
        int id;
        int8_t scale;
        double cx, cy;  // the placement before the jitter
        int w, h, stretched, jitter;
    } cases[] = {
        // overlap (10,20)-(29,39): 20 x 20, centre (20,30); the cell 32 x 16
        {{0, 0, 29, 39}, {10, 20, 100, 100}, 1, 1, 10 + 10 - 16, 20 + 10 - 8, 32, 16, 0, 4},
        // a scalable effect at scale 2 is drawn twice the size, the jitter doubles
        {{0, 0, 29, 39}, {10, 20, 100, 100}, 1, 2, 10 + 10 - 32, 20 + 10 - 16, 64, 32, 1, 8},
        // not scalable: the scale is ignored
        {{0, 0, 29, 39}, {10, 20, 100, 100}, 2, 3, 10 + 10 - 10, 20 + 10 - 10, 20, 20, 0, 4},
        // no overlap: around (0,0) less half the size
        {{0, 0, 9, 9}, {50, 50, 60, 60}, 1, 1, 0 - 16, 0 - 8, 32, 16, 0, 4},
    };
    for (const Case& c : cases) {
        bool low = false, high = false;
        for (unsigned seed = 1; seed <= 200; ++seed) {
            crt::srand(seed);
            EffectObj e;
            e.Create(c.id, c.a, c.b, c.scale);
            ASSERT_EQ(e.m_nWidth, c.w);
            ASSERT_EQ(e.m_nHeight, c.h);
            ASSERT_EQ(e.m_bStretched, c.stretched);
            ASSERT_EQ(e.m_bAdvanceWhileHeld, 0);
            double dx = e.m_dX - c.cx, dy = e.m_dY - c.cy;
            ASSERT_GE(dx, -c.jitter);
            ASSERT_LE(dx, c.jitter);
            ASSERT_GE(dy, -c.jitter);
            ASSERT_LE(dy, c.jitter);
            low |= dx == -c.jitter;
            high |= dx == c.jitter;
        }
        EXPECT_TRUE(low && high) << "the jitter reaches both bounds";
    }
}

TEST_F(EffectTest, DrawEndsWithTheAnimationAndHeldFramesStandStill) {
    EffectObj e;
    e.Create(1, EFFECTRECT{0, 0, 9, 9}, EFFECTRECT{0, 0, 9, 9}, 1);  // two frames of 6
    for (int i = 0; i < 11; ++i) ASSERT_EQ(e.Draw(0), 0) << i;
    EXPECT_EQ(e.Draw(0), 1);

    e.Create(1, EFFECTRECT{0, 0, 9, 9}, EFFECTRECT{0, 0, 9, 9}, 1);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(e.Draw(1), 0);  // held: does not advance
    for (int i = 0; i < 11; ++i) ASSERT_EQ(e.Draw(0), 0);
    EXPECT_EQ(e.Draw(0), 1);

    EffectObj at;  // the effect command's form may run on while the game waits
    at.CreateAt(2, 100.0, 50.0, 20, 20, 1);
    EXPECT_EQ(at.m_bStretched, 0);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(at.Draw(1), 0);
    EXPECT_EQ(at.Draw(1), 1);
    at.CreateAt(2, 100.0, 50.0, 40, 40, 0);
    EXPECT_EQ(at.m_bStretched, 1);

    std::list<EffectObj> list(3);
    list.front().Create(2, EFFECTRECT{0, 0, 9, 9}, EFFECTRECT{0, 0, 9, 9}, 1);
    (++list.begin())->Create(3, EFFECTRECT{0, 0, 9, 9}, EFFECTRECT{0, 0, 9, 9}, 1);  // no frames
    list.back().Create(1, EFFECTRECT{0, 0, 9, 9}, EFFECTRECT{0, 0, 9, 9}, 1);
    DrawEffectList(list, 0);
    EXPECT_EQ(list.size(), 2u);
    for (int i = 0; i < 5; ++i) DrawEffectList(list, 0);
    EXPECT_EQ(list.size(), 1u);
}

}  // namespace
