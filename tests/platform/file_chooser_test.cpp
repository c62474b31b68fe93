// The open and save file dialogs, answered by the test driver in a folder built for them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/png.h"
#include "platform/host/script.h"
#include "platform/win32/commdlg.h"
#include "platform/win32/win32.h"
#include "tests/platform/dialog_golden.h"

namespace {

class FileChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::Init();
        // One folder per test: CTest runs the tests side by side.
        root = std::string(VELMORA_BINARY_DIR) + "/tmp/chooser_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(system(("rm -rf '" + root + "' && mkdir -p '" + root + "/data/stg4/Sub' '" + root +
                          "/user_data/rpl4' '" + root + "/data/stg4/an empty folder'")
                             .c_str()),
                  0);
        for (const char* f : {"/data/stg4/A.STG4_001", "/data/stg4/b.stg4_002", "/data/stg4/c.txt",
                              "/data/stg4/d.rpl4_754", "/data/stg4/Sub/inner.stg4_000", "/user_data/rpl4/old.rpl4_754"})
            std::ofstream(root + f) << "x";
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        startDir = cwd;
    }
    void TearDown() override {
        host::script::Reset();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        EXPECT_EQ(startDir, cwd);  // the current directory is never changed
    }
    // The program's form of a folder of the fixture.
    std::string Folder(const std::string& sub) const { return WindowsPathFromHost(root + sub); }

    BOOL Open(const std::string& answers, char* buf, DWORD size, DWORD flags = OFN_FILEMUSTEXIST) {
        host::script::LoadText(answers, root);
        std::memset(buf, 0, size);
        initial = Folder("/data/stg4");
        OPENFILENAMEA o{};
        o.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        o.lpstrFilter = "StageFile ( *.stg4_*;*.rpl4_* )\0*.stg4_*;*.rpl4_*\0";
        o.lpstrFile = buf;
        o.nMaxFile = size;
        o.lpstrInitialDir = initial.c_str();
        o.lpstrTitle = "ステージファイルの読み込み";
        o.Flags = OFN_EXPLORER | OFN_NONETWORKBUTTON | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | flags;
        BOOL r = GetOpenFileNameA(&o);
        offset = o.nFileOffset;
        extension = o.nFileExtension;
        return r;
    }
    BOOL Save(const std::string& answers, char* buf, const char* title = "リプレイファイルの保存") {
        host::script::LoadText(answers, root);
        initial = Folder("/user_data/rpl4") + "\\";
        OPENFILENAMEA o{};
        o.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        o.lpstrFilter = "ReplayFile ( *.rpl4_754 )\0*.rpl4_754\0";
        o.lpstrFile = buf;
        o.nMaxFile = 260;
        o.lpstrInitialDir = initial.c_str();
        o.lpstrTitle = title;
        o.lpstrDefExt = "rpl4_754";
        o.Flags = OFN_EXPLORER | OFN_NONETWORKBUTTON | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
        return GetSaveFileNameA(&o);
    }
    std::string root, startDir, initial;
    WORD offset = 0, extension = 0;
};

TEST_F(FileChooserTest, OpenTakesAListedOrTypedFileAsAFullPath) {
    char buf[260];
    ASSERT_TRUE(Open("answer file choose b.stg4_002\n", buf, sizeof buf));
    std::string want = Folder("/data/stg4") + "\\b.stg4_002";
    EXPECT_EQ(std::string(buf), want);
    EXPECT_EQ(offset, want.size() - std::strlen("b.stg4_002"));
    EXPECT_EQ(std::string(buf + extension), "stg4_002");
    // Names are matched without regard to case; the result names the file as it is.
    ASSERT_TRUE(Open("answer file choose a.stg4_001\n", buf, sizeof buf));
    EXPECT_EQ(std::string(buf), Folder("/data/stg4") + "\\A.STG4_001");
    // A folder name opens the folder; the next name is taken in it.
    ASSERT_TRUE(Open("answer file choose Sub\nanswer file choose inner.stg4_000\n", buf, sizeof buf));
    EXPECT_EQ(std::string(buf), Folder("/data/stg4/Sub") + "\\inner.stg4_000");
    // ".." goes up again.
    ASSERT_TRUE(Open("answer file choose Sub\nanswer file choose ..\nanswer file choose b.stg4_002\n", buf, sizeof buf));
    EXPECT_EQ(std::string(buf), Folder("/data/stg4") + "\\b.stg4_002");
}

TEST_F(FileChooserTest, CancelAMissingFileAndNoAnswerAllGiveFalse) {
    char buf[260];
    std::strcpy(buf, "stale");
    EXPECT_FALSE(Open("answer file cancel\n", buf, sizeof buf));
    EXPECT_EQ(buf[0], 0);
    // A missing file is refused with a message; the dialog stays for the next answer.
    EXPECT_FALSE(Open("answer file choose missing.stg4_001\nmsgbox ok\nanswer file cancel\n", buf, sizeof buf));
    EXPECT_FALSE(Open("msgbox ok\n", buf, sizeof buf));  // no file answer: cancelled
    // A result longer than the program's buffer is a failure, never an overrun.
    char tiny[8];
    EXPECT_FALSE(Open("answer file choose b.stg4_002\n", tiny, sizeof tiny));
}

TEST_F(FileChooserTest, SaveKeepsTheProposalAddsTheExtensionAndAsksBeforeReplacing) {
    char buf[260];
    std::strcpy(buf, "Stage1_00.rpl4_754");
    ASSERT_TRUE(Save("answer file accept\n", buf));
    EXPECT_EQ(std::string(buf), Folder("/user_data/rpl4") + "\\Stage1_00.rpl4_754");
    // A typed name without an extension gets the default one.
    buf[0] = 0;
    ASSERT_TRUE(Save("answer file choose mine\n", buf));
    EXPECT_EQ(std::string(buf), Folder("/user_data/rpl4") + "\\mine.rpl4_754");
    // An existing file: No keeps the dialog open, Yes takes it.
    buf[0] = 0;
    ASSERT_TRUE(Save("answer file choose old\nmsgbox no \"old.rpl4_754\"\nanswer file choose old.rpl4_754\nmsgbox yes\n",
                     buf));
    EXPECT_EQ(std::string(buf), Folder("/user_data/rpl4") + "\\old.rpl4_754");
    // A name in a folder that does not exist is refused.
    EXPECT_FALSE(Save("answer file choose nowhere\\x\nmsgbox ok\nanswer file cancel\n", buf));
}

TEST_F(FileChooserTest, SeveralQuotedNamesGiveTheFolderAndEachName) {
    char buf[260];
    ASSERT_TRUE(Open("answer file choose b.stg4_002 A.STG4_001 d.rpl4_754\n", buf, sizeof buf,
                     OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT));
    std::vector<std::string> parts;
    for (const char* p = buf; *p; p += std::strlen(p) + 1) parts.push_back(p);
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0], Folder("/data/stg4"));
    EXPECT_EQ(parts[1], "b.stg4_002");
    EXPECT_EQ(parts[3], "d.rpl4_754");
}

TEST_F(FileChooserTest, GoldenOfTheListingWithItsFilter) {
    char buf[260];
    EXPECT_FALSE(Open("answer file capture chooser.png\nanswer file cancel\n", buf, sizeof buf));
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(host::ReadPng(root + "/chooser.png", &px, &w, &h));
    // The folder shown is the fixture's, whose path differs from machine to machine: the
    // comparison leaves out the row that shows it.
    for (int y = 0; y < 30 && y < h; ++y)
        for (int x = 60; x < 356 && x < w; ++x) px[(size_t)y * w + x] = 0xF0F0F0;
    testgolden::ExpectGolden("file_chooser_open", px.data(), w, h);
}

}  // namespace
