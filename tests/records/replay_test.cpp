// Replays: recording and playback, the replay file (layout, round trip, old versions, refused
// files), the proposed file names, the save keys and the load request.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "core/globals.h"
#include "core/requests.h"
#include "app/scene_manager.h"
#include "media/player_input.h"
#include "platform/host/host.h"
#include "platform/win32/crt.h"
#include "records/record_list.h"
#include "records/replay_requests.h"
#include "records/stage_file.h"
#include "save_test_support.h"
#include "tools/records/save_writer.h"

using namespace recordtest;

namespace {

class ReplayTest : public SaveTest {};

struct FRAME {
    uint16_t dir, button;
    bool operator==(const FRAME& o) const { return dir == o.dir && button == o.button; }
};

std::vector<FRAME> Play(cReplay& r, size_t limit = 100000) {
    std::vector<FRAME> out;
    cPlayerInput in;
    while (out.size() < limit && r.Next(in) == 0) out.push_back({in.m_wKey, in.m_wButton});
    return out;
}

void RecordFrames(cReplay& r, const std::vector<FRAME>& frames) {
    cPlayerInput in;
    for (const FRAME& f : frames) {
        in.m_wKey = f.dir;
        in.m_wButton = f.button;
        r.Record(in);
    }
}

TEST_F(ReplayTest, RecordAndNext) {
    // No key touched: one entry per list whose run is the frame count.
    cReplay idle;
    RecordFrames(idle, std::vector<FRAME>(300, FRAME{0, 0}));
    EXPECT_EQ(idle.m_vecDirValues, std::vector<uint16_t>{0});
    EXPECT_EQ(idle.m_vecDirRuns, std::vector<uint32_t>{300});
    EXPECT_EQ(idle.m_vecButtonValues, std::vector<uint16_t>{0});
    EXPECT_EQ(idle.m_vecButtonRuns, std::vector<uint32_t>{300});
    EXPECT_EQ(Play(idle).size(), 300u);

    struct Case {
        const char* what;
        std::vector<uint16_t> dirValues, buttonValues;
        std::vector<uint32_t> dirRuns, buttonRuns;
        std::vector<FRAME> want;
    };
    const Case cases[] = {
        {"runs of 0 play as 1", {1, 2}, {7}, {0, 2}, {3}, {{1, 7}, {2, 7}, {2, 7}}},
        {"the direction list ends first", {4}, {1, 2}, {2}, {1, 3}, {{4, 1}, {4, 2}}},
        {"the button list ends first", {4, 8}, {5}, {2, 2}, {1}, {{4, 5}}},
        {"empty", {}, {}, {}, {}, {}},
        {"no buttons", {1}, {}, {5}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cReplay r;
        r.m_vecDirValues = c.dirValues, r.m_vecButtonValues = c.buttonValues;
        r.m_vecDirRuns = c.dirRuns, r.m_vecButtonRuns = c.buttonRuns;
        EXPECT_EQ(Play(r), c.want);
        // At the end the input is left as it was, and the end stays the end.
        cPlayerInput in;
        in.m_wKey = 0x55, in.m_wButton = 0x66;
        EXPECT_EQ(r.Next(in), 1u);
        EXPECT_EQ(in.m_wKey, 0x55);
        EXPECT_EQ(in.m_wButton, 0x66);
        r.Rewind();
        EXPECT_EQ(Play(r), c.want);
    }

    // Lists of different lengths (refused when loaded) end playback instead of reading past one.
    cReplay bad;
    bad.m_vecDirValues = {1, 2, 3};
    bad.m_vecDirRuns = {1};
    bad.m_vecButtonValues = {0};
    bad.m_vecButtonRuns = {10};
    EXPECT_FALSE(bad.IsConsistent());
    EXPECT_EQ(Play(bad).size(), 1u);
}

TEST_F(ReplayTest, ClearAndAssign) {
    cReplay a;
    RecordFrames(a, {{1, 0}, {1, 0}, {2, 3}});
    a.m_dwSeed = 77;
    cPlayerInput in;
    a.Next(in);
    cReplay b;
    b.AssignInputs(a);
    EXPECT_EQ(b.m_dwSeed, 77u);
    EXPECT_EQ(b.m_vecDirRuns, a.m_vecDirRuns);
    EXPECT_EQ(b.m_dwDirCount, 0u);  // playback words are not copied
    a.Clear();
    EXPECT_EQ(a.m_dwSeed, 0u);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_TRUE(a.m_vecButtonRuns.empty());
    EXPECT_EQ(a.m_dwDirCount + a.m_dwDirPos + a.m_dwButtonCount + a.m_dwButtonPos, 0u);
}

// A stage with a hero, its own settings and a palette character to tell the two stages apart.
void MakeStage(cStage& s, int32_t frameRate, uint16_t animeMark) {
    MakeReplayStage(s);
    s.m_nFrameRate = frameRate;
    s.m_vecBackgrounds.resize(2);
    s.m_vecBackgrounds[1].m_strBitmap = frameRate == 30 ? "settings.bmp" : "loaded.bmp";
    s.m_vecCharas[0].m_byC17 = (uint8_t)animeMark;
}

// The attempt's input, recorded and written with its stage and play data, loads and plays back
// exactly, frame by frame.
TEST_F(ReplayTest, RecordFileLoadPlayback) {
    crt::srand(12345);
    std::vector<FRAME> frames;
    for (int i = 0; i < 5000; ++i) {
        // Held keys change now and then, as a player's do.
        FRAME f = frames.empty() ? FRAME{0, 0} : frames.back();
        if (crt::rand() % 7 == 0) f.dir = (uint16_t)(crt::rand() & 15);
        if (crt::rand() % 5 == 0) f.button = (uint16_t)(crt::rand() & 0x1FF);
        frames.push_back(f);
    }
    cReplay rec;
    rec.m_dwSeed = 0xDEADBEEF;
    RecordFrames(rec, frames);
    EXPECT_LT(rec.m_vecDirValues.size(), frames.size());  // runs, not frames

    cStage loaded, settings;
    MakeStage(loaded, 60, 11);
    MakeStage(settings, 30, 22);
    cSaveData snapshot;
    snapshot.m_nScore = 4321;
    snapshot.m_strPlayerName = "ZZZ";
    ASSERT_TRUE(rec.WriteFile("user_data\\rpl4\\a.rpl4_754", loaded, settings, snapshot));

    g_LoadedStage.m_strFilePath = "kept";
    cSaveData play;
    cReplay back;
    ASSERT_TRUE(back.LoadFile("user_data\\rpl4\\a.rpl4_754", g_LoadedStage, g_StageSettings, play));
    EXPECT_EQ(back.m_dwSeed, 0xDEADBEEFu);
    EXPECT_EQ(Play(back), frames);
    back.Rewind();
    EXPECT_EQ(Play(back), frames);

    // The stage: settings of the source stage, definitions of the written one.
    EXPECT_EQ(g_LoadedStage.m_nFrameRate, 30);
    ASSERT_EQ(g_LoadedStage.m_vecBackgrounds.size(), 2u);
    EXPECT_EQ(g_LoadedStage.m_vecBackgrounds[1].m_strBitmap, "settings.bmp");
    ASSERT_EQ(g_LoadedStage.m_vecCharas.size(), 1u);
    EXPECT_EQ(g_LoadedStage.m_vecCharas[0].m_byC17, 11);
    EXPECT_EQ(g_LoadedStage.m_strFilePath, "kept");  // the loader's file name is the caller's
    // The settings copy as after a stage load: settings, no definitions.
    EXPECT_EQ(g_StageSettings.m_nFrameRate, 30);
    EXPECT_EQ(g_StageSettings.m_vecBackgrounds[1].m_strBitmap, "settings.bmp");
    EXPECT_TRUE(g_StageSettings.m_vecCharas.empty());
    EXPECT_TRUE(g_StageSettings.m_vecPaletteCharas.empty());
    // The play data at the start of the attempt.
    EXPECT_EQ(play.m_nScore, 4321);
    EXPECT_EQ(play.m_strPlayerName, "ZZZ");
}

TEST_F(ReplayTest, FileLayout) {
    cStage stage;
    MakeReplayStage(stage);
    cReplay r;
    r.m_dwSeed = 0x01020304;
    RecordFrames(r, {{1, 2}, {1, 2}, {8, 2}});
    cSaveData snapshot;
    ASSERT_TRUE(r.WriteFile("user_data\\rpl4\\x.rpl4_754", stage, stage, snapshot));
    std::vector<uint8_t> file = folder_->ReadFile("user_data\\rpl4\\x.rpl4_754");

    cRecordWriter stageBody;
    stage.WriteCopy(stageBody, stage);
    cByteImage want;
    want.U32(754).Bytes(stageBody.Data());
    want.U32(1).U32(0x01020304).U32(0);  // the value part: the seed alone
    want.U32(2).U16(1).U16(8);           // direction values
    want.U32(1).U16(2);                  // button values
    want.U32(2).U32(2).U32(1);           // direction runs
    want.U32(1).U32(3);                  // button runs
    ASSERT_GT(file.size(), want.Size());
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + (long)want.Size()), want.Data());
    std::vector<uint8_t> tail(file.begin() + (long)want.Size(), file.end());
    // The play data body: a save file without its version word (the snapshot was fitted to the
    // project as it was written).
    const std::vector<uint8_t> save = SaveFileImage(snapshot);
    EXPECT_EQ(tail, std::vector<uint8_t>(save.begin() + 4, save.end()));
}

// Files before version 173 carry no play data: the play data passed in stays as it was.
TEST_F(ReplayTest, OldReplayWithoutPlayData) {
    cStage stage;
    MakeReplayStage(stage);
    cReplay r;
    RecordFrames(r, {{2, 0}, {2, 1}});
    cSaveData written;
    written.m_nScore = 55;
    for (uint32_t version : {172u, 173u, 753u}) {
        SCOPED_TRACE(version);
        std::vector<uint8_t> image = ReplayFileImage(stage, r, written, version);
        ASSERT_TRUE(folder_->WriteFile("user_data\\rpl4\\old.rpl4_172", image));
        cSaveData play;
        play.m_nScore = 9;
        cReplay back;
        ASSERT_TRUE(back.LoadFile("user_data\\rpl4\\old.rpl4_172", g_LoadedStage, g_StageSettings, play));
        EXPECT_EQ(play.m_nScore, version < 173 ? 9 : 55);
        EXPECT_EQ(Play(back), (std::vector<FRAME>{{2, 0}, {2, 1}}));
    }
}

// A refused file changes nothing: not the stage, its settings, the replay nor the play data.
TEST_F(ReplayTest, RefusedFilesChangeNothing) {
    cStage stage;
    MakeReplayStage(stage);
    cReplay r;
    RecordFrames(r, {{1, 1}, {2, 2}});
    cSaveData snapshot;
    snapshot.m_nScore = 77;
    const std::vector<uint8_t> good = ReplayFileImage(stage, r, snapshot);

    // The current state the failed loads must leave alone.
    MakeStage(g_LoadedStage, 45, 3);
    g_LoadedStage.m_strFilePath = "current.stg4_000";
    TakeStageSettings(g_StageSettings, g_LoadedStage);
    cReplay current;
    RecordFrames(current, {{4, 4}});
    cSaveData play;
    play.m_nScore = 12;
    auto snapshotOf = [&] {
        return std::make_tuple(FileImage(g_LoadedStage), FileImage(g_StageSettings), FileImage(current), FileImage(play),
                               g_LoadedStage.m_strFilePath);
    };
    const auto before = snapshotOf();

    std::vector<std::pair<std::string, std::vector<uint8_t>>> bad;
    // Value and run lists of different lengths.
    {
        cReplay m = r;
        m.m_vecDirRuns.push_back(4);
        bad.push_back({"mismatched", ReplayFileImage(stage, m, snapshot)});
    }
    // A stage without a hero.
    {
        cStage noHero;
        bad.push_back({"no hero", ReplayFileImage(noHero, r, snapshot)});
    }
    // The image cut at a sample of offsets, and a version-754 file without play data.
    for (size_t cut : {(size_t)4, (size_t)100, good.size() / 2, good.size() - 200, good.size() - 1})
        bad.push_back({"cut at " + std::to_string(cut), std::vector<uint8_t>(good.begin(), good.begin() + (long)cut)});
    bad.push_back({"mark", good});
    {
        // The stage's end mark broken: the rest of the file is not where it should be.
        cRecordWriter body;
        stage.WriteCopy(body, stage);
        std::memset(bad.back().second.data() + 4 + body.Data().size() - 4, 0, 4);
    }
    for (auto& [what, image] : bad) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(folder_->WriteFile("user_data\\rpl4\\bad.rpl4_754", image));
        EXPECT_FALSE(current.LoadFile("user_data\\rpl4\\bad.rpl4_754", g_LoadedStage, g_StageSettings, play));
        EXPECT_TRUE(before == snapshotOf());
    }
    EXPECT_FALSE(current.LoadFile("user_data\\rpl4\\missing.rpl4_754", g_LoadedStage, g_StageSettings, play));
    EXPECT_TRUE(before == snapshotOf());
    const std::string report = Report();
    EXPECT_NE(report.find("its value and run lists differ in length"), std::string::npos);
    EXPECT_NE(report.find("its stage has no hero"), std::string::npos);
    EXPECT_NE(report.find("it ends early or is damaged"), std::string::npos);
    EXPECT_NE(report.find("its stage has no end mark"), std::string::npos);
    EXPECT_NE(report.find("missing.rpl4_754: the replay cannot be opened"), std::string::npos);

    // Writing where no file can be made is answered as a failure.
    EXPECT_FALSE(r.WriteFile("user_data\\nofolder\\x.rpl4_754", stage, stage, snapshot));
    EXPECT_FALSE(r.WriteFile("", stage, stage, snapshot));
}

TEST_F(ReplayTest, ProposedNames) {
    char path[MAX_PATH];
    ProposeReplayFileName(path, "Stage1.");
    EXPECT_STREQ(path, "Stage1_00.rpl4_754");
    ProposeReplayFileName(path, "data\\stg4\\Stage1.stg4_001");
    EXPECT_STREQ(path, "Stage1_00.rpl4_754");
    ProposeReplayFileName(path, "");
    EXPECT_STREQ(path, "");
    ProposeReplayFileName(path, nullptr);
    EXPECT_STREQ(path, "");
    ProposeReplayFileName(path, "NoDot");  // nothing to number
    EXPECT_STREQ(path, "NoDot");

    // _00 .. _08 taken: _10 is next (the digits run 0-8, 81 names).
    for (int j = 0; j < 9; ++j)
        ASSERT_TRUE(folder_->WriteFile("user_data\\rpl4\\Stage1_0" + std::to_string(j) + ".rpl4_754", {1}));
    ProposeReplayFileName(path, "Stage1.");
    EXPECT_STREQ(path, "Stage1_10.rpl4_754");
    ASSERT_TRUE(folder_->WriteFile("user_data\\rpl4\\Stage1_09.rpl4_754", {1}));  // never proposed
    ProposeReplayFileName(path, "Stage1.");
    EXPECT_STREQ(path, "Stage1_10.rpl4_754");
    for (int i = 1; i < 9; ++i)
        for (int j = 0; j < 9; ++j)
            ASSERT_TRUE(folder_->WriteFile(
                "user_data\\rpl4\\Stage1_" + std::to_string(i) + std::to_string(j) + ".rpl4_754", {1}));
    ProposeReplayFileName(path, "Stage1.");
    EXPECT_STREQ(path, "Stage1_88.rpl4_754");  // all 81 exist: the last
    ProposeReplayFileName(path, "Stage2.");
    EXPECT_STREQ(path, "Stage2_00.rpl4_754");
}

// ---- the requests of the game thread ----

std::vector<std::pair<UINT, WPARAM>> g_sent;
int g_nAnswer = 1;

LRESULT RequestProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_REQ_SOUND || m == WM_REQ_SAVEREPLAY || m == WM_REQ_LOADREPLAY) {
        g_sent.push_back({m, w});
        if (m != WM_REQ_SOUND) {
            g_nFileDialogSuccess = g_nAnswer;
            g_bFileDialogDone = 1;
        }
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

class ReplayRequestTest : public ReplayTest {
protected:
    void SetUp() override {
        ReplayTest::SetUp();
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = RequestProc;
            wc.lpszClassName = "ReplayRequestMain";
            RegisterClassExA(&wc);
            registered = true;
        }
        hwnd_ = CreateWindowExA(0, "ReplayRequestMain", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
        g_hMainWnd = hwnd_;
        g_sent.clear();
        g_nAnswer = 1;
        g_nReplaySaveCoolDown = 0;
        g_SceneManager.m_nPlayMode = 0;
    }
    void TearDown() override {
        host::SetKeyState(VK_F1, false);
        host::SetKeyState(VK_F2, false);
        g_hMainWnd = nullptr;
        DestroyWindow(hwnd_);
        g_SceneManager.m_nPlayMode = 0;
        ReplayTest::TearDown();
    }
    HWND hwnd_ = nullptr;
};

TEST_F(ReplayRequestTest, SaveKeys) {
    using SENT = std::vector<std::pair<UINT, WPARAM>>;
    RecordFrames(g_ReplayPrev, {{1, 0}});

    // Nothing without a key, in replay playback, or when the project records no replays.
    EXPECT_EQ(ReplaySaveKeyCheck(), 0u);
    host::SetKeyState(VK_F2, true);
    g_SceneManager.m_nPlayMode = 4;
    EXPECT_EQ(ReplaySaveKeyCheck(), 0u);
    g_SceneManager.m_nPlayMode = 0;
    g_SystemData.m_bReplay = 0;
    EXPECT_EQ(ReplaySaveKeyCheck(), 0u);
    EXPECT_TRUE(g_sent.empty());
    g_SystemData.m_bReplay = 1;

    // F2: the previous attempt is saved (sound 1, then the request with wParam 1).
    EXPECT_EQ(ReplaySaveKeyCheck(), 1u);
    EXPECT_EQ(g_sent, (SENT{{WM_REQ_SOUND, 1}, {WM_REQ_SAVEREPLAY, 1}}));
    // F1 wins when both are down; the current attempt is empty: sound 3, at most once in 60 frames.
    g_sent.clear();
    host::SetKeyState(VK_F1, true);
    for (int frame = 0; frame < 121; ++frame) EXPECT_EQ(ReplaySaveKeyCheck(), 0u);
    EXPECT_EQ(g_sent, (SENT{{WM_REQ_SOUND, 3}, {WM_REQ_SOUND, 3}, {WM_REQ_SOUND, 3}}));
    // Recorded now: saved with wParam 0.
    g_sent.clear();
    RecordFrames(g_Replay, {{0, 0}});
    EXPECT_EQ(ReplaySaveKeyCheck(), 1u);
    EXPECT_EQ(g_sent, (SENT{{WM_REQ_SOUND, 1}, {WM_REQ_SAVEREPLAY, 0}}));
}

TEST_F(ReplayRequestTest, LoadRequestAnswersWhatTheWindowThreadDid) {
    EXPECT_TRUE(RequestLoadReplay());
    g_nAnswer = 0;
    EXPECT_FALSE(RequestLoadReplay());
    EXPECT_EQ(g_sent.size(), 2u);
    // Without a main window nobody answers: no wait, no replay.
    g_hMainWnd = nullptr;
    EXPECT_FALSE(RequestLoadReplay());
}

}  // namespace
