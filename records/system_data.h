// The project's system settings ("data\System.dat"): title, menu and screen texts, status items,
// ranking rules, menu tunes, the System.ini key defaults and the switches and numbers the play
// engine, the flow engine and the front end consult. Numbered words are named by their place in
// the settings; their meaning belongs to the subsystem that reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/data_file.h"
#include "records/system_records.h"

// The lengths the program indexes; shorter lists read from a file are padded with the default
// entries of the same places.
constexpr size_t kCarryFlagCount = 25;
constexpr size_t kResetFlagCount = 25;
constexpr size_t kStatusItemCount = 5;
constexpr size_t kPlayModeCount = 4;
constexpr size_t kSystemTextCount = 28;
constexpr size_t kSystemSoundCount = 17;
constexpr size_t kMenuTuneCount = 4;
constexpr size_t kTitleMenuCount = 7;
constexpr size_t kSaveMenuCount = 4;
constexpr size_t kOptionMenuCount = 6;
constexpr size_t kRankingModeTextCount = 4;
constexpr size_t kIniKeyCount = 10;
// The largest stage count a project may give.
constexpr uint32_t kMaxStageCount = 999;

class cSystemData : public cDataFile {
public:
    // The defaults of a new project.
    cSystemData();
    const RECORDLAYOUT& Layout() const override;
    // The base body, the lists, the conversions of older versions, the padding of short lists
    // and the tune-slot normalisation.
    void Read(cRecordReader& reader) override;
    // Tune-slot normalisation, the base body, the lists.
    void Write(cRecordWriter& writer) override;
    void SetDefaults();
    // Menu tunes that name no music record become 0.
    void NormaliseTunes();

    std::string m_strTitle;
    std::vector<uint8_t> m_vecCarryFlags;
    std::vector<uint8_t> m_vecResetFlags;
    uint32_t m_bScoreExtraLife;   // from 185: extra lives by score
    uint32_t m_nExtraLifeScore;   // score step of one extra life
    uint32_t m_nWordC;            // play scene drawing
    uint32_t m_bFontFlag;         // copied into the second font's drawing flag
    uint32_t m_nFontNo;           // from 205: index into the font-name table
    uint32_t m_nFontWord;         // from 170: copied into the second font
    uint32_t m_bReplay;           // from 184: replays may be recorded and saved
    uint32_t m_bKeepFlows;        // from 113: flows marked for erasing stay
    std::vector<cSysStatusItem> m_vecStatusItems;
    uint32_t m_bTitleMenuCentred; // from 157
    std::vector<cSysMenuItem> m_vecTitleMenu;
    std::vector<cSysMenuItem> m_vecSaveMenu;
    std::vector<cSysMenuItem> m_vecOptionMenu;
    std::vector<std::string> m_vecRankingModeTexts;
    uint32_t m_nWord8;            // front end
    uint32_t m_nWord9;            // from 191: play scene, after a miss in story mode
    uint32_t m_nWord10;           // from 191: front end, a lives display
    uint32_t m_nStageCount;       // the project's number of stages
    uint32_t m_nWord12;           // stage select counts m_nStageCount stages when set
    std::vector<uint32_t> m_vecStartLives;      // per play mode
    std::vector<uint32_t> m_vecUnlimitedLives;  // per play mode
    std::vector<cSysRankingRule> m_vecRankingRules;  // per play mode
    uint32_t m_nWord13;           // from 167: front end, a score display
    uint32_t m_nWord14;           // from 167: front end, a total-score display
    uint32_t m_bStorySwitch;      // from 188: stage helpers, story mode
    uint32_t m_nWord16;           // from 224: in-play menu, story mode
    uint32_t m_nWord17;           // from 167: front end
    uint32_t m_nWord18;           // from 167: front end
    uint32_t m_bChallengeSwitch;  // from 188
    uint32_t m_nWord20;           // from 224: in-play menu, challenge mode
    uint32_t m_bFreeSwitch;       // from 188
    uint32_t m_bOtherModeSwitch;  // from 192: used instead of the three above in the fourth mode
    uint32_t m_bRgbColourKey;     // from 187: the transparent colour is the RGB below
    uint8_t m_byKeyRed;
    uint8_t m_byKeyGreen;
    uint8_t m_byKeyBlue;
    std::vector<std::string> m_vecSystemSounds;  // the 17 system sound effects' files
    std::vector<uint32_t> m_vecMenuTunes;        // music record per menu tune slot
    std::vector<uint8_t> m_vecMenuTuneLoop;
    std::vector<std::string> m_vecTexts;         // texts of the game screens
    std::vector<SYSTEMINIKEY> m_vecIniKeys;      // the ten System.ini keys
    uint32_t m_nWord25;           // from 214: play engine
    uint32_t m_nWord26;           // from 261: play engine
    uint32_t m_nWord27;           // from 272: play engine
    uint32_t m_nWord28;           // from 287: flow engine
    uint32_t m_nPulseStep;        // from 515: step of the pulsing colours
    uint32_t m_bPaletteCycle;     // from 289: palette cycling in 8-bit colour
    uint32_t m_nWord31;           // from 525: flow engine
    uint32_t m_nWord32;           // from 555: play engine
    uint32_t m_nWord33;           // from 637: play engine
    uint32_t m_nWord34;           // from 669: flow engine
    uint32_t m_nWord35;           // from 677: play engine
    uint32_t m_nWord36;           // from 695: flow engine
    uint32_t m_nWord37;           // from 697: stage setup
    uint32_t m_nWord38;           // from 721: flow engine
    uint32_t m_nWord39;           // from 728: flow engine
    uint32_t m_nWord40;           // from 733: play engine
    uint32_t m_nWord41;           // from 744: flow engine
    uint32_t m_nWord43;           // from 749: no reader
    uint32_t m_nWord44;           // from 752: expression evaluator
    uint32_t m_nWord42;           // from 696: no reader
    uint32_t m_nD3DFullDepth;     // from 670: full-screen depth with Direct3D when "Bpp" is 0
    uint32_t m_nDDFullDepth;      // from 670: the same with DirectDraw

private:
    void Convert(uint32_t version);
    void PadLists();
};

extern cSystemData g_SystemData;
