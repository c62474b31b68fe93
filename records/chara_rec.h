// The character definition: the character records of the common palette, of a stage's palette
// and of the characters placed on a stage. Fields are numbered C1-C53 in file order; the names
// say the roles the records code relies on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "flow/flow.h"
#include "records/data_file.h"
#include "records/small_values.h"

constexpr int kCharaGroupCount = 37;

class cCharaRec : public cDataFile {
public:
    cCharaRec();  // the cleared definition
    const RECORDLAYOUT& Layout() const override;
    // Body, placement, template flags, conditions, flows (flagged flows removed unless kept),
    // the migrations of older versions, the template copy, then Validate.
    void Read(cRecordReader& reader) override;
    // Validate, then everything in the order Read takes it.
    void Write(cRecordWriter& writer) override;

    // Base clear, 37 template flags of 0, the placement value 0, then the defaults of a new
    // character. The condition and flow lists are left as they are.
    void Clear();
    // Copies the field groups whose template flag is set from the template definition (a
    // common-palette or stage-palette character); an index past the list drops the template.
    void ApplyTemplate();
    // Copies one field group (0-36) from another definition.
    void CopyGroup(int group, const cCharaRec& source);
    // Brings references into range, validates every flow and removes empty flows.
    void Validate();
    // The same for flows that are valid already (read, or validated since): their commands are
    // not validated again.
    void ValidateWithValidFlows();
    // The palette references of every flow's commands.
    void ClearFlows();
    // The template flag of a field group is set.
    bool HasTemplateFlag(int group) const;
    // The field group of the flows.
    static constexpr int kFlowsGroup = 36;

    // The offset of the i-th of a row of characters: base + i * step, negated for direction 1
    // when the axis' mirror flag is set.
    double OffsetX(int32_t i, int32_t direction) const;
    double OffsetY(int32_t i, int32_t direction) const;

    // The stored values C1-C53, declared together with nothing else between them: the layout
    // says so (a read may store over the padding between them).
    uint8_t m_byTemplateKind;   // C1: 0 none, 1 common palette, 2 stage palette
    uint16_t m_wTemplateIndex;  // C2
    uint8_t m_byC3, m_byC4, m_byC5;
    uint8_t m_byC6;             // cleared when the role is 0
    int16_t m_sOffsetXBase;     // C7
    int16_t m_sOffsetXStep;     // C8
    int16_t m_sOffsetYBase;     // C9
    int16_t m_sOffsetYStep;     // C10
    uint8_t m_byOffsetXMirror;  // C11
    uint8_t m_byOffsetYMirror;  // C12
    uint16_t m_wGraphic;        // C13: with kind 4 an index into the dedicated character bitmaps
    uint8_t m_byGraphicKind;    // C14
    uint16_t m_wC15;
    uint16_t m_wAnimeSet;       // C16
    uint8_t m_byC17, m_byC18;
    uint16_t m_wCharaEffect1;   // C19
    uint8_t m_byC20;            // from 196
    uint8_t m_byC21;
    uint16_t m_wCharaEffect2;   // C22
    uint8_t m_byC23;            // from 196
    uint8_t m_byC24;
    uint16_t m_wC25;
    uint8_t m_byRole;           // C26: 1 a stage character, 0 the hero role
    uint8_t m_byC27, m_byC28, m_byC29, m_byC30, m_byC31, m_byC32;
    uint8_t m_byC33;            // from 285
    uint8_t m_byC34;            // cleared when the role is 0
    uint8_t m_byC35;            // at least 1
    uint8_t m_byC36;            // from 210
    uint8_t m_byC37, m_byC38;
    int32_t m_nC39, m_nC40;
    uint16_t m_wC41;
    uint8_t m_byC42;            // from 201
    int32_t m_nC43;
    uint8_t m_byC44;
    int16_t m_sEffect;          // C45
    int32_t m_nC46;             // from 168
    uint8_t m_byC47;
    int32_t m_nC48;
    uint8_t m_byC49, m_byC50;
    uint16_t m_wC51;
    uint8_t m_byC52, m_byC53;

    std::string m_strName;
    int16_t m_sPlaceX, m_sPlaceY;  // position of a placed character on the stage map
    int32_t m_nPlaceValue;         // compared with -1 by the play set-up
    cSmallValues<uint8_t, kCharaGroupCount> m_vecTemplateFlags;
    std::vector<cFlowCond> m_vecConds;
    std::vector<cFlow> m_vecFlows;

private:
    // The references and ranges of the definition's own fields.
    void ValidateFields();
    void EraseEmptyFlows();
};
