// The flow command record: a main command (kind 0-39, run by a running flow) or an instant
// command (kind 0-24, run at once by items), its integer parameters and text, its move and
// shot settings, and the flows that the instant command "フローの変更" adds.
#pragma once

#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <string>
#include <vector>

#include "flow/ed_move.h"
#include "flow/ed_shot.h"
#include "records/data_file.h"
#include "records/small_list.h"

class cFlow;

class cFlowCmd : public cDataFile {
public:
    cFlowCmd();  // cleared, no parts
    // Copies get move and shot settings of their own with the source's values.
    cFlowCmd(const cFlowCmd& other);
    cFlowCmd& operator=(const cFlowCmd& other);
    // A move takes the source's parts and flows along; the source is left without them.
    cFlowCmd(cFlowCmd&& other) noexcept;
    cFlowCmd& operator=(cFlowCmd&& other) noexcept;
    ~cFlowCmd() override;

    const RECORDLAYOUT& Layout() const override;
    // The body, the parts, the flows and the parameters; the conversions of older versions,
    // the removal of flagged flows, then Validate.
    void Read(cRecordReader& reader) override;
    // Validate, then everything in the order Read takes it.
    void Write(cRecordWriter& writer) override;

    // Base clear, then both parts released (the parameters, text and flows stay).
    void Clear();
    // A new part with its defaults, replacing what the command held.
    void CreateEdMove();
    void CreateEdShot();
    // Copies of the given parts (null: none), replacing what the command held.
    void CopyParts(const cEdMove* move, const cEdShot* shot);

    bool IsInstant() const { return m_byInstant != 0; }
    // The kind, or for an instant command its main-kind equivalent (kind + 15).
    int MainKind() const;

    // Brings the command into range: a kind outside its table becomes 0; the parameters are
    // sized to the kind's count; sound, animation and the kind's database indexes are checked;
    // then every flow of the command is validated.
    void Validate();
    // The same without the command's flows.
    void ValidateOwnFields();
    // Resets palette references outside their lists (shot and sword items, summons, get item),
    // then checks the commands of the command's flows.
    void ValidateRefs();

    // The values the layout stores lie together, a byte then a word four times: sixteen bytes
    // with nothing else among them, which a read stores whole.
    uint8_t m_byInstant;    // 0 main command, 1 instant command
    uint16_t m_wTime;       // tenths of a second
    int8_t m_cKind;
    uint16_t m_wTimeStep;   // added per clone value
    uint8_t m_byWithNext;   // starts in the same step as the next command
    uint16_t m_wSound;      // index into the project's sounds
    uint8_t m_bySoundCond;  // play the sound only while the character is in view
    uint16_t m_wAnime;      // wind-up animation, 0 none
    std::vector<int32_t> m_vecParams;
    std::string m_strText;
    boost::shared_ptr<cEdMove> m_pMove;
    boost::shared_ptr<cEdShot> m_pShot;
    std::vector<cFlow> m_vecFlows;
};

// The commands of a flow: most flows hold one, which lies inside the flow.
using cFlowCmdList = cSmallList<cFlowCmd, 1>;

// The conversions a command of an older data version gets after reading (kinds renumbered at
// 734, parameters inserted or moved). Missing parameters read as 0; a kind that ends up
// outside its table becomes 0 with no parameters. Nothing for version 754.
void ConvertFlowCmd(cFlowCmd& cmd, uint32_t version);
