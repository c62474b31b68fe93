// The option data record.
#include "records/option_data.h"

#include <algorithm>

cOptionData g_OptionData;

cOptionData::cOptionData() : m_nPaletteNo(0), m_bMusic(0), m_nVolume(0), m_nRankingMode(0) {
    Clear();
    m_bMusic = 1;
    m_nVolume = 7;
    m_strRankingName = "aaa";
}

const RECORDLAYOUT& cOptionData::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cOptionData::m_nPaletteNo>()
                                           .Values<&cOptionData::m_bMusic>()
                                           .Values<&cOptionData::m_nVolume>()
                                           .Values<&cOptionData::m_nRankingMode>()
                                           .String<&cOptionData::m_strRankingName>()
                                           .Build();
    return layout;
}

void cOptionData::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    m_nPaletteNo = std::min(m_nPaletteNo, kMaxPaletteNo);
    m_nVolume = std::min(m_nVolume, kMaxVolumeStep);
    m_nRankingMode = std::min(m_nRankingMode, kMaxRankingMode);
}

LONG GetVolumeFromStep(uint32_t step) {
    static const LONG kVolumes[kMaxVolumeStep + 1] = {-10000, -3000, -2000, -1300, -800, -500, -300, -150, -80, -30, 0};
    return kVolumes[std::min(step, kMaxVolumeStep)];
}
