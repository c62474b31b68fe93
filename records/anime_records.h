// Animation records of the project database: frames, animations ("Anime.dat") and animation
// sets with their movement-state groups ("AnimeSet.dat").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/data_file.h"

// One frame of an animation: which cell, how long, whether the animation is locked from here.
class cAnimeFrameRec : public cDataFile {
public:
    cAnimeFrameRec();  // a new frame: cell 0, duration 1, lock 0
    const RECORDLAYOUT& Layout() const override;

    int32_t m_nCell;
    int32_t m_nDuration;  // tenths of a second
    int32_t m_nLock;
};

// A named animation, a list of frames and three carried values (from version 55).
class cAnimeRec : public cDataFile {
public:
    cAnimeRec();  // a new animation (Init)
    const RECORDLAYOUT& Layout() const override;
    // Own fields, then the frame list (u32 count, frames).
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;
    // Cleared, exactly one new frame, value B 1.
    void Init();

    std::string m_strName;
    std::vector<cAnimeFrameRec> m_vecFrames;
    uint16_t m_wValueA;
    uint8_t m_byValueB;
    uint16_t m_wValueC;
};

// A named animation set: three cell offsets and the animation groups by movement state
// ("立ち", "立ち移動", "飛行", "飛行移動" in a new set).
class cAnimeSetRec : public cDataFile {
public:
    cAnimeSetRec();  // a new set (Init)
    const RECORDLAYOUT& Layout() const override;
    // Own fields, the group list, then the migrations of versions below 119 and 128.
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;
    // Cleared, exactly four groups named by movement state.
    void Init();

    std::string m_strName;
    int32_t m_nOffsetA;
    int32_t m_nOffsetB;
    int32_t m_nOffsetC;  // from version 119
    std::vector<cAnimeRec> m_vecGroups;
};
