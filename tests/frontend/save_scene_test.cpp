// The story save screen: its entries and menu window with the info line (golden), leaving for
// the world map and the title, saving into a slot (the question, the sound, the slot the story
// keeps, a write that fails), and the automatic-save switch with and without a slot.
#include <gtest/gtest.h>

#include "frontend/scene_save.h"
#include "records/story_saves.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/bmp_writer.h"
#include "tools/records/save_writer.h"

using namespace scenetest;

namespace {

const REQUEST kDecide{WM_REQ_SOUND, 1}, kCancel{WM_REQ_SOUND, 2}, kRefused{WM_REQ_SOUND, 3},
    kSaved{WM_REQ_SOUND, 5}, kMusic1{WM_REQ_MUSIC, 1};

class SaveScene : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        // The save screen's own sheets: the symbol sheet, and the cursor sheet with the slot
        // mark (80, 0) beside the list cursor (64, 0).
        tools::BmpPicture symbol = tools::SolidPicture(256, 256, 0xFF00FF);
        ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\Symbol.bmp"), symbol, tools::BmpOptions{}));
        tools::BmpPicture cursors = tools::SolidPicture(96, 32, 0xFF00FF);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                if (x >= 2 && x < 2 + (y < 8 ? y : 15 - y) * 2) cursors.rgb[(size_t)y * 96 + 64 + x] = 0x20E0FF;
                if (x >= 3 && x < 13 && y >= 3 && y < 13) cursors.rgb[(size_t)y * 96 + 80 + x] = 0xE04040;
            }
        ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\Accessory.bmp"), cursors, tools::BmpOptions{}));
        Open();
        g_SaveData.Reset();
        g_SaveData.m_strPlayerName = "now";
        g_SceneManager.m_nCurrent = SCENE_SAVE;
    }
    cSceneSave* Save() { return dynamic_cast<cSceneSave*>(g_SceneManager.m_lpScenes[SCENE_SAVE]); }
    int State() { return Save() ? Save()->m_nState : -99; }
    int Phase() { return Save() ? Save()->m_nPhase : -99; }
    int Row() { return g_MenuCursor.m_pCurrent->nY; }
    void ToMenu() {
        for (int i = 0; i < 30 && State() != 1; ++i) Frame();
        ASSERT_EQ(State(), 1);
        Taken();
    }
    // Confirms the menu entry of a menu number.
    void Choose(int menu) {
        ToMenu();
        const std::vector<int>& e = Save()->Entries();
        int row = (int)(std::find(e.begin(), e.end(), menu) - e.begin());
        ASSERT_LT(row, (int)e.size());
        while (Row() != row) Tap(8);
        Taken();
        Tap(0, 1);
        ASSERT_EQ(Taken(), std::vector<REQUEST>{kDecide});
        // The back entry's state leaves at once for the fade-out.
        ASSERT_EQ(State(), menu == SAVEMENU_BACK ? 6 : menu + 2);
    }
    // Runs the fade-out to its end; true when the scene handed over to `next`.
    bool FadesOutTo(int next) {
        for (int i = 0; i < 40 && g_SceneManager.m_nCurrent == SCENE_SAVE; ++i) Frame();
        return g_SceneManager.m_nCurrent == next && g_SceneManager.m_nPrevious == SCENE_SAVE;
    }
    cSaveData ReadSlot(int slot) {
        char path[MAX_PATH];
        MakeStoryPath(path, slot);
        cSaveData d;
        EXPECT_TRUE(ReadSaveFile(path, d)) << path;
        return d;
    }
    bool SlotExists(int slot) {
        char path[MAX_PATH];
        MakeStoryPath(path, slot);
        return folder->Exists(path);
    }
};

TEST_F(SaveScene, EntriesAreTheEnabledRecordsAndTheMusicIsTheMapTune) {
    g_SystemData.m_vecMenuTunes[1] = 0;
    struct Case {
        std::vector<int> shown;
        std::vector<int> entries;
    } cases[] = {{{0, 1, 2, 3}, {0, 1, 2, 3}}, {{1, 3}, {1, 3}}, {{}, {0}}};
    for (const Case& c : cases) {
        for (size_t i = 0; i < g_SystemData.m_vecSaveMenu.size(); ++i)
            g_SystemData.m_vecSaveMenu[i].m_bShown = std::count(c.shown.begin(), c.shown.end(), (int)i) ? 1 : 0;
        Frame();
        EXPECT_EQ(Save()->Entries(), c.entries);
        EXPECT_EQ(Taken(), std::vector<REQUEST>{kMusic1}) << "a tune of 0 is asked for every time";
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelX, 264);
        EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 192);
        g_SceneManager.DestroyAll();
    }
}

TEST_F(SaveScene, TheMenuWindowWithTheInfoLine) {
    g_SaveData.m_nBestTotal = 12345;
    ToMenu();
    Tap(8);
    drawtest::ExpectGolden(*BackPixels(), "save_menu");
    // Without a total, or with the project's display switch off, there is no info line.
    std::vector<uint32_t> with = drawtest::Argb(*BackPixels(), true);
    for (int off : {0, 1}) {
        g_SaveData.m_nBestTotal = off ? 12345 : 0;
        g_SystemData.m_nWord14 = off ? 0 : 1;
        Frame();
        std::vector<uint32_t> without = drawtest::Argb(*BackPixels(), true);
        int changed = 0;
        for (size_t i = 0; i < with.size(); ++i)
            if (with[i] != without[i]) {
                ++changed;
                EXPECT_GE(i / 640, 259u);  // the box at y 260, 16 high, with its frame
                EXPECT_LE(i / 640, 276u);
            }
        EXPECT_GT(changed, 0);
    }
}

TEST_F(SaveScene, CancelInTheMenuReturnsToTheWorldMap) {
    ToMenu();
    Frame(0, 2);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kCancel});
    Frame();
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_WORLDMAP);
    EXPECT_EQ(State(), 6);
    // The save screen keeps its request list through the fade-out (it empties it in Init).
    Save()->m_vecRequest.assign(3, SCENEREQUEST{});
    EXPECT_TRUE(FadesOutTo(SCENE_WORLDMAP));
    EXPECT_EQ(State(), -1) << "handed over, the scene would start afresh";
    EXPECT_EQ(Save()->m_vecRequest.size(), 3u);
    // The back entry does the same.
    g_SceneManager.m_nCurrent = SCENE_SAVE;
    Choose(SAVEMENU_BACK);
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_WORLDMAP);
    EXPECT_TRUE(FadesOutTo(SCENE_WORLDMAP));
}

TEST_F(SaveScene, TheReturnToTitleQuestionStartsOnStaying) {
    Choose(SAVEMENU_TITLE);
    Frame();
    EXPECT_EQ(Row(), 1);
    int x = MenuLeftX(320, 17, 2, TRUE);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelX, x);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 224 + 16);
    // Staying, and cancelling, go back to the menu on the title entry.
    Tap(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
    EXPECT_EQ(State(), 1);
    EXPECT_EQ(g_MenuCursor.m_vecPos.size(), 1u);
    EXPECT_EQ(Row(), 3);
    Tap(0, 1);
    Taken();
    Tap(0, 2);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kCancel});
    EXPECT_EQ(State(), 1);
    // The first answer leaves for the title.
    Tap(0, 1);
    Tap(4);
    Taken();
    Frame(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
    EXPECT_EQ(g_SceneManager.m_nNext, SCENE_TITLE);
    EXPECT_TRUE(FadesOutTo(SCENE_TITLE));
}

TEST_F(SaveScene, SavingIntoASlotAsksFirstAndKeepsTheSlot) {
    Choose(SAVEMENU_SAVE);
    Frame();
    // A story never saved opens the list on the first slot.
    EXPECT_EQ(Row(), 0);
    EXPECT_EQ(Save()->ListTop(), 0);
    EXPECT_EQ(Save()->VisibleRows(), 10);
    for (int i = 0; i < 3; ++i) Tap(8);
    Taken();
    Tap(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
    EXPECT_EQ(Phase(), 2);
    EXPECT_EQ(Row(), 1) << "the question starts on its second answer";
    drawtest::ExpectGolden(*BackPixels(), "save_question");
    // The second answer saves nothing.
    Tap(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
    EXPECT_EQ(Phase(), 1);
    EXPECT_EQ(Row(), 3);
    EXPECT_FALSE(SlotExists(3));
    EXPECT_EQ(g_SaveData.m_nStorySlot, -1);
    // The first answer saves, with the saved sound, and the story keeps the slot.
    Tap(0, 1);
    Tap(4);
    Taken();
    Tap(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kSaved});
    EXPECT_EQ(Phase(), 1);
    EXPECT_EQ(g_SaveData.m_nStorySlot, 3);
    EXPECT_TRUE(g_SaveSlotList.m_vecSlots[3].m_bUsed);
    cSaveData back = ReadSlot(3);
    EXPECT_EQ(back.m_strPlayerName, "now");
    EXPECT_EQ(back.m_nStorySlot, 3);
    // Cancel goes back to the menu on the save entry; the list opens again on the story's slot.
    Tap(0, 2);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kCancel});
    EXPECT_EQ(State(), 1);
    EXPECT_EQ(Row(), 0);
    Tap(0, 1);
    Frame();
    EXPECT_EQ(Row(), 3);
}

TEST_F(SaveScene, AListOpenedOnTheLastSlotsKeepsItsWindowFull) {
    g_SaveData.m_nStorySlot = 97;
    Choose(SAVEMENU_SAVE);
    Frame();
    EXPECT_EQ(Row(), 97);
    EXPECT_EQ(Save()->ListTop(), 89);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 160 + 16 * 8);
}

TEST_F(SaveScene, ASaveThatCannotBeWrittenIsRefusedAndTheStoryKeepsItsSlot) {
    // Slot 2's file cannot be replaced: a folder stands in its place.
    folder->MakeFolder("user_data\\story\\Story03.dat");
    g_SaveData.m_nStorySlot = 1;
    Choose(SAVEMENU_SAVE);
    Frame();
    Tap(8);
    Tap(0, 1);
    Tap(4);
    Taken();
    Tap(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kRefused});
    EXPECT_EQ(g_SaveData.m_nStorySlot, 1);
    EXPECT_FALSE(g_SaveSlotList.m_vecSlots[2].m_bUsed);
    EXPECT_EQ(Phase(), 1);
    EXPECT_NE(Report().find("Story03.dat"), std::string::npos) << Report();
}

TEST_F(SaveScene, AutomaticSavingNeedsASlot) {
    // Never saved: the message alone, closed by either button.
    for (WORD button : {1, 2}) {
        Choose(SAVEMENU_AUTOSAVE);
        Frame();
        EXPECT_EQ(Phase(), 2);
        if (button == 1) drawtest::ExpectGolden(*BackPixels(), "save_never_saved");
        Frame(0, button);
        EXPECT_EQ(Taken(), std::vector<REQUEST>{button == 1 ? kDecide : kCancel});
        EXPECT_EQ(State(), 1);
        EXPECT_EQ(g_MenuCursor.m_vecPos.size(), 1u);
        EXPECT_EQ(AutoSaveSwitch(g_SaveData), 0);
        Frame();
    }
}

TEST_F(SaveScene, SwitchingAutomaticSavingOnSavesAtOnce) {
    g_SaveData.m_nStorySlot = 5;
    Choose(SAVEMENU_AUTOSAVE);
    Frame();
    EXPECT_EQ(Phase(), 1);
    EXPECT_EQ(Row(), 1) << "the cursor shows the switch: off";
    Tap(4);
    Taken();
    Tap(0, 1);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
    EXPECT_EQ(State(), 1);
    EXPECT_EQ(AutoSaveSwitch(g_SaveData), 1);
    cSaveData back = ReadSlot(5);
    EXPECT_EQ(AutoSaveSwitch(back), 1) << "the saved story keeps automatic saving on";
    EXPECT_EQ(back.m_nStorySlot, 5);
    // Switching it off saves nothing.
    g_SaveData.m_strPlayerName = "later";
    Tap(0, 1);
    Frame();
    EXPECT_EQ(Row(), 0) << "the cursor shows the switch: on";
    Tap(8);
    Tap(0, 1);
    EXPECT_EQ(AutoSaveSwitch(g_SaveData), 0);
    EXPECT_EQ(ReadSlot(5).m_strPlayerName, "now");
    // Cancel changes nothing.
    Tap(0, 1);
    Frame();
    Tap(4);
    Tap(0, 2);
    EXPECT_EQ(State(), 1);
    EXPECT_EQ(AutoSaveSwitch(g_SaveData), 0);
}

}  // namespace
