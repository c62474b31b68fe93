// Random draws, Shift-JIS helpers, path helpers and numbered files.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

#include "core/helpers.h"

namespace {

TEST(RandRange, SwapsBoundsStaysInsideAndNeverOverflows) {
    crt::srand(7);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(RandRange(5, 5), 5);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        int v = RandRange(7, 3);
        ASSERT_GE(v, 3);
        ASSERT_LE(v, 7);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 5u);
    for (int i = 0; i < 200; ++i) {
        int v = RandRange(INT32_MIN, INT32_MAX);  // a span that does not fit in 32 bits
        ASSERT_GE(v, INT32_MIN);
        ASSERT_LT(v, INT32_MIN + 0x8000);  // r is at most 0x7FFF
    }
}

TEST(ShiftJis, PairsAndCharacterCounts) {
    EXPECT_TRUE(IsSjisPair("表"));
    EXPECT_FALSE(IsSjisPair("ab"));
    EXPECT_FALSE(IsSjisPair("\x81"));
    EXPECT_EQ(GetCharCount("あa\nい"), 3);
    EXPECT_EQ(GetCharCount(""), 0);
    EXPECT_EQ(GetCharCount("ｱｲ"), 2);  // half-width katakana are one byte each
}

struct PathCase {
    const char* in;
    const char* fileOnly;
    const char* noExt;    // RemoveExtension ("" when it answers 0 and keeps the path)
    const char* ext;      // GetExtension ("" when none)
    const char* changed;  // ChangeExtension to "dat"
};

TEST(Paths, FileNamesAndExtensions) {
    const PathCase cases[] = {
        {"data\\stg4\\a.stg4_001", "a.stg4_001", "data\\stg4\\a", "stg4_001", "data\\stg4\\a.dat"},
        {"a.b.c", "a.b.c", "a.b", "c", "a.b.dat"},
        // The only backslash byte is the trail byte of "表": no separator.
        {"表.txt", "表.txt", "表", "txt", "表.dat"},
        {"dir\\表", "表", "", "", "dir\\表"},
        // A dot in a folder name is not an extension.
        {"data.old\\file", "file", "", "", "data.old\\file"},
        {"noext", "noext", "", "", "noext"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.in);
        char buf[MAX_PATH];
        strcpy(buf, c.in);
        GetFileNameOnly(buf);
        EXPECT_STREQ(buf, c.fileOnly);
        strcpy(buf, c.in);
        int r = RemoveExtension(buf);
        EXPECT_EQ(r, *c.noExt ? 1 : 0);
        EXPECT_STREQ(buf, *c.noExt ? c.noExt : c.in);
        char ext[MAX_PATH] = "";
        EXPECT_EQ(GetExtension(ext, c.in), *c.ext ? 1 : 0);
        EXPECT_STREQ(ext, c.ext);
        char changed[MAX_PATH];
        EXPECT_EQ(ChangeExtension(changed, c.in, "dat"), *c.ext ? 1 : 0);
        EXPECT_STREQ(changed, c.changed);
    }
    char dest[MAX_PATH];
    ASSERT_EQ(ChangeExtension(dest, "a.b.c", nullptr), 1);
    EXPECT_STREQ(dest, "a.b");
    ASSERT_EQ(MakeNumberedFileName(dest, "user_data\\rpl4\\s.rpl4_754", 0, 8), 1);
    EXPECT_STREQ(dest, "user_data\\rpl4\\s_08.rpl4_754");
    EXPECT_EQ(MakeNumberedFileName(dest, "noext", 1, 2), 0);
    // A real separator right after a two-byte character whose trail byte is also a lead byte
    // (0x81 0x81): only a forward scan sees that the backslash is not a trail byte.
    strcpy(dest, "\x81\x81\\name");
    GetFileNameOnly(dest);
    EXPECT_STREQ(dest, "name");
}

class NumberedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        old_ = cwd;
        dir_ = std::string(VELMORA_BINARY_DIR) + "/tmp/numbered_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(system(("rm -rf '" + dir_ + "' && mkdir -p '" + dir_ + "/data/stg4'").c_str()), 0);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override { ASSERT_EQ(chdir(old_.c_str()), 0); }
    std::string old_, dir_;
};

TEST_F(NumberedFiles, TheHighestExistingNumberIsTaken) {
    char dest[MAX_PATH] = "unchanged";
    EXPECT_EQ(FindNumberedFile(dest, "data\\stg4\\c01-1.stg4", "stg4"), 0);
    EXPECT_STREQ(dest, "unchanged");
    std::ofstream("data/stg4/c01-1.stg4_003") << "x";
    std::ofstream("data/stg4/C01-1.STG4_120") << "x";
    std::ofstream("data/stg4/c01-1.stg4_99") << "x";    // two digits: not a numbered file
    std::ofstream("data/stg4/c01-1.stg4_abc") << "x";
    std::ofstream("data/stg4/c01-2.stg4_500") << "x";
    ASSERT_EQ(FindNumberedFile(dest, "data\\stg4\\c01-1.stg4_001", "stg4"), 1);
    EXPECT_STREQ(dest, "data\\stg4\\c01-1.stg4_120");
    std::string s = "data\\stg4\\c01-2";  // no dot: the name is the base
    ASSERT_EQ(FindNumberedFileStr(s, "stg4"), 0);
    s = "data\\stg4\\c01-2.x";
    ASSERT_EQ(FindNumberedFileStr(s, "stg4"), 1);
    EXPECT_EQ(s, "data\\stg4\\c01-2.stg4_500");
}

TEST_F(NumberedFiles, TablesOf64KReadWholeOrFail) {
    std::string full(65536, '\x11');
    std::ofstream("full.dat", std::ios::binary) << full;
    std::ofstream("short.dat", std::ios::binary) << full.substr(0, 1000);
    std::vector<unsigned char> table(65536);
    EXPECT_TRUE(LoadTable64K(table.data(), "full.dat"));
    EXPECT_EQ(table[65535], 0x11);
    EXPECT_FALSE(LoadTable64K(table.data(), "short.dat"));
    EXPECT_FALSE(LoadTable64K(table.data(), "missing.dat"));
    SetTableLoadSkipped(true);  // a Direct3D device: nothing is read
    EXPECT_TRUE(LoadTable64K(table.data(), "missing.dat"));
    SetTableLoadSkipped(false);
}

TEST_F(NumberedFiles, RelativeAndFullPaths) {
    char p[MAX_PATH] = "data\\stg4\\a.stg4_001";
    ASSERT_EQ(MakeFullPath(p), 1);
    EXPECT_FALSE(PathIsRelativeA(p));
    std::string full = p;
    ASSERT_EQ(GetRelativePath(p), 1);
    EXPECT_STREQ(p, ".\\data\\stg4\\a.stg4_001");
    std::string s = full;
    ASSERT_EQ(GetRelativePathStr(s), 1);
    EXPECT_EQ(s, ".\\data\\stg4\\a.stg4_001");
    strcpy(p, "already\\relative");
    EXPECT_EQ(GetRelativePath(p), 1);
    EXPECT_STREQ(p, "already\\relative");
}

}  // namespace
