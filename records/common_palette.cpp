// The common palette and the definition-list helpers it shares with stages.
#include "records/common_palette.h"

#include "records/palette_lists.h"
#include "records/stage.h"
#include "records/stage_file.h"

cCommonPalette g_CommonPalette;

namespace {

// The smallest bodies of the definitions (N, S, placement, then the list counts).
template <class T> constexpr size_t MinBytes();
template <> constexpr size_t MinBytes<cBlockRec>() { return 8 + 4 + 4 + 4; }
template <> constexpr size_t MinBytes<cCharaRec>() { return 8 + 8 + 4 + 4 + 4; }
template <> constexpr size_t MinBytes<cItemRec>() { return 8 + 4 + 4 + 4 + 4; }

}  // namespace

template <class T>
BOOL ReadDefinitionList(cRecordReader& reader, std::vector<T>& list, bool reserved) {
    uint32_t n;
    if (!reader.ReadCount(n, MinBytes<T>() + (reserved ? 4 : 0))) return FALSE;
    AssignNewRecords(list, n);
    for (T& e : list) {
        if (reserved) reader.Skip(4);
        e.Read(reader);
        // The rest keep their new values: the file ended, or a stage load is being stopped.
        if (reader.Ended() || StageFile::StopRequested()) break;
    }
    return TRUE;
}

template <class T>
void WriteDefinitionList(cRecordWriter& writer, std::vector<T>& list, bool reserved) {
    writer.WriteU32((uint32_t)list.size());
    for (T& e : list) {
        if (reserved) writer.WriteU32(0);
        e.Write(writer);
    }
}

template BOOL ReadDefinitionList(cRecordReader&, std::vector<cBlockRec>&, bool);
template BOOL ReadDefinitionList(cRecordReader&, std::vector<cCharaRec>&, bool);
template BOOL ReadDefinitionList(cRecordReader&, std::vector<cItemRec>&, bool);
template void WriteDefinitionList(cRecordWriter&, std::vector<cBlockRec>&, bool);
template void WriteDefinitionList(cRecordWriter&, std::vector<cCharaRec>&, bool);
template void WriteDefinitionList(cRecordWriter&, std::vector<cItemRec>&, bool);

void PadDefinitionLists(std::vector<cBlockRec>& blocks, std::vector<cCharaRec>& charas, std::vector<cItemRec>& items) {
    if (blocks.size() < 2) blocks.resize(2);
    if (charas.size() < 2) charas.resize(2);
    if (items.size() < 2) items.resize(2);
}

void ValidateDefinitions(std::vector<cBlockRec>& blocks, std::vector<cCharaRec>& charas, std::vector<cItemRec>& items,
                         DEFCHECK check) {
    if (check != DEFCHECK_REFS)
        for (cBlockRec& b : blocks) b.Validate();
    for (cCharaRec& c : charas) {
        if (check == DEFCHECK_ALL)
            c.Validate();
        else if (check == DEFCHECK_FIELDS)
            c.ValidateWithValidFlows();
        c.ClearFlows();
    }
    for (cItemRec& i : items) {
        if (check == DEFCHECK_ALL)
            i.Validate();
        else if (check == DEFCHECK_FIELDS)
            i.ValidateWithValidCommands();
        i.NormaliseCommands();
    }
}

cCommonPalette::cCommonPalette() : m_vecBlocks(1), m_vecCharas(1), m_vecItems(1) {}

void cCommonPalette::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadDefinitionList(reader, m_vecBlocks, false);
    // Lists read afresh hold only definitions read or new, whose commands are valid already.
    bool read = ReadDefinitionList(reader, m_vecCharas, false);
    read = ReadDefinitionList(reader, m_vecItems, false) && read;
    // Entry 0 of each list is the none entry, whatever the file holds.
    if (!m_vecBlocks.empty()) m_vecBlocks[0] = cBlockRec();
    if (!m_vecCharas.empty()) m_vecCharas[0] = cCharaRec();
    if (!m_vecItems.empty()) m_vecItems[0] = cItemRec();
    // The records have taken their templates; none keeps one afterwards.
    for (cBlockRec& b : m_vecBlocks) std::fill(b.m_vecTemplateFlags.begin(), b.m_vecTemplateFlags.end(), 0);
    for (cCharaRec& c : m_vecCharas) std::fill(c.m_vecTemplateFlags.begin(), c.m_vecTemplateFlags.end(), 0);
    for (cItemRec& i : m_vecItems) std::fill(i.m_vecTemplateFlags.begin(), i.m_vecTemplateFlags.end(), 0);
    PadDefinitionLists(m_vecBlocks, m_vecCharas, m_vecItems);
    ValidateDefinitions(m_vecBlocks, m_vecCharas, m_vecItems, read ? DEFCHECK_FIELDS : DEFCHECK_ALL);  // FixUp
}

void cCommonPalette::Write(cRecordWriter& writer) {
    FixUp();
    cDataFile::Write(writer);
    WriteDefinitionList(writer, m_vecBlocks, false);
    WriteDefinitionList(writer, m_vecCharas, false);
    WriteDefinitionList(writer, m_vecItems, false);
}

void cCommonPalette::FixUp() {
    PadDefinitionLists(m_vecBlocks, m_vecCharas, m_vecItems);
    ValidateDefinitions(m_vecBlocks, m_vecCharas, m_vecItems);
}
