// The path mapping, directory listings, relative and full paths, the runtime's generator.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win32/codepage.h"
#include "platform/win32/win32.h"

namespace {

// A fresh folder under the build tree, made the current directory for the test.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        old_ = cwd;
        dir_ = std::string(VELMORA_BINARY_DIR) + "/tmp/files_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::string cmd = "rm -rf '" + dir_ + "' && mkdir -p '" + dir_ + "'";
        ASSERT_EQ(system(cmd.c_str()), 0);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override { ASSERT_EQ(chdir(old_.c_str()), 0); }
    static void Touch(const std::string& hostPath, const std::string& content = "x") {
        std::ofstream(hostPath) << content;
    }
    std::string old_, dir_;
};

TEST_F(FilesTest, BackslashesMapToSlashesButNeverInsideATwoByteCharacter) {
    // "表" is 0x95 0x5C in Shift-JIS: its trail byte is the backslash code.
    std::string sj = "data\\表\\a.txt";
    EXPECT_EQ(HostPathFromWindows(sj.c_str()), "data/" + Cp932ToUtf8("表") + "/a.txt");
    ASSERT_EQ(mkdir("data", 0755), 0);
    ASSERT_EQ(mkdir(Cp932ToUtf8("data/表").c_str(), 0755), 0);
    Touch(Cp932ToUtf8("data/表/a.txt"), "hello");
    FILE* fp = crt::fopen(sj.c_str(), "rt");
    ASSERT_NE(fp, nullptr);
    char buf[8] = {};
    EXPECT_EQ(fread(buf, 1, 5, fp), 5u);
    fclose(fp);
    EXPECT_STREQ(buf, "hello");
}

TEST_F(FilesTest, ComponentsMatchWithoutCaseAndNewNamesAreKept) {
    ASSERT_EQ(mkdir("Data", 0755), 0);
    ASSERT_EQ(mkdir("Data/Stg4", 0755), 0);
    Touch("Data/Stg4/Stage1.STG4_001");
    EXPECT_EQ(HostPathFromWindows("data\\stg4\\stage1.stg4_001"), "Data/Stg4/Stage1.STG4_001");
    EXPECT_EQ(HostPathFromWindows("DATA\\STG4\\new.txt"), "Data/Stg4/new.txt");
    EXPECT_EQ(HostPathFromWindows("data\\missing\\deeper\\x"), "Data/missing/deeper/x");
    EXPECT_NE(GetFileAttributesA("DATA\\stg4\\STAGE1.stg4_001"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA("data\\stg4\\stage2.stg4_001"), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(GetFileAttributesA("data\\STG4") & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FilesTest, JapaneseNamesOnDiskAreFoundInShiftJis) {
    Touch(Cp932ToUtf8("背景その1.bmp"));
    EXPECT_NE(GetFileAttributesA("背景その1.bmp"), INVALID_FILE_ATTRIBUTES);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA("*.BMP", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(fd.cFileName, "背景その1.bmp");
    EXPECT_FALSE(FindNextFileA(h, &fd));
    FindClose(h);
}

TEST_F(FilesTest, DirectoriesAndListings) {
    EXPECT_TRUE(CreateDirectoryA("user_data", nullptr));
    EXPECT_FALSE(CreateDirectoryA("USER_DATA", nullptr));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryA("nothere\\child", nullptr));
    EXPECT_TRUE(PathIsDirectoryA("user_data"));
    Touch("user_data/a.rpl4_754");
    Touch("user_data/b.rpl4_754");
    Touch("user_data/c.txt");
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA("user_data\\*.rpl4_*", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    int n = 1;
    while (FindNextFileA(h, &fd)) ++n;
    FindClose(h);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(FindFirstFileA("user_data\\*.none", &fd), INVALID_HANDLE_VALUE);
}

TEST_F(FilesTest, FullAndRelativePaths) {
    char full[MAX_PATH];
    ASSERT_GT(GetFullPathNameA("data\\..\\Report_Game.txt", MAX_PATH, full, nullptr), 0u);
    std::string expect = WindowsPathFromHost(dir_) + "\\Report_Game.txt";
    EXPECT_EQ(std::string(full), expect);
    EXPECT_FALSE(PathIsRelativeA(full));
    EXPECT_TRUE(PathIsRelativeA("data\\a"));
    EXPECT_FALSE(PathIsRelativeA("C:\\a"));
    // Too small a buffer: the size needed.
    char tiny[4];
    EXPECT_EQ(GetFullPathNameA("x", sizeof tiny, tiny, nullptr), (DWORD)(WindowsPathFromHost(dir_).size() + 3));

    char rel[MAX_PATH];
    std::string base = WindowsPathFromHost(dir_);
    ASSERT_TRUE(PathRelativePathToA(rel, base.c_str(), FILE_ATTRIBUTE_DIRECTORY,
                                    (base + "\\data\\stg4\\a.stg4_001").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_STREQ(rel, ".\\data\\stg4\\a.stg4_001");
    ASSERT_TRUE(PathRelativePathToA(rel, (base + "\\data").c_str(), FILE_ATTRIBUTE_DIRECTORY,
                                    (base + "\\user_data\\x").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_STREQ(rel, "..\\user_data\\x");
}

TEST(Codepage, RoundTripsAndReplacesWhatCannotBeMapped) {
    std::string sj = "エラー〜￥ABC";
    EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(sj)), sj);
    EXPECT_EQ(Cp932ToUtf8("\x81"), "?");       // a lead byte alone
    EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80" "b"), "a?b");  // no such character in code page 932
    EXPECT_EQ(Cp932ToUtf8("\\"), "\\");        // 0x5C stays a backslash
}

TEST(Random, TheGeneratorFollowsTheClassicSequencePerThread) {
    crt::srand(1);
    EXPECT_EQ(crt::rand(), 41);
    EXPECT_EQ(crt::rand(), 18467);
    EXPECT_EQ(crt::rand(), 6334);
    crt::srand(12345);
    int a = crt::rand();
    crt::srand(12345);
    EXPECT_EQ(crt::rand(), a);
    int other = -1;
    std::thread([&] { other = crt::rand(); }).join();  // a new thread starts at seed 1
    EXPECT_EQ(other, 41);
}

TEST(Mutex, ASecondCreationOfTheNameReportsThatItExists) {
    HANDLE a = CreateMutexA(nullptr, FALSE, "ゲーム-test");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_SUCCESS);
    HANDLE b = CreateMutexA(nullptr, FALSE, "ゲーム-test");
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    CloseHandle(b);
    CloseHandle(a);
    HANDLE c = CreateMutexA(nullptr, FALSE, "ゲーム-test");
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_SUCCESS);
    CloseHandle(c);
}

}  // namespace
