// The framework's sample record.
#include "tools/records/sample_record.h"

#include "records/record_list.h"

cSampleItem::cSampleItem() : m_nValue(0) { Clear(); }

const RECORDLAYOUT& cSampleItem::Layout() const {
    static const RECORDLAYOUT layout =
        cLayoutBuilder().Values<&cSampleItem::m_nValue>().String<&cSampleItem::m_strLabel>().Build();
    return layout;
}

cSampleRecord::cSampleRecord() : m_byFlag(0), m_sShort(0), m_anWords{}, m_nGated(0), m_llLong(0), m_dRate(0) { Clear(); }

const RECORDLAYOUT& cSampleRecord::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cSampleRecord::m_byFlag>()
                                           .Values<&cSampleRecord::m_sShort>()
                                           .Values<&cSampleRecord::m_anWords>()
                                           .Discard(4, 1, 150, 160)
                                           .Values<&cSampleRecord::m_nGated>(200)
                                           .Values<&cSampleRecord::m_llLong>()
                                           .Values<&cSampleRecord::m_dRate>()
                                           .String<&cSampleRecord::m_strName>()
                                           .String<&cSampleRecord::m_strNote>(300)
                                           .Build();
    return layout;
}

void cSampleRecord::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadRecordList(reader, m_vecItems, cSampleItem());
}

void cSampleRecord::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteRecordList(writer, m_vecItems);
}
