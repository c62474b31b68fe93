// Play from a stage file: the WM_USER+2 service with the test driver answering the dialog, and
// StartFromStageFile as start-up calls it for the command-line stage.
#include <gtest/gtest.h>

#include "app/stage_file_service.h"
#include "frontend/play_start.h"
#include "frontend/stage_file_request.h"
#include "records/stage_file.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/records/stage_writer.h"

using namespace scenetest;

namespace {

class StageFileStart : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        folder->MakeFolder("data\\stg4");
        cStage stage;
        MakeSampleStage(stage, 20, 15, 0, 0);
        ASSERT_TRUE(WriteStageFile(*folder, "data\\stg4\\Stage1.stg4_001", stage));
        ASSERT_TRUE(WriteStageFile(*folder, "data\\stg4\\Stage1.stg4_004", stage));
        g_SystemData.m_vecUnlimitedLives[GAME_MODE_STAGEFILE] = 0;
        g_SystemData.m_vecStartLives[GAME_MODE_STAGEFILE] = 3;
    }
};

TEST_F(StageFileStart, TheServiceAnswersWhetherAStageWasChosenAndLoaded) {
    ASSERT_TRUE(folder->WriteFile("data\\stg4\\Short.stg4_001", {1, 2}));
    ASSERT_TRUE(folder->WriteFile("data\\stg4\\Old.rpl4_754", std::vector<uint8_t>(64, 1)));
    struct Case {
        const char* answer;
        int success;
        const char8_t* message;  // in the driver's log, or null for none
    } cases[] = {
        {"answer file cancel\n", 0, nullptr},
        {"answer file choose Stage1.stg4_001\n", 1, nullptr},
        {"answer file choose Short.stg4_001\n", 0, u8"の読み込みに失敗しました！"},
        {"answer file choose Old.rpl4_754\n", 0, u8"Old.rpl4_754 の読み込みに失敗しました！"},
    };
    for (const Case& c : cases) {
        host::script::LoadText(c.answer, folder->Root());
        g_SaveData.m_strPlayerName = "before";
        testing::internal::CaptureStderr();
        EXPECT_EQ(RequestLoadStageFile(), c.success == 1) << c.answer;
        std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(g_bFileDialogDone.load(), 1);
        EXPECT_EQ(g_nFileDialogSuccess.load(), c.success) << c.answer;
        if (c.message)
            EXPECT_NE(log.find((const char*)c.message), std::string::npos) << log;
        else
            EXPECT_EQ(log.find("msgbox"), std::string::npos) << log;
        // The game goes on: nothing asks the program to close.
        EXPECT_FALSE(ClosePosted()) << c.answer;
        if (c.success) {
            EXPECT_EQ(g_SaveData.m_strPlayerName, "aaa");
        }
    }
}

TEST_F(StageFileStart, FromStartUpTheHighestNumberedFilePlaysWithUnlimitedLives) {
    struct Case {
        int startFlag;
        int reserve, lives;
    } cases[] = {{0, 3, 2}, {1, 999999, 999999}};
    for (const Case& c : cases) {
        g_SaveData.m_nScore = 42;
        g_bStageFileStart = c.startFlag;
        ASSERT_EQ(StartFromStageFile("data\\stg4\\Stage1.stg4_001", TRUE), 1);
        EXPECT_EQ(g_LoadedStage.m_strFilePath, "data\\stg4\\Stage1.stg4_004");
        EXPECT_EQ(g_SaveData.m_nScore, 0) << "the play data starts afresh";
        EXPECT_EQ(g_SaveData.m_nStageNumber, 1);
        EXPECT_EQ(StageStartFlag(g_SaveData), 1);
        EXPECT_EQ(g_SaveData.m_nStorySlot, -1);
        EXPECT_EQ(g_SaveData.m_strStageName, "data\\stg4\\Stage1.");
        EXPECT_EQ(g_SaveData.m_nLivesReserve, c.reserve);
        EXPECT_EQ(g_SaveData.m_nLives, c.lives);
    }
    // A name with no numbered file at all fails without a message.
    testing::internal::CaptureStderr();
    EXPECT_EQ(StartFromStageFile("data\\stg4\\None.stg4", TRUE), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("msgbox"), std::string::npos);
}

}  // namespace
