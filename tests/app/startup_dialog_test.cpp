// The start-up settings dialog: the start-up decision as a table, Boot.dat written only by
// Start, and golden pictures of the dialog in Japanese and in English.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/boot_data.h"
#include "app/main_window.h"
#include "core/report.h"
#include "app/startup_dialog.h"
#include "platform/host/host.h"
#include "platform/host/png.h"
#include "platform/host/script.h"
#include "records/system_data.h"
#include "records/system_ini.h"
#include "tests/platform/dialog_golden.h"
#include "tools/records/byte_image.h"
#include "tools/testsupport/process.h"

namespace {

LRESULT Plain(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class StartupDialog : public ::testing::Test {
protected:
    void SetUp() override {
        host::Init();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        old = cwd;
        dir = std::string(VELMORA_BINARY_DIR) + "/tmp/startup_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "/user_data'").c_str()), 0);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        OpenReport((dir + "/Report_Game.txt").c_str());
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = Plain;
            wc.lpszClassName = "StartupTestMain";
            RegisterClassExA(&wc);
            registered = true;
        }
        // The main window exists, hidden, at start-up.
        main = CreateWindowExA(0, "StartupTestMain", "", (DWORD)0x80CB0000, 100, 100, 646, 509, nullptr, nullptr,
                               nullptr, nullptr);
        g_MainWindow.m_hWnd = main;
        g_SystemData.m_strTitle = "ヴェルモラの冒険";
        g_SystemIni.nEnglish = 0;
    }
    void TearDown() override {
        host::script::Reset();
        g_MainWindow.m_hWnd = nullptr;
        DestroyWindow(main);
        ASSERT_EQ(chdir(old.c_str()), 0);
    }
    void WriteBoot(int mode, int noShow) {
        cByteImage image;
        image.U32(kDataVersion).U32(2).I32(mode).I32(noShow).U32(0);
        std::ofstream(dir + "/user_data/Boot.dat", std::ios::binary)
            .write((const char*)image.Data().data(), (std::streamsize)image.Size());
    }
    std::string Boot() const { return testsupport::ReadFile(dir + "/user_data/Boot.dat"); }
    static std::string BootImage(int mode, int noShow) {
        cByteImage image;
        image.U32(kDataVersion).U32(2).I32(mode).I32(noShow).U32(0);
        return std::string(image.Data().begin(), image.Data().end());
    }
    std::string old, dir;
    HWND main = nullptr;
};

TEST_F(StartupDialog, TheStartUpDecisionByTheTable) {
    struct Case {
        const char* name;
        int direct3D;
        int bootMode, bootNoShow;  // -1: no Boot.dat
        const char* answer;
        bool breakTheWindow;  // the dialog cannot be made (-1)
        bool ok;
        int direct3DAfter;
        int savedMode, savedNoShow;  // -1: Boot.dat as before the step
        bool shown;
    };
    const Case cases[] = {
        {"Direct3D 0: nothing", 0, -1, 0, "", false, true, 0, -1, 0, false},
        {"Direct3D 1: Boot.dat ignored", 1, 0, 1, "", false, true, 1, -1, 0, false},
        {"ask, no Boot.dat, Start", 2, -1, 0, "answer dialog click 1000\n", false, true, 1, 1, 0, true},
        {"ask, DirectDraw and the tick", 2, -1, 0, "answer dialog click 1003 click 1004 click 1000\n", false, true,
         0, 0, 1, true},
        {"ask by keys", 2, -1, 0, "answer dialog key TAB key TAB key DOWN key TAB key SPACE key RETURN\n", false,
         true, 0, 0, 1, true},
        {"3 asks as 2; Boot.dat says do not ask", 3, 0, 1, "answer dialog click 1000\n", false, true, 0, -1, 0,
         false},
        {"do not ask, Direct3D", 2, 1, 1, "answer dialog click 1000\n", false, true, 1, -1, 0, false},
        {"a mode of 5 is kept and is not Direct3D", 2, 5, 0, "answer dialog click 1000\n", false, true, 0, 5, 0,
         true},
        {"Cancel ends start-up", 2, -1, 0, "answer dialog click 1001\n", false, false, 2, -1, 0, true},
        {"the close box ends start-up", 2, 1, 0, "answer dialog close\n", false, false, 2, -1, 0, true},
        {"Esc ends start-up", 2, -1, 0, "answer dialog key ESCAPE\n", false, false, 2, -1, 0, true},
        {"no dialog: the stored mode", 2, 0, 0, "answer dialog click 1000\n", true, true, 0, -1, 0, false},
        {"no dialog, no Boot.dat: the default", 2, -1, 0, "", true, true, 1, -1, 0, false},
    };
    for (const Case& c : cases) {
        std::remove((dir + "/user_data/Boot.dat").c_str());
        if (c.bootMode >= 0) WriteBoot(c.bootMode, c.bootNoShow);
        std::string before = Boot();
        g_BootData = cBootData();
        g_SystemIni.nDirect3D = c.direct3D;
        host::script::LoadText(c.answer, dir);
        g_MainWindow.m_hWnd = c.breakTheWindow ? (HWND)(uintptr_t)0x7777 : main;
        bool ok = RunStartupDialogStep();
        g_MainWindow.m_hWnd = main;
        EXPECT_EQ(ok, c.ok) << c.name;
        if (ok) {
            EXPECT_EQ(g_SystemIni.nDirect3D, c.direct3DAfter) << c.name;
        }
        if (c.savedMode >= 0) EXPECT_EQ(Boot(), BootImage(c.savedMode, c.savedNoShow)) << c.name;
        else EXPECT_EQ(Boot(), before) << c.name;  // written only by Start
        bool answerLeft = host::script::TakeAnswer("dialog", nullptr);
        EXPECT_EQ(!answerLeft && *c.answer, c.shown) << c.name;
        if (c.breakTheWindow) {
            EXPECT_NE(testsupport::ReadFile(dir + "/Report_Game.txt").find("DialogBoxParam Err (103)"),
                      std::string::npos)
                << c.name;
        }
        host::script::Reset();
    }
}

TEST_F(StartupDialog, TheDialogOpensWithTheBootDataShown) {
    // No Boot.dat: Direct3D selected and the tick box clear; the next start shows no dialog.
    g_BootData = cBootData();
    g_SystemIni.nDirect3D = 2;
    host::script::LoadText("answer dialog capture first.png click 1003 click 1004 click 1000\n", dir);
    ASSERT_TRUE(RunStartupDialogStep());
    EXPECT_EQ(g_SystemIni.nDirect3D, 0);
    host::script::LoadText("answer dialog click 1001\n", dir);
    g_BootData = cBootData();
    g_SystemIni.nDirect3D = 2;
    ASSERT_TRUE(RunStartupDialogStep());
    EXPECT_EQ(g_SystemIni.nDirect3D, 0);
    EXPECT_TRUE(host::script::TakeAnswer("dialog", nullptr));  // not shown
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(host::ReadPng(dir + "/first.png", &px, &w, &h));
    testgolden::ExpectGolden("startup_dialog_ja", px.data(), w, h);
}

TEST_F(StartupDialog, EnglishCaptions) {
    g_BootData = cBootData();
    g_BootData.m_nDrawMode = 0;
    g_BootData.m_bNoShow = 0;
    WriteBoot(0, 0);
    g_SystemIni.nDirect3D = 2;
    g_SystemIni.nEnglish = 1;
    host::script::LoadText("answer dialog capture english.png click 1001\n", dir);
    EXPECT_FALSE(RunStartupDialogStep());
    g_SystemIni.nEnglish = 0;
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(host::ReadPng(dir + "/english.png", &px, &w, &h));
    testgolden::ExpectGolden("startup_dialog_en", px.data(), w, h);
}

TEST(BootData, FileImageOfTwoWordsAndNoStrings) {
    cBootData b;
    EXPECT_EQ(b.m_nDrawMode, 1);
    EXPECT_EQ(b.m_bNoShow, 0);
    b.m_nDrawMode = 0;
    b.m_bNoShow = 1;
    cByteImage want;
    want.U32(2).I32(0).I32(1).U32(0);
    EXPECT_EQ(RecordBody(b), want.Data());
    // A short file keeps what it does not reach.
    cByteImage shortImage;
    shortImage.U32(kDataVersion).U32(2).I32(0);
    cRecordReader reader;
    ASSERT_TRUE(cDataFile::OpenReadMemory(reader, shortImage.Data().data(), shortImage.Size(), "Boot.dat"));
    cBootData r;
    r.Read(reader);
    EXPECT_EQ(r.m_nDrawMode, 0);
    EXPECT_EQ(r.m_bNoShow, 0);
}

}  // namespace
