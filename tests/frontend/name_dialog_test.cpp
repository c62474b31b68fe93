// The ranking name-entry dialog: at most three characters, half- or full-width; the name
// changes only on OK; golden pictures in Japanese and in English; the WM_USER+1 request.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/name_entry_request.h"
#include "frontend/name_dialog.h"
#include "platform/host/host.h"
#include "platform/host/png.h"
#include "platform/host/script.h"
#include "records/system_ini.h"
#include "tests/platform/dialog_golden.h"

namespace {

LRESULT Plain(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class NameDialog : public ::testing::Test {
protected:
    void SetUp() override {
        host::Init();
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = Plain;
            wc.lpszClassName = "NameTestMain";
            RegisterClassExA(&wc);
            registered = true;
        }
        main = CreateWindowExA(0, "NameTestMain", "", (DWORD)0x80CB0000, 100, 100, 646, 509, nullptr, nullptr,
                               nullptr, nullptr);
        ShowWindow(main, SW_SHOW);
        g_MainWindow.m_hWnd = main;
        g_SystemIni.nEnglish = 0;
        folder = std::string(VELMORA_BINARY_DIR) + "/tmp";
        system(("mkdir -p '" + folder + "'").c_str());
    }
    void TearDown() override {
        host::script::Reset();
        g_MainWindow.m_hWnd = nullptr;
        DestroyWindow(main);
    }
    // Runs the dialog on a name with a script answer (UTF-8); its result.
    INT_PTR Run(std::string* name, const char8_t* answer) {
        host::script::LoadText((const char*)answer, folder);
        cNameDialog d(name, &g_WindowGroup);
        return d.RunModal(0);
    }
    HWND main = nullptr;
    std::string folder;
};

TEST_F(NameDialog, TheNameHoldsAtMostThreeCharacters) {
    struct Case {
        const char* start;
        const char8_t* answer;
        INT_PTR result;
        const char* want;
    };
    const Case cases[] = {
        // The whole name is selected at first: typing replaces it.
        {"aaa", u8"answer dialog type 1003 XYZ key RETURN\n", 1, "XYZ"},
        {"aaa", u8"answer dialog type 1003 ABCD key RETURN\n", 1, "ABC"},
        {"aaa", u8"answer dialog type 1003 あいうえ key RETURN\n", 1, "あいう"},
        {"aaa", u8"answer dialog type 1003 AあいB key RETURN\n", 1, "Aあい"},
        {"aaa", u8"answer dialog type 1003 ｱｲｳｴ key RETURN\n", 1, "ｱｲｳ"},
        // A full-width character at the end of two half-width ones, then one more refused.
        {"", u8"answer dialog type 1003 ab漢字 key RETURN\n", 1, "ab漢"},
        // Backspace makes room again.
        {"aaa", u8"answer dialog type 1003 ABC key BACK type 1003 あ key RETURN\n", 1, "ABあ"},
        // An empty name is accepted.
        {"aaa", u8"answer dialog key DELETE key RETURN\n", 1, ""},
        // OK with the mouse.
        {"aaa", u8"answer dialog type 1003 Q click 1000\n", 1, "Q"},
        // Closing keeps the name as it was.
        {"old", u8"answer dialog type 1003 new key ESCAPE\n", 0, "old"},
        {"old", u8"answer dialog type 1003 new close\n", 0, "old"},
    };
    for (const Case& c : cases) {
        std::string name = c.start;
        EXPECT_EQ(Run(&name, c.answer), c.result) << (const char*)c.answer;
        EXPECT_EQ(name, c.want) << (const char*)c.answer;
    }
}

TEST_F(NameDialog, AnInputMethodsCompositionStaysOutOfTheNameUntilItIsGiven) {
    // Enter while a composition is open goes to the input method: the dialog stays; the text the
    // input method then gives is typed, and the next Enter is OK.
    host::SetCompositionText((const char*)u8"なまえ");
    std::string name = "aaa";
    host::script::LoadText((const char*)u8"answer dialog key RETURN wait 20\n", folder);
    cNameDialog d(&name, &g_WindowGroup);
    EXPECT_EQ(d.RunModal(0), 0);  // Enter did not end it; the spent answer closed it
    EXPECT_EQ(name, "aaa");
    host::SetCompositionText("");
    EXPECT_EQ(Run(&name, u8"answer dialog type 1003 名前 key RETURN\n"), 1);
    EXPECT_EQ(name, "名前");
}

TEST_F(NameDialog, GoldenPicturesInJapaneseAndEnglish) {
    for (int english : {0, 1}) {
        g_SystemIni.nEnglish = english;
        std::string name = "ABC";
        std::string file = english ? "name_en.png" : "name_ja.png";
        std::u8string answer = u8"answer dialog capture " + std::u8string(file.begin(), file.end()) + u8" close\n";
        EXPECT_EQ(Run(&name, answer.c_str()), 0);
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        ASSERT_TRUE(host::ReadPng(folder + "/" + file, &px, &w, &h));
        testgolden::ExpectGolden(english ? "name_dialog_en" : "name_dialog_ja", px.data(), w, h);
    }
    g_SystemIni.nEnglish = 0;
}

TEST_F(NameDialog, TheRequestRunsTheDialogAndSetsItsDoneFlag) {
    std::string name = "abc";
    g_bNameEntryDone = 0;
    host::script::LoadText((const char*)u8"answer dialog type 1003 日本語 key RETURN\n", folder);
    EXPECT_EQ(ServeNameEntryRequest(&name), 0);
    EXPECT_EQ(g_bNameEntryDone.load(), 1);
    EXPECT_EQ(name, "日本語");
    EXPECT_EQ(g_lpNameDialog, nullptr);
}

TEST_F(NameDialog, AWindowCloseDuringTheDialogIsCancelAndComesAfterIt) {
    // Shut-down asked for while the name is being typed (a failure on another thread): the dialog
    // ends as cancelled, and the main window hears WM_CLOSE once the request has finished.
    std::string name = "abc";
    PostMessageA(main, WM_CLOSE, 0, 0);
    host::script::LoadText((const char*)u8"answer dialog wait 30 type 1003 xyz key RETURN\n", folder);
    ServeNameEntryRequest(&name);
    EXPECT_EQ(name, "abc");
    EXPECT_EQ(g_bNameEntryDone.load(), 1);
    MSG m;
    bool closeAfter = false;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        if (m.hwnd == main && m.message == WM_CLOSE) closeAfter = true;
    EXPECT_TRUE(closeAfter);
}

}  // namespace
