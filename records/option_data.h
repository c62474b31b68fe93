// The player's own options ("user_data\Option.dat"): the 8-bit palette table, music on or off,
// the sound-effect volume step, the ranking registration mode and the ranking name.
#pragma once

#include <string>

#include "records/data_file.h"

constexpr uint32_t kMaxPaletteNo = 23;
constexpr uint32_t kMaxVolumeStep = 10;
constexpr uint32_t kMaxRankingMode = 3;

class cOptionData : public cDataFile {
public:
    cOptionData();
    const RECORDLAYOUT& Layout() const override;
    // The base body; then the values are brought into their ranges.
    void Read(cRecordReader& reader) override;

    uint32_t m_nPaletteNo;    // 0-23: palette table "bmp\hbt\hbt%02u.dat" at 8 bits per pixel
    uint32_t m_bMusic;        // music on (non-zero) or off
    uint32_t m_nVolume;       // sound-effect volume step 0-10
    uint32_t m_nRankingMode;  // 0 manual with name entry, 1 manual fixed name, 2 automatic with entry, 3 automatic fixed
    std::string m_strRankingName;
};

// The option data of the run (built with the defaults before the entry runs).
extern cOptionData g_OptionData;

// The sound volume (hundredths of a decibel, 0 full) of a volume step; steps above 10 give 10's.
LONG GetVolumeFromStep(uint32_t step);
