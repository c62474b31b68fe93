// Creating "data\" from "default\" and the fixed folder list.
#include <gtest/gtest.h>

#include "platform/host/script.h"
#include "records/data_folder.h"
#include "records/data_paths.h"
#include "records/record_writer.h"
#include "test_support.h"

using namespace recordtest;

namespace {

class DataFolderTest : public RecordTest {
protected:
    void TearDown() override {
        host::script::Reset();
        SetRecordWriteFailureAfter(-1);
        RecordTest::TearDown();
    }
    void Answer(const char* answer) {
        ASSERT_TRUE(host::script::LoadText(std::string("msgbox ") + answer + "\n", folder_->Root()));
    }
    void MakeDefault() {
        folder_->WriteFile("default\\System.dat", {1, 2, 3, 4});
        folder_->WriteFile("default\\database\\Anime.dat", {5, 6});
        folder_->WriteFile("default\\stg4\\c01-1.stg4_001", std::vector<uint8_t>(70000, 7));
    }
};

TEST_F(DataFolderTest, AnExistingDataFolderIsTakenWithoutAQuestion) {
    folder_->MakeFolder("data");
    Answer("no");  // a question would be answered No and fail
    EXPECT_EQ(CreateDataFolder(nullptr), 1);
}

TEST_F(DataFolderTest, WithoutDefaultNothingIsAsked) {
    Answer("yes");
    EXPECT_EQ(CreateDataFolder(nullptr), 0);
    EXPECT_FALSE(folder_->Exists("data"));
}

TEST_F(DataFolderTest, YesCopiesDefaultIntoData) {
    MakeDefault();
    Answer("yes");
    EXPECT_EQ(CreateDataFolder(nullptr), 1);
    EXPECT_EQ(folder_->ReadFile("data\\System.dat"), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(folder_->ReadFile("data\\database\\Anime.dat"), (std::vector<uint8_t>{5, 6}));
    EXPECT_EQ(folder_->ReadFile("data\\stg4\\c01-1.stg4_001"), std::vector<uint8_t>(70000, 7));
    EXPECT_FALSE(folder_->Exists(g_pszDataCopyFolder));
    EXPECT_TRUE(folder_->Exists("default\\System.dat"));
    // A second start finds data\ and goes on at once.
    Answer("no");
    EXPECT_EQ(CreateDataFolder(nullptr), 1);
}

TEST_F(DataFolderTest, NoLeavesEverythingAsItWas) {
    MakeDefault();
    Answer("no");
    EXPECT_EQ(CreateDataFolder(nullptr), 0);
    EXPECT_FALSE(folder_->Exists("data"));
}

TEST_F(DataFolderTest, AFailedCopyLeavesNoDataFolder) {
    MakeDefault();
    folder_->WriteFile(std::string(g_pszDataCopyFolder) + "\\stale.dat", {9});  // left by a crash
    Answer("yes");
    SetRecordWriteFailureAfter(100);  // the large stage file fails
    EXPECT_EQ(CreateDataFolder(nullptr), 0);
    SetRecordWriteFailureAfter(-1);
    EXPECT_FALSE(folder_->Exists("data"));
    EXPECT_FALSE(folder_->Exists(g_pszDataCopyFolder));
    EXPECT_TRUE(folder_->Exists("default\\stg4\\c01-1.stg4_001"));
    EXPECT_NE(Report().find("Copy Err default\\stg4\\c01-1.stg4_001"), std::string::npos) << Report();
}

TEST_F(DataFolderTest, AFileNamedDataIsNotReplaced) {
    MakeDefault();
    folder_->WriteFile("data", {1});
    Answer("yes");
    EXPECT_EQ(CreateDataFolder(nullptr), 0);
    EXPECT_EQ(folder_->ReadFile("data"), std::vector<uint8_t>{1});
    EXPECT_FALSE(folder_->Exists(g_pszDataCopyFolder));
}

TEST_F(DataFolderTest, TheFolderListIsCreatedEveryTimeAndFailuresAreReported) {
    EXPECT_EQ(CreateDataFolders(), 1);
    for (const char* f : g_DataFolders) EXPECT_TRUE(folder_->Exists(f)) << f;
    EXPECT_EQ(CreateDataFolders(), 1);  // all exist already
    // A file where a folder belongs: that folder and the ones inside it are reported.
    ClearReport();
    folder_->WriteFile("bmp_file", {1});
    ASSERT_EQ(rename("bmp", "bmp_gone"), 0);
    ASSERT_EQ(rename("bmp_file", "bmp"), 0);
    EXPECT_EQ(CreateDataFolders(), 0);
    EXPECT_NE(Report().find("CreateDirectory Err bmp\n"), std::string::npos) << Report();
    EXPECT_NE(Report().find("CreateDirectory Err bmp\\hbt"), std::string::npos) << Report();
    EXPECT_EQ(Report().find("CreateDirectory Err wave"), std::string::npos) << Report();
}

}  // namespace
