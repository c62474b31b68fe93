// WM_USER+3 and WM_USER+4 served on the window thread, with the test driver answering the file
// dialogs: replays saved under the proposed or a typed name, loaded into the current replay,
// stage and play data; cancelled, unreadable and unwritable files answered as failures that
// change nothing and leave the program running.
#include <gtest/gtest.h>

#include <memory>

#include "core/globals.h"
#include "core/requests.h"
#include "app/replay_service.h"
#include "core/report.h"
#include "media/player_input.h"
#include "platform/host/host.h"
#include "platform/host/script.h"
#include "platform/win32/files.h"
#include "records/record_writer.h"
#include "records/replay.h"
#include "records/stage.h"
#include "records/stage_file.h"
#include "records/system_data.h"
#include "records/system_ini.h"
#include "records/world_map.h"
#include "tools/records/game_folder.h"
#include "tools/records/save_writer.h"
#include "tools/testsupport/process.h"

namespace {

LRESULT QuietProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class ReplayService : public ::testing::Test {
protected:
    void SetUp() override {
        host::Init();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::make_unique<cGameFolder>(std::string(VELMORA_BINARY_DIR) + "/tmp/app", info->name());
        folder_->MakeLayout();
        folder_->MakeFolder("user_data\\rpl4");
        report_ = folder_->Root() + "/Report_Game.txt";
        ASSERT_EQ(OpenReport(WindowsPathFromHost(report_).c_str()), 1);
        folder_->Enter();
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = QuietProc;
            wc.lpszClassName = "ReplayServiceMain";
            RegisterClassExA(&wc);
            registered = true;
        }
        main_ = CreateWindowExA(0, "ReplayServiceMain", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
        g_hMainWnd = main_;
        g_SystemIni.nEnglish = 0;
        ResetGlobals();
        g_bFileDialogDone = 0;
        g_nFileDialogSuccess = -1;
    }
    void TearDown() override {
        host::script::Reset();
        SetRecordWriteFailureAfter(-1);
        g_hMainWnd = nullptr;
        DestroyWindow(main_);
        ResetGlobals();
        folder_->Leave();
        folder_.reset();
    }
    static void ResetGlobals() {
        g_Replay = cReplay();
        g_ReplayPrev = cReplay();
        g_SaveData = cSaveData();
        g_SaveDataAttempt = cSaveData();
        g_SaveDataPrevAttempt = cSaveData();
        g_LoadedStage = cStage();
        g_StageSettings = cStage();
    }
    void Answer(const std::string& script) { host::script::LoadText(script, folder_->Root()); }
    // The answer of the last request; true when it was a success.
    bool Succeeded() const {
        EXPECT_EQ(g_bFileDialogDone.load(), 1);
        return g_nFileDialogSuccess.load() == 1;
    }
    // WM_CLOSE posted to the main window since the last call.
    bool ClosePosted() {
        MSG m;
        bool any = false;
        while (PeekMessageA(&m, main_, WM_CLOSE, WM_CLOSE, PM_REMOVE)) any = true;
        return any;
    }
    std::string Report() const { return testsupport::ReadFile(report_); }

    std::unique_ptr<cGameFolder> folder_;
    std::string report_;
    HWND main_ = nullptr;
};

void Record(cReplay& r, std::initializer_list<std::pair<WORD, WORD>> frames) {
    cPlayerInput in;
    for (auto [dir, button] : frames) {
        in.m_wKey = dir;
        in.m_wButton = button;
        r.Record(in);
    }
}

TEST_F(ReplayService, SavedUnderTheProposalAndLoadedBack) {
    MakeReplayStage(g_LoadedStage);
    TakeStageSettings(g_StageSettings, g_LoadedStage);
    g_SaveData.m_strStageName = "Stage1.";
    Record(g_Replay, {{1, 0}, {1, 0}, {2, 4}});
    g_SaveDataAttempt.m_nScore = 300;
    Record(g_ReplayPrev, {{8, 8}});
    g_SaveDataPrevAttempt.m_nScore = 200;

    Answer("answer file accept\n");
    ServeSaveReplayRequest(0);
    ASSERT_TRUE(Succeeded());
    ASSERT_TRUE(folder_->Exists("user_data\\rpl4\\Stage1_00.rpl4_754"));
    // The previous attempt, under a typed name that takes the replay extension.
    Answer("answer file choose prev\n");
    ServeSaveReplayRequest(1);
    ASSERT_TRUE(Succeeded());
    ASSERT_TRUE(folder_->Exists("user_data\\rpl4\\prev.rpl4_754"));
    // The next proposal is the next free number.
    Answer("answer file accept\n");
    ServeSaveReplayRequest(0);
    ASSERT_TRUE(Succeeded());
    EXPECT_TRUE(folder_->Exists("user_data\\rpl4\\Stage1_01.rpl4_754"));

    // Loading the previous attempt's file makes it the current replay, stage and play data.
    ResetGlobals();
    Answer("answer file choose prev.rpl4_754\n");
    ServeLoadReplayRequest(main_);
    ASSERT_TRUE(Succeeded());
    EXPECT_EQ(g_Replay.m_vecDirValues, std::vector<uint16_t>{8});
    EXPECT_EQ(g_SaveData.m_nScore, 200);
    EXPECT_TRUE(g_LoadedStage.HasHero());
    EXPECT_EQ(g_LoadedStage.m_strFilePath, WindowsPathFromHost(folder_->Root() + "/user_data/rpl4/prev.rpl4_754"));
    Answer("answer file choose Stage1_00.rpl4_754\n");
    ServeLoadReplayRequest(main_);
    ASSERT_TRUE(Succeeded());
    EXPECT_EQ(g_Replay.m_vecDirRuns, (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(g_SaveData.m_nScore, 300);
    EXPECT_FALSE(ClosePosted());
}

TEST_F(ReplayService, CancelledDialogsDoNothing) {
    Record(g_Replay, {{1, 0}});
    g_SaveData.m_strStageName = "Stage1.";
    Answer("answer file cancel\n");
    ServeSaveReplayRequest(0);
    EXPECT_FALSE(Succeeded());
    EXPECT_FALSE(folder_->Exists("user_data\\rpl4\\Stage1_00.rpl4_754"));
    g_bFileDialogDone = 0;
    Answer("answer file cancel\n");
    ServeLoadReplayRequest(main_);
    EXPECT_FALSE(Succeeded());
    EXPECT_EQ(g_Replay.m_vecDirValues, std::vector<uint16_t>{1});
}

// A replay that cannot be read shows a message, is answered as a failure and leaves everything
// as it was; the program goes on.
TEST_F(ReplayService, AFailedLoadChangesNothingAndTheGameGoesOn) {
    cStage stage;
    MakeReplayStage(stage);
    cReplay bad;
    Record(bad, {{1, 1}});
    bad.m_vecButtonRuns.push_back(3);  // value and run lists of different lengths
    cSaveData snapshot;
    snapshot.m_nScore = 999;
    ASSERT_TRUE(folder_->WriteFile("user_data\\rpl4\\bad.rpl4_754", ReplayFileImage(stage, bad, snapshot)));

    MakeReplayStage(g_LoadedStage);
    g_LoadedStage.m_nFrameRate = 45;
    g_LoadedStage.m_strFilePath = "data\\stg4\\c01-1.stg4_000";
    Record(g_Replay, {{2, 2}});
    g_SaveData.m_nScore = 5;
    Answer("answer file choose bad.rpl4_754\nmsgbox ok\n");
    ServeLoadReplayRequest(main_);
    EXPECT_FALSE(Succeeded());
    EXPECT_FALSE(ClosePosted());
    EXPECT_EQ(g_Replay.m_vecDirValues, std::vector<uint16_t>{2});
    EXPECT_EQ(g_SaveData.m_nScore, 5);
    EXPECT_EQ(g_LoadedStage.m_nFrameRate, 45);
    EXPECT_EQ(g_LoadedStage.m_strFilePath, "data\\stg4\\c01-1.stg4_000");
    EXPECT_NE(Report().find("its value and run lists differ in length"), std::string::npos);
}

TEST_F(ReplayService, AFailedSaveKeepsTheOldFileAndTheGameGoesOn) {
    MakeReplayStage(g_LoadedStage);
    g_SaveData.m_strStageName = "Stage1.";
    Record(g_Replay, {{1, 0}});
    ASSERT_TRUE(folder_->WriteFile("user_data\\rpl4\\keep.rpl4_754", {1, 2, 3}));
    SetRecordWriteFailureAfter(20);
    Answer("answer file choose keep.rpl4_754\nmsgbox yes\nmsgbox ok\n");
    ServeSaveReplayRequest(0);
    EXPECT_FALSE(Succeeded());
    EXPECT_FALSE(ClosePosted());
    EXPECT_EQ(folder_->ReadFile("user_data\\rpl4\\keep.rpl4_754"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_NE(Report().find("the replay could not be written"), std::string::npos);
}

}  // namespace
