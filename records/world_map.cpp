// World map data.
#include "records/world_map.h"

#include <algorithm>

#include "core/report.h"
#include "records/record_list.h"

cWorldMap g_WorldMap;

cWorldMapChip::cWorldMapChip() : m_nValue1(0), m_bBlocking(0), m_nChipNo(0) { Clear(); }

const RECORDLAYOUT& cWorldMapChip::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cWorldMapChip::m_nValue1>()
                                           .Values<&cWorldMapChip::m_bBlocking>()
                                           .Values<&cWorldMapChip::m_nChipNo>()
                                           .String<&cWorldMapChip::m_strText1>()
                                           .String<&cWorldMapChip::m_strName>()
                                           .Build();
    return layout;
}

cWorldMapItemRec::cWorldMapItemRec() : m_nValue1(0), m_anValues{}, m_nValue10(0), m_nValue11(0) { Clear(); }

const RECORDLAYOUT& cWorldMapItemRec::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cWorldMapItemRec::m_nValue1>()
                                           .Values<&cWorldMapItemRec::m_anValues>()
                                           .Values<&cWorldMapItemRec::m_nValue10>()
                                           .Values<&cWorldMapItemRec::m_nValue11>(209)
                                           .String<&cWorldMapItemRec::m_strText1>()
                                           .String<&cWorldMapItemRec::m_strStageFile>()
                                           .Build();
    return layout;
}

void cWorldMapItemRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    if (g_nFileVersion < 209) m_nValue11 = 0;
}

cWorldMapEntry::cWorldMapEntry() : m_nX(0), m_nY(0) { Clear(); }

const RECORDLAYOUT& cWorldMapEntry::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cWorldMapEntry::m_nX>()
                                           .Values<&cWorldMapEntry::m_nY>()
                                           .String<&cWorldMapEntry::m_strName>()
                                           .Build();
    return layout;
}

void cWorldMapEntry::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadRecordList(reader, m_vecItems, cWorldMapItemRec());
}

void cWorldMapEntry::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteRecordList(writer, m_vecItems);
}

cWorldMapGrid::cWorldMapGrid() : m_nWidth(0), m_nHeight(0), m_nPitch(1), m_nShift(0) {}

void cWorldMapGrid::CalcPitch(int32_t& pitch, int32_t& shift, int32_t width) {
    shift = 0;
    if (width > 1) {
        for (uint32_t w = (uint32_t)width - 1; w != 0 && shift < 30; w >>= 1) ++shift;
    }
    pitch = 1 << shift;
}

int cWorldMapGrid::SetSize(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > kMaxWorldMapSide || height > kMaxWorldMapSide) return 0;
    const std::vector<int32_t> old = m_vecCells;
    const int32_t oldWidth = m_nWidth, oldHeight = m_nHeight, oldShift = m_nShift;
    m_nWidth = width;
    m_nHeight = height;
    CalcPitch(m_nPitch, m_nShift, width);
    m_vecCells.assign((size_t)height * (size_t)m_nPitch, 0);
    for (int32_t y = 0; y < height && y < oldHeight; ++y)
        for (int32_t x = 0; x < width && x < oldWidth; ++x) {
            size_t from = ((size_t)y << oldShift) + (size_t)x;
            if (from < old.size()) m_vecCells[((size_t)y << m_nShift) + (size_t)x] = old[from];
        }
    return 1;
}

int32_t cWorldMapGrid::CellAt(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return -1;
    size_t i = ((size_t)y << m_nShift) + (size_t)x;
    return i < m_vecCells.size() ? m_vecCells[i] : -1;
}

cWorldMap::cWorldMap() : m_nStartX(0), m_nStartY(0), m_nBackColour(0), m_bBackPicture(0) { SetDefaults(); }

const RECORDLAYOUT& cWorldMap::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cWorldMap::m_nWidth>()
                                           .Values<&cWorldMap::m_nHeight>()
                                           .Values<&cWorldMap::m_nPitch>()
                                           .Values<&cWorldMap::m_nShift>()
                                           .Values<&cWorldMap::m_nStartX>()
                                           .Values<&cWorldMap::m_nStartY>()
                                           .Values<&cWorldMap::m_nBackColour>()
                                           .Values<&cWorldMap::m_bBackPicture>()
                                           .String<&cWorldMap::m_strName>()
                                           .String<&cWorldMap::m_strText2>()
                                           .Build();
    return layout;
}

void cWorldMap::SetDefaults() {
    Clear();
    m_strName = "ワールド";
    m_nStartX = 9;
    m_nStartY = 7;
    m_nBackColour = 16;
    m_bBackPicture = 0;
    m_vecChips.assign(10, cWorldMapChip());
    for (int i = 0; i < 10; ++i) {
        m_vecChips[(size_t)i].m_nChipNo = i;
        m_vecChips[(size_t)i].m_bBlocking = i < 5 ? 1 : 0;
        m_vecChips[(size_t)i].m_strName = i < 5 ? "通行不可" : "通行可";
    }
    m_vecCells.clear();
    SetSize(20, 15);
    m_vecPointEntries.clear();
    m_vecFreeEntries.assign(1, cWorldMapEntry());
    m_vecFreeEntries[0].m_vecItems.assign(1, cWorldMapItemRec());
    m_vecFreeEntries[0].m_strName = "デフォルト";
}

void cWorldMap::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadRecordList(reader, m_vecChips, cWorldMapChip());
    ReadValueList(reader, m_vecCells);
    ReadRecordList(reader, m_vecPointEntries, cWorldMapEntry());
    ReadRecordList(reader, m_vecFreeEntries, cWorldMapEntry());
    FixUp();
}

void cWorldMap::Write(cRecordWriter& writer) {
    FixUp();
    cDataFile::Write(writer);
    WriteRecordList(writer, m_vecChips);
    WriteValueList(writer, m_vecCells);
    WriteRecordList(writer, m_vecPointEntries);
    WriteRecordList(writer, m_vecFreeEntries);
}

void cWorldMap::FixUp() {
    if (m_nWidth < 1 || m_nHeight < 1 || m_nWidth > kMaxWorldMapSide || m_nHeight > kMaxWorldMapSide) {
        WriteReport("World map size %d x %d is outside 1..%d", m_nWidth, m_nHeight, kMaxWorldMapSide);
        m_nWidth = m_nWidth < 1 ? 1 : (m_nWidth > kMaxWorldMapSide ? kMaxWorldMapSide : m_nWidth);
        m_nHeight = m_nHeight < 1 ? 1 : (m_nHeight > kMaxWorldMapSide ? kMaxWorldMapSide : m_nHeight);
    }
    CalcPitch(m_nPitch, m_nShift, m_nWidth);
    m_vecCells.resize((size_t)m_nHeight * (size_t)m_nPitch, 0);
    if (m_nStartX >= m_nWidth) m_nStartX = m_nWidth - 1;
    if (m_nStartY >= m_nHeight) m_nStartY = m_nHeight - 1;
    if (m_nStartX < 0) m_nStartX = 0;
    if (m_nStartY < 0) m_nStartY = 0;
    // Entries outside the map go; the later ones move up in order.
    const int32_t w = m_nWidth, h = m_nHeight;
    m_vecPointEntries.erase(std::remove_if(m_vecPointEntries.begin(), m_vecPointEntries.end(),
                                           [w, h](const cWorldMapEntry& e) {
                                               return e.m_nX < 0 || e.m_nY < 0 || e.m_nX >= w || e.m_nY >= h;
                                           }),
                            m_vecPointEntries.end());
}

namespace WorldMapData {

const cWorldMapEntry* FindEntry(const cWorldMap& map, int32_t x, int32_t y) {
    for (const cWorldMapEntry& e : map.m_vecPointEntries)
        if (e.m_nX == x && e.m_nY == y) return &e;
    return nullptr;
}

const cWorldMapEntry* FindEntry(int32_t x, int32_t y) { return FindEntry(g_WorldMap, x, y); }

}  // namespace WorldMapData
