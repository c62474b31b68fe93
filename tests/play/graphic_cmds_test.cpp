// The commands of graphics, animations, effects, pictures, screen, backgrounds and sound: each
// placement option, effect and picture sizes, pictures managed by ID (replaced in place, erased
// alone), backgrounds shown and toggled, sounds and music requested, flow animations started by
// the command and by the wind-up schedule, and the first-step-only rule of these commands.
#include <gtest/gtest.h>

#include "flow/cmd_graphics.h"
#include "flow/flow.h"
#include "flow/flow_cmd.h"
#include "flow/flow_run.h"
#include "play/hero.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "records/database.h"
#include "records/stage.h"
#include "tests/play/play_draw_fixture.h"
#include "tools/bmp_writer.h"

using namespace scenetest;

namespace {

cFlowCmd Cmd(int kind, std::vector<int32_t> params, int time = 0) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_wTime = (uint16_t)time;
    c.m_vecParams = std::move(params);
    return c;
}

cAnimeFrameRec AnimeFrameRec(int cell, int tenths, int lock = 0) {
    cAnimeFrameRec f;
    f.m_nCell = cell;
    f.m_nDuration = tenths;
    f.m_nLock = lock;
    return f;
}

class GraphicCmds : public playdraw::PlayDrawFixture {
protected:
    void SetUp() override {
        PlayDrawFixture::SetUp();
        ResetGraphicCmdReports();
        ResetFlowAnimeReports();
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);
        ScrollTo(100, 40);
        scene->m_ScrollX.m_nMargin = 10;
        scene->m_ScrollY.m_nMargin = 2;
        chara.m_nRectLeft = 200, chara.m_nRectTop = 100;
        chara.m_nGraphWidth = 32, chara.m_nGraphHeight = 48;
        g_vecHero.assign(1, cHero());
        cHero& h = g_vecHero[0];
        h.m_nId = kHeroId;
        h.m_nRectLeft = 300, h.m_nRectTop = 320;
        h.m_nGraphWidth = 32, h.m_nGraphHeight = 32;
        // Effect 1: a 33 x 21 cell shown 0.2 s then 0.3 s.
        g_Database.m_vecEffect.assign(2, cEffectRec());
        cEffectRec& e = g_Database.m_vecEffect[1];
        e.m_nWidth = 33, e.m_nHeight = 21;
        e.m_vecFrames.resize(2);
        e.m_vecFrames[0].m_nDuration = 2;
        e.m_vecFrames[1].m_nDuration = 3;
        // Pictures 1 (40 x 30) and 2 (20 x 10).
        ASSERT_TRUE(tools::WriteBmp(folder->Root() + "/pic1.bmp", tools::SolidPicture(40, 30, 0x102030), {}));
        ASSERT_TRUE(tools::WriteBmp(folder->Root() + "/pic2.bmp", tools::SolidPicture(20, 10, 0x405060), {}));
        g_Database.m_vecPicture.assign(3, cPictureRec());
        g_Database.m_vecPicture[1].m_strFile = "pic1.bmp";
        g_Database.m_vecPicture[2].m_strFile = "pic2.bmp";
        // Animation 1: cells 5, 6 (the loop point) and 7.
        g_Database.m_vecAnime.assign(2, cAnimeRec());
        g_Database.m_vecAnime[1].m_vecFrames = {AnimeFrameRec(5, 1), AnimeFrameRec(6, 2, 1), AnimeFrameRec(7, 1)};
    }
    void TearDown() override {
        g_Database.m_vecEffect.clear();
        g_Database.m_vecPicture.clear();
        g_Database.m_vecAnime.clear();
        g_vecHero.clear();
        g_StageSettings = cStage();
        PlayDrawFixture::TearDown();
    }
    // A picture command: number, placement option 4 at block (1, 2), size percent, ID setting.
    void Picture(int number, int percent = 100, int byId = 0, int id = 0) {
        FlowCmdShowPictureImpl(chara, Cmd(32, {number, 4, 1, 2, 0, 0, 0, percent, 2, 100, 0, 0, byId, id, 0}));
    }
    std::vector<int> Shown() {
        std::vector<int> ids;
        for (const PictureObj& p : scene->m_listPicture) ids.push_back(p.m_wPictureId);
        return ids;
    }
    cStageChara chara;
};

TEST_F(GraphicCmds, EachPlacementOptionGivesItsTopLeftCorner) {
    struct Case {
        int option;
        double x, y;
    } cases[] = {
        {PLACE_SCREEN_CENTRE, 100 + 320 - 10 + 3, 40 + 240 - 5 + 4},
        {PLACE_CHARA_CENTRE, 200 + 16 + 100 - 10 + 3, 100 + 24 + 40 - 5 + 4},
        {PLACE_HERO_CENTRE, 300 + 16 + 100 - 10 + 3, 320 + 16 + 40 - 5 + 4},
        {PLACE_SCREEN_BLOCKS, 6 * 32 + 100 + 3, 7 * 32 + 40 + 4},
        {PLACE_STAGE_BLOCKS, (6 + 10) * 32 + 3, (7 + 2) * 32 + 4},
        {5, -1, -1},  // unknown: unchanged
    };
    for (const Case& c : cases) {
        double x = -1, y = -1;
        PlaceByOption(x, y, 21, 11, chara, c.option, 6, 7, 3, 4);  // half sizes 10 and 5
        EXPECT_EQ(x, c.x) << c.option;
        EXPECT_EQ(y, c.y) << c.option;
    }
    // Without a hero option 2 leaves the place as it was.
    g_vecHero.clear();
    double x = -1, y = -1;
    PlaceByOption(x, y, 21, 11, chara, PLACE_HERO_CENTRE, 6, 7, 3, 4);
    EXPECT_EQ(x, -1);
}

TEST_F(GraphicCmds, EffectsAreSizedByPercentRoundedAndEffectZeroClearsThemAll) {
    FlowCmdRunEffectImpl(chara, Cmd(29, {1, PLACE_SCREEN_CENTRE, 0, 0, 0, 0, 50, 0}));
    ASSERT_EQ(scene->m_listEffect.size(), 1u);
    const EffectObj& e = scene->m_listEffect.back();
    EXPECT_EQ(e.m_nWidth, 17);  // 16.5 and 10.5 rounded away from zero
    EXPECT_EQ(e.m_nHeight, 11);
    EXPECT_EQ(e.m_dX, 100 + 320 - 8);
    EXPECT_EQ(e.m_dY, 40 + 240 - 5);
    // The effect keeps its stage place when the view moves on.
    ScrollTo(300, 40);
    EXPECT_EQ(scene->m_listEffect.back().m_dX, 100 + 320 - 8);
    // A size outside 1-1000 % is held at the range's end; an effect number out of the list does
    // nothing and says so.
    FlowCmdRunEffectImpl(chara, Cmd(29, {1, PLACE_STAGE_BLOCKS, 0, 0, 0, 0, 5000, 0}));
    EXPECT_EQ(scene->m_listEffect.back().m_nWidth, 330);
    FlowCmdRunEffectImpl(chara, Cmd(29, {7, 0, 0, 0, 0, 0, 100, 0}));
    EXPECT_EQ(scene->m_listEffect.size(), 2u);
    EXPECT_NE(Report().find("effect 7 out of range"), std::string::npos);
    FlowCmdRunEffectImpl(chara, Cmd(29, {0, 0, 0, 0, 0, 0, 100, 0}));
    EXPECT_TRUE(scene->m_listEffect.empty());
    // The hold of a holding effect lasts the effect's frames: (2 + 3) tenths x 6.
    EXPECT_EQ(EffectHoldFrames(1), 30);
    EXPECT_EQ(EffectHoldFrames(9), 0);
}

TEST_F(GraphicCmds, PicturesByIdAreReplacedInPlaceAndErasedAlone) {
    Picture(1, 100, 1, 7);
    Picture(2, 100, 1, 8);
    Picture(1);
    EXPECT_EQ(Shown(), (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(g_listPictureSurface.size(), 3u);
    EXPECT_EQ(g_listPictureDesc.size(), 3u);
    const PictureObj& first = scene->m_listPicture.front();
    EXPECT_EQ(first.m_dX, (1 + 10) * 32);
    EXPECT_EQ(first.m_dY, (2 + 2) * 32);
    EXPECT_EQ(first.m_nWidth, 40);
    // The same ID with another picture: replaced where it stood, so the order stays.
    Picture(2, 50, 1, 7);
    EXPECT_EQ(Shown(), (std::vector<int>{2, 2, 1}));
    EXPECT_EQ(scene->m_listPicture.front().m_nWidth, 10);
    EXPECT_EQ(scene->m_listPicture.front().m_nHeight, 5);
    EXPECT_EQ(g_listPictureSurface.front().nWidth, 20);  // the surfaces stay in step
    // Number 0 with an ID erases that picture only, and nothing when no picture has it.
    Picture(0, 100, 1, 8);
    EXPECT_EQ(Shown(), (std::vector<int>{2, 1}));
    Picture(0, 100, 1, 99);
    EXPECT_EQ(Shown(), (std::vector<int>{2, 1}));
    EXPECT_EQ(g_listPictureSurface.size(), 2u);
    // A number out of the list does nothing; number 0 without the ID setting erases them all.
    Picture(5);
    EXPECT_EQ(Shown().size(), 2u);
    EXPECT_NE(Report().find("picture 5 out of range"), std::string::npos);
    Picture(0);
    EXPECT_TRUE(scene->m_listPicture.empty());
    EXPECT_TRUE(g_listPictureSurface.empty());
    EXPECT_TRUE(g_listPictureDesc.empty());
}

TEST_F(GraphicCmds, APictureOfOneFrameAndPicturesOfBothLayersAreDrawnWhereTheyBelong) {
    // Shown for one frame, screen-fixed, front layer, placed at the screen centre.
    FlowCmdShowPictureImpl(chara, Cmd(32, {1, PLACE_SCREEN_CENTRE, 0, 0, 0, 0, 1, 100, 2, 50, 0, 1, 0, 0, 1}));
    ASSERT_EQ(scene->m_listPicture.size(), 1u);
    const PictureObj& p = scene->m_listPicture.front();
    EXPECT_EQ(p.m_nTimeLeft, 1);
    EXPECT_EQ(p.m_nLayer, 1);
    EXPECT_EQ(p.m_bScreenFixed, 1);
    EXPECT_EQ(p.m_nScreenX, 320 - 20);
    EXPECT_EQ(p.m_nScreenY, 240 - 15);
    DrawPictures(scene.get(), &g_BackBufferSD, 0, 0);
    EXPECT_EQ(scene->m_listPicture.size(), 1u);  // drawn only in the front pass
    DrawPictures(scene.get(), &g_BackBufferSD, 1, 0);
    DrawPictures(scene.get(), &g_BackBufferSD, 1, 0);
    DrawPictures(scene.get(), &g_BackBufferSD, 1, 0);
    EXPECT_TRUE(scene->m_listPicture.empty());  // its frame is over
    EXPECT_TRUE(g_listPictureSurface.empty());
    // A layer other than 0 and 1 is drawn in front, so its time runs out as well.
    FlowCmdShowPictureImpl(chara, Cmd(32, {1, PLACE_SCREEN_CENTRE, 0, 0, 0, 0, 7, 100, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(scene->m_listPicture.front().m_nLayer, 1);
}

TEST_F(GraphicCmds, BackgroundsAreShownHiddenAndToggledByNumberFromOne) {
    std::vector<cBackgroundRec>& backs = g_StageSettings.m_vecBackgrounds;
    backs.assign(8, cBackgroundRec());
    for (cBackgroundRec& b : backs) b.m_anBC[0] = 1;
    struct Case {
        int number, action, shown1, shown8;
    } cases[] = {
        {1, 1, 0, 1}, {1, 2, 1, 1}, {1, 2, 0, 1}, {1, 2, 1, 1},  // toggled twice: as it was
        {8, 1, 1, 0}, {8, 0, 1, 1}, {9, 1, 1, 1}, {0, 1, 1, 1}, {-3, 1, 1, 1}, {1, 3, 1, 1},
    };
    for (const Case& c : cases) {
        FlowCmdBackgroundImpl(chara, Cmd(34, {c.number, c.action}));
        EXPECT_EQ(backs[0].m_anBC[0], c.shown1) << c.number << " " << c.action;
        EXPECT_EQ(backs[7].m_anBC[0], c.shown8) << c.number << " " << c.action;
    }
}

TEST_F(GraphicCmds, SoundsAndMusicAreRequested) {
    Requests().clear();
    FlowCmdSoundImpl(chara, Cmd(35, {0}));  // number 0 plays nothing
    FlowCmdSoundImpl(chara, Cmd(35, {3}));
    cFlowCmd quiet = Cmd(35, {4});
    quiet.m_bySoundCond = 1;
    chara.m_nInput = 0;  // out of view
    FlowCmdSoundImpl(chara, quiet);
    chara.m_nInput = 1;
    FlowCmdSoundImpl(chara, quiet);
    FlowCmdMusicImpl(chara, Cmd(36, {2, 1}));
    EXPECT_EQ(Requests(), (std::vector<REQUEST>{{WM_REQ_SOUND, 19}, {WM_REQ_SOUND, 20}, {WM_REQ_MUSIC, 4}}));
}

TEST_F(GraphicCmds, GraphicWordsAndEffectsOfTheCharacter) {
    FlowCmdChangeGraphicImpl(chara, Cmd(26, {4, 12, -5}));
    EXPECT_EQ(chara.m_Def.m_byGraphicKind, 4);
    EXPECT_EQ(chara.m_Def.m_wGraphic, 12);
    EXPECT_EQ((int16_t)chara.m_Def.m_wC15, -5);
    // Character and screen effects: numbers out of the prepared lists do nothing.
    CharaEffectStates.assign(3, CHARAEFFECTSTATE{});
    ScrEffectStates.assign(3, SCREFFECTSTATE{});
    FlowCmdCharaEffectImpl(chara, Cmd(30, {2, 0, 1}));
    EXPECT_EQ(chara.m_CharaEffect.nId, 2);
    EXPECT_EQ(chara.m_CharaEffect.bLoop, 1);
    FlowCmdCharaEffectImpl(chara, Cmd(30, {3, 0, 0}));
    EXPECT_EQ(chara.m_CharaEffect.nId, 2);
    FlowCmdScreenEffectImpl(chara, Cmd(31, {1, 0, 0}));
    EXPECT_EQ(scene->m_ScreenEffect.State.nId, 1);
    FlowCmdScreenEffectImpl(chara, Cmd(31, {-1, 0, 0}));
    EXPECT_EQ(scene->m_ScreenEffect.State.nId, 1);
    CharaEffectStates.clear();
    ScrEffectStates.clear();
    // The screen colour takes the eight values, colour held to 0-255.
    FlowCmdScreenColourImpl(chara, Cmd(33, {300, 20, -4, 50, 0, 10, 1, 0}));
    EXPECT_EQ(scene->m_ScreenColour.byRed, 255);
    EXPECT_EQ(scene->m_ScreenColour.byBlue, 0);
    EXPECT_EQ(scene->m_ScreenColour.nTime, 60);
}

TEST_F(GraphicCmds, TheRunAnimationCommandPutsOneFlowAnimationInFrontOncePerRun) {
    FlowCmdRunAnimImpl(chara, Cmd(28, {1}));
    ASSERT_EQ(chara.m_listFlowAnime.size(), 1u);
    EXPECT_EQ(chara.m_listFlowAnime.front().nFlowId, -1);  // no flow runs
    EXPECT_EQ(chara.m_listFlowAnime.front().nCount, (1 + 2) * 6);  // up to the loop point
    EXPECT_EQ(chara.UpdateAttachments(1), 5);  // shown over the own animation
    FlowCmdRunAnimImpl(chara, Cmd(28, {9}));  // out of the list
    EXPECT_EQ(chara.m_listFlowAnime.size(), 1u);
    // In a flow: a command of 1 s runs 60 steps but starts its animation once, tagged.
    chara.m_listFlowAnime.clear();
    cFlow f;
    f.m_vecCmds = {Cmd(28, {1}, 10)};
    chara.m_Def.m_vecFlows.assign(1, f);
    for (auto& v : chara.m_avecGroupStop) v.assign(kFlowGroupCount, 0);
    chara.m_nHP = 1;
    chara.BuildFlowRuns(chara.m_Def.m_vecFlows, 0, -1);
    cFlowRun& run = chara.m_vecFlowRun[0];
    run.Start(chara);
    scene->m_lpRunChara = &chara;
    for (int i = 0; i < 30; ++i) chara.StepFlowRuns(0);
    ASSERT_EQ(chara.m_listFlowAnime.size(), 1u);
    EXPECT_EQ(chara.m_listFlowAnime.front().nFlowId, run.m_nFlowId);
    // The animation plays once and leaves the list: 4 frames of 6, 12 and 6 ticks.
    for (int i = 0; i < 24; ++i) chara.UpdateAttachments(0);
    EXPECT_TRUE(chara.m_listFlowAnime.empty());
}

TEST_F(GraphicCmds, AWindUpAnimationStartsSoThatItEndsAsItsCommandStarts) {
    // A wait of 1 s (60 steps), then a command with animation 1 as its wind-up (18 steps up to
    // the loop point): the animation starts at step 42.
    cFlowCmd wait = Cmd(1, {}, 10);
    cFlowCmd act = Cmd(1, {}, 1);
    act.m_wAnime = 1;
    cFlow f;
    f.m_vecCmds = {wait, act};
    chara.m_Def.m_vecFlows.assign(1, f);
    for (auto& v : chara.m_avecGroupStop) v.assign(kFlowGroupCount, 0);
    chara.m_nHP = 1;
    chara.BuildFlowRuns(chara.m_Def.m_vecFlows, 0, -1);
    chara.m_vecFlowRun[0].Start(chara);
    for (int i = 0; i < 42; ++i) chara.StepFlowRuns(0);
    EXPECT_TRUE(chara.m_listFlowAnime.empty());
    chara.StepFlowRuns(0);
    ASSERT_EQ(chara.m_listFlowAnime.size(), 1u);
    EXPECT_EQ(chara.m_listFlowAnime.front().nFlowId, chara.m_vecFlowRun[0].m_nFlowId);
    EXPECT_EQ(chara.m_listFlowAnime.front().nCount, 18);
    EXPECT_EQ(chara.m_listFlowAnime.front().nCount2, 1);
    for (int i = 0; i < 100; ++i) chara.StepFlowRuns(0);
    EXPECT_EQ(chara.m_listFlowAnime.size(), 1u);  // started once
}

}  // namespace
