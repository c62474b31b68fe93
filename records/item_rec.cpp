// The item definition record.
#include "records/item_rec.h"

#include <algorithm>

#include "records/database.h"
#include "records/palette_lists.h"
#include "records/record_list.h"

cItemRec::cItemRec() : m_sPlaceX(0), m_sPlaceY(0) { Clear(); }

const RECORDLAYOUT& cItemRec::Layout() const {
    using C = cItemRec;
    // Built out of line, so the look-up every read makes stays a few instructions.
    static const RECORDLAYOUT layout = []() __attribute__((noinline)) {
        return cLayoutBuilder()
                                           .Values<&C::m_byTemplateKind>()
                                           .Values<&C::m_wTemplateIndex>()
                                           .Values<&C::m_byI3>()
                                           .Values<&C::m_byI4>()
                                           .Values<&C::m_wI5>()
                                           .Values<&C::m_wI6>()
                                           .Values<&C::m_wGraphic>()
                                           .Values<&C::m_byGraphicKind>()
                                           .Values<&C::m_wI9>()
                                           .Values<&C::m_byI10>()
                                           .Values<&C::m_byI11>()
                                           .Values<&C::m_byI12>()
                                           .Values<&C::m_wI13>()
                                           .Values<&C::m_byI14>()
                                           .Values<&C::m_byI15>()
                                           .Values<&C::m_byI16>()
                                           .Values<&C::m_wSound>()
                                           .EveryMemberListed()  // the value members are declared together, nothing between them
                                           .String<&C::m_strName>()
                                           .Build();
    }();
    return layout;
}

void cItemRec::Clear() {
    cDataFile::Clear();
    m_vecTemplateFlags.assign(kItemGroupCount, 0);
    m_byGraphicKind = 2;
    m_wGraphic = 0;
    m_byI14 = 1;
    m_byI16 = 1;
    m_byI10 = 6;
}

void cItemRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    reader.ReadI16(m_sPlaceX);
    reader.ReadI16(m_sPlaceY);
    ReadValueList(reader, m_vecTemplateFlags);
    ReadFlowCondList(reader, m_vecConds);
    // Commands read from the list have validated themselves; commands the list left in place,
    // or a template may copy, are validated below.
    const BOOL cmdsRead = ReadFlowCmdList(reader, m_vecCmds);
    if (g_nFileVersion < 219 && m_byGraphicKind == 3) m_wGraphic = RaiseGraphic119(m_wGraphic);
    const bool cmdsValid = cmdsRead && !HasTemplateFlag(kCommandsGroup);
    ApplyTemplate();
    if (cmdsValid)
        ValidateWithValidCommands();
    else
        Validate();
}

void cItemRec::Write(cRecordWriter& writer) {
    Validate();
    cDataFile::Write(writer);
    writer.WriteI16(m_sPlaceX);
    writer.WriteI16(m_sPlaceY);
    WriteValueList(writer, m_vecTemplateFlags);
    WriteFlowCondList(writer, m_vecConds);
    WriteFlowCmdList(writer, m_vecCmds);
}

void cItemRec::ApplyTemplate() {
    if (m_byTemplateKind == kPaletteNone || m_wTemplateIndex == 0) return;
    std::vector<cItemRec>* list = PaletteItems(m_byTemplateKind);
    if (!list) return;
    if (m_wTemplateIndex >= list->size()) {
        m_byTemplateKind = kPaletteNone;
        return;
    }
    const cItemRec& source = (*list)[m_wTemplateIndex];
    const size_t n = std::min(m_vecTemplateFlags.size(), (size_t)kItemGroupCount);
    for (size_t i = 0; i < n; ++i)
        if (m_vecTemplateFlags[i]) CopyGroup((int)i, source);
}

void cItemRec::CopyGroup(int group, const cItemRec& s) {
    if (&s == this) return;
    switch (group) {
        case 0: m_strName = s.m_strName; break;
        case 1: m_byI3 = s.m_byI3; m_byI4 = s.m_byI4; m_vecConds = s.m_vecConds; break;
        case 2: m_wI5 = s.m_wI5; break;
        case 3: m_wI6 = s.m_wI6; break;
        case 4: m_byGraphicKind = s.m_byGraphicKind; m_wGraphic = s.m_wGraphic; m_wI9 = s.m_wI9; break;
        case 5: m_byI10 = s.m_byI10; break;
        case 6: m_byI11 = s.m_byI11; break;
        case 7: m_byI12 = s.m_byI12; m_wI13 = s.m_wI13; break;
        case 8: m_byI16 = s.m_byI16; break;
        case 9: m_byI15 = s.m_byI15; break;
        case 10: m_byI14 = s.m_byI14; break;
        case 11: m_wSound = s.m_wSound; break;
        case kCommandsGroup: m_vecCmds = s.m_vecCmds; break;
        default: break;
    }
}

void cItemRec::Validate() {
    ValidateWithValidCommands();
    for (cFlowCmd& c : m_vecCmds) c.Validate();
}

void cItemRec::ValidateWithValidCommands() {
    ValidateTemplateRef(m_byTemplateKind, m_wTemplateIndex, DEF_ITEM);
    if (m_byI16 < 1) m_byI16 = 1;
    if (m_wSound >= g_Database.m_vecSound.size()) m_wSound = 0;
}

bool cItemRec::HasTemplateFlag(int group) const {
    return (size_t)group < m_vecTemplateFlags.size() && m_vecTemplateFlags[(size_t)group] != 0;
}

void cItemRec::NormaliseCommands() {
    for (cFlowCmd& c : m_vecCmds) c.ValidateRefs();
}
