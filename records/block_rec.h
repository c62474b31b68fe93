// The block definition: the block records of the common palette, of a stage's palette and of
// the blocks placed on a stage. Fields are numbered B1-B18 in file order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "flow/flow_cond.h"
#include "records/data_file.h"
#include "records/small_values.h"

constexpr int kBlockGroupCount = 11;

class cBlockRec : public cDataFile {
public:
    cBlockRec();  // the cleared definition
    const RECORDLAYOUT& Layout() const override;
    // Body, placement, template flags, conditions, the migration of older versions, the
    // template copy, then Validate.
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    // Base clear, 11 template flags of 0, then B12 = 1, B13 = 255, B5 = 0 (conditions kept).
    void Clear();
    void ApplyTemplate();
    void CopyGroup(int group, const cBlockRec& source);
    // The template reference, the item reference, and B12/B18 cleared for a block without a
    // graphic.
    void Validate();

    // The stored values B1-B18, declared together with nothing else between them: the layout
    // says so (a read may store over the padding between them).
    uint8_t m_byTemplateKind;   // B1
    uint16_t m_wTemplateIndex;  // B2
    uint8_t m_byB3, m_byB4;
    uint16_t m_wGraphic;        // B5
    uint8_t m_byGraphicKind;    // B6
    uint16_t m_wGraphic2;       // B7
    uint8_t m_byGraphicKind2;   // B8
    uint8_t m_byB9, m_byB10;
    uint16_t m_wB11;
    uint8_t m_byB12;            // cleared when B5 is 0
    uint8_t m_byB13;
    uint8_t m_byB14;
    int32_t m_nB15;
    uint8_t m_byItemKind;       // B16: 0 none, 1 common palette items, 2 stage palette items
    uint16_t m_wItemIndex;      // B17
    uint8_t m_byB18;            // cleared when B5 is 0

    std::string m_strName;
    int16_t m_sPlaceX, m_sPlaceY;
    cSmallValues<uint8_t, kBlockGroupCount> m_vecTemplateFlags;
    cFlowCondList m_vecConds;
};
