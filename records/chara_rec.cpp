// The character definition record.
#include "records/chara_rec.h"

#include <algorithm>

#include "records/database.h"
#include "records/palette_lists.h"
#include "records/record_list.h"

cCharaRec::cCharaRec() : m_sPlaceX(0), m_sPlaceY(0), m_nPlaceValue(0) { Clear(); }

const RECORDLAYOUT& cCharaRec::Layout() const {
    using C = cCharaRec;
    // Built out of line, so the look-up every read makes stays a few instructions.
    static const RECORDLAYOUT layout = []() __attribute__((noinline)) {
        return cLayoutBuilder()
                                           .Values<&C::m_byTemplateKind>()
                                           .Values<&C::m_wTemplateIndex>()
                                           .Values<&C::m_byC3>()
                                           .Values<&C::m_byC4>()
                                           .Values<&C::m_byC5>()
                                           .Values<&C::m_byC6>()
                                           .Values<&C::m_sOffsetXBase>()
                                           .Values<&C::m_sOffsetXStep>()
                                           .Values<&C::m_sOffsetYBase>()
                                           .Values<&C::m_sOffsetYStep>()
                                           .Values<&C::m_byOffsetXMirror>()
                                           .Values<&C::m_byOffsetYMirror>()
                                           .Values<&C::m_wGraphic>()
                                           .Values<&C::m_byGraphicKind>()
                                           .Values<&C::m_wC15>()
                                           .Values<&C::m_wAnimeSet>()
                                           .Values<&C::m_byC17>()
                                           .Values<&C::m_byC18>()
                                           .Values<&C::m_wCharaEffect1>()
                                           .Values<&C::m_byC20>(196)
                                           .Values<&C::m_byC21>()
                                           .Values<&C::m_wCharaEffect2>()
                                           .Values<&C::m_byC23>(196)
                                           .Values<&C::m_byC24>()
                                           .Values<&C::m_wC25>()
                                           .Values<&C::m_byRole>()
                                           .Values<&C::m_byC27>()
                                           .Values<&C::m_byC28>()
                                           .Values<&C::m_byC29>()
                                           .Values<&C::m_byC30>()
                                           .Values<&C::m_byC31>()
                                           .Values<&C::m_byC32>()
                                           .Values<&C::m_byC33>(285)
                                           .Values<&C::m_byC34>()
                                           .Values<&C::m_byC35>()
                                           .Values<&C::m_byC36>(210)
                                           .Values<&C::m_byC37>()
                                           .Values<&C::m_byC38>()
                                           .Values<&C::m_nC39>()
                                           .Values<&C::m_nC40>()
                                           .Values<&C::m_wC41>()
                                           .Values<&C::m_byC42>(201)
                                           .Values<&C::m_nC43>()
                                           .Values<&C::m_byC44>()
                                           .Values<&C::m_sEffect>()
                                           .Values<&C::m_nC46>(168)
                                           .Values<&C::m_byC47>()
                                           .Values<&C::m_nC48>()
                                           .Values<&C::m_byC49>()
                                           .Values<&C::m_byC50>()
                                           .Values<&C::m_wC51>()
                                           .Values<&C::m_byC52>()
                                           .Values<&C::m_byC53>()
                                           .EveryMemberListed()  // the value members are declared together, nothing between them
                                           .String<&C::m_strName>()
                                           .Build();
    }();
    return layout;
}

void cCharaRec::Clear() {
    cDataFile::Clear();
    m_vecTemplateFlags.assign(kCharaGroupCount, 0);
    m_nPlaceValue = 0;
    m_byRole = 1;
    m_byC28 = 1;
    m_byC17 = 3;
    m_byC21 = 1;
    m_nC39 = 10;
    m_nC46 = 0;
    m_byGraphicKind = 1;
    m_wGraphic = 0;
    m_byC35 = 1;
    m_wC41 = 10;
    m_byC31 = 1;
    m_byC49 = 1;
}

void cCharaRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    reader.ReadI16(m_sPlaceX);
    reader.ReadI16(m_sPlaceY);
    reader.ReadI32(m_nPlaceValue);
    ReadValueList(reader, m_vecTemplateFlags);
    ReadFlowCondList(reader, m_vecConds);
    // Flows read from the list have validated themselves; flows the list left in place, or a
    // template may copy, are validated below.
    const BOOL flowsRead = ReadFlowList(reader, m_vecFlows);
    if (!KeepMarkedFlows()) FlowVector_EraseMarked(m_vecFlows);

    const uint32_t v = g_nFileVersion;
    if (v < kDataVersion) {
        if (v < 168) {
            m_nC46 = 0;
            InsertTemplateGroup(m_vecTemplateFlags, kCharaGroupCount, 27);
        }
        if (v < 196) m_byC20 = m_byC23 = 0;
        if (v < 201) {
            m_byC42 = 0;
            InsertTemplateGroup(m_vecTemplateFlags, kCharaGroupCount, 24);
        }
        if (v < 206 && (int8_t)m_byC42 >= 2) m_byC42 = (uint8_t)(m_byC42 + 1);
        if (v < 210) {
            m_byC36 = 0;
            InsertTemplateGroup(m_vecTemplateFlags, kCharaGroupCount, 21);
        }
        if (v < 219 && m_byGraphicKind == 3) m_wGraphic = RaiseGraphic119(m_wGraphic);
        if (v < 285) m_byC33 = 1;
    }
    const bool flowsValid = flowsRead && !HasTemplateFlag(kFlowsGroup);  // the flags as migrated
    ApplyTemplate();
    if (flowsValid)
        ValidateWithValidFlows();
    else
        Validate();
}

void cCharaRec::Write(cRecordWriter& writer) {
    Validate();
    cDataFile::Write(writer);
    writer.WriteI16(m_sPlaceX);
    writer.WriteI16(m_sPlaceY);
    writer.WriteI32(m_nPlaceValue);
    WriteValueList(writer, m_vecTemplateFlags);
    WriteFlowCondList(writer, m_vecConds);
    WriteFlowList(writer, m_vecFlows);
}

void cCharaRec::ApplyTemplate() {
    if (m_byTemplateKind == kPaletteNone || m_wTemplateIndex == 0) return;
    std::vector<cCharaRec>* list = PaletteCharas(m_byTemplateKind);
    if (!list) return;  // another kind acts as none
    if (m_wTemplateIndex >= list->size()) {
        m_byTemplateKind = kPaletteNone;
        return;
    }
    const cCharaRec& source = (*list)[m_wTemplateIndex];
    // Flags beyond the group count name no group.
    const size_t n = std::min(m_vecTemplateFlags.size(), (size_t)kCharaGroupCount);
    for (size_t i = 0; i < n; ++i)
        if (m_vecTemplateFlags[i]) CopyGroup((int)i, source);
}

void cCharaRec::CopyGroup(int group, const cCharaRec& s) {
    if (&s == this) return;
    switch (group) {
        case 0: m_strName = s.m_strName; break;
        case 1: m_byRole = s.m_byRole; m_byC27 = s.m_byC27; break;
        case 2: m_byC28 = s.m_byC28; break;
        case 3: m_byC29 = s.m_byC29; break;
        case 4: m_byC3 = s.m_byC3; m_byC4 = s.m_byC4; m_vecConds = s.m_vecConds; break;
        case 5: m_byC5 = s.m_byC5; break;
        case 6: m_byC6 = s.m_byC6; break;
        case 7: m_sOffsetXBase = s.m_sOffsetXBase; m_sOffsetXStep = s.m_sOffsetXStep; m_byOffsetXMirror = s.m_byOffsetXMirror; break;
        case 8: m_sOffsetYBase = s.m_sOffsetYBase; m_sOffsetYStep = s.m_sOffsetYStep; m_byOffsetYMirror = s.m_byOffsetYMirror; break;
        case 9: m_byGraphicKind = s.m_byGraphicKind; m_wGraphic = s.m_wGraphic; m_wC15 = s.m_wC15; break;
        case 10: m_wAnimeSet = s.m_wAnimeSet; break;
        case 11: m_byC17 = s.m_byC17; break;
        case 12: m_byC18 = s.m_byC18; break;
        case 13: m_wCharaEffect1 = s.m_wCharaEffect1; m_byC20 = s.m_byC20; m_byC21 = s.m_byC21; break;
        case 14: m_wCharaEffect2 = s.m_wCharaEffect2; m_byC23 = s.m_byC23; break;
        case 15: m_byC24 = s.m_byC24; m_wC25 = s.m_wC25; break;
        case 16: m_byC31 = s.m_byC31; break;
        case 17: m_byC30 = s.m_byC30; break;
        case 18: m_byC32 = s.m_byC32; m_byC33 = s.m_byC33; break;
        case 19: m_byC34 = s.m_byC34; break;
        case 20: m_byC35 = s.m_byC35; break;
        case 21: m_byC36 = s.m_byC36; break;
        case 22: m_byC37 = s.m_byC37; m_byC38 = s.m_byC38; break;
        case 23: m_nC39 = s.m_nC39; break;
        case 24: m_nC40 = s.m_nC40; break;
        case 25: m_byC42 = s.m_byC42; break;
        case 26: m_nC43 = s.m_nC43; break;
        case 27: m_byC44 = s.m_byC44; break;
        case 28: m_sEffect = s.m_sEffect; break;
        case 29: m_nC46 = s.m_nC46; break;
        case 30: m_byC47 = s.m_byC47; break;
        case 31: m_wC41 = s.m_wC41; break;
        case 32: m_byC52 = s.m_byC52; m_byC53 = s.m_byC53; break;
        case 33: m_wC51 = s.m_wC51; m_byC50 = s.m_byC50; break;
        case 34: m_nC48 = s.m_nC48; break;
        case 35: m_byC49 = s.m_byC49; break;
        case kFlowsGroup: m_vecFlows = s.m_vecFlows; break;
        default: break;
    }
}

void cCharaRec::Validate() {
    ValidateFields();
    for (cFlow& f : m_vecFlows) f.ValidateAll();
    EraseEmptyFlows();
}

void cCharaRec::ValidateWithValidFlows() {
    ValidateFields();
    EraseEmptyFlows();
}

void cCharaRec::ValidateFields() {
    const cDatabase& db = g_Database;
    ValidateTemplateRef(m_byTemplateKind, m_wTemplateIndex, DEF_CHARA);
    if (m_byGraphicKind == 4 && m_wGraphic >= db.m_vecBmpCharaExc.size()) m_wGraphic = 1;
    if (m_byC35 < 1) m_byC35 = 1;
    if (m_wAnimeSet >= db.m_vecAnimeSet.size()) m_wAnimeSet = 0;
    if (m_wCharaEffect1 >= db.m_vecCharaEffect.size()) m_wCharaEffect1 = 0;
    if (m_wCharaEffect2 >= db.m_vecCharaEffect.size()) m_wCharaEffect2 = 0;
    if (m_sEffect >= (int64_t)db.m_vecEffect.size()) m_sEffect = 0;  // signed: -1 stays
    if (m_byRole == 0) m_byC34 = m_byC6 = 0;
}

void cCharaRec::EraseEmptyFlows() {
    m_vecFlows.erase(std::remove_if(m_vecFlows.begin(), m_vecFlows.end(), [](const cFlow& f) { return f.IsEmpty(); }),
                     m_vecFlows.end());
}

bool cCharaRec::HasTemplateFlag(int group) const {
    return (size_t)group < m_vecTemplateFlags.size() && m_vecTemplateFlags[(size_t)group] != 0;
}

void cCharaRec::ClearFlows() {
    for (cFlow& f : m_vecFlows) f.ValidateCmdRefs();
}

double cCharaRec::OffsetX(int32_t i, int32_t direction) const {
    // 32-bit product and sum, wrapping as the stored words would.
    int32_t v = (int32_t)(uint32_t)((int64_t)m_sOffsetXBase + (int64_t)m_sOffsetXStep * i);
    return (direction == 1 && m_byOffsetXMirror) ? -(double)v : (double)v;
}

double cCharaRec::OffsetY(int32_t i, int32_t direction) const {
    int32_t v = (int32_t)(uint32_t)((int64_t)m_sOffsetYBase + (int64_t)m_sOffsetYStep * i);
    return (direction == 1 && m_byOffsetYMirror) ? -(double)v : (double)v;
}
