// The stage file: reading and writing the stage body, the fix-up, the end mark, the loader
// thread and the play entry.
#include "records/stage_file.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/report.h"
#include "core/thread.h"
#include "platform/win32/crt.h"
#include "records/common_palette.h"
#include "records/data_paths.h"
#include "records/database.h"
#include "records/record_list.h"
#include "records/stage.h"

namespace {

std::atomic<bool> s_bStopLoad{false};
std::atomic<bool> s_bLoaderDone{false};
std::atomic<DWORD> s_dwWaiter{0};

// Minimum bodies of the stage's own records in lists.
constexpr size_t kMinPlainBytes = 8;

template <class T>
BOOL ReadPlainList(cRecordReader& reader, std::vector<T>& list) {
    uint32_t n;
    if (!reader.ReadCount(n, kMinPlainBytes)) return FALSE;
    list.clear();
    list.resize(n);
    for (T& e : list) {
        e.Read(reader);
        if (reader.Ended()) break;
    }
    return TRUE;
}

template <class T>
void WritePlainList(cRecordWriter& writer, std::vector<T>& list) {
    writer.WriteU32((uint32_t)list.size());
    for (T& e : list) e.Write(writer);
}

void WriteSettings(cRecordWriter& w, cStage& s) {
    s.cDataFile::Write(w);
    WriteValueList(w, s.m_vecNumbers);
    for (cStagePartA& p : s.m_aParts) p.Write(w);
}

void WriteDefinitions(cRecordWriter& w, cStage& s) {
    WriteDefinitionList(w, s.m_vecPaletteBlocks, false);
    WriteDefinitionList(w, s.m_vecPaletteCharas, false);
    WriteDefinitionList(w, s.m_vecPaletteItems, false);
    WriteDefinitionList(w, s.m_vecBlocks, true);
    WriteDefinitionList(w, s.m_vecCharas, true);
    WriteDefinitionList(w, s.m_vecItems, true);
}

void WriteLayers(cRecordWriter& w, cStage& s) {
    WritePlainList(w, s.m_vecBackgrounds);
    WritePlainList(w, s.m_vecTexts);
}

// The settings defaults of files older than each field's first version, in ascending order.
void StoreOldFileDefaults(cStage& s, uint32_t v) {
    if (v < 155) {
        std::copy(s.m_anHeroSize40_41, s.m_anHeroSize40_41 + 2, s.m_anHeroSize42_43);
        s.m_anHero50_51[0] = s.m_anHero50_51[1] = 0;
        std::copy(s.m_anCharaSize64_65, s.m_anCharaSize64_65 + 2, s.m_anCharaSize66_67);
        s.m_anChara72_73[0] = s.m_anChara72_73[1] = 0;
    }
    if (v < 166) s.m_nValue25 = 1;
    if (v < 181) {
        s.m_vecNumbers.resize(5, 0);
        s.m_vecNumbers[3] = s.m_vecNumbers[4] = 0;
    }
    if (v < 183) s.m_nValue31 = 1;
    if (v < 184) s.m_nValue30 = 0;
    if (v < 199) s.m_nValue26 = 0;
    if (v < 200) {
        const int32_t hero[4] = {16, 24, 16, 16};
        const int32_t chara[4] = {16, 30, 16, 30};
        std::copy(hero, hero + 4, s.m_anHeroSize36_39);
        s.m_anHero48_49[0] = 1, s.m_anHero48_49[1] = 0;
        s.m_nHeroFlow52 = 0;
        s.m_nHeroFlow56 = 5;
        std::copy(chara, chara + 4, s.m_anCharaSize60_63);
        s.m_anChara70_71[0] = s.m_anChara70_71[1] = 1;
    }
    if (v < 208) s.m_nValue85 = 0;
    if (v < 225) s.m_nValue33 = 0;
}

}  // namespace

// ---- cStage: the file body ----

void cStage::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadValueList(reader, m_vecNumbers);
    for (cStagePartA& p : m_aParts) p.Read(reader);
    ReadDefinitionList(reader, m_vecPaletteBlocks, false);
    // Lists read afresh hold only definitions read or new, whose commands are valid already.
    bool paletteRead = ReadDefinitionList(reader, m_vecPaletteCharas, false);
    paletteRead = ReadDefinitionList(reader, m_vecPaletteItems, false) && paletteRead;
    // Entry 0 of each palette list is the none entry, whatever the file holds.
    if (!m_vecPaletteBlocks.empty()) m_vecPaletteBlocks[0] = cBlockRec();
    if (!m_vecPaletteCharas.empty()) m_vecPaletteCharas[0] = cCharaRec();
    if (!m_vecPaletteItems.empty()) m_vecPaletteItems[0] = cItemRec();
    // The placed lists are the large ones: read in full, they are validated already (their
    // references to palette entries the fix-up adds cannot fail a check that passed).
    bool placedRead = ReadDefinitionList(reader, m_vecBlocks, true);
    placedRead = ReadDefinitionList(reader, m_vecCharas, true) && placedRead;
    placedRead = ReadDefinitionList(reader, m_vecItems, true) && placedRead && !reader.Ended();
    if (StageFile::StopRequested()) {
        // Ended by a WM_QUIT on the waiting thread: what was read stays, nothing more is done.
        WriteReport("%s: the stage load was stopped", reader.Name());
        return;
    }
    ReadPlainList(reader, m_vecBackgrounds);
    ReadPlainList(reader, m_vecTexts);
    const uint32_t v = g_nFileVersion;
    if (v >= 173) {
        uint32_t mark;
        reader.ReadU32(mark);  // checked before the load by StageFile::CheckEndMark
    }
    if (v < kDataVersion) {
        StoreOldFileDefaults(*this, v);
        m_vecTexts.resize(kStageTextCount);
    }
    FixUp(paletteRead ? DEFCHECK_FIELDS : DEFCHECK_ALL, placedRead ? DEFCHECK_REFS : DEFCHECK_ALL);
}

void cStage::Write(cRecordWriter& writer) {
    FixUp();
    WriteSettings(writer, *this);
    WriteDefinitions(writer, *this);
    WriteLayers(writer, *this);
    writer.WriteU32(kStageEndMark);
}

void cStage::WriteCopy(cRecordWriter& writer, cStage& source) {
    FixUp();
    WriteSettings(writer, source);
    WriteDefinitions(writer, *this);
    WriteLayers(writer, source);
    writer.WriteU32(kStageEndMark);
}

void cStage::FixUp() { FixUp(DEFCHECK_ALL, DEFCHECK_ALL); }

void cStage::FixUp(DEFCHECK paletteCheck, DEFCHECK placedCheck) {
    // A view is 20 x 15 blocks; a stage smaller than the view gets limits of 0, not negative
    // ones. The stored sizes stay as they are.
    int32_t w, h;
    BlockMapSize(w, h);
    auto lower = [](int32_t& limit, int32_t bound) { limit = std::min(limit, std::max(bound, 0)); };
    lower(m_nScrollLeft, w - 20);
    lower(m_nScrollRight, w - 1);
    lower(m_nScrollTop, h - 15);
    lower(m_nScrollBottom, h - 1);
    SetHitLevel(m_nHitLevel);
    if ((uint32_t)m_nBgm >= g_Database.m_vecBgm.size()) m_nBgm = 0;
    PadDefinitionLists(m_vecPaletteBlocks, m_vecPaletteCharas, m_vecPaletteItems);
    ValidateDefinitions(m_vecPaletteBlocks, m_vecPaletteCharas, m_vecPaletteItems, paletteCheck);
    ValidateDefinitions(m_vecBlocks, m_vecCharas, m_vecItems, placedCheck);
}

int cStage::FindHero() const {
    for (size_t i = 0; i < m_vecCharas.size(); ++i)
        if (m_vecCharas[i].m_byRole == 0 && m_vecCharas[i].m_wGraphic != 0) return (int)i;
    return -1;
}

// ---- the end mark and the loader ----

BOOL StageFile::CheckEndMark(const char* path) {
    if (!path || !*path) path = "err";
    FILE* fp = crt::fopen(path, "rb");
    if (!fp) return TRUE;
    uint32_t version = 0;
    if (std::fread(&version, 4, 1, fp) != 1) {
        std::fclose(fp);
        return TRUE;  // not a record file: the loader reports it
    }
    g_nFileVersion = version;
    if (version < 174) {
        std::fclose(fp);
        return TRUE;
    }
    // The mark is the last word after the version word: a file too short for both is damaged
    // (and is never seeked before its start).
    uint32_t mark = 0;
    bool ok = false;
    if (std::fseek(fp, 0, SEEK_END) == 0) {
        long size = std::ftell(fp);
        if (size >= 8 && std::fseek(fp, size - 4, SEEK_SET) == 0 && std::fread(&mark, 4, 1, fp) == 1)
            ok = mark == kStageEndMark;
    }
    std::fclose(fp);
    if (ok) return TRUE;
    MesBoxF("ステージファイル %s が破損しています！", path);
    PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
    return FALSE;
}

bool StageFile::StopRequested() { return s_bStopLoad.load(); }

unsigned StageFile::LoadThread(void*) {
    BOOL loaded = g_LoadedStage.LoadFile(g_LoadedStage.m_strFilePath.c_str());
    if (loaded && !s_bStopLoad.load()) g_LoadedStage.m_bLoadDone = 1;
    // Wake the waiting thread: the done word first, then a message it will see.
    s_bLoaderDone.store(true);
    PostThreadMessageA(s_dwWaiter.load(), WM_NULL, 0, 0);
    return 0;
}

// ---- the play entry ----

namespace {

enum class LoaderWait { Done, Quit, Close };

// Pumps this thread's messages until the loader is done; sleeps in WaitMessage between them (the
// loader's wake-up message ends the wait). A WM_QUIT, or a WM_CLOSE to the main window, ends the
// wait early and is left in *ended. Out of line, so the fuzz build can leave this wait out of
// its coverage: how often it turns depends on the loader thread's timing.
[[gnu::noinline]] LoaderWait WaitForStageLoader(MSG* ended) {
    while (!s_bLoaderDone.load()) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            *ended = msg;
            return LoaderWait::Quit;
        }
        if (msg.message == WM_CLOSE && msg.hwnd && msg.hwnd == g_hMainWnd.load()) {
            *ended = msg;
            return LoaderWait::Close;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return LoaderWait::Done;
}

}  // namespace

BOOL PlayStageFile(const char* name, BOOL numbered, cStage* target) {
    std::string path = name ? name : "";
    if (numbered) {
        char found[MAX_PATH];
        if (!FindNumberedFile(found, path.c_str(), g_ExtTable[EXT_STG4])) return FALSE;
        path = found;
    }
    GetRelativePathStr(path);
    g_LoadedStage.m_strFilePath = path;
    if (!StageFile::CheckEndMark(path.c_str())) return FALSE;

    g_LoadedStage.m_bLoadDone = 0;
    s_bStopLoad.store(false);
    s_bLoaderDone.store(false);
    s_dwWaiter.store(GetCurrentThreadId());
    // The loader reads no messages of its own, so it needs no start handshake.
    if (!thStageLoad.Create(&StageFile::LoadThread, nullptr)) {
        MesBoxF("ステージファイル %s の読み込みに失敗しました！", path.c_str());
        return FALSE;
    }
    MSG msg{};
    switch (WaitForStageLoader(&msg)) {
    case LoaderWait::Quit:
        // Stop the read at its next definition and wait for the loader; the outer loop of this
        // thread must still see the quit.
        s_bStopLoad.store(true);
        thStageLoad.Exit();
        s_bStopLoad.store(false);
        PostQuitMessage((int)msg.wParam);
        return FALSE;
    case LoaderWait::Close:
        // The program is closing: the load is cancelled and the close acted on once this
        // request has returned.
        s_bStopLoad.store(true);
        thStageLoad.Exit();
        s_bStopLoad.store(false);
        PostMessageA(msg.hwnd, WM_CLOSE, msg.wParam, msg.lParam);
        return FALSE;
    case LoaderWait::Done:
        break;
    }
    thStageLoad.Wait();

    if (!g_LoadedStage.m_bLoadDone) {
        MesBoxF("ステージファイル %s の読み込みに失敗しました！", path.c_str());
        return FALSE;
    }
    if (!g_LoadedStage.HasHero()) {
        MesBoxF("主人公が配置されていないのでプレイできません！");
        PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
        return FALSE;
    }
    if (target) TakeStageSettings(*target, g_LoadedStage);
    return TRUE;
}

void TakeStageSettings(cStage& target, const cStage& source) {
    if (&target == &source) return;
    target.CopyFrom(source);
    target.m_vecBackgrounds = source.m_vecBackgrounds;
    target.m_vecTexts = source.m_vecTexts;
    for (int i = 0; i < 5; ++i) target.m_aParts[i] = source.m_aParts[i];
    target.m_vecNumbers = source.m_vecNumbers;
    target.m_vecBlocks.clear();
    target.m_vecCharas.clear();
    target.m_vecItems.clear();
    target.m_vecPaletteBlocks.clear();
    target.m_vecPaletteCharas.clear();
    target.m_vecPaletteItems.clear();
}
