// The move settings record.
#include "flow/ed_move.h"

cEdMove::cEdMove() { SetDefaults(); }

cEdMove::cEdMove(BuildTag) { ApplyDefaults(); }

const cEdMove& cEdMove::Prototype() {
    static const cEdMove prototype{BuildTag{}};
    return prototype;
}

void cEdMove::SetDefaults() {
    // Every field is stored in the current version, so the copy sets each one as ApplyDefaults
    // does; records built for an older version (the test writers) take the long way.
    if (g_nCurrentVersion == kDataVersion)
        CopyPlainMembers(*this, Prototype());  // every member is a plain value
    else
        ApplyDefaults();
}

void cEdMove::ApplyDefaults() {
    Clear();
    m_byM5 = m_byM6 = m_byM7 = 1;
    m_byM13 = m_byM16 = m_byM18 = 1;
    m_wM22 = 10;
    m_dM31 = 1.0;
}

const RECORDLAYOUT& cEdMove::Layout() const {
    // Built out of line, so the look-up every read makes stays a few instructions.
    static const RECORDLAYOUT layout = []() __attribute__((noinline)) {
        return cLayoutBuilder()
                                           .Values<&cEdMove::m_byM1>()
                                           .Values<&cEdMove::m_byM2>()
                                           .Values<&cEdMove::m_wM3>()
                                           .Values<&cEdMove::m_wM4>()
                                           .Values<&cEdMove::m_byM5>(158)
                                           .Values<&cEdMove::m_byM6>()
                                           .Values<&cEdMove::m_byM7>()
                                           .Values<&cEdMove::m_wM8>()
                                           .Values<&cEdMove::m_wM9>()
                                           .Values<&cEdMove::m_wM10>()
                                           .Values<&cEdMove::m_wM11>()
                                           .Values<&cEdMove::m_byM12>()
                                           .Values<&cEdMove::m_byM13>()
                                           .Values<&cEdMove::m_byM14>()
                                           .Values<&cEdMove::m_byM15>()
                                           .Values<&cEdMove::m_byM16>()
                                           .Values<&cEdMove::m_byM17>()
                                           .Values<&cEdMove::m_byM18>()
                                           .Values<&cEdMove::m_byM19>()
                                           .Values<&cEdMove::m_byM20>(162)
                                           .Values<&cEdMove::m_byM21>()
                                           .Values<&cEdMove::m_wM22>()
                                           .Values<&cEdMove::m_wM23>()
                                           .Values<&cEdMove::m_wM24>()
                                           .Values<&cEdMove::m_wM25>()
                                           .Values<&cEdMove::m_byM26>(159)
                                           .Values<&cEdMove::m_wM27>()
                                           .Values<&cEdMove::m_wM28>()
                                           .Values<&cEdMove::m_byM29>()
                                           .Values<&cEdMove::m_wM30>()
                                           .Values<&cEdMove::m_dM31>()
                                           .Values<&cEdMove::m_byM32>(162)
                                           .EveryMemberListed()  // the class has no other members
                                           .Build();
    }();
    return layout;
}

void cEdMove::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    const uint32_t v = g_nFileVersion;
    if (v >= kDataVersion) return;
    if (v < 158) m_byM5 = 0;
    if (v < 159) m_byM26 = 0;
    if (v < 162) m_byM20 = m_byM32 = 0;
}
