// Effect, picture, sound and music records of the project database, with the character
// bitmaps and sword types. Most share a name, a value stored from version 151 (152 for the
// character bitmaps) and cleared for files older than 153, and a file name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/checked.h"
#include "records/data_file.h"

// The version from which the shared value is kept as read.
constexpr uint32_t kSharedValueKeptFrom = 153;
// The largest cell size (in 32-dot units) of a character bitmap with large cells.
constexpr int32_t kMaxCharaExcCellSize = 16;

// A character-dedicated bitmap ("Bmp_CharaExc.dat").
class cBmpCharaExcRec : public cDataFile {
public:
    cBmpCharaExcRec();
    const RECORDLAYOUT& Layout() const override;
    // Base read, the shared value cleared below 153, a large-cell size brought into 1..16.
    void Read(cRecordReader& reader) override;

    std::string m_strName;
    int32_t m_nValue;       // from 152
    std::string m_strFile;
    int32_t m_bLargeCells;  // from 172
    int32_t m_nCellSize;    // from 172: cell edge 32 x size dots when m_bLargeCells is set
};

// One step of a sword swing (ten words).
class cSwordTypeEntry : public cDataFile {
public:
    cSwordTypeEntry();  // mirror x 1, everything else 0
    const RECORDLAYOUT& Layout() const override;

    int32_t m_nOffsetX;
    int32_t m_nOffsetY;
    int32_t m_bMirrorX;  // from 138
    int32_t m_bMirrorY;  // from 138
    int32_t m_nPlacement;
    int32_t m_nValue6;
    int32_t m_nValue7;
    int32_t m_nWidth;
    int32_t m_nHeight;
    int32_t m_nDuration;  // tenths of a second
};

// A sword type ("SwordType.dat") with its swing steps.
class cSwordTypeRec : public cDataFile {
public:
    cSwordTypeRec();  // a new sword type (Init)
    const RECORDLAYOUT& Layout() const override;
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;
    // Cleared, exactly one new entry whose duration is 1.
    void Init();

    std::string m_strName;
    int32_t m_nValue;  // from 151
    std::string m_strFile;
    std::string m_strFile2;
    std::vector<cSwordTypeEntry> m_vecEntries;
};

// One frame of an effect.
class cEffectFrameRec : public cDataFile {
public:
    cEffectFrameRec();  // cell 0, duration 1
    const RECORDLAYOUT& Layout() const override;

    int32_t m_nCell;
    int32_t m_nDuration;  // tenths of a second
};

// An effect ("Effect.dat"): its cell sheet and frames.
class cEffectRec : public cDataFile {
public:
    cEffectRec();  // width and height 32
    const RECORDLAYOUT& Layout() const override;
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    std::string m_strName;
    int32_t m_nValue;  // from 151
    std::string m_strFile;
    int32_t m_nWidth;
    int32_t m_nHeight;
    int32_t m_bScaling;
    std::vector<cEffectFrameRec> m_vecFrames;
};

// A character effect ("CharaEffect.dat"): kind 0-16 and five parameters (parameter 1 the run
// time in tenths of a second, 2 and 3 start and end for the kinds that interpolate).
class cCharaEffectRec : public cDataFile {
public:
    cCharaEffectRec();  // kind 1, parameters 0
    const RECORDLAYOUT& Layout() const override;
    // Base read; files older than 511 get the parameter they lack from the descriptor tables.
    void Read(cRecordReader& reader) override;

    std::string m_strName;
    int32_t m_nKind;
    int32_t m_anParams[5];

protected:
    // Which descriptor table fills parameters of files older than 511.
    virtual bool IsScreenEffect() const { return false; }
};

// A screen effect ("ScrEffect.dat"): the same layout, kinds 0-13.
class cScrEffectRec : public cCharaEffectRec {
protected:
    bool IsScreenEffect() const override { return true; }
};

// A picture ("Picture.dat") or a tune ("Bgm.dat"): name, value (from 151), file.
class cPictureRec : public cDataFile {
public:
    cPictureRec();
    const RECORDLAYOUT& Layout() const override;
    void Read(cRecordReader& reader) override;

    std::string m_strName;
    int32_t m_nValue;
    std::string m_strFile;
};

class cBgmRec : public cPictureRec {};
// An index error on the Bgm table reports the record's size of 72 bytes.
template <>
inline constexpr int kIndexErrorSize<cBgmRec> = 72;

// A sound effect ("Sound.dat"): name, wave file, value (from 151).
class cSoundRec : public cPictureRec {};
