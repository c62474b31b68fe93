// The stage record: a stage's settings, number list, five part records, its own palette of
// block, character and item definitions, the definitions placed on it, its background layers
// and its text list. Stage files and the stages inside replays are its image; the play engine
// builds the play scene from it. Settings fields are numbered 1-99 as the play code knows
// them; a member holding several numbers is one value block in the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/block_rec.h"
#include "records/chara_rec.h"
#include "records/common_palette.h"
#include "records/data_file.h"
#include "records/item_rec.h"

// One of the five part records of a stage: eight values.
class cStagePartA : public cDataFile {
public:
    cStagePartA();  // all 0
    const RECORDLAYOUT& Layout() const override;
    // Sets the eight values in order.
    void Set(const int32_t (&values)[8]);
    // Value i (0-7); 0 outside. Inline: the far-edge checks ask it for every character each
    // sub-step.
    int32_t Value(int i) const {
        switch (i) {
            case 0: return m_nV1;
            case 1: case 2: case 3: return m_anV2_4[i - 1];
            case 4: return m_nV5;
            case 5: case 6: return m_anV6_7[i - 5];
            case 7: return m_nV8;
            default: return 0;
        }
    }

    int32_t m_nV1;
    int32_t m_anV2_4[3];  // from version 125
    int32_t m_nV5;
    int32_t m_anV6_7[2];
    int32_t m_nV8;
};

// A background layer.
class cBackgroundRec : public cDataFile {
public:
    cBackgroundRec();  // P = Q = 0.1, A = 1, C = 16, everything else 0 or ""
    const RECORDLAYOUT& Layout() const override;

    int32_t m_nA;        // from version 62
    int32_t m_anBC[2];
    int32_t m_nD;
    double m_adPQ[2];    // from version 61 (older files hold two dropped words)
    int32_t m_anEF[2];   // from version 61
    std::string m_strBitmap;
    double m_adGH[2];    // from version 62 (version 61 holds two dropped words)
};

// One entry of a stage's text list.
class cStageTextRec : public cDataFile {
public:
    cStageTextRec() = default;
    const RECORDLAYOUT& Layout() const override;
    std::string m_strText;
};

// The number of stage texts a file older than the current version ends up with.
constexpr size_t kStageTextCount = 1000;
// Stage sizes the play engine builds a block map for: each side at most this many blocks and
// at most this many cells in all (the stored sizes stay as the file has them).
constexpr int32_t kMaxStageSide = 10000;
constexpr int64_t kMaxStageCells = 4000000;
// Hit-check levels are 1 or more; far larger levels than any stage uses are cut here.
constexpr int32_t kMaxHitLevel = 100;

class cStage : public cDataFile {
public:
    cStage();
    const RECORDLAYOUT& Layout() const override;

    // The new-stage state: base clear, no placed definitions, one default definition in each
    // palette list, the new values of the settings, one background (value B = 1), five numbers
    // of 1 and the part defaults. The text list is left as it is.
    void Clear();
    // Sub-steps and speed limits from a hit-check level: levels 11-19 give n = level - 10 and
    // a limit of 60 dots per frame, other levels n = level and 6n. A level of 0 or below is
    // taken as 1, one above kMaxHitLevel as kMaxHitLevel.
    void SetHitLevel(int32_t level);
    // The block-map size for the play engine: the stored sizes bounded to a sane map.
    void BlockMapSize(int32_t& width, int32_t& height) const;

    // ---- the stage file (items 2-13 of the file; the version word is the caller's) ----
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;
    // Writes the settings, numbers, parts, backgrounds and texts of `source` with the palettes
    // and placed definitions of this stage (replays).
    void WriteCopy(cRecordWriter& writer, cStage& source);
    // Scroll limits within the stage, sub-steps from the hit level, the music number, two
    // entries at least in each palette list, every definition validated.
    void FixUp();
    // The first placed character in the hero role (C26 = 0) with a graphic (C13 != 0); -1.
    int FindHero() const;
    BOOL HasHero() const { return FindHero() != -1; }

    // ---- settings 1-35 ----
    int32_t m_nWidth;                // 1: blocks
    int32_t m_anValue2_3[2];
    int32_t m_nHeight;               // 4: blocks
    int32_t m_bScrollLimitLeft;      // 5-8: the limit of fields 9-12 applies
    int32_t m_bScrollLimitRight;
    int32_t m_bScrollLimitTop;
    int32_t m_bScrollLimitBottom;
    int32_t m_nScrollLeft;           // 9: block column, at most width - 20
    int32_t m_nScrollRight;          // 10: inclusive, at most width - 1
    int32_t m_nScrollTop;            // 11: block row, at most height - 15
    int32_t m_nScrollBottom;         // 12: inclusive, at most height - 1
    int32_t m_nFrameRate;            // 13
    int32_t m_nValue14, m_nValue15, m_nValue16;
    int32_t m_bAutoScrollX;          // 17
    int32_t m_bAutoScrollY;          // 18
    int32_t m_nAutoScrollSpeedX;     // 19: tenths of a dot per frame
    int32_t m_nAutoScrollSpeedY;     // 20
    double m_dGravity;               // 21: per frame
    int32_t m_nHitLevel;             // 22: 1-19
    int32_t m_nValue23;
    int32_t m_nBgm;                  // 24: index into the project's music
    int32_t m_nValue25;              // from 166
    int32_t m_nValue26;              // from 199
    int32_t m_nValue27;
    int32_t m_anValue28_29[2];
    int32_t m_nValue30;              // from 184, stored after 31
    int32_t m_nValue31;              // from 183
    int32_t m_nValue32;
    int32_t m_nValue33;              // from 225
    int32_t m_anValue34_35[2];
    // ---- settings 36-99 ----
    int32_t m_anHeroSize36_39[4];    // from 200
    int32_t m_anHeroSize40_41[2];
    int32_t m_anHeroSize42_43[2];    // from 155
    int32_t m_anHeroSize44_47[4];
    int32_t m_anHero48_49[2];        // from 200
    int32_t m_anHero50_51[2];        // from 155
    int32_t m_nHeroFlow52;           // from 200
    int32_t m_anHeroFlow53_55[3];
    int32_t m_nHeroFlow56;           // from 200
    int32_t m_anHeroFlow57_59[3];
    int32_t m_anCharaSize60_63[4];   // from 200
    int32_t m_anCharaSize64_65[2];
    int32_t m_anCharaSize66_67[2];   // from 155
    int32_t m_anChara68_69[2];
    int32_t m_anChara70_71[2];       // from 200
    int32_t m_anChara72_73[2];       // from 155
    int32_t m_anValue74_84[11];
    int32_t m_nValue85;              // run-time, not stored
    std::string m_strFilePath;       // run-time: the stage file last requested
    int32_t m_bLoadDone;             // run-time: set by the loader thread when a load succeeded (read after it ended)
    int32_t m_anValue86_87[2];
    int32_t m_nSpeedLimit;           // run-time: 6 n
    int32_t m_nSubSteps;             // 88: n
    double m_adSubStep[5];           // 89-93: n, n^2, speed limit per frame, gravity and speed limit per sub-step
    int32_t m_nSubSteps8;            // 94: 8 n
    int32_t m_nValue95;
    int32_t m_nValue96, m_nValue97, m_nValue98, m_nValue99;  // invincibility values

    std::string m_strStage;          // the settings body's one string
    std::vector<int32_t> m_vecNumbers;
    cStagePartA m_aParts[5];
    std::vector<cBlockRec> m_vecBlocks;        // placed
    std::vector<cCharaRec> m_vecCharas;
    std::vector<cItemRec> m_vecItems;
    std::vector<cBlockRec> m_vecPaletteBlocks;  // the stage's own palette
    std::vector<cCharaRec> m_vecPaletteCharas;
    std::vector<cItemRec> m_vecPaletteItems;
    std::vector<cBackgroundRec> m_vecBackgrounds;
    std::vector<cStageTextRec> m_vecTexts;

    // Indexes of m_adSubStep.
    enum { STEP_N = 0, STEP_N2, STEP_LIMIT_FRAME, STEP_GRAVITY, STEP_LIMIT };

private:
    // FixUp with what the palette and placed lists still need validated after a read.
    void FixUp(DEFCHECK paletteCheck, DEFCHECK placedCheck);
};

// The stage stage files and replays are read into, and the settings copy every stage start
// restores.
extern cStage g_LoadedStage;
extern cStage g_StageSettings;
