// The program's file choices driven by the script: a stage file, cancelling, a replay saved
// under the caller's proposal, a typed name without an extension, the overwrite question; and
// the names of a multi-selection.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/file_dialog.h"
#include "platform/host/host.h"
#include "platform/host/script.h"
#include "records/system_ini.h"

namespace {

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        host::Init();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        old = cwd;
        dir = std::string(VELMORA_BINARY_DIR) + "/tmp/filedialogs_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "/data/stg4' '" + dir + "/user_data/rpl4'").c_str()),
                  0);
        for (const char* f : {"/data/stg4/c01.stg4_001", "/data/stg4/C01.STG4_002", "/user_data/rpl4/old.rpl4_754"})
            std::ofstream(dir + f) << "x";
        ASSERT_EQ(chdir(dir.c_str()), 0);
        g_SystemIni.nEnglish = 0;
    }
    void TearDown() override {
        host::script::Reset();
        ASSERT_EQ(chdir(old.c_str()), 0);
    }
    // The program's form of a path in the test folder.
    std::string Full(const std::string& rel) const {
        std::string p = WindowsPathFromHost(dir + "/" + rel);
        return p;
    }
    void Answer(const std::string& text) { host::script::LoadText(text, dir); }
    std::string old, dir;
};

TEST_F(FileDialogs, AStageFileIsChosenAndCancellingChoosesNothing) {
    char path[MAX_PATH];
    std::strcpy(path, "left over");
    Answer("answer file choose c01.stg4_001\n");
    ASSERT_TRUE(ChooseStageFile(nullptr, path));
    EXPECT_EQ(std::string(path), Full("data/stg4/c01.stg4_001"));
    Answer("answer file cancel\n");
    EXPECT_FALSE(ChooseStageFile(nullptr, path));
    EXPECT_EQ(path[0], 0);
    // Typed without its number the name has no default extension to add: it is not found.
    Answer("answer file choose c01\nmsgbox ok\nanswer file cancel\n");
    EXPECT_FALSE(ChooseStageFile(nullptr, path));
    // The replay choice lists replays of the replay folder.
    Answer("answer file choose OLD.RPL4_754\n");
    ASSERT_TRUE(ChooseReplayFile(nullptr, path));
    EXPECT_EQ(std::string(path), Full("user_data/rpl4/old.rpl4_754"));
}

TEST_F(FileDialogs, AReplayIsSavedUnderTheProposalOrATypedName) {
    EXPECT_EQ(ReplayExtension(), "rpl4_754");
    char path[MAX_PATH];
    std::strcpy(path, "c01_00.rpl4_754");  // the caller's proposal
    Answer("answer file accept\n");
    ASSERT_TRUE(ChooseReplaySaveFile(nullptr, path));
    EXPECT_EQ(std::string(path), Full("user_data/rpl4/c01_00.rpl4_754"));
    // A name without an extension takes the replay extension, so the load filter finds it.
    std::strcpy(path, "c01_00.rpl4_754");
    Answer("answer file choose mine\n");
    ASSERT_TRUE(ChooseReplaySaveFile(nullptr, path));
    EXPECT_EQ(std::string(path), Full("user_data/rpl4/mine.rpl4_754"));
    // An existing file: asked, No keeps the dialog, the next answer cancels.
    std::strcpy(path, "old.rpl4_754");
    Answer("answer file accept\nmsgbox no\nanswer file cancel\n");
    EXPECT_FALSE(ChooseReplaySaveFile(nullptr, path));
    std::strcpy(path, "old.rpl4_754");
    Answer("answer file accept\nmsgbox yes \"old.rpl4_754\"\n");
    ASSERT_TRUE(ChooseReplaySaveFile(nullptr, path));
    EXPECT_EQ(std::string(path), Full("user_data/rpl4/old.rpl4_754"));
}

TEST(FileNames, AMultiSelectionGivesTheFolderJoinedToEachName) {
    struct Case {
        std::string buffer;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {std::string("\\game\\data\0a.stg4_001\0b.stg4_001\0c.stg4_001\0\0", 45),
         {"\\game\\data\\a.stg4_001", "\\game\\data\\b.stg4_001", "\\game\\data\\c.stg4_001"}},
        {std::string("\\game\\data\\a.stg4_001\0\0", 23), {"\\game\\data\\a.stg4_001"}},
        {std::string("\0\0", 2), {}},
        // A buffer without its final NULs ends at its size.
        {std::string("\\d\0x", 4), {"\\d\\x"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> list;
        CollectFileNames(c.buffer.data(), (int)c.buffer.size(), &list);
        EXPECT_EQ(list, c.want) << c.buffer;
    }
}

TEST_F(FileDialogs, AMultipleOpenFillsTheList) {
    char buf[MAX_PATH];
    std::vector<std::string> list;
    Answer("answer file choose c01.stg4_001 C01.STG4_002\n");
    ASSERT_TRUE(OpenFileDialog(nullptr, buf, sizeof buf, "data\\stg4\\", "t", "S\0*.stg4_*\0", "", 1, &list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], Full("data/stg4/c01.stg4_001"));
    EXPECT_EQ(list[1], Full("data/stg4/C01.STG4_002"));
}

}  // namespace
