// Effect, picture, sound and music records.
#include "records/effect_records.h"

#include "records/effect_param_desc.h"
#include "records/record_list.h"

cBmpCharaExcRec::cBmpCharaExcRec() : m_nValue(0), m_bLargeCells(0), m_nCellSize(0) {
    Clear();
    m_nCellSize = 2;
}

const RECORDLAYOUT& cBmpCharaExcRec::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cBmpCharaExcRec::m_nValue>(152)
                                           .Values<&cBmpCharaExcRec::m_bLargeCells>(172)
                                           .Values<&cBmpCharaExcRec::m_nCellSize>(172)
                                           .String<&cBmpCharaExcRec::m_strName>()
                                           .String<&cBmpCharaExcRec::m_strFile>()
                                           .Build();
    return layout;
}

void cBmpCharaExcRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    if (g_nFileVersion < kSharedValueKeptFrom) m_nValue = 0;
    // A cell size of 0 or above 16 gives no usable cell layout.
    if (m_bLargeCells) {
        if (m_nCellSize < 1) m_nCellSize = 1;
        if (m_nCellSize > kMaxCharaExcCellSize) m_nCellSize = kMaxCharaExcCellSize;
    }
}

cSwordTypeEntry::cSwordTypeEntry()
    : m_nOffsetX(0), m_nOffsetY(0), m_bMirrorX(0), m_bMirrorY(0), m_nPlacement(0), m_nValue6(0), m_nValue7(0),
      m_nWidth(0), m_nHeight(0), m_nDuration(0) {
    Clear();
    m_bMirrorX = 1;
}

const RECORDLAYOUT& cSwordTypeEntry::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cSwordTypeEntry::m_nOffsetX>()
                                           .Values<&cSwordTypeEntry::m_nOffsetY>()
                                           .Values<&cSwordTypeEntry::m_bMirrorX>(138)
                                           .Values<&cSwordTypeEntry::m_bMirrorY>(138)
                                           .Values<&cSwordTypeEntry::m_nPlacement>()
                                           .Values<&cSwordTypeEntry::m_nValue6>()
                                           .Values<&cSwordTypeEntry::m_nValue7>()
                                           .Values<&cSwordTypeEntry::m_nWidth>()
                                           .Values<&cSwordTypeEntry::m_nHeight>()
                                           .Values<&cSwordTypeEntry::m_nDuration>()
                                           .Build();
    return layout;
}

cSwordTypeRec::cSwordTypeRec() : m_nValue(0) { Init(); }

const RECORDLAYOUT& cSwordTypeRec::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cSwordTypeRec::m_nValue>(151)
                                           .String<&cSwordTypeRec::m_strName>()
                                           .String<&cSwordTypeRec::m_strFile>()
                                           .String<&cSwordTypeRec::m_strFile2>()
                                           .Build();
    return layout;
}

void cSwordTypeRec::Init() {
    Clear();
    m_vecEntries.assign(1, cSwordTypeEntry());
    m_vecEntries[0].m_nDuration = 1;
}

void cSwordTypeRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    static const cSwordTypeEntry kNewEntry;
    ReadRecordList(reader, m_vecEntries, kNewEntry);
    if (g_nFileVersion < kSharedValueKeptFrom) m_nValue = 0;
}

void cSwordTypeRec::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteRecordList(writer, m_vecEntries);
}

cEffectFrameRec::cEffectFrameRec() : m_nCell(0), m_nDuration(0) {
    Clear();
    m_nDuration = 1;
}

const RECORDLAYOUT& cEffectFrameRec::Layout() const {
    static const RECORDLAYOUT layout =
        cLayoutBuilder().Values<&cEffectFrameRec::m_nCell>().Values<&cEffectFrameRec::m_nDuration>().Build();
    return layout;
}

cEffectRec::cEffectRec() : m_nValue(0), m_nWidth(0), m_nHeight(0), m_bScaling(0) {
    Clear();
    m_nWidth = 32;
    m_nHeight = 32;
}

const RECORDLAYOUT& cEffectRec::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cEffectRec::m_nValue>(151)
                                           .Values<&cEffectRec::m_nWidth>()
                                           .Values<&cEffectRec::m_nHeight>()
                                           .Values<&cEffectRec::m_bScaling>()
                                           .String<&cEffectRec::m_strName>()
                                           .String<&cEffectRec::m_strFile>()
                                           .Build();
    return layout;
}

void cEffectRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    static const cEffectFrameRec kNewFrame;
    ReadRecordList(reader, m_vecFrames, kNewFrame);
    if (g_nFileVersion < kSharedValueKeptFrom) m_nValue = 0;
}

void cEffectRec::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteRecordList(writer, m_vecFrames);
}

cCharaEffectRec::cCharaEffectRec() : m_nKind(0), m_anParams{} {
    Clear();
    m_nKind = 1;
}

const RECORDLAYOUT& cCharaEffectRec::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cCharaEffectRec::m_nKind>()
                                           .Values<&cCharaEffectRec::m_anParams>()
                                           .String<&cCharaEffectRec::m_strName>()
                                           .Build();
    return layout;
}

void cCharaEffectRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    if (g_nFileVersion >= 511) return;
    // Files older than 511 lack the coarseness parameter of the wave and circle kinds.
    struct FIXUP {
        int nKind;
        int nParam;  // counted from 0
    };
    static const FIXUP kChara[] = {{4, 4}, {5, 4}, {10, 3}};
    static const FIXUP kScreen[] = {{6, 4}, {7, 4}, {10, 3}};
    const bool screen = IsScreenEffect();
    const FIXUP* fixups = screen ? kScreen : kChara;
    for (int i = 0; i < 3; ++i) {
        const FIXUP& f = fixups[i];
        if (m_nKind != f.nKind) continue;
        m_anParams[f.nParam] =
            screen ? ScrEffectParam(f.nKind, f.nParam).nDefault : CharaEffectParam(f.nKind, f.nParam).nDefault;
    }
}

cPictureRec::cPictureRec() : m_nValue(0) { Clear(); }

const RECORDLAYOUT& cPictureRec::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cPictureRec::m_nValue>(151)
                                           .String<&cPictureRec::m_strName>()
                                           .String<&cPictureRec::m_strFile>()
                                           .Build();
    return layout;
}

void cPictureRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    if (g_nFileVersion < kSharedValueKeptFrom) m_nValue = 0;
}
