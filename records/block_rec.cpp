// The block definition record.
#include "records/block_rec.h"

#include <algorithm>

#include "flow/flow.h"
#include "records/palette_lists.h"
#include "records/record_list.h"

cBlockRec::cBlockRec() : m_sPlaceX(0), m_sPlaceY(0) { Clear(); }

const RECORDLAYOUT& cBlockRec::Layout() const {
    using C = cBlockRec;
    // Built out of line, so the look-up every read makes stays a few instructions.
    static const RECORDLAYOUT layout = []() __attribute__((noinline)) {
        return cLayoutBuilder()
                                           .Values<&C::m_byTemplateKind>()
                                           .Values<&C::m_wTemplateIndex>()
                                           .Values<&C::m_byB3>()
                                           .Values<&C::m_byB4>()
                                           .Values<&C::m_wGraphic>()
                                           .Values<&C::m_byGraphicKind>()
                                           .Values<&C::m_wGraphic2>()
                                           .Values<&C::m_byGraphicKind2>()
                                           .Values<&C::m_byB9>()
                                           .Values<&C::m_byB10>()
                                           .Values<&C::m_wB11>()
                                           .Values<&C::m_byB12>()
                                           .Values<&C::m_byB13>()
                                           .Values<&C::m_byB14>()
                                           .Values<&C::m_nB15>()
                                           .Values<&C::m_byItemKind>()
                                           .Values<&C::m_wItemIndex>()
                                           .Values<&C::m_byB18>()
                                           .EveryMemberListed()  // the value members are declared together, nothing between them
                                           .String<&C::m_strName>()
                                           .Build();
    }();
    return layout;
}

void cBlockRec::Clear() {
    cDataFile::Clear();
    m_vecTemplateFlags.assign(kBlockGroupCount, 0);
    m_byB12 = 1;
    m_byB13 = 255;
    m_wGraphic = 0;
}

void cBlockRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    reader.ReadI16(m_sPlaceX);
    reader.ReadI16(m_sPlaceY);
    ReadValueList(reader, m_vecTemplateFlags);
    ReadFlowCondList(reader, m_vecConds);
    if (g_nFileVersion < 219 && m_byGraphicKind == 3) m_wGraphic = RaiseGraphic119(m_wGraphic);
    ApplyTemplate();
    Validate();
}

void cBlockRec::Write(cRecordWriter& writer) {
    Validate();
    cDataFile::Write(writer);
    writer.WriteI16(m_sPlaceX);
    writer.WriteI16(m_sPlaceY);
    WriteValueList(writer, m_vecTemplateFlags);
    WriteFlowCondList(writer, m_vecConds);
}

void cBlockRec::ApplyTemplate() {
    if (m_byTemplateKind == kPaletteNone || m_wTemplateIndex == 0) return;
    std::vector<cBlockRec>* list = PaletteBlocks(m_byTemplateKind);
    if (!list) return;
    if (m_wTemplateIndex >= list->size()) {
        m_byTemplateKind = kPaletteNone;
        return;
    }
    const cBlockRec& source = (*list)[m_wTemplateIndex];
    const size_t n = std::min(m_vecTemplateFlags.size(), (size_t)kBlockGroupCount);
    for (size_t i = 0; i < n; ++i)
        if (m_vecTemplateFlags[i]) CopyGroup((int)i, source);
}

void cBlockRec::CopyGroup(int group, const cBlockRec& s) {
    if (&s == this) return;
    switch (group) {
        case 0: m_strName = s.m_strName; break;
        case 1: m_byB3 = s.m_byB3; m_byB4 = s.m_byB4; m_vecConds = s.m_vecConds; break;
        case 2: m_byGraphicKind = s.m_byGraphicKind; m_wGraphic = s.m_wGraphic; m_wGraphic2 = s.m_wGraphic2; break;
        case 3: m_byGraphicKind2 = s.m_byGraphicKind2; break;
        case 4: m_byB9 = s.m_byB9; break;
        case 5: m_byB10 = s.m_byB10; m_wB11 = s.m_wB11; break;
        case 6: m_byB12 = s.m_byB12; break;
        case 7: m_byB13 = s.m_byB13; break;
        case 8: m_byB14 = s.m_byB14; m_nB15 = s.m_nB15; break;
        case 9: m_byItemKind = s.m_byItemKind; m_wItemIndex = s.m_wItemIndex; break;
        case 10: m_byB18 = s.m_byB18; break;
        default: break;
    }
}

void cBlockRec::Validate() {
    ValidateTemplateRef(m_byTemplateKind, m_wTemplateIndex, DEF_BLOCK);
    ValidateTemplateRef(m_byItemKind, m_wItemIndex, DEF_ITEM);
    if (m_wGraphic == 0) m_byB12 = m_byB18 = 0;
}
