// Effect and picture commands that hold the game: the pause loop runs on the pause thread while
// the command waits on the game thread. A holding effect runs while the game is held and ends
// with its animation; a held picture of a given time, or one shown until button 1, is taken away with
// its surface when the hold ends.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/game_loop.h"
#include "flow/cmd_graphics.h"
#include "flow/flow_cmd.h"
#include "play/picture_lists.h"
#include "play/play_scene.h"
#include "play/stage_chara.h"
#include "records/database.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/bmp_writer.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

cFlowCmd Cmd(int kind, std::vector<int32_t> params) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_vecParams = std::move(params);
    return c;
}

class HoldingCmds : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        ASSERT_TRUE(tools::WriteBmp(folder->Root() + "/held.bmp", tools::SolidPicture(40, 30, 0x204060), {}));
        Open();
        g_bAppActive = 1;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        for (int i = 0; i < 200 && (!g_lpPlayScene || g_lpPlayScene->m_nState != PLAY_FRAME); ++i) Frame();
        ASSERT_EQ(g_lpPlayScene->m_nState, PLAY_FRAME);
        g_Database.m_vecPicture.resize(2);
        g_Database.m_vecPicture[1].m_strFile = "held.bmp";
        g_Database.m_vecEffect.resize(2);
        g_Database.m_vecEffect[1].m_vecFrames.resize(1);
        g_Database.m_vecEffect[1].m_vecFrames[0].m_nDuration = 2;  // 12 frames
        Taken();
    }
    void TearDown() override {
        host::SetKeyState('Z', false);
        if (game.joinable()) {
            g_lpPlayScene->m_bQuit = 1;
            Serve(3000);
            game.join();
        }
        SceneFixture::TearDown();
    }
    // Runs a command on a thread standing for the game thread; this one serves the window.
    void Run(const cFlowCmd& cmd) {
        done = false;
        game = std::thread([this, cmd] {
            if (cmd.m_cKind == 29)
                FlowCmdRunEffectImpl(chara, cmd);
            else
                FlowCmdShowPictureImpl(chara, cmd);
            done = true;
        });
    }
    void Serve(DWORD ms) {
        const DWORD start = RealTimeMs();
        while (!done && RealTimeMs() - start < ms) {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
                if (m.message != WM_CLOSE) DispatchMessageA(&m);
            Sleep(1);
        }
    }
    bool Finish(DWORD ms = 5000) {
        Serve(ms);
        if (!done) return false;
        game.join();
        return true;
    }
    cStageChara chara;
    std::thread game;
    std::atomic<bool> done{false};
};

TEST_F(HoldingCmds, AHoldingEffectHoldsTheGameForItsAnimation) {
    Run(Cmd(29, {1, 0, 0, 0, 0, 0, 100, 1}));
    ASSERT_TRUE(Finish());
    EXPECT_EQ(g_lpPlayScene->m_WaitRequest.nMode, 2);
    EXPECT_EQ(g_lpPlayScene->m_WaitRequest.nFrames, -1);  // counted down to its end
    // It ran while the game was held and ended with its animation.
    EXPECT_TRUE(g_lpPlayScene->m_listEffect.empty());
}

TEST_F(HoldingCmds, AHeldPictureGoesWithItsSurfaceWhenTheHoldEnds) {
    // Shown for 0.2 s and holding: gone afterwards.
    Run(Cmd(32, {1, 0, 0, 0, 0, 0, 1, 100, 2, 2, 1, 0, 0, 0, 0}));
    ASSERT_TRUE(Finish());
    EXPECT_TRUE(g_lpPlayScene->m_listPicture.empty());
    EXPECT_TRUE(g_listPictureSurface.empty());
    EXPECT_TRUE(g_listPictureDesc.empty());
    // Shown until button 1: the game waits for the press, then the picture goes; a picture shown
    // before it stays.
    FlowCmdShowPictureImpl(chara, Cmd(32, {1, 0, 0, 0, 0, 0, 0, 100, 1, 0, 0, 0, 0, 0, 0}));
    Run(Cmd(32, {1, 0, 0, 0, 0, 0, 1, 100, 0, 0, 1, 0, 1, 5, 0}));
    Serve(300);
    EXPECT_FALSE(done);
    EXPECT_EQ(g_lpPlayScene->m_listPicture.size(), 2u);
    host::SetKeyState('Z', true);
    ASSERT_TRUE(Finish());
    ASSERT_EQ(g_lpPlayScene->m_listPicture.size(), 1u);
    EXPECT_EQ(g_lpPlayScene->m_listPicture.front().m_bManagedById, 0);
    EXPECT_EQ(g_listPictureSurface.size(), 1u);
}

}  // namespace
