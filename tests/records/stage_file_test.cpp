// Stage files on disk: the end-mark check, the loader thread and PlayStageFile (numbered names,
// failures and their messages, the copy into the target, a WM_QUIT during the load).
#include <gtest/gtest.h>

#include <cstdio>

#include "core/globals.h"
#include "core/thread.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/stage_file.h"
#include "old_images.h"
#include "test_support.h"
#include "tools/records/stage_writer.h"

using namespace recordtest;

namespace {

std::vector<std::string> g_boxes;

bool CaptureBox(const char* text, const char*, UINT, int* answer) {
    g_boxes.push_back(text);
    *answer = IDOK;
    return true;
}

LRESULT MainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class StageFileTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        folder_->MakeLayout();
        folder_->MakeFolder("data\\stg4");
        CreateDefaultDatabase(g_Database);
        g_CommonPalette = cCommonPalette();
        g_CommonPalette.FixUp();
        g_LoadedStage.Clear();
        g_StageSettings.Clear();
        g_boxes.clear();
        SetFullScreenMessageBox(&CaptureBox);
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = MainProc;
            wc.lpszClassName = "StageFileTestMain";
            RegisterClassExA(&wc);
            registered = true;
        }
        main_ = CreateWindowExA(0, "StageFileTestMain", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
        g_hMainWnd = main_;
    }
    void TearDown() override {
        SetFullScreenMessageBox(nullptr);
        g_hMainWnd = nullptr;
        DestroyWindow(main_);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE) && m.message != WM_QUIT) {
        }
        g_LoadedStage.Clear();
        g_StageSettings.Clear();
        g_CommonPalette = cCommonPalette();
        RecordTest::TearDown();
    }
    int Closes() {
        int n = 0;
        MSG m;
        while (PeekMessageA(&m, main_, WM_CLOSE, WM_CLOSE, PM_REMOVE)) ++n;
        return n;
    }
    // A playable stage file image: a hero, a character and `tag` as the stage string.
    static std::vector<uint8_t> Playable(const std::string& tag, int charas = 1, int flows = 1) {
        cStage s;
        MakeSampleStage(s, 30, 20, charas, flows);
        s.m_strStage = tag;
        s.m_vecBackgrounds.clear();
        s.m_vecTexts.clear();
        return StageFileImage(s);
    }
    HWND main_ = nullptr;
};

const char kDamaged[] = "ステージファイル data\\stg4\\a.stg4_001 が破損しています！";
const char kFailed[] = "ステージファイル data\\stg4\\a.stg4_001 の読み込みに失敗しました！";

TEST_F(StageFileTest, TheEndMarkDecidesWhetherAFileMayBeLoaded) {
    std::vector<uint8_t> good = Playable("ok");
    std::vector<uint8_t> altered = good;
    altered.back() ^= 0x40;
    std::vector<uint8_t> v174 = altered;
    v174[0] = 174, v174[1] = 0;
    std::vector<uint8_t> v173 = OldStage(173, {1, 1, 1, 1, 1}, 0, true);
    v173.back() ^= 0xFF;  // 173 carries a mark, but nobody tests it
    std::vector<uint8_t> v172 = OldStage(172, {1, 1, 1, 1, 1}, 0, true);
    // A short file whose last four bytes happen to be the mark: read as far as it goes.
    std::vector<uint8_t> shortMarked(good.begin(), good.end() - 12);
    shortMarked.insert(shortMarked.end(), {0x15, 0xCD, 0x5B, 0x07});
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        bool write;
        BOOL mark;     // CheckEndMark
        BOOL play;     // PlayStageFile
        const char* box;
        int closes;
    } cases[] = {
        {"754 with the mark", good, true, TRUE, TRUE, nullptr, 0},
        {"754 with an altered mark", altered, true, FALSE, FALSE, kDamaged, 1},
        {"174 with an altered mark", v174, true, FALSE, FALSE, kDamaged, 1},
        {"173 with a wrong mark", v173, true, TRUE, TRUE, nullptr, 0},
        {"172 without a mark", v172, true, TRUE, TRUE, nullptr, 0},
        {"short, ending with the mark", shortMarked, true, TRUE, TRUE, nullptr, 0},
        {"754, too short for a mark", {0xF2, 2, 0, 0, 0x15, 0xCD}, true, FALSE, FALSE, kDamaged, 1},
        {"754, the version word alone", {0xF2, 2, 0, 0}, true, FALSE, FALSE, kDamaged, 1},
        {"shorter than a version word", {0xF2, 2}, true, TRUE, FALSE, kFailed, 0},
        {"missing", {}, false, TRUE, FALSE, kFailed, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove(folder_->HostPath("data\\stg4\\a.stg4_001").c_str());
        if (c.write) {
            ASSERT_TRUE(folder_->WriteFile("data\\stg4\\a.stg4_001", c.bytes));
        }
        g_boxes.clear();
        EXPECT_EQ(StageFile::CheckEndMark("data\\stg4\\a.stg4_001"), c.mark);
        EXPECT_EQ(Closes(), c.mark ? 0 : 1);
        g_boxes.clear();
        EXPECT_EQ(PlayStageFile("data\\stg4\\a.stg4_001", FALSE, &g_StageSettings), c.play);
        EXPECT_EQ(g_LoadedStage.m_strFilePath, "data\\stg4\\a.stg4_001");
        if (c.box) {
            ASSERT_EQ(g_boxes.size(), 1u);
            EXPECT_EQ(g_boxes[0], c.box);
        } else {
            EXPECT_TRUE(g_boxes.empty());
        }
        EXPECT_EQ(Closes(), c.closes);
        EXPECT_FALSE(thStageLoad.IsRunning());
    }
}

TEST_F(StageFileTest, TheHighestNumberedFileIsPlayedAndCopiedIntoTheTarget) {
    ASSERT_TRUE(folder_->WriteFile("data\\stg4\\c01-1.stg4_003", Playable("003")));
    ASSERT_TRUE(folder_->WriteFile("data\\stg4\\c01-1.stg4_120", Playable("120", 3)));
    g_StageSettings.m_vecCharas.resize(4);
    ASSERT_EQ(PlayStageFile("data\\stg4\\c01-1.stg4", TRUE, &g_StageSettings), TRUE);
    EXPECT_EQ(g_LoadedStage.m_strFilePath, "data\\stg4\\c01-1.stg4_120");
    EXPECT_EQ(g_LoadedStage.m_strStage, "120");
    EXPECT_EQ(g_LoadedStage.m_vecCharas.size(), 4u);
    EXPECT_EQ(g_LoadedStage.m_bLoadDone, 1);
    EXPECT_TRUE(g_boxes.empty());
    // The target takes the settings, lists of layers, parts and numbers, and no definitions.
    EXPECT_EQ(g_StageSettings.m_strStage, "120");
    EXPECT_EQ(g_StageSettings.m_nWidth, 30);
    EXPECT_EQ(g_StageSettings.m_vecNumbers, g_LoadedStage.m_vecNumbers);
    EXPECT_EQ(g_StageSettings.m_aParts[4].Value(7), 10);
    EXPECT_TRUE(g_StageSettings.m_vecBackgrounds.empty());
    EXPECT_TRUE(g_StageSettings.m_vecCharas.empty());
    EXPECT_TRUE(g_StageSettings.m_vecPaletteCharas.empty());
    EXPECT_TRUE(g_StageSettings.m_vecPaletteBlocks.empty());
    EXPECT_TRUE(g_StageSettings.m_vecItems.empty());

    // Without a target only the loaded stage changes.
    ASSERT_EQ(PlayStageFile("data\\stg4\\c01-1.stg4_003", FALSE, nullptr), TRUE);
    EXPECT_EQ(g_LoadedStage.m_strStage, "003");
    EXPECT_EQ(g_StageSettings.m_strStage, "120");

    // No file of a numbered name: FALSE, no message, the path as it was.
    EXPECT_EQ(PlayStageFile("data\\stg4\\c02-1.stg4", TRUE, &g_StageSettings), FALSE);
    EXPECT_EQ(g_LoadedStage.m_strFilePath, "data\\stg4\\c01-1.stg4_003");
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_EQ(Closes(), 0);
}

TEST_F(StageFileTest, AStageWithoutAHeroIsRefused) {
    cStage s;
    MakeSampleStage(s, 30, 20, 2, 1);
    s.m_vecCharas[0].m_wGraphic = 0;  // the hero without a graphic does not count
    s.m_vecCharas.push_back(MakeHero(1, 1));
    s.m_vecCharas.back().m_byRole = 1;
    ASSERT_TRUE(folder_->WriteFile("data\\stg4\\a.stg4_001", StageFileImage(s)));
    EXPECT_EQ(PlayStageFile("data\\stg4\\a.stg4_001", FALSE, &g_StageSettings), FALSE);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0], "主人公が配置されていないのでプレイできません！");
    EXPECT_EQ(Closes(), 1);
    EXPECT_EQ(g_LoadedStage.FindHero(), -1);
    EXPECT_EQ(g_LoadedStage.m_bLoadDone, 1);
}

// The waiting thread looks at its queue only while the loader runs, so a loader that ends
// before the first look leaves the message queued for the caller's own loop: a legal outcome,
// checked as such, after which the load is tried again until a look comes first. A large
// stage makes that the usual case; a busy machine can still let the loader win a few times.
TEST_F(StageFileTest, AQuitDuringTheLoadStopsItAndIsPostedAgain) {
    ASSERT_TRUE(folder_->WriteFile("data\\stg4\\a.stg4_001", Playable("big", 2000, 4)));
    bool interrupted = false;
    for (int attempt = 0; attempt < 50 && !interrupted; ++attempt) {
        PostQuitMessage(7);
        BOOL loaded = PlayStageFile("data\\stg4\\a.stg4_001", FALSE, &g_StageSettings);
        EXPECT_FALSE(thStageLoad.IsRunning());
        EXPECT_TRUE(g_boxes.empty());
        EXPECT_EQ(g_LoadedStage.m_bLoadDone, loaded ? 1 : 0);
        // Either way the quit is in the queue once, with its code.
        MSG m;
        ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(m.message, (UINT)WM_QUIT);
        EXPECT_EQ(m.wParam, 7u);
        EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
        EXPECT_FALSE(StageFile::StopRequested());
        interrupted = !loaded;
    }
    EXPECT_TRUE(interrupted) << "the loader ended before every first look at the queue";
    // The next load runs to its end.
    EXPECT_EQ(PlayStageFile("data\\stg4\\a.stg4_001", FALSE, nullptr), TRUE);
    EXPECT_EQ(g_LoadedStage.m_vecCharas.size(), 2001u);
}

TEST_F(StageFileTest, AClosingProgramCancelsTheLoadAndClosesAfterIt) {
    ASSERT_TRUE(folder_->WriteFile("data\\stg4\\a.stg4_001", Playable("big", 2000, 4)));
    bool cancelled = false;
    for (int attempt = 0; attempt < 50 && !cancelled; ++attempt) {
        PostMessageA(main_, WM_CLOSE, 0, 0);
        BOOL loaded = PlayStageFile("data\\stg4\\a.stg4_001", FALSE, &g_StageSettings);
        EXPECT_FALSE(thStageLoad.IsRunning());
        EXPECT_TRUE(g_boxes.empty());   // cancelled or loaded, never a failure to report
        EXPECT_EQ(Closes(), 1);         // the close is still to be acted on
        EXPECT_TRUE(IsWindow(main_));   // and was not acted on inside the request
        cancelled = !loaded;
    }
    EXPECT_TRUE(cancelled) << "the loader ended before every first look at the queue";
}

}  // namespace
