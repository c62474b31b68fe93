// The move and shot parts of commands read from files: each command's parts are its own, they
// live as long as anything holds them (the list or stage that read them may go first), and
// commands read on one thread may be released on another.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <span>
#include <thread>

#include "flow/flow.h"
#include "records/database.h"
#include "records/stage.h"
#include "tests/records/test_support.h"
#include "tools/records/stage_writer.h"

using namespace recordtest;

namespace {

class FlowCmdPartsTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        CreateDefaultDatabase(g_Database);
    }
};

// Command i of a sample flow holds, by i % 4: both parts, the move only, the shot only, none;
// its parts carry values of its own. More commands than one allocation of parts holds.
constexpr int kCommands = 150;
bool HasMove(int i) { return i % 4 == 0 || i % 4 == 1; }
bool HasShot(int i) { return i % 4 == 0 || i % 4 == 2; }
uint16_t MoveMark(int i) { return (uint16_t)(100 + i); }
int32_t ShotMark(int i) { return 100000 + i; }

cFlow CommandsFlow(int n = kCommands) {
    cFlow f;
    for (int i = 0; i < n; ++i) {
        cFlowCmd cmd;
        cmd.m_cKind = 11;
        cmd.m_wTime = (uint16_t)i;
        if (HasMove(i)) {
            cmd.CreateEdMove();
            cmd.m_pMove->Speed() = MoveMark(i);
            cmd.m_pMove->AccelFactor() = 0.5 * i;
        }
        if (HasShot(i)) {
            cmd.CreateEdShot();
            cmd.m_pShot->Power() = ShotMark(i);
            cmd.m_pShot->Graphic() = (uint16_t)(i % 120);
        }
        f.m_vecCmds.push_back(cmd);
    }
    return f;
}

const std::vector<uint8_t>& CommandsImage() {
    static const std::vector<uint8_t> image = [] {
        cFlow f = CommandsFlow();
        return FileImage(f);
    }();
    return image;
}

// The number of commands whose parts differ from what CommandsFlow gave command i (0: all as
// written). `moveMark` and `shotMark` give the marks expected instead.
template <class Cmds>
int Mismatches(const Cmds& cmds, uint16_t (*moveMark)(int) = MoveMark, int32_t (*shotMark)(int) = ShotMark) {
    int bad = 0;
    for (int i = 0; i < (int)cmds.size(); ++i) {
        const cFlowCmd& c = cmds[i];
        bool ok = c.m_wTime == i && (bool)c.m_pMove == HasMove(i) && (bool)c.m_pShot == HasShot(i);
        if (ok && c.m_pMove) ok = c.m_pMove->Speed() == moveMark(i) && c.m_pMove->AccelFactor() == 0.5 * i;
        if (ok && c.m_pShot) ok = c.m_pShot->Power() == shotMark(i) && c.m_pShot->Graphic() == i % 120;
        bad += ok ? 0 : 1;
    }
    return bad;
}

TEST_F(FlowCmdPartsTest, EachReadCommandHoldsPartsOfItsOwn) {
    cFlow f;
    ASSERT_TRUE(ReadImage(f, CommandsImage()));
    ASSERT_EQ(f.m_vecCmds.size(), (size_t)kCommands);
    EXPECT_EQ(Mismatches(f.m_vecCmds), 0);
    EXPECT_EQ(FileImage(f), CommandsImage());

    std::set<const void*> parts;
    for (const cFlowCmd& c : f.m_vecCmds) {
        if (c.m_pMove) {
            EXPECT_TRUE(parts.insert(c.m_pMove.get()).second);
        }
        if (c.m_pShot) {
            EXPECT_TRUE(parts.insert(c.m_pShot.get()).second);
        }
    }
    // Changing one command's parts changes no other command.
    for (int i = 0; i < kCommands; ++i) {
        cFlowCmd& c = f.m_vecCmds[i];
        if (c.m_pMove) c.m_pMove->Speed() = (uint16_t)(5000 + i);
        if (c.m_pShot) c.m_pShot->Power() = -i;
        int others = 0;
        for (int j = i + 1; j < kCommands; ++j) {
            const cFlowCmd& o = f.m_vecCmds[j];
            others += (o.m_pMove && o.m_pMove->Speed() != MoveMark(j)) || (o.m_pShot && o.m_pShot->Power() != ShotMark(j));
        }
        ASSERT_EQ(others, 0) << "after changing command " << i;
    }
    EXPECT_EQ(Mismatches(f.m_vecCmds, [](int i) { return (uint16_t)(5000 + i); }, [](int i) { return -i; }), 0);
}

// A command that already holds parts gets new ones from a read (or none): parts held elsewhere
// keep their values.
TEST_F(FlowCmdPartsTest, ReadingOverACommandReplacesItsParts) {
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        cFlowCmd written = CommandsFlow(4).m_vecCmds[i];
        const std::vector<uint8_t> image = FileImage(written);
        cFlowCmd cmd;
        cmd.CreateEdMove();
        cmd.CreateEdShot();
        cmd.m_pMove->Speed() = 7;
        cmd.m_pShot->Power() = 7;
        const boost::shared_ptr<cEdMove> oldMove = cmd.m_pMove;
        const boost::shared_ptr<cEdShot> oldShot = cmd.m_pShot;
        ASSERT_TRUE(ReadImage(cmd, image));
        EXPECT_EQ((bool)cmd.m_pMove, HasMove(i));
        EXPECT_EQ((bool)cmd.m_pShot, HasShot(i));
        EXPECT_EQ(cmd.m_pMove ? cmd.m_pMove->Speed() : MoveMark(i), MoveMark(i));
        EXPECT_EQ(cmd.m_pShot ? cmd.m_pShot->Power() : ShotMark(i), ShotMark(i));
        EXPECT_NE(cmd.m_pMove, oldMove);
        EXPECT_NE(cmd.m_pShot, oldShot);
        EXPECT_EQ(oldMove->Speed(), 7);
        EXPECT_EQ(oldShot->Power(), 7);
    }
}

TEST_F(FlowCmdPartsTest, CommandsAndPartsOutliveTheListThatReadThem) {
    auto f = std::make_unique<cFlow>();
    ASSERT_TRUE(ReadImage(*f, CommandsImage()));
    cFlowCmd moved = std::move(f->m_vecCmds[40]);
    const cFlowCmd copied = f->m_vecCmds[80];
    const boost::shared_ptr<cEdShot> shot = f->m_vecCmds[122].m_pShot;
    const boost::shared_ptr<cEdMove> move = f->m_vecCmds[149].m_pMove;
    f.reset();
    // Another read fills the room the first one left.
    cFlow again;
    ASSERT_TRUE(ReadImage(again, CommandsImage()));
    EXPECT_EQ(moved.m_pMove->Speed(), MoveMark(40));
    EXPECT_EQ(moved.m_pShot->Power(), ShotMark(40));
    EXPECT_EQ(copied.m_pMove->Speed(), MoveMark(80));
    EXPECT_EQ(copied.m_pShot->Power(), ShotMark(80));
    EXPECT_EQ(shot->Power(), ShotMark(122));
    EXPECT_EQ(move->Speed(), MoveMark(149));
    again.m_vecCmds[40].m_pMove->Speed() = 1;
    EXPECT_EQ(moved.m_pMove->Speed(), MoveMark(40));
    EXPECT_EQ(Mismatches(std::span<cFlowCmd>(again.m_vecCmds).first(40)), 0);
}

TEST_F(FlowCmdPartsTest, FlowsOfAStageOutliveTheStage) {
    cStage built;
    MakeSampleStage(built, 40, 20, 60, 3);
    const std::vector<uint8_t> image = StageFileImage(built);
    auto stage = std::make_unique<cStage>();
    ASSERT_TRUE(ReadImage(*stage, image));
    ASSERT_EQ(stage->m_vecCharas.size(), built.m_vecCharas.size());
    const std::vector<cFlow> flows = stage->m_vecCharas.back().m_vecFlows;
    const cFlowCmd cmd = std::move(stage->m_vecCharas[30].m_vecFlows[2].m_vecCmds[0]);
    const boost::shared_ptr<cEdShot> shot = stage->m_vecCharas[10].m_vecFlows[1].m_vecCmds[0].m_pShot;
    stage.reset();
    const cFlowCmd& want = built.m_vecCharas[30].m_vecFlows[2].m_vecCmds[0];
    EXPECT_EQ(cmd.m_pMove->Speed(), want.m_pMove->Speed());
    EXPECT_EQ(cmd.m_pShot->Power(), want.m_pShot->Power());
    EXPECT_EQ(shot->Power(), built.m_vecCharas[10].m_vecFlows[1].m_vecCmds[0].m_pShot->Power());
    ASSERT_EQ(flows.size(), 3u);
    for (size_t i = 0; i < flows.size(); ++i)
        EXPECT_EQ(flows[i].m_vecCmds[0].m_pShot->Graphic(), built.m_vecCharas.back().m_vecFlows[i].m_vecCmds[0].m_pShot->Graphic());
}

TEST_F(FlowCmdPartsTest, ACopyOfAReadCommandHasPartsOfItsOwn) {
    cFlow f;
    ASSERT_TRUE(ReadImage(f, CommandsImage()));
    cFlowCmd copy(f.m_vecCmds[0]);
    cFlowCmd assigned;
    assigned = f.m_vecCmds[4];
    for (const cFlowCmd* c : {&copy, &assigned}) {
        EXPECT_NE(c->m_pMove.get(), f.m_vecCmds[0].m_pMove.get());
        EXPECT_NE(c->m_pMove.get(), f.m_vecCmds[4].m_pMove.get());
    }
    copy.m_pMove->Speed() = 1;
    copy.m_pShot->Power() = 1;
    f.m_vecCmds[4].m_pShot->Power() = 2;
    EXPECT_EQ(f.m_vecCmds[0].m_pMove->Speed(), MoveMark(0));
    EXPECT_EQ(f.m_vecCmds[0].m_pShot->Power(), ShotMark(0));
    EXPECT_EQ(assigned.m_pShot->Power(), ShotMark(4));
    // A copy of the whole flow: its commands' parts are copies too.
    cFlow whole(f);
    whole.m_vecCmds[8].m_pMove->Speed() = 3;
    EXPECT_EQ(f.m_vecCmds[8].m_pMove->Speed(), MoveMark(8));
    EXPECT_EQ(whole.m_vecCmds[12].m_pShot->Power(), ShotMark(12));
}

TEST_F(FlowCmdPartsTest, CommandsReadOnOneThreadAreReleasedOnAnother) {
    // Read on a thread that ends before the commands are looked at and released.
    std::unique_ptr<cFlow> fromThread;
    std::thread reader([&] {
        auto f = std::make_unique<cFlow>();
        if (ReadImage(*f, CommandsImage())) fromThread = std::move(f);
    });
    reader.join();
    ASSERT_TRUE(fromThread);
    EXPECT_EQ(Mismatches(fromThread->m_vecCmds), 0);
    fromThread.reset();

    // Read here while another thread releases what was read before: the commands released
    // there share their allocations with the commands being read here.
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<std::unique_ptr<cFlow>> queue;
    bool done = false;
    int bad = 0;
    std::thread releaser([&] {
        for (;;) {
            std::unique_ptr<cFlow> f;
            {
                std::unique_lock<std::mutex> lock(mutex);
                ready.wait(lock, [&] { return done || !queue.empty(); });
                if (queue.empty()) return;
                f = std::move(queue.front());
                queue.pop_front();
            }
            const int mismatches = Mismatches(f->m_vecCmds);
            f.reset();
            std::lock_guard<std::mutex> lock(mutex);
            bad += mismatches;
        }
    });
    cFlow written = CommandsFlow(37);
    const std::vector<uint8_t> image = FileImage(written);
    for (int round = 0; round < 200; ++round) {
        auto f = std::make_unique<cFlow>();
        const bool read = ReadImage(*f, image);
        std::lock_guard<std::mutex> lock(mutex);
        bad += read ? 0 : 1;
        queue.push_back(std::move(f));
        ready.notify_one();
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
        ready.notify_one();
    }
    releaser.join();
    EXPECT_EQ(bad, 0);
}

}  // namespace
