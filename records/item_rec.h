// The item definition: the item records of the common palette, of a stage's palette, of the
// items placed on a stage, and the item embedded in every stage character and item object.
// Fields are numbered I1-I17 in file order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "flow/flow.h"
#include "records/data_file.h"
#include "records/small_values.h"

constexpr int kItemGroupCount = 13;

class cItemRec : public cDataFile {
public:
    cItemRec();  // the cleared definition
    const RECORDLAYOUT& Layout() const override;
    // Body, placement, template flags, conditions, commands, the migration of older versions,
    // the template copy, then Validate.
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    // Base clear, 13 template flags of 0, then I8 = 2, I7 = 0, I14 = 1, I16 = 1, I10 = 6
    // (conditions and commands kept).
    void Clear();
    void ApplyTemplate();
    void CopyGroup(int group, const cItemRec& source);
    // The template reference, I16 at least 1, the sound index, and every command validated.
    void Validate();
    // The same for commands that are valid already (read, or validated since).
    void ValidateWithValidCommands();
    // The template flag of a field group is set.
    bool HasTemplateFlag(int group) const;
    // The field group of the commands.
    static constexpr int kCommandsGroup = 12;
    // The palette references of every command.
    void NormaliseCommands();

    // The stored values I1-I17, declared together with nothing else between them: the layout
    // says so (a read may store over the padding between them).
    uint8_t m_byTemplateKind;   // I1
    uint16_t m_wTemplateIndex;  // I2
    uint8_t m_byI3, m_byI4;
    uint16_t m_wI5, m_wI6;
    uint16_t m_wGraphic;        // I7
    uint8_t m_byGraphicKind;    // I8
    uint16_t m_wI9;
    uint8_t m_byI10, m_byI11, m_byI12;
    uint16_t m_wI13;
    uint8_t m_byI14;            // stored before I15
    uint8_t m_byI15;
    uint8_t m_byI16;            // at least 1
    uint16_t m_wSound;          // I17: index into the project's sounds

    std::string m_strName;
    int16_t m_sPlaceX, m_sPlaceY;
    cSmallValues<uint8_t, kItemGroupCount> m_vecTemplateFlags;
    std::vector<cFlowCond> m_vecConds;
    std::vector<cFlowCmd> m_vecCmds;
};
