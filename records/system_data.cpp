// The system settings record.
#include "records/system_data.h"

#include <algorithm>

#include "core/checked.h"
#include "records/database.h"

cSystemData g_SystemData;

namespace {

template <class T>
void PadTo(std::vector<T>& list, size_t n, const std::vector<T>& defaults) {
    while (list.size() < n) list.push_back(list.size() < defaults.size() ? defaults[list.size()] : T());
}

// Resizes to n (new entries built by the constructor), shifts up from i and sets entry i.
template <class T, class Set>
void InsertAt(std::vector<T>& list, size_t n, size_t i, Set set) {
    list.resize(n);
    ShiftUp(list, i);
    set(list[i]);
}

}  // namespace

cSystemData::cSystemData() { SetDefaults(); }

const RECORDLAYOUT& cSystemData::Layout() const {
    // The 50 value blocks of the settings in file order, with the versions that store them.
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cSystemData::m_bScoreExtraLife>(185)   // 1
                                           .Values<&cSystemData::m_nExtraLifeScore>()      // 2
                                           .Values<&cSystemData::m_nWordC>()               // 3
                                           .Values<&cSystemData::m_bFontFlag>()            // 4
                                           .Values<&cSystemData::m_nFontNo>(205)           // 5
                                           .Values<&cSystemData::m_nFontWord>(170)         // 6
                                           .Values<&cSystemData::m_bKeepFlows>(113)        // 7
                                           .Values<&cSystemData::m_bReplay>(184)           // 8
                                           .Values<&cSystemData::m_bTitleMenuCentred>(157) // 9
                                           .Values<&cSystemData::m_nWord8>()               // 10
                                           .Values<&cSystemData::m_nWord9>(191)            // 11
                                           .Values<&cSystemData::m_nWord10>(191)           // 12
                                           .Values<&cSystemData::m_nStageCount>()          // 13
                                           .Values<&cSystemData::m_nWord12>()              // 14
                                           .Values<&cSystemData::m_nWord13>(167)           // 15
                                           .Values<&cSystemData::m_nWord14>(167)           // 16
                                           .Values<&cSystemData::m_bStorySwitch>(188)      // 17
                                           .Values<&cSystemData::m_nWord16>(224)           // 18
                                           .Values<&cSystemData::m_nWord17>(167)           // 19
                                           .Values<&cSystemData::m_nWord18>(167)           // 20
                                           .Values<&cSystemData::m_bChallengeSwitch>(188)  // 21
                                           .Values<&cSystemData::m_nWord20>(224)           // 22
                                           .Values<&cSystemData::m_bFreeSwitch>(188)       // 23
                                           .Values<&cSystemData::m_bOtherModeSwitch>(192)  // 24
                                           .Values<&cSystemData::m_bRgbColourKey>(187)     // 25
                                           .Values<&cSystemData::m_byKeyRed>(187)          // 26
                                           .Values<&cSystemData::m_byKeyGreen>(187)        // 27
                                           .Values<&cSystemData::m_byKeyBlue>(187)         // 28
                                           .Values<&cSystemData::m_nWord25>(214)           // 29
                                           .Discard(4, 1, 221, 260)                        // dropped
                                           .Values<&cSystemData::m_nWord26>(261)           // 30
                                           .Values<&cSystemData::m_nWord27>(272)           // 31
                                           .Values<&cSystemData::m_nWord28>(287)           // 32
                                           .Values<&cSystemData::m_nPulseStep>(515)        // 33
                                           .Values<&cSystemData::m_bPaletteCycle>(289)     // 34
                                           .Values<&cSystemData::m_nWord31>(525)           // 35
                                           .Values<&cSystemData::m_nWord32>(555)           // 36
                                           .Values<&cSystemData::m_nWord33>(637)           // 37
                                           .Values<&cSystemData::m_nWord34>(669)           // 38
                                           .Values<&cSystemData::m_nWord35>(677)           // 39
                                           .Values<&cSystemData::m_nWord36>(695)           // 40
                                           .Values<&cSystemData::m_nWord42>(696)           // 41
                                           .Values<&cSystemData::m_nWord37>(697)           // 42
                                           .Values<&cSystemData::m_nWord38>(721)           // 43
                                           .Values<&cSystemData::m_nWord39>(728)           // 44
                                           .Values<&cSystemData::m_nWord40>(733)           // 45
                                           .Values<&cSystemData::m_nWord41>(744)           // 46
                                           .Values<&cSystemData::m_nWord43>(749)           // 47
                                           .Values<&cSystemData::m_nWord44>(752)           // 48
                                           .Values<&cSystemData::m_nD3DFullDepth>(670)     // 49
                                           .Values<&cSystemData::m_nDDFullDepth>(670)      // 50
                                           .String<&cSystemData::m_strTitle>()
                                           .Build();
    return layout;
}

void cSystemData::SetDefaults() {
    Clear();
    m_nExtraLifeScore = 100;
    m_nWordC = 1;
    m_nFontNo = 60;
    m_bReplay = 1;
    m_bTitleMenuCentred = 1;
    m_nWord8 = m_nWord9 = m_nWord10 = 1;
    m_nStageCount = 40;
    m_nWord12 = m_nWord13 = m_nWord14 = 1;
    m_bStorySwitch = m_nWord16 = m_nWord17 = m_nWord18 = m_bChallengeSwitch = m_nWord20 = m_bFreeSwitch = 1;
    m_nPulseStep = 16;
    m_nDDFullDepth = 2;

    m_vecCarryFlags.assign(kCarryFlagCount, 0);
    for (int i : {0, 1, 13, 14, 16, 17, 19, 20, 21}) m_vecCarryFlags[(size_t)i] = 1;
    m_vecResetFlags.assign(kResetFlagCount, 0);
    m_vecResetFlags[11] = m_vecResetFlags[12] = 1;

    struct STATUS {
        const char* name;
        uint32_t digits;
    };
    static const STATUS kStatus[kStatusItemCount] = {{"スコア", 4}, {"スコア", 3}, {"HP", 0}, {"SP", 0}, {"人", 2}};
    m_vecStatusItems.assign(kStatusItemCount, cSysStatusItem());
    for (size_t i = 0; i < kStatusItemCount; ++i) {
        m_vecStatusItems[i].m_bShown = 1;
        m_vecStatusItems[i].m_bIcon = 1;
        m_vecStatusItems[i].m_strName = kStatus[i].name;
        m_vecStatusItems[i].m_nDigits = kStatus[i].digits;
    }

    m_vecRankingRules.assign(kPlayModeCount, cSysRankingRule());
    for (size_t i = 0; i < 3; ++i) {
        m_vecRankingRules[i].m_bOn = 1;
        m_vecRankingRules[i].m_vecTables.assign(kRankingTableCount, 1);
    }

    auto menu = [](std::vector<cSysMenuItem>& list, std::initializer_list<const char*> texts) {
        list.assign(texts.size(), cSysMenuItem());
        size_t i = 0;
        for (const char* t : texts) list[i++].m_strText = t;
    };
    menu(m_vecTitleMenu, {"はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション", "しゅうりょう"});
    menu(m_vecSaveMenu, {"セーブ", "オートセーブ", "もどる", "タイトルへ"});
    menu(m_vecOptionMenu, {"BGM", "SE", "ランキング登録", "ランキング登録名", "もどる", ""});
    m_vecRankingModeTexts = {"手動登録（登録名入力）", "手動登録（登録名固定）", "自動登録（登録名入力）", "自動登録（登録名固定）"};
    m_vecStartLives = {5, 5, 5, 99};
    m_vecUnlimitedLives = {1, 1, 1, 1};
    m_vecTexts = {"ワールド", "ステージ", "スコア", "ハイスコア", "トータルスコア", "スコア", "残り時間", "クリア時間",
                  "残りHP", "残りSP", "ステージに挑む", "やっぱりやめる", "セーブする", "やっぱりやめる",
                  "オートセーブＯＮ", "オートセーブＯＦＦ", "保存先が不明です！一度は「セーブ」して下さい！",
                  "タイトルへ戻る", "やっぱりやめる", "しゅうりょう", "つづける", "リトライ", "リトライ",
                  "マップへ戻る", "Vキーでジャンルの切り替え", "スペースキーでタイトルへ戻る", "スペースキーで終了",
                  "F3キーでランキングへ登録"};
    m_vecSystemSounds.assign(kSystemSoundCount, std::string());
    m_vecMenuTunes.assign(kMenuTuneCount, 0);
    m_vecMenuTuneLoop.assign(kMenuTuneCount, 1);

    m_vecIniKeys.assign(kIniKeyCount, SYSTEMINIKEY());
    SetIniKey(m_vecIniKeys[0], "Direct3D", 2);
    SetIniKey(m_vecIniKeys[1], "WindowMode", 0);
    SetIniKey(m_vecIniKeys[2], "Bpp", 0);
    SetIniKey(m_vecIniKeys[3], "VSync", 2);
    SetIniKey(m_vecIniKeys[4], "D3D_FontCache", 0);
    SetIniKey(m_vecIniKeys[5], "DD_FontCache", 1);
    SetIniKey(m_vecIniKeys[6], "DD_VideoStretch", 0);
    SetIniKey(m_vecIniKeys[7], "ShowFps", 1);
    SetIniKeyString(m_vecIniKeys[8], "FreeStage", "");
    SetIniKey(m_vecIniKeys[9], "English", 0);
}

void cSystemData::Read(cRecordReader& reader) {
    const uint32_t v = g_nFileVersion;
    cDataFile::Read(reader);
    ReadValueList(reader, m_vecCarryFlags);
    if (v >= 501) ReadValueList(reader, m_vecResetFlags);
    ReadRecordList(reader, m_vecStatusItems, cSysStatusItem());
    ReadValueList(reader, m_vecStartLives);
    if (v >= 191) ReadValueList(reader, m_vecUnlimitedLives);
    if (v >= 186) ReadRecordList(reader, m_vecRankingRules, cSysRankingRule());
    ReadStringList(reader, m_vecTexts);
    ReadStringList(reader, m_vecSystemSounds);
    ReadValueList(reader, m_vecMenuTunes);
    if (v >= 202) ReadValueList(reader, m_vecMenuTuneLoop);
    ReadRecordList(reader, m_vecTitleMenu, cSysMenuItem());
    ReadRecordList(reader, m_vecSaveMenu, cSysMenuItem());
    ReadRecordList(reader, m_vecOptionMenu, cSysMenuItem());
    if (v >= 674) ReadStringList(reader, m_vecRankingModeTexts);
    ReadRecordList(reader, m_vecIniKeys, SYSTEMINIKEY());
    if (v < kDataVersion) Convert(v);
    PadLists();
    NormaliseTunes();
}

void cSystemData::Convert(uint32_t v) {
    auto text = [](const char* t) { return [t](std::string& s) { s = t; }; };
    if (v < 113) m_bKeepFlows = 0;
    if (v < 157) m_bTitleMenuCentred = 0;
    if (v < 167) m_nWord13 = m_nWord14 = m_nWord17 = m_nWord18 = 1;
    if (v < 168) InsertAt(m_vecCarryFlags, kCarryFlagCount, 16, [](uint8_t& b) { b = 1; });
    if (v < 169) {
        InsertAt(m_vecSaveMenu, kSaveMenuCount, 1, [](cSysMenuItem& m) {
            m = cSysMenuItem();
            m.m_strText = "オートセーブ";
        });
        InsertAt(m_vecTexts, kSystemTextCount, 12, text("保存先が不明です！一度は「セーブ」して下さい！"));
        InsertAt(m_vecTexts, kSystemTextCount, 12, text("オートセーブＯＦＦ"));
        InsertAt(m_vecTexts, kSystemTextCount, 12, text("オートセーブＯＮ"));
    }
    if (v < 170) m_nFontWord = 0;
    if (v < 181) {
        for (size_t i = 0; i < std::min<size_t>(m_vecRankingRules.size(), kPlayModeCount); ++i)
            m_vecRankingRules[i].m_vecTables.resize(kRankingTableCount, 0);
        for (cSysRankingRule& r : m_vecRankingRules) {
            if (r.m_vecTables.size() > 3) r.m_vecTables[3] = 0;
            if (r.m_vecTables.size() > 4) r.m_vecTables[4] = 0;
        }
        InsertAt(m_vecTexts, kSystemTextCount, 8, text("残りHP"));
        InsertAt(m_vecTexts, kSystemTextCount, 9, text("残りSP"));
    }
    if (v < 184) m_bReplay = 1;
    if (v < 185) m_bScoreExtraLife = 1;
    if (v < 187) {
        m_bRgbColourKey = 0;
        m_byKeyRed = 0;
        m_byKeyGreen = 177;
        m_byKeyBlue = 0;
    }
    if (v < 188) m_bStorySwitch = m_bChallengeSwitch = m_bFreeSwitch = 1;
    if (v < 191) {
        m_vecUnlimitedLives = {0, 0, 0, 1};
        m_nWord9 = m_nWord10 = 0;
    }
    if (v < 192) m_bOtherModeSwitch = 1;
    if (v < 193) {
        InsertAt(m_vecTexts, kSystemTextCount, 22, text("リトライ"));
        InsertAt(m_vecTexts, kSystemTextCount, 23, text("マップへ戻る"));
    }
    if (v < 201) InsertAt(m_vecCarryFlags, kCarryFlagCount, 14, [](uint8_t& b) { b = 0; });
    if (v < 202) m_vecMenuTuneLoop.assign(kMenuTuneCount, 1);
    if (v < 205) m_nFontNo = 60;
    if (v < 210) InsertAt(m_vecCarryFlags, kCarryFlagCount, 9, [](uint8_t& b) { b = 0; });
    if (v < 214) m_nWord25 = 1;
    if (v < 224) m_nWord16 = m_nWord20 = 0;
    if (v < 261) m_nWord26 = 1;
    if (v < 272) m_nWord27 = 0;
    if (v < 286) {
        InsertAt(m_vecIniKeys, kIniKeyCount, 0, [](SYSTEMINIKEY& k) {
            k = SYSTEMINIKEY();
            SetIniKey(k, "Direct3D", 1);
        });
        if (m_vecIniKeys[3].m_nDefault >= 3) m_vecIniKeys[3].m_nDefault = 2;
    }
    if (v < 287) m_nWord28 = 0;
    if (v < 289) m_bPaletteCycle = m_bRgbColourKey == 0 ? 1 : 0;
    if (v < 501) m_vecResetFlags.assign(kResetFlagCount, 0);
    if (v < 515) m_nPulseStep = 16;
    if (v < 525) m_nWord31 = 1;
    if (v < 555) m_nWord32 = 1;
    if (v < 567)
        InsertAt(m_vecIniKeys, kIniKeyCount, 4, [](SYSTEMINIKEY& k) {
            k = SYSTEMINIKEY();
            SetIniKey(k, "DD_VideoStretch", 0);
        });
    if (v < 568) {
        InsertAt(m_vecIniKeys, kIniKeyCount, 4, [](SYSTEMINIKEY& k) {
            k = SYSTEMINIKEY();
            SetIniKey(k, "D3D_FontCache", 0);
        });
        InsertAt(m_vecIniKeys, kIniKeyCount, 5, [](SYSTEMINIKEY& k) {
            k = SYSTEMINIKEY();
            SetIniKey(k, "DD_FontCache", 1);
        });
    }
    if (v < 587) {
        m_vecStatusItems.resize(kStatusItemCount);
        for (size_t i : {2u, 3u}) {
            m_vecStatusItems[i].m_nLimit = 33;
            m_vecStatusItems[i].m_bLimitPercent = 1;
        }
    }
    if (v < 637) m_nWord33 = v <= 616 ? 1 : 0;
    if (v < 669) m_nWord34 = 1;
    if (v < 670) {
        m_nD3DFullDepth = 0;
        m_nDDFullDepth = 2;
    }
    if (v < 672) {
        m_vecIniKeys.resize(kIniKeyCount);
        SetIniKey(m_vecIniKeys[9], "English", 0);
    }
    if (v < 677) m_nWord35 = 1;
    if (v < 695) m_nWord36 = 1;
    if (v < 696) m_nWord42 = 1;
    if (v < 697) m_nWord37 = 1;
    if (v < 721) m_nWord38 = 1;
    if (v < 728) m_nWord39 = 1;
    if (v < 733) m_nWord40 = 1;
    if (v < 744) m_nWord41 = 1;
    if (v < 749) m_nWord43 = 1;
    if (v < 752) m_nWord44 = 1;
}

void cSystemData::PadLists() {
    static const cSystemData kDefaults;
    PadTo(m_vecCarryFlags, kCarryFlagCount, kDefaults.m_vecCarryFlags);
    PadTo(m_vecResetFlags, kResetFlagCount, kDefaults.m_vecResetFlags);
    PadTo(m_vecStatusItems, kStatusItemCount, kDefaults.m_vecStatusItems);
    PadTo(m_vecStartLives, kPlayModeCount, kDefaults.m_vecStartLives);
    PadTo(m_vecUnlimitedLives, kPlayModeCount, kDefaults.m_vecUnlimitedLives);
    PadTo(m_vecRankingRules, kPlayModeCount, kDefaults.m_vecRankingRules);
    for (cSysRankingRule& r : m_vecRankingRules)
        if (r.m_vecTables.size() < (size_t)kRankingTableCount) r.m_vecTables.resize(kRankingTableCount, 0);
    PadTo(m_vecTexts, kSystemTextCount, kDefaults.m_vecTexts);
    PadTo(m_vecSystemSounds, kSystemSoundCount, kDefaults.m_vecSystemSounds);
    PadTo(m_vecMenuTunes, kMenuTuneCount, kDefaults.m_vecMenuTunes);
    PadTo(m_vecMenuTuneLoop, kMenuTuneCount, kDefaults.m_vecMenuTuneLoop);
    PadTo(m_vecTitleMenu, kTitleMenuCount, kDefaults.m_vecTitleMenu);
    PadTo(m_vecSaveMenu, kSaveMenuCount, kDefaults.m_vecSaveMenu);
    PadTo(m_vecOptionMenu, kOptionMenuCount, kDefaults.m_vecOptionMenu);
    PadTo(m_vecRankingModeTexts, kRankingModeTextCount, kDefaults.m_vecRankingModeTexts);
    PadTo(m_vecIniKeys, kIniKeyCount, kDefaults.m_vecIniKeys);
    if (m_nStageCount > kMaxStageCount) m_nStageCount = kMaxStageCount;
}

void cSystemData::NormaliseTunes() {
    for (uint32_t& t : m_vecMenuTunes)
        if (t >= g_Database.m_vecBgm.size()) t = 0;
}

void cSystemData::Write(cRecordWriter& writer) {
    NormaliseTunes();
    cDataFile::Write(writer);
    WriteValueList(writer, m_vecCarryFlags);
    WriteValueList(writer, m_vecResetFlags);
    WriteSysRecordList(m_vecStatusItems, writer);
    WriteValueList(writer, m_vecStartLives);
    WriteValueList(writer, m_vecUnlimitedLives);
    WriteSysRecordList(m_vecRankingRules, writer);
    WriteSysStringList(m_vecTexts, writer);
    WriteSysStringList(m_vecSystemSounds, writer);
    WriteValueList(writer, m_vecMenuTunes);
    WriteValueList(writer, m_vecMenuTuneLoop);
    WriteSysRecordList(m_vecTitleMenu, writer);
    WriteSysRecordList(m_vecSaveMenu, writer);
    WriteSysRecordList(m_vecOptionMenu, writer);
    WriteSysStringList(m_vecRankingModeTexts, writer);
    WriteSysRecordList(m_vecIniKeys, writer);
}
