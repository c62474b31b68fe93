// Game commands in play, frame by frame through the play scene: a character's flow shows a
// message window and holds the game until button 1 is pressed, then goes on; another clears the
// stage by command after a second.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/frame_timer.h"
#include "core/globals.h"
#include "core/thread.h"
#include "play/message_obj.h"
#include "flow/cmd_flow_game.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "play/status_ops.h"
#include "records/replay.h"
#include "records/save_data.h"
#include "records/stage_file.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

constexpr int kHeroCol = 20, kActorCol = 24;

cFlowCmd Cmd(int kind, std::vector<int32_t> params, int time = 0) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_wTime = (uint16_t)time;
    c.m_vecParams = params;
    return c;
}

// Common variable 1 set to a value (the status operation).
cFlowCmd SetVar(int value) {
    std::vector<int32_t> p(18, 0);
    p[0] = 1;  // a variable
    p[1] = 0;  // common
    p[2] = 1;
    p[5] = 0;  // set
    p[7] = value;
    return Cmd(22, p);
}

class CommandPlay : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        Open();
        g_bAppActive = 1;
        g_Replay.Clear();
        g_SystemData.m_bReplay = 0;
        g_SaveData.m_nLives = 2;
        g_SaveData.m_vecCommonVars.assign(1001, 0);
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        ResetFrameTimers();
    }
    void TearDown() override {
        host::SetKeyState('Z', false);
        if (game.joinable()) {
            if (g_lpPlayScene) g_lpPlayScene->m_bQuit = 1;
            Pump([] { return false; }, 3000);
            game.join();
        }
        g_Replay.Clear();
        SceneFixture::TearDown();
    }
    // A stage with a floor, the hero and one character running `flow`.
    void BuildStage(const cFlow& flow) {
        cStage& s = g_LoadedStage;
        s.m_nWidth = 40;
        s.m_nHeight = 30;
        s.m_nHitLevel = 1;
        s.m_dGravity = 0.5;
        for (int x = 0; x < 40; ++x) {
            cBlockRec b;
            b.m_wGraphic = 1;
            b.m_byB12 = 1;
            b.m_sPlaceX = (int16_t)x;
            b.m_sPlaceY = 12;
            s.m_vecBlocks.push_back(b);
        }
        auto placed = [](int col, int role, std::vector<cFlow> flows) {
            cCharaRec c;
            c.m_byRole = (uint8_t)role;
            c.m_wGraphic = 1;
            c.m_sPlaceX = (int16_t)col;
            c.m_sPlaceY = 11;
            c.m_nC39 = 3;
            c.m_vecFlows = flows;
            return c;
        };
        s.m_vecCharas = {placed(kHeroCol, 0, {}), placed(kActorCol, 1, {flow})};
        TakeStageSettings(g_StageSettings, g_LoadedStage);
        Frame();  // the scene is built and the stage set up
        ASSERT_NE(g_lpPlayScene, nullptr);
        g_lpPlayScene->m_nState = PLAY_FRAME;
        Taken();
    }
    // One frame of play on a thread standing for the game thread; this thread stays the window
    // thread and serves its requests.
    void FrameOnGameThread() {
        done = false;
        game = std::thread([this] {
            Frame();
            done = true;
        });
    }
    template <class F> void Pump(F until, DWORD ms) {
        const DWORD start = RealTimeMs();
        while (!done && !until() && RealTimeMs() - start < ms) {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
                if (m.message != WM_CLOSE) DispatchMessageA(&m);
            Sleep(1);
        }
    }
    bool Finish(DWORD ms = 5000) {
        Pump([] { return false; }, ms);
        if (!done) return false;
        game.join();
        return true;
    }
    std::thread game;
    std::atomic<bool> done{false};
};

TEST_F(CommandPlay, AMessageHoldsTheGameUntilButtonOne) {
    // Message: centred, until the key, held; then common variable 1 = 5; then the flow halts.
    std::vector<int32_t> msg(18, 0);
    msg[6] = 0;  // until the key
    msg[8] = 1;  // hold the game
    cFlowCmd show = Cmd(19, msg);
    show.m_strText = "HELLO";
    cFlow flow;
    flow.m_vecCmds = {show, SetVar(5), Cmd(16, {FLOWOP_HALT, FLOWOP_THIS, 0})};
    BuildStage(flow);
    const int steps = g_lpPlayScene->m_nSubStepTotal;
    FrameOnGameThread();
    // The frame stops inside the hold with the window shown.
    Pump([] { return thPause.IsRunning() && g_lpPlayScene->m_WaitRequest.nKeyDelay == 0; }, 5000);
    Pump([] { return false; }, 200);
    ASSERT_FALSE(done);
    ASSERT_EQ(g_lpPlayScene->m_listMessage.size(), 1u);
    EXPECT_EQ(g_lpPlayScene->m_listMessage.front().m_strShown, "HELLO");
    EXPECT_EQ(g_SaveData.m_vecCommonVars[1], 0);
    // Button 1 ends it; the window is gone and the frame finishes.
    host::SetKeyState('Z', true);
    ASSERT_TRUE(Finish());
    host::SetKeyState('Z', false);
    EXPECT_TRUE(g_lpPlayScene->m_listMessage.empty());
    EXPECT_EQ(g_lpPlayScene->m_nSubStepTotal, steps + 1);
    // The flow goes on with its next command at the next step, and runs no second message.
    Frames(3);
    EXPECT_EQ(g_SaveData.m_vecCommonVars[1], 5);
    EXPECT_TRUE(g_lpPlayScene->m_listMessage.empty());
    EXPECT_EQ(g_lpPlayScene->m_nState, PLAY_FRAME);
    EXPECT_FALSE(ClosePosted());
}

TEST_F(CommandPlay, AFlowClearsTheStageByCommand) {
    cFlow flow;
    flow.m_vecCmds = {Cmd(1, {}, 10), Cmd(17, {3, 0, 0, 0, 0, 0, 0, 0, 0})};  // a second, then "world clear"
    BuildStage(flow);
    // The wait lasts 60 frames; the clear command's request ends the play in the frame after.
    int frames = 0;
    while (frames < 120 && g_lpPlayScene->m_nState == PLAY_FRAME) {
        Frame();
        ++frames;
    }
    EXPECT_GE(frames, 60);
    EXPECT_LE(frames, 62);
    EXPECT_TRUE(g_lpPlayScene->m_nState == PLAY_RESULT || g_lpPlayScene->m_nState == PLAY_FADEOUT)
        << g_lpPlayScene->m_nState;
    EXPECT_EQ(g_lpPlayScene->m_bNextStageSet, 1);
    EXPECT_EQ(g_lpPlayScene->m_nNextStage, 0);
    EXPECT_FALSE(ClosePosted());
}

TEST_F(CommandPlay, MessagesByIdAreRedrawnReplacedInPlaceOrErased) {
    cFlow idle;
    idle.m_vecCmds = {Cmd(1, {}, 100)};
    BuildStage(idle);
    cChara& actor = g_listStageChara.front();
    std::list<MessageObj>& list = g_lpPlayScene->m_listMessage;
    auto message = [](const char* text, int byId, int id, int erase) {
        std::vector<int32_t> p(18, 0);
        p[6] = 1;  // until the stage ends
        p[12] = byId;
        p[13] = id;
        p[15] = erase;
        cFlowCmd c = Cmd(19, p);
        c.m_strText = text;
        return c;
    };
    FlowCmdMessageImpl(actor, message("AB", 1, 5, 0), 0);
    FlowCmdMessageImpl(actor, message("X", 0, 0, 0), 0);
    ASSERT_EQ(list.size(), 2u);
    const DDSURFACEDATA* surface = list.front().m_lpSurface;
    // The same extent: drawn again into the same surface.
    FlowCmdMessageImpl(actor, message("CD", 1, 5, 0), 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.front().m_strShown, "CD");
    EXPECT_EQ(list.front().m_lpSurface, surface);
    // A longer text: a new window at the same place in the list.
    FlowCmdMessageImpl(actor, message("ABCDEFGH", 1, 5, 0), 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.front().m_strShown, "ABCDEFGH");
    EXPECT_GT(list.front().m_nTextWidth, list.back().m_nTextWidth);
    EXPECT_EQ(list.back().m_strShown, "X");
    // Erasing: an ID not shown and the erase setting without IDs do nothing.
    FlowCmdMessageImpl(actor, message("", 1, 9, 1), 0);
    FlowCmdMessageImpl(actor, message("", 0, 0, 1), 0);
    EXPECT_EQ(list.size(), 2u);
    FlowCmdMessageImpl(actor, message("", 1, 5, 1), 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.front().m_strShown, "X");
    EXPECT_FALSE(ClosePosted());
}

TEST_F(CommandPlay, AGameWaitHoldsTheGameForItsTime) {
    cFlow flow;
    flow.m_vecCmds = {Cmd(18, {5}), SetVar(7), Cmd(16, {FLOWOP_HALT, FLOWOP_THIS, 0})};  // half a second
    BuildStage(flow);
    FrameOnGameThread();
    Pump([] { return thPause.IsRunning(); }, 5000);
    ASSERT_FALSE(done);
    EXPECT_EQ(g_lpPlayScene->m_listMessage.size(), 1u);  // the empty entry that counts the wait
    ASSERT_TRUE(Finish());  // ends by itself
    EXPECT_EQ(g_lpPlayScene->m_WaitRequest.nFrames, -1);
    EXPECT_TRUE(g_lpPlayScene->m_listMessage.empty());
    Frames(2);
    EXPECT_EQ(g_SaveData.m_vecCommonVars[1], 7);
}

}  // namespace
