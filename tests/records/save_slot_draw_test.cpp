// The story save slot list as it is drawn.
#include <gtest/gtest.h>

#include "media/game_fonts.h"
#include "records/save_slot_draw.h"
#include "records/system_data.h"
#include "records/system_ini.h"
#include "tests/media/draw_fixture.h"

namespace {

class SaveSlotDraw : public drawtest::DrawFixture {
protected:
    void TearDown() override {
        ReleaseGameFonts();
        ReleaseDigitSheets();
        InitFontSettings();
        g_SystemData.SetDefaults();
        DrawFixture::TearDown();
    }
};

TEST_F(SaveSlotDraw, NumbersStampsAndRules) {
    Open({"dd_32", 0, 32, 0});
    InitFontSettings();
    g_SystemData.SetDefaults();
    ResetSystemIni(g_SystemIni, g_SystemData.m_vecIniKeys);
    ASSERT_TRUE(tools::WriteBmp("bmp/Window.bmp", tools::SolidPicture(64, 48, 0x204080), tools::BmpOptions{24, false, false}));
    ASSERT_TRUE(Load({45}));
    ASSERT_TRUE(InitGameFonts());
    cSaveSlotList list;
    list.m_vecSlots.resize(4);
    list.m_vecSlots[1].m_bUsed = 1;
    list.m_vecSlots[1].m_Stamp = SYSTEMTIME{2026, 12, 4, 10, 9, 5, 0, 0};
    list.m_vecSlots[3].m_bUsed = 1;
    list.m_vecSlots[3].m_Stamp = SYSTEMTIME{1999, 1, 5, 31, 23, 59, 59, 0};
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 3);
    // Rows for slots 2-4 of the four, and two rows past the end that stay empty.
    DrawSaveSlotList(&g_BackBufferSD, 8, 8, list, 1, 5);
    DDEndScene();
    drawtest::ExpectGolden(Crop(*BackPixels(), 0, 0, 340, 100), "save_slot_list_32");
}

}  // namespace
