// The project's world map ("data\WorldMap.dat"): a grid of chip numbers, the chip kinds, the
// entries placed on cells (with their item lists), the free entries, the hero's start and the
// background.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/data_file.h"

// The largest width and height a map may have (a file that says more is cut to it).
constexpr int32_t kMaxWorldMapSide = 1024;

class cWorldMapChip : public cDataFile {
public:
    cWorldMapChip();
    const RECORDLAYOUT& Layout() const override;

    int32_t m_nValue1;
    int32_t m_bBlocking;  // 1: the cell cannot be walked on
    int32_t m_nChipNo;
    std::string m_strText1;
    std::string m_strName;
};

class cWorldMapItemRec : public cDataFile {
public:
    cWorldMapItemRec();
    const RECORDLAYOUT& Layout() const override;
    // Base read; files older than 209 have value 11 = 0.
    void Read(cRecordReader& reader) override;

    int32_t m_nValue1;
    int32_t m_anValues[8];
    int32_t m_nValue10;
    int32_t m_nValue11;  // from 209
    std::string m_strText1;
    std::string m_strStageFile;  // the stage the item leads to
};

class cWorldMapEntry : public cDataFile {
public:
    cWorldMapEntry();
    const RECORDLAYOUT& Layout() const override;
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    int32_t m_nX;
    int32_t m_nY;
    std::string m_strName;
    std::vector<cWorldMapItemRec> m_vecItems;
};

// The grid part: size, pitch (the smallest power of two not below the width) and cells,
// cell (x, y) at (y << shift) + x.
class cWorldMapGrid : public cDataFile {
public:
    cWorldMapGrid();
    // Resizes keeping the cells that lie in both sizes (new cells 0); 0 and no change when a
    // side is 0 or below or above kMaxWorldMapSide.
    int SetSize(int32_t width, int32_t height);
    // shift = halvings that bring width - 1 to 0 (0 for a width of 1 or below), pitch = 1 << shift.
    static void CalcPitch(int32_t& pitch, int32_t& shift, int32_t width);
    // The cell at (x, y), or -1 outside the map.
    int32_t CellAt(int32_t x, int32_t y) const;

    int32_t m_nWidth;
    int32_t m_nHeight;
    int32_t m_nPitch;
    int32_t m_nShift;
    std::vector<int32_t> m_vecCells;
};

class cWorldMap : public cWorldMapGrid {
public:
    cWorldMap();
    const RECORDLAYOUT& Layout() const override;
    // The lists after the base body, then the fix-up.
    void Read(cRecordReader& reader) override;
    // The fix-up, then the base body and the lists.
    void Write(cRecordWriter& writer) override;
    void SetDefaults();
    // Brings the map into a consistent state: size within 1..kMaxWorldMapSide, pitch and shift
    // recomputed, cells padded or cut to height x pitch, start inside the map, point entries
    // outside it removed.
    void FixUp();

    std::vector<cWorldMapChip> m_vecChips;
    std::vector<cWorldMapEntry> m_vecPointEntries;
    std::vector<cWorldMapEntry> m_vecFreeEntries;
    int32_t m_nStartX;
    int32_t m_nStartY;
    int32_t m_nBackColour;
    int32_t m_bBackPicture;
    std::string m_strName;
    std::string m_strText2;
};

extern cWorldMap g_WorldMap;

namespace WorldMapData {
// The first point entry on cell (x, y) of the world map, or null.
const cWorldMapEntry* FindEntry(int32_t x, int32_t y);
const cWorldMapEntry* FindEntry(const cWorldMap& map, int32_t x, int32_t y);
}  // namespace WorldMapData
