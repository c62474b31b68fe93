// The ranking boards: the number formats, the board of a table in its three forms (goldens),
// the font's icon switch around names, the result board, and the registration of a finished
// game with its ranking view on the ranking worker thread.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <filesystem>
#include <thread>

#include "app/main_window.h"
#include "app/name_entry_request.h"
#include "core/thread.h"
#include "frontend/ranking_board.h"
#include "frontend/ranking_entry.h"
#include "frontend/ranking_format.h"
#include "play/play_scene.h"
#include "records/option_data.h"
#include "records/ranking.h"
#include "tests/frontend/ranking_fixture.h"

using namespace scenetest;
using namespace rankingtest;

namespace {

TEST(RankingFormat, DigitsSignedValuesAndTimes) {
    struct Digits {
        int32_t value;
        int digits;
    } digits[] = {{0, 1}, {9, 1}, {-9, 1}, {10, 2}, {-10, 2}, {999999, 6}, {INT_MAX, 10}, {INT_MIN, 10}};
    for (const Digits& d : digits) EXPECT_EQ(CountDigits(d.value), d.digits) << d.value;

    struct Signed {
        int32_t value;
        int width;
        bool zero, plus;
        const char* text;
    } values[] = {
        {7, 3, false, false, "  7"},     {7, 3, true, false, "007"},   {-7, 3, false, false, "-  7"},
        {0, 0, false, true, "+0"},       {0, 3, false, false, "  0"},  {-7, 3, true, false, "-007"},
        {1234, 2, false, false, "1234"}, {5, -4, true, false, "5"},    {12, 5, false, true, "+   12"},
        {INT_MIN, 0, false, false, "-2147483648"},
        {1, 1000, true, false, "00000000000000000000000000000001"},  // widths are held to 32
    };
    for (const Signed& v : values) {
        std::string out = "stale";
        FormatSignedValue(out, v.value, v.width, v.zero, v.plus);
        EXPECT_EQ(out, v.text) << v.value << " width " << v.width;
    }

    struct Time {
        int32_t value;
        const char* text;
    } times[] = {{0, "00:00.00"},       {12345, "02:03.45"},  {6543210, "1090:32.10"}, {599999, "99:59.99"},
                 {-12345, "-02:-03.-45"}, {INT_MAX, "357913:56.47"}, {INT_MIN, "-357913:-56.-48"}};
    for (const Time& t : times) {
        std::string out;
        FormatRankingTime(out, t.value);
        EXPECT_EQ(out, t.text) << t.value;
    }
}

class RankingBoard : public RankingFixture {
protected:
    // Challenge mode ranking the given kinds.
    void RankKinds(std::vector<int> kinds, int on = 1) {
        g_SceneManager.m_nGameMode = 1;
        g_SceneManager.m_bModeRanking = on;
        cSysRankingRule& rule = g_SystemData.m_vecRankingRules[1];
        rule.m_bOn = (uint32_t)on;
        rule.m_vecTables.assign(5, 0);
        for (int k : kinds) rule.m_vecTables[(size_t)k] = 1;
    }
    void Clear() { DDFillSurface(&g_BackBufferSD, 16); }
};

TEST_F(RankingBoard, BoardsOfScoresTimesAndAnEmptyTable) {
    // Kind 1 ranked lower first: a value with more digits than place 0's starts further left.
    RankKinds({0, 1, 2});
    cRankingTable& t = g_RankingHolder.m_vecTables[1];
    t.m_nOrder = 0;
    t.Add("ABC", 5);
    t.Add("ぬし", 120);
    t.Add("z", 3000);
    Clear();
    g_RankingHolder.DrawTable(&g_BackBufferSD, 184, 64, 1, 2);
    drawtest::ExpectGolden(*BackPixels(), "ranking_board_counts");

    // Times, the English title, no hint with a single ranked kind, the mark on place 0.
    RankKinds({2});
    g_SystemIni.nEnglish = 1;
    cRankingTable& times = g_RankingHolder.m_vecTables[2];
    times.Add("FST", 6543);
    times.Add("SLW", 6543210);
    Clear();
    g_RankingHolder.DrawTable(&g_BackBufferSD, 0, 0, 2, 0);
    drawtest::ExpectGolden(*BackPixels(), "ranking_board_times_english");
    g_SystemIni.nEnglish = 0;

    // Every place empty: the box, the title and (two kinds ranked) the hint line only.
    RankKinds({3, 4});
    Clear();
    g_RankingHolder.DrawTable(&g_BackBufferSD, 292, 108, 4, -1);
    drawtest::ExpectGolden(*BackPixels(), "ranking_board_empty");

    // A kind outside 0-4 draws nothing.
    Clear();
    const raster::PixelStore before = BackPixels()->bits;
    g_RankingHolder.DrawTable(&g_BackBufferSD, 0, 0, 5, 0);
    g_RankingHolder.DrawTable(&g_BackBufferSD, 0, 0, -1, 0);
    EXPECT_TRUE(BackPixels()->bits == before);
}

TEST_F(RankingBoard, TheFontSwitchTurnsIconLettersOffForNamesOnly) {
    // The icon sheet the small font draws lowercase letters from.
    ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\Symbol.bmp"), tools::SolidPicture(256, 256, 0x00FF00),
                                tools::BmpOptions{}));
    int symbol = 50;
    ASSERT_TRUE(DDReloadSurfaces(g_SurfaceData, &symbol, 1));
    RankKinds({0});
    g_RankingHolder.m_vecTables[0].Add("abc", 1);
    g_Fonts[1].m_bIcon = 1;
    g_SystemData.m_bFontFlag = 0;
    Clear();
    g_RankingHolder.DrawTable(&g_BackBufferSD, 0, 0, 0, -1);
    const raster::PixelStore withIcons = BackPixels()->bits;
    g_SystemData.m_bFontFlag = 1;
    Clear();
    g_RankingHolder.DrawTable(&g_BackBufferSD, 0, 0, 0, -1);
    EXPECT_EQ(g_Fonts[1].m_bIcon, 1u);  // back on after the board
    // The name "abc" is drawn as letters with the switch, as icon cells without it.
    EXPECT_FALSE(BackPixels()->bits == withIcons);
    g_Fonts[1].m_bIcon = 0;
}

TEST_F(RankingBoard, TheResultBoardShowsTheSwitchedKindsAndStacksPlaceMarks) {
    const int32_t values[5] = {123456, 42, 12345, 7, 9};
    const int32_t all[5] = {1, 1, 1, 1, 1};
    // The mode ranks kinds 0, 2 and 4; switch 4 is off; two places found (kinds 2 and 0).
    RankKinds({0, 2, 4});
    const int32_t switches[5] = {1, 1, 1, 1, 0};
    const int32_t places[5] = {3, -1, 0, -1, -1};
    Clear();
    DrawResultBoard(&g_BackBufferSD, 336, 224, places, values, switches);
    drawtest::ExpectGolden(*BackPixels(), "ranking_result_board");

    // Play from a stage file shows every switched kind whatever the mode ranks.
    g_bStageFileStart = 1;
    const int32_t none[5] = {-1, -1, -1, -1, -1};
    Clear();
    DrawResultBoard(&g_BackBufferSD, 0, 0, none, values, all);
    drawtest::ExpectGolden(*BackPixels(), "ranking_result_board_stagefile");
    g_bStageFileStart = 0;

    // No shown kind: nothing at all, not even place marks.
    RankKinds({});
    Clear();
    const raster::PixelStore before = BackPixels()->bits;
    DrawResultBoard(&g_BackBufferSD, 0, 0, places, values, all);
    EXPECT_TRUE(BackPixels()->bits == before);
}

// ---- registration ----

// The main window's name-entry request served as the program serves it.
WNDPROC g_fixtureProc = nullptr;
LRESULT NameEntryProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_REQ_NAMEENTRY) {
        Requests().push_back({m, w});
        return ServeNameEntryRequest(&g_lpPlayScene->m_strRankingName);
    }
    return CallWindowProcA(g_fixtureProc, h, m, w, l);
}

// What the ranking view's frames do: keys set for the next frame's poll, and one picture kept.
struct VIEWSCRIPT {
    std::atomic<int> frame{0};
    int holdZUntil = 0;        // Z held from before the view until this frame
    int tapV = 0;              // V down at this frame, up two frames later (0: never)
    int captureAt = 0;         // the picture of the frame before is kept at this frame
    int pressZ = 0;            // Z down at this frame (ends the view on the next poll)
    raster::PixelStore picture;
};
VIEWSCRIPT* g_view = nullptr;
raster::Surface* (*g_backPixels)() = nullptr;

void ScriptedBackdrop(cPlayScene*) {
    VIEWSCRIPT& s = *g_view;
    const int f = ++s.frame;
    if (f == s.captureAt) s.picture = g_backPixels()->bits;
    if (f == s.holdZUntil) host::SetKeyState('Z', false);
    if (s.tapV && f == s.tapV) host::SetKeyState('V', true);
    if (s.tapV && f == s.tapV + 2) host::SetKeyState('V', false);
    if (f == s.pressZ) host::SetKeyState('Z', true);
    DDFillSurface(&g_BackBufferSD, 30);
}

class RankingEntry : public RankingBoard {
protected:
    void SetUp() override {
        RankingBoard::SetUp();
        g_fixtureProc = (WNDPROC)SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)NameEntryProc);
        ShowWindow(hwnd, SW_SHOW);
        g_MainWindow.m_hWnd = hwnd;
        g_lpPlayScene = &scene;
        g_bAppActive = 1;
        g_view = &view;
        g_backPixels = [] { return backPixels(); };
        self = this;
        g_OptionData = cOptionData();
        g_SaveData.m_strStageName = "data\\stg4\\c01.";
        result = RANKINGRESULT{{500, 0, 4200, 0, 0}, {1, -1, 0, -1, -1}, 1, 0};
    }
    void TearDown() override {
        host::SetKeyState('Z', false);
        host::SetKeyState('V', false);
        g_bAppActive = 0;
        g_lpPlayScene = nullptr;
        g_MainWindow.m_hWnd = nullptr;
        g_OptionData = cOptionData();
        self = nullptr;
        RankingBoard::TearDown();
    }
    static raster::Surface* backPixels() { return self->BackPixels(); }

    // RegisterRankingEntry on a game thread of its own while this (window) thread serves its
    // requests; false when it did not end within 20 s.
    bool Register() {
        std::atomic<bool> done{false};
        std::thread game([&] {
            RegisterRankingEntry(scene, result, ScriptedBackdrop);
            done = true;
        });
        for (int i = 0; i < 20000 && !done; ++i) {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
            Sleep(1);
        }
        if (!done) {
            thRanking.Exit();
            game.join();
            return false;
        }
        game.join();
        return true;
    }
    std::vector<int32_t> Names(int k, std::vector<std::string>* names) {
        std::vector<int32_t> values;
        for (const cRankingEntry& e : g_RankingHolder.m_vecTables[(size_t)k].m_vecEntries)
            if (e.m_bUsed) values.push_back(e.m_nValue), names->push_back(e.m_strName);
        return values;
    }

    static RankingEntry* self;
    cPlayScene scene;
    RANKINGRESULT result{};
    VIEWSCRIPT view;
};
RankingEntry* RankingEntry::self = nullptr;

TEST_F(RankingEntry, NothingHappensWithoutRankingAPlaceOrASecondTime) {
    struct Case {
        const char* what;
        int modeRanking, reached, registered;
    } cases[] = {{"mode does not rank", 0, 1, 0}, {"no place reached", 1, 0, 0}, {"already registered", 1, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RankKinds({0, 2}, c.modeRanking);
        result.bPlaceReached = c.reached;
        result.bRegistered = c.registered;
        ASSERT_TRUE(Register());
        EXPECT_TRUE(Taken().empty());
        EXPECT_EQ(view.frame.load(), 0);
        EXPECT_FALSE(folder->Exists("user_data\\challenge\\c01.rkg"));
        EXPECT_EQ(result.bRegistered, c.registered);
        EXPECT_EQ(g_RankingHolder.m_vecTables[0].FindPlace(1), 0);  // still empty
    }
}

TEST_F(RankingEntry, AStoredEmptyNameEntersTheResultsAndTheViewStepsTables) {
    RankKinds({0, 2});
    g_OptionData.m_nRankingMode = 1;
    g_OptionData.m_strRankingName.clear();
    g_RankingHolder.m_vecTables[0].Add("OLD", 900);
    g_SaveData.m_nRankingTable = 1;  // not ranked: the view starts on table 2
    view.holdZUntil = 2;             // Z still held from the result screen does not end it
    view.tapV = 3;
    view.captureAt = 7;
    view.pressZ = 8;
    host::SetKeyState('Z', true);
    ASSERT_TRUE(Register());

    // No dialog; sound 16, then the table switch once for a V held two frames, then decide.
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{{WM_REQ_SOUND, 16}, {WM_REQ_SOUND, 6}, {WM_REQ_SOUND, 1}}));
    EXPECT_EQ(view.frame.load(), 8);
    EXPECT_EQ(result.bRegistered, 1);
    EXPECT_EQ(g_SaveData.m_nRankingTable, 0);  // stepped from 2 past the unranked 3 and 4
    std::vector<std::string> names;
    EXPECT_EQ(Names(0, &names), (std::vector<int32_t>{900, 500}));
    EXPECT_EQ(names, (std::vector<std::string>{"OLD", ""}));
    names.clear();
    EXPECT_EQ(Names(2, &names), std::vector<int32_t>{4200});
    EXPECT_TRUE(Names(1, &names).empty());  // no place: nothing entered

    // The file holds what the holder holds.
    cRankingHolder saved;
    ASSERT_EQ(LoadRanking(saved, 1, "data\\stg4\\c01."), 1);
    EXPECT_EQ(saved.m_vecTables[0].m_vecEntries[1].m_nValue, 500);
    EXPECT_EQ(saved.m_vecTables[2].m_vecEntries[0].m_nValue, 4200);

    // The view of table 0 with the new entry's place (1) marked.
    ASSERT_EQ(view.picture.size(), BackPixels()->bits.size());
    BackPixels()->bits = view.picture;
    drawtest::ExpectGolden(*BackPixels(), "ranking_view");

    // A second call for the same game does nothing.
    view.frame = 0;
    ASSERT_TRUE(Register());
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(Names(0, &names).size(), 2u);
}

TEST_F(RankingEntry, TheDialogEditsThePlayersNameAndAFailedSaveIsReported) {
    RankKinds({0, 2});
    g_SceneManager.m_nGameMode = 2;  // the stage-file mode, ranking kinds 0 and 2 as well
    g_SystemData.m_vecRankingRules[2] = g_SystemData.m_vecRankingRules[1];
    std::filesystem::remove_all(folder->HostPath("user_data\\free"));
    g_OptionData.m_nRankingMode = 2;
    g_SaveData.m_strPlayerName = "aaa";
    host::script::LoadText((const char*)u8"answer dialog type 1003 ヨシ key RETURN\n", folder->Root());
    view.pressZ = 1;
    ASSERT_TRUE(Register());
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{{WM_REQ_NAMEENTRY, 0}, {WM_REQ_SOUND, 16}, {WM_REQ_SOUND, 1}}));
    EXPECT_EQ(g_SaveData.m_strPlayerName, "ヨシ");  // the next dialog starts with it
    std::vector<std::string> names;
    EXPECT_EQ(Names(0, &names), std::vector<int32_t>{500});
    EXPECT_EQ(names, std::vector<std::string>{"ヨシ"});
    EXPECT_EQ(result.bRegistered, 1);
    EXPECT_NE(Report().find("user_data\\free\\c01.rkg : ranking not saved"), std::string::npos) << Report();
}

}  // namespace
