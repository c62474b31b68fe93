// The scene framework through the title scene and the scene manager: the music request on
// entry, the first frames and the fades, the hand-over to the next scene, the button latch
// across a scene change, the cursor stack of a new scene, and a scene whose pictures are missing.
#include <gtest/gtest.h>

#include <cstdio>

#include "frontend/scene_title.h"
#include "tests/frontend/scene_fixture.h"

using namespace scenetest;

namespace {

class SceneFrame : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        Open();
    }
    int State() { return Current() ? Current()->m_nState : -99; }
};

const REQUEST kMusic0{WM_REQ_MUSIC, 0};

TEST_F(SceneFrame, TheSlotTuneIsRequestedUnlessItAlreadyPlays) {
    struct Case {
        uint32_t tune;
        int playing;              // the tune the manager records as playing
        bool requested;
    } cases[] = {{0, 0, true}, {0, 5, true}, {3, 0, true}, {3, 3, false}, {3, 2, true}};
    for (const Case& c : cases) {
        g_SystemData.m_vecMenuTunes[0] = c.tune;
        g_SceneManager.m_nTuneNo = c.playing;
        Taken();
        Frame();  // builds the title; its first Run calls Init
        std::vector<REQUEST> r = Taken();
        EXPECT_EQ(std::count(r.begin(), r.end(), kMusic0), c.requested ? 1 : 0) << c.tune << " " << c.playing;
        EXPECT_EQ(g_SceneManager.m_nTuneNo, (int)c.tune);
        g_SceneManager.DestroyAll();
    }
}

TEST_F(SceneFrame, InitDrawsTheFirstFadeStepAndTheMenuFollowsTheFade) {
    Frame();
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(State(), 0);
    // Step 10 degrees: the fade-in's tenth frame draws the whole picture and ends it.
    uint32_t firstCentre = BackPixels()->Get(320, 100);
    EXPECT_EQ(firstCentre & 0xFFFFFF, 0u) << "the first step is black";
    Frames(8);
    EXPECT_EQ(State(), 0);
    Frame();
    EXPECT_EQ(State(), 1);
    EXPECT_NE(BackPixels()->Get(320, 100) & 0xFFFFFF, 0u);
}

TEST_F(SceneFrame, TheFadeOutHandsOverToTheNextScene) {
    g_SystemData.m_vecTitleMenu[TITLE_NEWSTORY].m_bShown = 0;  // the options are entry 4
    Frames(10);
    ASSERT_EQ(State(), 1);
    // Init emptied the request list; one left with entries is emptied again by the fade-out.
    EXPECT_EQ(Current()->m_vecRequest.size(), 1u);
    Current()->m_vecRequest.assign(4, SCENEREQUEST{{1, 2, 3, 4, 5}});
    for (int i = 0; i < 4; ++i) Tap(8);
    Frame(0, 1);  // options
    EXPECT_EQ(State(), 3);
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_OPTION);
    int frames = 0;
    while (g_SceneManager.m_nCurrent == SCENE_TITLE && frames < 30) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(frames, 10);
    EXPECT_EQ(g_SceneManager.m_nPrevious, SCENE_TITLE);
    EXPECT_EQ(g_SceneManager.m_nCurrent, SCENE_OPTION);
    // The fade-out emptied the request list (one cleared entry stays as the current request).
    ASSERT_EQ(g_SceneManager.m_lpScenes[SCENE_TITLE]->m_vecRequest.size(), 1u);
    EXPECT_EQ(g_SceneManager.m_lpScenes[SCENE_TITLE]->m_vecRequest[0].anWord[0], 0);
    // The last fade frame leaves the back buffer in colour 16.
    uint32_t black = BackPixels()->Get(0, 0);
    EXPECT_EQ(BackPixels()->Get(639, 479), black);
    EXPECT_EQ(BackPixels()->Get(320, 240), black);
    // The title object lives until the next frame, which builds the option scene instead.
    EXPECT_NE(g_SceneManager.m_lpScenes[SCENE_TITLE], nullptr);
    Frame();
    EXPECT_EQ(g_SceneManager.m_lpScenes[SCENE_TITLE], nullptr);
    EXPECT_NE(g_SceneManager.m_lpScenes[SCENE_OPTION], nullptr);
    // Its pictures and menu window went with it (a work surface now is the options' own screen).
    for (const DDSURFACEDATA& s : g_vecSceneSurface) EXPECT_EQ(s.nWidth, 640);
    EXPECT_EQ(g_SurfaceData[47].lpDD, nullptr);
}

TEST_F(SceneFrame, AButtonHeldAcrossAChangeOfSceneConfirmsNothing) {
    Frames(10);
    // Options confirmed with button 1, which stays down through the fade-out and the new title.
    g_SceneManager.m_nLastTitleMenu = TITLE_OPTION;
    g_SceneManager.DestroyAll();
    Frames(10);
    ASSERT_EQ(State(), 1);
    Frame(0, 1);
    ASSERT_EQ(g_SceneManager.m_nNext, SCENE_OPTION);
    while (g_SceneManager.m_nCurrent == SCENE_TITLE) Frame(0, 1);
    Frame(0, 1);  // the option scene replaces the title
    ASSERT_EQ(g_SceneManager.m_lpScenes[SCENE_TITLE], nullptr);
    // The option scene is not built yet: come back to a new title while the button is held.
    g_SceneManager.m_nCurrent = SCENE_TITLE;
    g_SceneManager.m_nNext = SCENE_TITLE;
    for (int i = 0; i < 40; ++i) Frame(0, 1);
    EXPECT_EQ(State(), 1) << "the held button must not confirm";
    EXPECT_EQ(g_SceneManager.m_nCurrent, SCENE_TITLE);
    Frame();
    Frame(0, 1);  // released and pressed again: now it confirms
    EXPECT_EQ(State(), 3);
}

TEST_F(SceneFrame, ANewSceneStartsWithOneCursorLevel) {
    // A scene left from a sub-menu never popped its levels.
    g_MenuCursor.Push(0);
    g_MenuCursor.Push(1);
    g_MenuCursor.m_pCurrent->nY = 7;
    Frame();
    EXPECT_EQ(g_MenuCursor.m_vecPos.size(), 1u);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 0);
    EXPECT_EQ(g_MenuCursor.m_pPrevious, nullptr);
}

TEST_F(SceneFrame, MissingPicturesCloseTheProgramWhileTheSceneRunsOn) {
    ASSERT_EQ(std::remove((folder->Root() + "/bmp/Title.bmp").c_str()), 0);
    testing::internal::CaptureStderr();
    Frame();
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(ClosePosted());
    EXPECT_NE(log.find("Title.bmp"), std::string::npos) << log;
    // Frames go on until the shut-down comes; nothing is drawn from the missing picture.
    Frames(20);
    EXPECT_EQ(State(), 1);
}

}  // namespace
