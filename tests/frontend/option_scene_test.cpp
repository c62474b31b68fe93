// The option scene: its rows from the project's option-row list, the screen (goldens), changing
// each value with wrap-around, the colour table and the volume applied at once and put back on
// cancel, the stored name through the name-entry dialog, the music switch applied on leaving,
// and the option file saved whichever way the scene is left.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/game_loop.h"
#include "frontend/scene_option.h"
#include "frontend/scene_title.h"
#include "media/bgm.h"
#include "media/music_request.h"
#include "media/sound.h"
#include "platform/audio/mixer.h"
#include "records/data_paths.h"
#include "records/option_data.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/bmp_writer.h"
#include "tools/ogg_writer.h"
#include "tools/wave_writer.h"

using namespace scenetest;

namespace {

const REQUEST kDecide{WM_REQ_SOUND, 1}, kCancel{WM_REQ_SOUND, 2};
const REQUEST kMusic0{WM_REQ_MUSIC, 0}, kMusic3{WM_REQ_MUSIC, 3};

// The test window's procedure: the name-entry request goes to the program's own main window
// procedure (which runs the dialog on the option name); music requests are also served when a
// test asks; everything else is recorded as the other scene tests record it.
bool g_bServeMusic = false;
LRESULT OptionTestProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_REQ_NAMEENTRY) {
        Requests().push_back({m, w});
        return MainWndProc(h, m, w, l);
    }
    // The music switch is served as the main window serves it, and is not recorded.
    if (m == WM_REQ_MUSIC && w == MUSIC_REQ_SWITCH) return ServeMusicSwitch(l);
    if (m == WM_REQ_MUSIC && g_bServeMusic) {
        Requests().push_back({m, w});
        ServeMusicRequest(w, l);
        return 0;
    }
    return RecordingProc(h, m, w, l);
}

class OptionScene : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)&OptionTestProc);
        g_bServeMusic = false;
        g_OptionData = cOptionData();
        // The cursors: the row cursor at (64, 0) and the edit mark at (80, 0), on the key colour.
        tools::BmpPicture cursors = tools::SolidPicture(96, 32, 0xFF00FF);
        auto fill = [&](int x, int y, int w, int h, uint32_t rgb) {
            for (int j = y; j < y + h; ++j)
                for (int i = x; i < x + w; ++i) cursors.rgb[(size_t)j * 96 + i] = rgb;
        };
        for (int j = 0; j < 16; ++j) fill(66, j, 2 * (j < 8 ? j : 15 - j) + 1, 1, 0x20E0FF);  // an arrow
        fill(82, 2, 12, 12, 0xF0C040);                                                        // a square
        fill(85, 5, 6, 6, 0xFF00FF);
        ASSERT_TRUE(tools::WriteBmp(folder->HostPath("bmp\\Accessory.bmp"), cursors, tools::BmpOptions{}));
        g_SceneManager.m_nCurrent = g_SceneManager.m_nNext = SCENE_OPTION;
    }
    void TearDown() override {
        SceneFixture::TearDown();
        g_MainWindow.m_hWnd = nullptr;
        g_OptionData = cOptionData();
        g_Bgm.Release();
        SetMusicData(MUSICDATA{});
        if (m_bSound) {
            DS_End();
            for (cSound& s : g_vecSound) cSound::Release(s);
            g_vecSound.clear();
            g_vecSoundFile.clear();
            audio::SetManualMode(false);
        }
    }
    cSceneOption* Option() { return dynamic_cast<cSceneOption*>(g_SceneManager.m_lpScenes[SCENE_OPTION]); }
    int State() { return Option() ? Option()->m_nState : -99; }
    int Phase() { return Option() ? Option()->m_nPhase : -99; }
    int Row() { return g_MenuCursor.m_vecPos.front().nY; }
    // The options up to the row choice (the fade-in done, the cursor cleared).
    void ToRows() {
        for (int i = 0; i < 40 && !(State() == 1 && Phase() == 1); ++i) Frame();
        ASSERT_EQ(State(), 1);
        ASSERT_EQ(Phase(), 1);
    }
    // Moves the row cursor to the row of a kind and confirms it.
    void Edit(int kind) {
        ToRows();
        const std::vector<int>& rows = Option()->Rows();
        int row = (int)(std::find(rows.begin(), rows.end(), kind) - rows.begin());
        ASSERT_LT(row, (int)rows.size());
        while (Row() != row) Tap(8);
        Tap(0, 1);
    }
    // Frames until the option scene has handed over to the title.
    void LeaveToTitle() {
        for (int i = 0; i < 40 && g_SceneManager.m_nCurrent == SCENE_OPTION; ++i) Frame();
        ASSERT_EQ(g_SceneManager.m_nCurrent, SCENE_TITLE);
        EXPECT_EQ(g_SceneManager.m_nPrevious, SCENE_OPTION);
    }
    // The settings' own labels name what kinds 0-4 edit; the sixth record, the colour table,
    // has no label of its own.
    static void NameTheRows() {
        g_SystemData.m_vecOptionMenu[OPTION_PALETTE].m_strText = "カラーパレット";
    }
    // A sound table of 17 system sounds with two buffers each, at volume step 7.
    void OpenSound() {
        audio::SetManualMode(true);
        ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
        m_bSound = true;
        std::string wave = folder->Root() + "/beep.wav";
        ASSERT_TRUE(tools::WriteBytes(wave, tools::WaveFileBytes(22050, 16, 1, std::vector<int16_t>(441, 8000))));
        BuildSoundTable(std::vector<std::string>(17, "beep.wav"), {});
        for (SOUNDFILEDESC& f : g_vecSoundFile) f.dwCount = 2;
        cSound::LoadTable(g_vecSound, g_vecSoundFile, GetVolumeFromStep(7));
    }
    // Every buffer of the sound table at this volume.
    static void ExpectVolume(LONG volume) {
        ASSERT_FALSE(g_vecSound.empty());
        for (cSound& s : g_vecSound)
            for (int i = 0; i < s.m_nCount; ++i) EXPECT_EQ(cSound::GetVolume(s, i), volume) << s.m_szName << " " << i;
    }
    cOptionData SavedOptions() {
        cOptionData saved;
        saved.m_strRankingName = "unread";
        EXPECT_TRUE(saved.LoadFile(g_PathTable[PATH_OPTION]));
        return saved;
    }
    bool m_bSound = false;
};

TEST_F(OptionScene, RowsAreTheEnabledRecordsOfTheOptionList) {
    Open();
    struct Case {
        std::vector<int> shown;
        size_t records;
        std::vector<int> rows;
    } cases[] = {
        {{0, 1, 2, 3, 4, 5}, 6, {0, 1, 2, 3, 4, 5}},
        {{1, 4, 5}, 6, {1, 4, 5}},
        {{}, 6, {0}},                          // nothing enabled: the row of kind 0 alone
        {{1, 2, 3, 4, 5, 6, 7}, 8, {1, 2, 3, 4, 5, 6}},  // at most six rows
    };
    for (const Case& c : cases) {
        g_SystemData.m_vecOptionMenu.resize(c.records);
        for (size_t i = 0; i < c.records; ++i)
            g_SystemData.m_vecOptionMenu[i].m_bShown = std::count(c.shown.begin(), c.shown.end(), (int)i) ? 1 : 0;
        ToRows();
        EXPECT_EQ(Option()->Rows(), c.rows);
        // The cursor wraps over the rows, 16 dots apart from y 96 at x 48.
        int n = (int)c.rows.size();
        for (int step = 1; step <= n + 1; ++step) {
            Tap(8);
            EXPECT_EQ(Row(), step % n);
            EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelX, 48);
            EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 96 + 16 * (step % n));
        }
        g_SceneManager.DestroyAll();
        g_SceneManager.m_nCurrent = SCENE_OPTION;
    }
}

TEST_F(OptionScene, TheScreenWithTheRowCursorAndWhileAValueChanges) {
    Open();
    NameTheRows();
    g_OptionData.m_nPaletteNo = 12;
    g_OptionData.m_strRankingName = "あいう";
    ToRows();
    Tap(8);
    drawtest::ExpectGolden(*BackPixels(), "option_rows");
    Tap(0, 1);  // the volume
    Tap(4);     // 7 -> 8
    ASSERT_EQ(Phase(), 2);
    EXPECT_EQ(g_OptionData.m_nVolume, 8u);
    drawtest::ExpectGolden(*BackPixels(), "option_edit");
    // Every kind's value text; a kind beyond the six shows none.
    struct Case {
        int kind;
        const char* text;
    } cases[] = {{OPTION_PALETTE, "12"}, {OPTION_MUSIC, "ON"}, {OPTION_VOLUME, "8"},
                 {OPTION_RANKINGMODE, "手動登録（登録名入力）"}, {OPTION_RANKINGNAME, "あいう"}, {OPTION_BACK, ""}, {6, ""}};
    for (const Case& c : cases) {
        char text[256] = "x";
        FormatOptionValue(c.kind, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.kind;
    }
    g_OptionData.m_bMusic = 0;
    g_OptionData.m_nRankingMode = 3;
    char text[256];
    FormatOptionValue(OPTION_MUSIC, text, sizeof text);
    EXPECT_STREQ(text, "OFF");
    FormatOptionValue(OPTION_RANKINGMODE, text, sizeof text);
    EXPECT_STREQ(text, "自動登録（登録名固定）");
}

TEST_F(OptionScene, AfterADirectDrawLossTheScreenIsDrawnAgain) {
    Open();
    ToRows();
    Frame();
    std::vector<uint32_t> before = drawtest::Argb(*BackPixels(), true);
    ddraw::SimulateSurfaceLoss(g_lpDD);
    ASSERT_EQ(RestoreSurfaces(), 1);
    ASSERT_EQ(g_vecSceneSurface.size(), 1u);
    EXPECT_EQ(g_vecSceneSurface[0].bLost, 1u);
    Frame();
    EXPECT_EQ(g_vecSceneSurface[0].bLost, 0u);
    EXPECT_EQ(drawtest::Argb(*BackPixels(), true), before);
}

TEST_F(OptionScene, ValuesStepAndWrapAtBothEnds) {
    Open();
    struct Case {
        int kind;
        uint32_t cOptionData::*field;
        uint32_t start;
        WORD key;  // 4 up, 8 down
        std::vector<uint32_t> after;
    } cases[] = {
        {OPTION_PALETTE, &cOptionData::m_nPaletteNo, 22, 4, {23, 0, 1}},
        {OPTION_PALETTE, &cOptionData::m_nPaletteNo, 1, 8, {0, 23, 22}},
        {OPTION_MUSIC, &cOptionData::m_bMusic, 1, 4, {0, 1, 0}},
        {OPTION_MUSIC, &cOptionData::m_bMusic, 0, 8, {1, 0, 1}},
        {OPTION_VOLUME, &cOptionData::m_nVolume, 9, 4, {10, 0, 1}},
        {OPTION_VOLUME, &cOptionData::m_nVolume, 0, 8, {10, 9}},
        {OPTION_RANKINGMODE, &cOptionData::m_nRankingMode, 2, 4, {3, 0}},
        {OPTION_RANKINGMODE, &cOptionData::m_nRankingMode, 0, 8, {3, 2}},
        // A switch out of its range (a damaged option file) wraps like any other value.
        {OPTION_MUSIC, &cOptionData::m_bMusic, 0xFFFFFFFFu, 8, {0, 1}},
        {OPTION_MUSIC, &cOptionData::m_bMusic, 7, 4, {0}},
    };
    for (const Case& c : cases) {
        g_OptionData.*c.field = c.start;
        Edit(c.kind);
        ASSERT_EQ(Phase(), 2) << c.kind;
        EXPECT_EQ(Option()->SelectedKind(), c.kind);
        EXPECT_EQ(g_MenuCursor.m_vecPos.size(), 2u);
        Taken();
        for (uint32_t v : c.after) {
            Tap(c.key);
            EXPECT_EQ(g_OptionData.*c.field, v) << c.kind << " from " << c.start;
        }
        // Left and right change nothing; confirming keeps the value and returns to the rows.
        Tap(1);
        Tap(2);
        EXPECT_EQ(g_OptionData.*c.field, c.after.back());
        Tap(0, 1);
        EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
        EXPECT_EQ(Phase(), 1);
        EXPECT_EQ(g_MenuCursor.m_vecPos.size(), 1u);
        EXPECT_EQ(Option()->Rows()[(size_t)Row()], c.kind) << "the row cursor stays on its row";
        EXPECT_EQ(g_OptionData.*c.field, c.after.back());
        g_SceneManager.DestroyAll();
        g_SceneManager.m_nCurrent = SCENE_OPTION;
    }
}

TEST_F(OptionScene, TheVolumeIsAppliedAtOnceAndPutBackOnCancel) {
    Open();
    OpenSound();
    ExpectVolume(-150);
    Edit(OPTION_VOLUME);
    struct Step {
        WORD key;
        LONG volume;
    } steps[] = {{4, -80}, {4, -30}, {4, 0}, {4, -10000}, {4, -3000}, {8, -10000}, {8, 0}, {8, -30}};
    for (const Step& s : steps) {
        Tap(s.key);
        ExpectVolume(s.volume);
    }
    EXPECT_EQ(g_OptionData.m_nVolume, 9u);
    Taken();
    Tap(0, 2);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kCancel});
    EXPECT_EQ(Phase(), 1);
    EXPECT_EQ(State(), 1) << "a cancelled edit stays in the options";
    EXPECT_EQ(g_OptionData.m_nVolume, 7u);
    ExpectVolume(-150);
    // A confirmed change stays.
    Tap(0, 1);
    Tap(8);
    Tap(0, 1);
    EXPECT_EQ(g_OptionData.m_nVolume, 6u);
    ExpectVolume(-300);
}

TEST_F(OptionScene, CancellingAnyEditPutsItsValueBack) {
    Open();
    struct Case {
        int kind;
        uint32_t cOptionData::*field;
        uint32_t start, changed;  // after up, up, down
    } cases[] = {{OPTION_PALETTE, &cOptionData::m_nPaletteNo, 5, 6},
                 {OPTION_MUSIC, &cOptionData::m_bMusic, 1, 0},
                 {OPTION_RANKINGMODE, &cOptionData::m_nRankingMode, 3, 0}};
    for (const Case& c : cases) {
        g_OptionData.*c.field = c.start;
        Edit(c.kind);
        EXPECT_EQ(Option()->SavedValue(), (int)c.start);
        Tap(4);
        Tap(4);
        Tap(8);
        EXPECT_EQ(g_OptionData.*c.field, c.changed) << c.kind;
        Taken();
        Tap(0, 2);
        EXPECT_EQ(Taken(), std::vector<REQUEST>{kCancel});
        EXPECT_EQ(g_OptionData.*c.field, c.start) << c.kind;
        EXPECT_EQ(Phase(), 1);
        EXPECT_EQ(g_MenuCursor.m_vecPos.size(), 1u);
        g_SceneManager.DestroyAll();
        g_SceneManager.m_nCurrent = SCENE_OPTION;
    }
}

TEST_F(OptionScene, LeavingSavesTheOptionFileEitherWay) {
    Open();
    struct Case {
        bool byBackRow;
        bool change;
    } cases[] = {{false, true}, {true, true}, {false, false}};
    for (const Case& c : cases) {
        std::remove(folder->HostPath("user_data\\Option.dat").c_str());
        g_OptionData = cOptionData();
        g_OptionData.m_strRankingName = "ＡＢ";
        g_SceneManager.m_nCurrent = g_SceneManager.m_nNext = SCENE_OPTION;
        if (c.change) {
            Edit(OPTION_RANKINGMODE);
            Tap(4);
            Tap(0, 1);
        }
        ToRows();
        Taken();
        if (c.byBackRow) {
            Edit(OPTION_BACK);
            EXPECT_EQ(Taken(), std::vector<REQUEST>{kDecide});
        } else {
            Frame(0, 2);
            EXPECT_EQ(Taken(), std::vector<REQUEST>{kCancel});
        }
        EXPECT_EQ(State(), 2);
        EXPECT_EQ(g_SceneManager.m_nNext, SCENE_TITLE);
        EXPECT_FALSE(folder->Exists("user_data\\Option.dat")) << "saved when the fade-out ends";
        LeaveToTitle();
        cOptionData saved = SavedOptions();
        EXPECT_EQ(saved.m_nRankingMode, c.change ? 1u : 0u);
        EXPECT_EQ(saved.m_nVolume, 7u);
        EXPECT_EQ(saved.m_bMusic, 1u);
        EXPECT_EQ(saved.m_strRankingName, "ＡＢ");
        g_SceneManager.DestroyAll();
    }
    EXPECT_EQ(Report().find("err"), std::string::npos) << Report();
}

TEST_F(OptionScene, AnOptionFileThatCannotBeWrittenIsReportedAndTheOptionsStay) {
    Open();
    // A folder where the file should be: the save fails, the old state stays.
    folder->MakeFolder("user_data\\Option.dat");
    Edit(OPTION_VOLUME);
    Tap(8);
    Tap(0, 1);
    Frame(0, 2);
    LeaveToTitle();
    EXPECT_EQ(g_OptionData.m_nVolume, 6u);
    EXPECT_NE(Report().find("Option.dat"), std::string::npos) << Report();
    EXPECT_FALSE(ClosePosted());
}

TEST_F(OptionScene, TheStoredNameIsEditedInTheNameDialog) {
    Open();
    NameTheRows();
    struct Case {
        const char8_t* answer;
        const char* name;
    } cases[] = {
        {u8"answer dialog type 1003 ＸＹＺ key RETURN\n", "ＸＹＺ"},
        {u8"answer dialog type 1003 ABCD key RETURN\n", "ABC"},
        {u8"answer dialog type 1003 new key ESCAPE\n", "ABC"},  // closed: the name stays
    };
    ToRows();
    while (Row() != OPTION_RANKINGNAME) Tap(8);
    Taken();
    std::vector<uint32_t> before = drawtest::Argb(*BackPixels(), true);
    for (const Case& c : cases) {
        host::script::LoadText((const char*)c.answer, folder->Root());
        Frame(0, 1);
        EXPECT_EQ(Taken(), (std::vector<REQUEST>{kDecide, {WM_REQ_NAMEENTRY, 0}}));
        EXPECT_EQ(g_OptionData.m_strRankingName, c.name);
        EXPECT_EQ(Phase(), 1) << "the scene stays at the rows";
        EXPECT_EQ(g_MenuCursor.m_vecPos.size(), 1u);
        Frame();
    }
    // The screen shows the new name.
    EXPECT_NE(drawtest::Argb(*BackPixels(), true), before);
    drawtest::ExpectGolden(*BackPixels(), "option_name");
}

TEST_F(OptionScene, TheMusicSwitchTakesEffectWhenTheSceneIsLeft) {
    Open();
    // The title's slot and the options' play the same Ogg tune, so entering the options keeps it.
    std::vector<float> tone(2205, 0.25f);
    folder->MakeFolder("bgm");
    ASSERT_TRUE(tools::WriteOggVorbis(folder->HostPath("bgm\\Tune.ogg"), 22050, 1, tone));
    audio::SetManualMode(true);
    SetMusicData(MUSICDATA{[](int s) { return s == 0 || s == 3 ? 1 : 0; }, [](int) { return 1; },
                           [](int n) { return n == 1 ? "bgm\\Tune.ogg" : ""; }});
    g_bServeMusic = true;
    g_SystemData.m_vecMenuTunes = {1, 0, 0, 1};
    // Music on at start-up: the player exists and the title's tune plays.
    g_OptionData.m_bMusic = 1;
    ASSERT_EQ(InitBgm(), 1u);
    ServeMusicRequest(0, 0);
    g_SceneManager.m_nTuneNo = 1;
    ASSERT_EQ(g_Bgm.m_Vox.m_nPlaying, 0);

    // Off: nothing changes until the scene is left.
    Edit(OPTION_MUSIC);
    Tap(8);
    Tap(0, 1);
    EXPECT_EQ(g_OptionData.m_bMusic, 0u);
    EXPECT_EQ(g_Bgm.m_bInit, 1u);
    Taken();
    Frame(0, 2);
    LeaveToTitle();
    EXPECT_EQ(g_Bgm.m_bInit, 0u) << "the music player is released";
    EXPECT_EQ(g_Bgm.m_Vox.m_nPlaying, -1);
    EXPECT_EQ(g_SceneManager.m_nTuneNo, 0);
    // The title asks for its tune; without a player nothing plays.
    Frame();
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kCancel, kMusic0}));
    EXPECT_EQ(g_Bgm.m_Vox.m_nPlaying, -1);
    EXPECT_EQ(SavedOptions().m_bMusic, 0u);
    g_SceneManager.DestroyAll();

    // On again: leaving starts the player, and the title's tune plays.
    g_SceneManager.m_nCurrent = g_SceneManager.m_nNext = SCENE_OPTION;
    Edit(OPTION_MUSIC);
    // The title recorded its tune as playing (with no player to play it): the options ask for none.
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kDecide}));
    EXPECT_EQ(g_Bgm.m_Vox.m_nPlaying, -1);
    Tap(4);
    Tap(0, 1);
    EXPECT_EQ(g_Bgm.m_bInit, 0u);
    Frame(0, 2);
    LeaveToTitle();
    EXPECT_EQ(g_Bgm.m_bInit, 1u);
    EXPECT_EQ(g_SceneManager.m_nTuneNo, 0);
    Frame();
    EXPECT_EQ(g_Bgm.m_Vox.m_nPlaying, 0);
    EXPECT_EQ(g_Bgm.m_nTrack, 0);
    EXPECT_EQ(SavedOptions().m_bMusic, 1u);
    g_SceneManager.DestroyAll();

    // Unchanged, the player is left as it is and the same tune plays on through both scenes.
    g_SceneManager.m_nCurrent = g_SceneManager.m_nNext = SCENE_OPTION;
    ASSERT_EQ(g_SceneManager.m_nTuneNo, 1);
    Taken();
    ToRows();
    Frame(0, 2);
    LeaveToTitle();
    EXPECT_EQ(g_Bgm.m_bInit, 1u);
    Frame();
    EXPECT_EQ(g_SceneManager.m_nTuneNo, 1);
    EXPECT_EQ(g_Bgm.m_Vox.m_nPlaying, 0);
    EXPECT_EQ(Taken(), std::vector<REQUEST>{kCancel}) << "no music request either way";
}

TEST_F(OptionScene, EnteredFromTheTitleAndBackOnTheOptionsEntry) {
    Open();
    g_SceneManager.m_nCurrent = g_SceneManager.m_nNext = SCENE_TITLE;
    g_SystemData.m_vecMenuTunes = {2, 0, 0, 3};
    Frame();
    cSceneTitle* title = dynamic_cast<cSceneTitle*>(g_SceneManager.m_lpScenes[SCENE_TITLE]);
    ASSERT_NE(title, nullptr);
    for (int i = 0; i < 30 && title->m_nState != 1; ++i) Frame();
    while (g_MenuCursor.m_pCurrent->nY != TITLE_OPTION) Tap(8);
    Frame(0, 1);
    for (int i = 0; i < 40 && g_SceneManager.m_nCurrent == SCENE_TITLE; ++i) Frame();
    ASSERT_EQ(g_SceneManager.m_nCurrent, SCENE_OPTION);
    ToRows();
    EXPECT_EQ(Row(), 0) << "the options start on their first row";
    Frame(0, 2);
    LeaveToTitle();
    Frame();
    title = dynamic_cast<cSceneTitle*>(g_SceneManager.m_lpScenes[SCENE_TITLE]);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Entries()[(size_t)g_MenuCursor.m_pCurrent->nY], TITLE_OPTION);
    // The title's tune, the decision, the options' tune, the cancel, the title's tune again.
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{kMusic0, kDecide, kMusic3, kCancel, kMusic0}));
    EXPECT_EQ(Report().find("err"), std::string::npos) << Report();
}

}  // namespace

namespace {

// The options in the other back ends and depths: the screen shows, and at 8 bits per pixel the
// colour table of the row is loaded at once and put back on cancel.
class OptionBackEnds : public OptionScene, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(OptionBackEnds, TheScreenShowsAndTheColourTableFollowsTheRow) {
    Open(GetParam().first, GetParam().second);
    bool eightBit = GetParam().first == 0 && GetParam().second == 8;
    folder->MakeFolder("bmp\\hbt");
    for (int n = 0; n <= 23; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "bmp\\hbt\\hbt%02d.dat", n);
        ASSERT_TRUE(folder->WriteFile(name, std::vector<uint8_t>(65536, (uint8_t)(n + 1))));
    }
    std::memset(g_byColourTable, 0, sizeof g_byColourTable);
    PALETTEENTRY file[256];
    ASSERT_EQ(DDLoadPaletteFromFile(file, g_SurfaceFiles[0].szPath), 1);
    g_OptionData.m_nPaletteNo = 0;
    Edit(OPTION_PALETTE);
    raster::Surface* back = BackPixels();
    // The framed box and the first row's text differ from the black outside the box.
    EXPECT_NE(back->Get(20, 20), back->Get(0, 0));
    Tap(8);  // 0 -> 23
    EXPECT_EQ(g_OptionData.m_nPaletteNo, 23u);
    EXPECT_EQ(g_byColourTable[12345], eightBit ? 24 : 0);
    if (eightBit) {
        EXPECT_EQ(std::memcmp(&g_EnginePalette[16], &file[16 * 12], sizeof(PALETTEENTRY) * 16), 0);
    }
    Tap(4);
    Tap(4);  // 23 -> 0 -> 1
    EXPECT_EQ(g_byColourTable[0], eightBit ? 2 : 0);
    if (eightBit) {
        EXPECT_EQ(std::memcmp(&g_EnginePalette[16], &file[32], sizeof(PALETTEENTRY) * 16), 0);
    }
    Tap(0, 2);  // back to 0, applied again
    EXPECT_EQ(g_OptionData.m_nPaletteNo, 0u);
    EXPECT_EQ(g_byColourTable[65535], eightBit ? 1 : 0);
    if (eightBit) {
        EXPECT_EQ(std::memcmp(&g_EnginePalette[16], &file[16], sizeof(PALETTEENTRY) * 16), 0);
    }
    EXPECT_EQ(Report().find("err"), std::string::npos) << Report();
    EXPECT_FALSE(ClosePosted());
}

INSTANTIATE_TEST_SUITE_P(Modes, OptionBackEnds,
                         testing::Values(std::make_pair(1, 32), std::make_pair(0, 16), std::make_pair(0, 8)),
                         [](const testing::TestParamInfo<std::pair<int, int>>& i) {
                             return std::string(i.param.first ? "d3d_" : "dd_") + std::to_string(i.param.second);
                         });

}  // namespace
