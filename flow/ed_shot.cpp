// The shot settings record.
#include "flow/ed_shot.h"

#include "records/database.h"

cEdShot::cEdShot() { SetDefaults(); }

cEdShot::cEdShot(BuildTag) { ApplyDefaults(); }

const cEdShot& cEdShot::Prototype() {
    static const cEdShot prototype{BuildTag{}};
    return prototype;
}

void cEdShot::SetDefaults() {
    // Every field is stored in the current version, so the copy sets each one as ApplyDefaults
    // does; records built for an older version (the test writers) take the long way.
    if (g_nCurrentVersion == kDataVersion)
        CopyPlainMembers(*this, Prototype());  // every member is a plain value
    else
        ApplyDefaults();
}

void cEdShot::ApplyDefaults() {
    Clear();
    m_byS9 = m_byS17 = m_byS22 = m_byS25 = 1;
}

const RECORDLAYOUT& cEdShot::Layout() const {
    using C = cEdShot;
    // Built out of line, so the look-up every read makes stays a few instructions.
    static const RECORDLAYOUT layout = []() __attribute__((noinline)) {
        return cLayoutBuilder()
                                           .Values<&C::m_byS1>()
                                           .Values<&C::m_byS2>()
                                           .Values<&C::m_awS3>()
                                           .Values<&C::m_byS4>(671)
                                           .Values<&C::m_byS5>()
                                           .Values<&C::m_byS6>()
                                           .Values<&C::m_wS7>()
                                           .Values<&C::m_wS8>()
                                           .Values<&C::m_byS9>(158)
                                           .Values<&C::m_wS10>()
                                           .Values<&C::m_byS11>()
                                           .Values<&C::m_byS12>()
                                           .Values<&C::m_wS13>()
                                           .Values<&C::m_wS14>()
                                           .Values<&C::m_wS15>()
                                           .Values<&C::m_wS16>()
                                           .Values<&C::m_byS17>()
                                           .Values<&C::m_byS18>()
                                           .Values<&C::m_wS19>()
                                           .Values<&C::m_byS20>()
                                           .Values<&C::m_byS21>()
                                           .Values<&C::m_byS22>()
                                           .Values<&C::m_byS23>()
                                           .Values<&C::m_byS24>()
                                           .Values<&C::m_byS25>()
                                           .Values<&C::m_byS26>()
                                           .Values<&C::m_byS27>()
                                           .Values<&C::m_awS28>()
                                           .Values<&C::m_byS29>(211)
                                           .Values<&C::m_wS30>()
                                           .Values<&C::m_wS31>()
                                           .Values<&C::m_byS32>(213)
                                           .Values<&C::m_wS33>(213)
                                           .Values<&C::m_wS34>(213)
                                           .Values<&C::m_wS35>()
                                           .Values<&C::m_byS36>()
                                           .Values<&C::m_wS37>()
                                           .Values<&C::m_byS38>()
                                           .Values<&C::m_byS39>()
                                           .Values<&C::m_wS40>()
                                           .Values<&C::m_wS41>()
                                           .Values<&C::m_byS42>()
                                           .Values<&C::m_byS43>()
                                           .Values<&C::m_byS44>(636)
                                           .Values<&C::m_byS45>()
                                           .Values<&C::m_byS46>()
                                           .Values<&C::m_nS47>()
                                           .Values<&C::m_wS48>()
                                           .Values<&C::m_byS49>()
                                           .Values<&C::m_wS50>()
                                           .Values<&C::m_byS51>()
                                           .Values<&C::m_wS52>()
                                           .Values<&C::m_byS53>()
                                           .Values<&C::m_byS54>()
                                           .Values<&C::m_byS55>(197)
                                           .Values<&C::m_byS56>()
                                           .Values<&C::m_wS57>()
                                           .Values<&C::m_byS58>()
                                           .Values<&C::m_byS59>()
                                           .Values<&C::m_byS60>()
                                           .EveryMemberListed()  // the class has no other members
                                           .Build();
    }();
    return layout;
}

void cEdShot::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    const uint32_t v = g_nFileVersion;
    if (v < kDataVersion) {
        if (v < 158) m_byS9 = 0;
        if (v < 197) m_byS55 = m_byS54;
        if (v < 212) m_byS29 = (m_byS27 >= 4 && m_byS27 <= 7) ? 1 : 0;
        if (v < 213) {
            m_byS32 = 0;
            m_wS33 = m_wS34 = 0;
        }
        if (v < 636) m_byS44 = m_byS43;
        if (v < 671) m_byS4 = 0;
    }
    Validate();
}

void cEdShot::Write(cRecordWriter& writer) {
    Validate();
    cDataFile::Write(writer);
}

void cEdShot::Validate() {
    if (m_byS25 < 1) m_byS25 = 1;
    if (m_wS50 >= g_Database.m_vecEffect.size()) m_wS50 = 0;
}
