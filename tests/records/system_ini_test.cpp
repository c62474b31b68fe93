// System.ini: the parser against the key table of the system settings.
#include <gtest/gtest.h>

#include <cstring>

#include "records/system_data.h"
#include "records/system_ini.h"
#include "test_support.h"

using namespace recordtest;

namespace {

class SystemIniTest : public RecordTest {};

TEST_F(SystemIniTest, ParsesEveryCase) {
    struct Case {
        const char* name;
        std::string text;
        int result;
        int showFps;      // after the read (reset first to the defaults: ShowFps 1)
        int bpp;
        const char* freeStage;
    };
    const Case cases[] = {
        {"plain", "ShowFps=2\nExit\n", 1, 2, 0, ""},
        {"CR LF line ends", "ShowFps=2\r\nBpp=16\r\nFreeStage=a.stg4\r\nExit\r\n", 1, 2, 16, "a.stg4"},
        {"no Exit line fails", "ShowFps=2\n", 0, 2, 0, ""},
        {"Exit without a line feed fails", "ShowFps=2\nExit", 0, 2, 0, ""},
        {"blank before = is dropped", "ShowFps =2\nExit\n", 1, 2, 0, ""},
        {"blank after = ends the value", "ShowFps= 2\nExit\n", 1, 0, 0, ""},
        {"comment after a blank", "Bpp=16 // colour depth\nExit\n", 1, 1, 16, ""},
        {"comment after a slash", "Bpp=16/comment\nExit\n", 1, 1, 16, ""},
        {"one-character FreeStage is ignored", "FreeStage=a\nExit\n", 1, 1, 0, ""},
        {"other letter case is ignored", "showfps=2\nExit\n", 1, 1, 0, ""},
        {"unknown keys and lines without =", "Foo=3\njunk\nShowFps=4\nExit\n", 1, 4, 0, ""},
        {"NUL ends the file", std::string("ShowFps=3\n\0Bpp=16\n", 18), 1, 3, 0, ""},
        {"NUL ends a value", std::string("Bpp=8\0\nExit\n", 12), 1, 1, 8, ""},
        {"no digits gives 0", "ShowFps=x\nExit\n", 1, 0, 0, ""},
        {"huge numbers stay in range", "ShowFps=99999999999999\nBpp=-99999999999\nExit\n", 1, 2147483647,
         -2147483647 - 1, ""},
        {"empty file fails", "", 0, 1, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder_->WriteFile("System.ini", std::vector<uint8_t>(c.text.begin(), c.text.end()));
        SYSTEMINISETTINGS s;
        ResetSystemIni(s, g_SystemData.m_vecIniKeys);
        EXPECT_EQ(ReadSystemIni("System.ini", s, g_SystemData.m_vecIniKeys), c.result);
        EXPECT_EQ(s.nShowFps, c.showFps);
        EXPECT_EQ(s.nBpp, c.bpp);
        EXPECT_STREQ(s.szFreeStage, c.freeStage);
    }
}

TEST_F(SystemIniTest, MissingFileLongLinesAndTheLineLimit) {
    SYSTEMINISETTINGS s;
    ResetSystemIni(s, g_SystemData.m_vecIniKeys);
    EXPECT_EQ(s.nDirect3D, 2);
    EXPECT_EQ(s.nVSync, 2);
    EXPECT_EQ(s.nDDFontCache, 1);
    EXPECT_EQ(s.nEnglish, 0);
    EXPECT_EQ(ReadSystemIni("System.ini", s, g_SystemData.m_vecIniKeys), 0);

    // Over-long keys and values are cut, never overflow; a FreeStage of 260 bytes or more is ignored.
    std::string text = std::string(100000, 'k') + "=1\nFreeStage=" + std::string(300, 'f') + "\nFreeStage=" +
                       std::string(259, 'g') + "\nEnglish=" + std::string(5000, '7') + "\nExit\n";
    folder_->WriteFile("System.ini", std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(ReadSystemIni("System.ini", s, g_SystemData.m_vecIniKeys), 1);
    EXPECT_EQ(std::string(s.szFreeStage), std::string(259, 'g'));
    EXPECT_EQ(s.nEnglish, 2147483647);

    // Lines after the 10,000th are never read (and no Exit is needed then).
    std::string many;
    for (int i = 0; i < 10000; ++i) many += "x\n";
    many += "ShowFps=0\n";
    folder_->WriteFile("System.ini", std::vector<uint8_t>(many.begin(), many.end()));
    s.nShowFps = 1;
    EXPECT_EQ(ReadSystemIni("System.ini", s, g_SystemData.m_vecIniKeys), 1);
    EXPECT_EQ(s.nShowFps, 1);
}

TEST_F(SystemIniTest, KeysComeFromTheSystemSettings) {
    std::vector<SYSTEMINIKEY> keys = g_SystemData.m_vecIniKeys;
    SetIniKey(keys[7], "Fps", 5);
    SetIniKeyString(keys[8], "Start", "s.stg4");
    SYSTEMINISETTINGS s;
    ResetSystemIni(s, keys);
    EXPECT_EQ(s.nShowFps, 5);
    EXPECT_STREQ(s.szFreeStage, "s.stg4");
    std::string text = "Fps=3\nShowFps=9\nStart=t.stg4\nExit\n";
    folder_->WriteFile("System.ini", std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(ReadSystemIni("System.ini", s, keys), 1);
    EXPECT_EQ(s.nShowFps, 3);
    EXPECT_STREQ(s.szFreeStage, "t.stg4");
}

}  // namespace
