// The path mapping, directory listings, relative and full paths, the runtime's generator.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>
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
    static bool Exists(const std::string& hostPath) {
        struct stat st;
        return stat(hostPath.c_str(), &st) == 0;
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

// Names on disk as a folder copied from Windows may hold them: UTF-8, or the raw code-page-932
// bytes of the original. Source literals are Shift-JIS, so U() gives a name's UTF-8 form and the
// literal itself is its raw form.
std::string U(const char* sjis) { return Cp932ToUtf8(sjis); }

// Makes a file (with its folders) for each host path given with '/' separators.
void MakeTree(const std::vector<std::string>& files) {
    for (const std::string& f : files) {
        for (size_t slash = f.find('/'); slash != std::string::npos; slash = f.find('/', slash + 1))
            mkdir(f.substr(0, slash).c_str(), 0755);
        std::ofstream(f) << f;
    }
}

TEST_F(FilesTest, ProgramPathsFindNamesOnDiskInUtf8OrRawShiftJis) {
    struct Case {
        const char* what;
        std::vector<std::string> disk;  // host paths made before the lookup
        std::string path;               // the program's Shift-JIS path
        std::string found;              // the host path it must map to
    };
    const std::string raw = "背景その1.bmp", utf = U("背景その1.bmp");
    const Case cases[] = {
        {"UTF-8 name", {utf}, "背景その1.bmp", utf},
        {"raw Shift-JIS name", {raw}, "背景その1.bmp", raw},
        {"raw name, other letter case", {"Bmp/背景その1.BMP"}, "bmp\\背景その1.bmp", "Bmp/背景その1.BMP"},
        {"UTF-8 full-width letters", {U("ＡＢＣ.txt")}, "ａｂｃ.TXT", U("ＡＢＣ.txt")},
        {"raw full-width letters", {"ａｂｃ.txt"}, "ＡＢｃ.txt", "ａｂｃ.txt"},
        {"full-width is not ASCII", {U("ＡＢＣ.txt")}, "ABC.txt", "ABC.txt"},
        {"0x5C trail bytes in raw folders", {"表/ソ.txt"}, "表\\ソ.txt", "表/ソ.txt"},
        {"0x5C trail bytes in UTF-8 folders", {U("表") + "/" + U("ソ.txt")}, "表\\ソ.txt", U("表") + "/" + U("ソ.txt")},
        {"raw folder, new file name in UTF-8", {"データ/a.txt"}, "データ\\新規.txt", "データ/" + U("新規.txt")},
        {"half-width kana whose bytes are also UTF-8", {"ﾃｽ.txt"}, "ﾃｽ.txt", "ﾃｽ.txt"},
        {"exact UTF-8 beats exact raw", {utf, raw}, "背景その1.bmp", utf},
        {"exact raw beats UTF-8 in other case", {U("背景その1.BMP"), raw}, "背景その1.bmp", raw},
        {"UTF-8 beats raw, both in other case", {U("背景その1.BMP"), "背景その1.Bmp"}, "背景その1.bmp", U("背景その1.BMP")},
        {"two ASCII candidates: the smallest name", {"readme.TXT", "README.txt"}, "Readme.txt", "README.txt"},
        {"missing name stays as given", {raw}, "背景その2.bmp", U("背景その2.bmp")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(system("rm -rf ./*"), 0);
        MakeTree(c.disk);
        EXPECT_EQ(HostPathFromWindows(c.path.c_str()), c.found);
    }
}

TEST_F(FilesTest, AFolderWithRawShiftJisNamesWorksAsTheProgramUsesIt) {
    MakeTree({"ゲーム/bmp/背景その1.bmp", "ゲーム/user_data/セーブ.dat"});
    ASSERT_TRUE(SetCurrentDirectoryA("ゲーム"));
    // The current folder reads back in Shift-JIS and maps back to itself.
    char cwd[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, cwd), 0u);
    EXPECT_EQ(std::string(cwd), WindowsPathFromHost(dir_) + "\\ゲーム");
    EXPECT_NE(GetFileAttributesA((std::string(cwd) + "\\BMP\\背景その1.BMP").c_str()), INVALID_FILE_ATTRIBUTES);
    // Listings give the program its own names.
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA("bmp\\*.bmp", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(fd.cFileName, "背景その1.bmp");
    FindClose(h);
    // An existing file is rewritten under its own name, through a temporary file and a rename.
    FILE* fp = crt::fopen("user_data\\セーブ.dat.tmp", "wb");
    ASSERT_NE(fp, nullptr);
    fputs("new", fp);
    fclose(fp);
    ASSERT_EQ(crt::rename("user_data\\セーブ.dat.tmp", "USER_DATA\\セーブ.dat"), 0);
    std::ifstream in("user_data/セーブ.dat");
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "new");
    EXPECT_FALSE(Exists(U("user_data/セーブ.dat")));
    EXPECT_FALSE(Exists(U("user_data/セーブ.dat.tmp")));
    // A new file gets a UTF-8 name.
    fp = crt::fopen("user_data\\記録.dat", "wb");
    ASSERT_NE(fp, nullptr);
    fclose(fp);
    EXPECT_TRUE(Exists(U("user_data/記録.dat")));
    EXPECT_TRUE(SetCurrentDirectoryA(".."));
}

TEST_F(FilesTest, WildcardsFoldFullWidthLettersAndNeverMatchInsideACharacter) {
    MakeTree({U("ＳＡＶＥ１.dat"), "表.txt", "ア.dat"});
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA("ｓａｖｅ*.DAT", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(fd.cFileName, "ＳＡＶＥ１.dat");
    FindClose(h);
    // "ア" is 0x83 0x41: its trail byte is the code of 'A', which no pattern letter may match.
    EXPECT_EQ(FindFirstFileA("*a.dat", &fd), INVALID_HANDLE_VALUE);
    h = FindFirstFileA("?.txt", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(fd.cFileName, "表.txt");
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
