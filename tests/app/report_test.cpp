// The report file and checked container access.
#include <gtest/gtest.h>

#include <fstream>
#include <list>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/checked.h"
#include "core/format.h"
#include "core/report.h"
#include "media/sound.h"
#include "platform/win32/files.h"
#include "records/effect_records.h"

namespace {

std::string ReportPath() {
    return std::string(VELMORA_BINARY_DIR) + "/tmp/report_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream f(path);
    std::vector<std::string> lines;
    std::string l;
    while (std::getline(f, l)) lines.push_back(l);
    return lines;
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        system(("mkdir -p '" + std::string(VELMORA_BINARY_DIR) + "/tmp'").c_str());
        path_ = ReportPath();
        ASSERT_EQ(OpenReport(WindowsPathFromHost(path_).c_str()), 1);
    }
    std::string path_;
};

TEST_F(ReportTest, LinesAreAppendedUnchangedAndAStartEmptiesTheFile) {
    EXPECT_EQ(WriteReport("App : ver %s", "754"), 1);
    EXPECT_EQ(WriteReportText("100% sure %d"), 1);  // already formatted: written as it is
    EXPECT_EQ(ReadLines(path_), (std::vector<std::string>{"App : ver 754", "100% sure %d"}));
    ASSERT_EQ(OpenReport(WindowsPathFromHost(path_).c_str()), 1);
    WriteReport("second run");
    EXPECT_EQ(ReadLines(path_), (std::vector<std::string>{"second run"}));
}

TEST_F(ReportTest, LinesFromManyThreadsAreNeverLost) {
    const int kThreads = 8, kLines = 200;
    std::vector<std::thread> ts;
    for (int t = 0; t < kThreads; ++t)
        ts.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) WriteReport("thread %d line %d", t, i);
        });
    for (auto& t : ts) t.join();
    auto lines = ReadLines(path_);
    ASSERT_EQ(lines.size(), (size_t)(kThreads * kLines));
    std::vector<int> next(kThreads, 0);
    for (const std::string& l : lines) {
        int t = -1, i = -1;
        ASSERT_EQ(sscanf(l.c_str(), "thread %d line %d", &t, &i), 2) << l;
        EXPECT_EQ(i, next[t]++);  // whole lines, in each thread's order
    }
}

TEST_F(ReportTest, LongTextsAreCutOnACharacterBoundary) {
    std::string longText(1022, 'a');
    longText += "あいう";  // the cut falls inside "あ"
    WriteReport("%s", longText.c_str());
    auto lines = ReadLines(path_);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string(1022, 'a'));
    char small[6];
    EXPECT_EQ(FormatBounded(small, sizeof small, "ab%s", "あい"), 4u);
    EXPECT_STREQ(small, "abあ");
    EXPECT_EQ(CopyBounded(small, sizeof small, "aあいう"), 5u);
    EXPECT_STREQ(small, "aあい");
}

LRESULT NullProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

// A main window of this thread, so posted WM_CLOSE messages can be counted.
HWND MakeMainWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = NullProc;
        wc.lpszClassName = "CheckedTestMain";
        RegisterClassExA(&wc);
        registered = true;
    }
    HWND h = CreateWindowExA(0, "CheckedTestMain", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    g_hMainWnd = h;
    return h;
}

int CountCloses(HWND h) {
    int n = 0;
    MSG m;
    while (PeekMessageA(&m, h, WM_CLOSE, WM_CLOSE, PM_REMOVE)) ++n;
    return n;
}

struct Rec136 {
    char bytes[136];
};

struct Rec564 {
    int value;
    char rest[560];
};

TEST_F(ReportTest, BadIndexesAreReportedCloseTheProgramAndGiveAUsableElement) {
    HWND main = MakeMainWindow();
    std::vector<Rec136> v(3);
    v[0].bytes[0] = 'z';
    std::vector<int> one{7};
    EXPECT_EQ(&CheckedAt(v, 2), &v[2]);
    EXPECT_EQ(CountCloses(main), 0);

    EXPECT_EQ(CheckedAt(v, 5).bytes[0], 'z');  // element 0
    EXPECT_EQ(CheckedAt(one, 1), 7);
    EXPECT_EQ(CheckedAt(one, -1), 7);
    std::vector<int> none;
    int& standBy = CheckedAt(none, 0);  // no element 0: the type's stand-by element
    EXPECT_EQ(standBy, 0);

    std::list<Rec564> empty;
    Rec564& s1 = CheckedListAt(empty, -1);
    EXPECT_EQ(s1.value, 0);
    s1.value = 99;  // one stand-by element per type
    EXPECT_EQ(CheckedListAt(empty, 3).value, 99);
    std::list<int> l{1, 2, 3};
    EXPECT_EQ(CheckedListAt(l, 2), 3);

    EXPECT_EQ(ReadLines(path_), (std::vector<std::string>{"err V[5] ( 3 , 136 )", "err V[1] ( 1 , 4 )",
                                                         "err V[-1] ( 1 , 4 )", "err V[0] ( 0 , 4 )",
                                                         "err L[-1] ( 0 , 564 )", "err L[3] ( 0 , 564 )"}));
    EXPECT_EQ(CountCloses(main), 6);

    std::vector<Rec136*> ptrs{&v[0], &v[1]};
    EXPECT_EQ(ContainsPointer(ptrs, &v[1]), 1);
    EXPECT_EQ(ContainsPointer(ptrs, &v[2]), 0);
    DestroyWindow(main);
    g_hMainWnd = nullptr;
}

// Elements whose size in the program's own layout is known report that size, not the host's.
TEST_F(ReportTest, IndexErrorsReportTheProgramsElementSizes) {
    HWND main = MakeMainWindow();
    std::vector<cSound> sounds(2);
    std::vector<cBgmRec> bgm(3);
    CheckedAt(sounds, 2);
    CheckedAt(bgm, -1);
    EXPECT_EQ(ReadLines(path_), (std::vector<std::string>{"err V[2] ( 2 , 284 )", "err V[-1] ( 3 , 72 )"}));
    EXPECT_EQ(CountCloses(main), 2);
    DestroyWindow(main);
    g_hMainWnd = nullptr;
}

TEST(FormatString, ReplacesTheTargetsText) {
    std::string s = "old";
    FormatString(s, "%s_%d%d%d", "stage", 1, 2, 3);
    EXPECT_EQ(s, "stage_123");
}

}  // namespace
