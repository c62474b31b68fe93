// The same stage, seed and input give the same play, whether frames are captured or not: the
// real binary plays a stage whose characters act by their flows (a walker patrolling between
// two walls, a character that jumps when the hero comes near, a shooter firing at the hero)
// while the hero walks into them, under the virtual clock. One run captures a frame every 30
// frames, the other only the 600th; the 600th frames are identical pixel for pixel.
#include <gtest/gtest.h>

#include <string>

#include "flow/ed_move.h"
#include "flow/ed_shot.h"
#include "platform/host/png.h"
#include "records/stage.h"
#include "tools/game/sample_game.h"
#include "tools/records/stage_writer.h"
#include "tools/testsupport/process.h"

namespace {

std::string Player() { return std::string(VELMORA_BINARY_DIR) + "/velmora-player"; }

std::vector<std::string> Env(const cGameFolder& folder) {
    return {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "DISPLAY=", "VELMORA_CLOCK=virtual",
            "VELMORA_SCRIPT=" + folder.Root() + "/run.script", "VELMORA_RUNTIME_DIR=" + folder.Root() + "/.runtime"};
}

cFlowCmd MoveCmd(int kind, int time, int speed) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_wTime = (uint16_t)time;
    c.CreateEdMove();
    c.m_pMove->Speed() = (uint16_t)speed;
    return c;
}

cCharaRec Placed(int col, int role, int dir, std::vector<cFlow> flows) {
    cCharaRec c;
    c.m_byRole = (uint8_t)role;
    c.m_wGraphic = 1;
    c.m_byC28 = (uint8_t)dir;
    c.m_sPlaceX = (int16_t)col;
    c.m_sPlaceY = 11;
    c.m_nPlaceValue = -1;
    c.m_nC39 = 3;
    c.m_vecFlows = std::move(flows);
    return c;
}

void MakeFlowStage(cStage& s) {
    MakeSampleStage(s, 40, 15, 0, 0);
    s.m_vecCharas.clear();
    s.m_vecBlocks.clear();
    s.m_vecItems.clear();
    s.m_nHitLevel = 2;
    cBlockRec b;
    b.m_wGraphic = 1;
    b.m_byB12 = 1;
    auto block = [&](int x, int y) {
        b.m_sPlaceX = (int16_t)x;
        b.m_sPlaceY = (int16_t)y;
        s.m_vecBlocks.push_back(b);
    };
    for (int x = 0; x < 40; ++x) block(x, 12);
    block(3, 11);
    block(9, 11);
    cFlow patrol;
    patrol.m_vecCmds = {MoveCmd(3, 600, 20)};
    cFlow jump;
    cFlowCond near;
    near.m_cKind = 7;
    near.m_nValue = 5;
    near.m_byShape = 6;
    jump.m_vecConds = {near};
    cFlowCmd j;
    j.m_cKind = 10;
    j.m_vecParams = {0, 0, 4, 0, 0};
    jump.m_vecCmds = {j};
    cFlow fire;
    cFlowCmd shot;
    shot.m_cKind = 11;
    shot.m_wTime = 10;
    shot.CreateEdShot();
    shot.m_pShot->FormationCount() = 1;
    shot.m_pShot->Speed() = 30;
    shot.m_pShot->Group() = 1;
    cFlowCmd wait;
    wait.m_cKind = 1;
    wait.m_wTime = 20;
    fire.m_vecCmds = {shot, wait};
    s.m_vecCharas = {Placed(12, 0, 1, {}), Placed(6, 1, 1, {patrol}), Placed(14, 1, 0, {jump}),
                     Placed(19, 1, 0, {fire})};
}

// Plays the stage for 600 frames with the player pressing keys now and then; captures at the
// frames given and always at 600. The pixels of frame 600.
std::vector<uint32_t> Play(const std::string& name, const std::vector<int>& captures) {
    cGameFolder folder(std::string(VELMORA_BINARY_DIR) + "/tmp", name);
    EXPECT_TRUE(WriteSampleGame(folder));
    cStage stage;
    MakeFlowStage(stage);
    EXPECT_TRUE(WriteStageFile(folder, "data\\stg4\\flows.stg4_001", stage));
    std::string script = "at 60 key down RIGHT\nat 200 key up RIGHT\nat 320 key down LEFT\nat 380 key up LEFT\n";
    for (int f : captures) script += "at " + std::to_string(f) + " capture f" + std::to_string(f) + ".png\n";
    script += "at 600 capture f600.png\nat 601 close\ntimeout 120\n";
    folder.WriteFile("run.script", std::vector<uint8_t>(script.begin(), script.end()));
    auto r = testsupport::RunProcess({Player(), "data\\stg4\\flows.stg4"}, Env(folder), folder.Root(), 120000);
    EXPECT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    EXPECT_TRUE(host::ReadPng(folder.Root() + "/f600.png", &px, &w, &h)) << r.err;
    if (!captures.empty()) {
        // The play moved: an earlier frame differs from the last.
        std::vector<uint32_t> early;
        EXPECT_TRUE(host::ReadPng(folder.Root() + "/f" + std::to_string(captures.front()) + ".png", &early, &w, &h));
        EXPECT_NE(early, px);
    }
    return px;
}

TEST(Determinism, TheSamePlayWhetherFramesAreCapturedOrNot) {
    std::vector<int> every30;
    for (int f = 30; f < 600; f += 30) every30.push_back(f);
    const std::vector<uint32_t> captured = Play("determinism_captured", every30);
    const std::vector<uint32_t> plain = Play("determinism_plain", {});
    ASSERT_FALSE(captured.empty());
    EXPECT_EQ(captured.size(), plain.size());
    EXPECT_TRUE(captured == plain) << "frame 600 differs between the two runs";
}

}  // namespace
