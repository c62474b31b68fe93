// The flow command record: layout, read and write, copies, validation and reference checks.
#include "flow/flow_cmd.h"

#include <algorithm>
#include <boost/make_shared.hpp>
#include <new>

#include "flow/command_kinds.h"
#include "flow/flow.h"
#include "records/database.h"
#include "records/palette_lists.h"
#include "records/record_list.h"

namespace {

// Main kinds whose first parameter is a database index, with the value it gets when it lies
// outside its table.
bool CheckedFirstParam(int mainKind, size_t& count, int32_t& reset) {
    const cDatabase& db = g_Database;
    switch (mainKind) {
        case 27: count = db.m_vecAnimeSet.size(); reset = 0; return true;
        case 28: count = db.m_vecAnime.size(); reset = 1; return true;
        case 29: count = db.m_vecEffect.size(); reset = 1; return true;
        case 30: count = db.m_vecCharaEffect.size(); reset = 1; return true;
        case 31: count = db.m_vecScrEffect.size(); reset = 1; return true;
        case 32: count = db.m_vecPicture.size(); reset = 1; return true;
        case 35: count = db.m_vecSound.size(); reset = 1; return true;
        case 36: count = db.m_vecBgm.size(); reset = 1; return true;
        default: return false;
    }
}

// The sum of a sword type's frame times, at most 9999.
uint16_t SwordUseTime(const cSwordTypeRec& sword) {
    int64_t sum = 0;
    for (const cSwordTypeEntry& e : sword.m_vecEntries) {
        sum += e.m_nDuration;
        if (sum >= 9999) return 9999;
    }
    return (uint16_t)std::max<int64_t>(sum, 0);
}

// Palette choice "0 common, otherwise the stage's" of the summon and get-item commands.
int StageOrCommon(int32_t choice) { return choice == 0 ? 1 : 2; }

// A command with both parts holds them in one allocation; each pointer shares its ownership.
struct EDPARTS {
    EDPARTS(const cEdMove& m, const cEdShot& s) : move(m), shot(s) {}
    cEdMove move;
    cEdShot shot;
};

// The parts of commands read from files come from slabs: one allocation holds room for the
// parts of kSlots commands, and each command's pointers share the ownership of the slab, which
// goes with the last of them. A slab is filled by one thread (the one reading), but its
// commands may be released on any thread: the shared count is the only thing they share.
class cPartSlab {
public:
    static constexpr uint32_t kSlots = 32;

    // The room is left as it is: a part is constructed when a command takes it.
    cPartSlab() noexcept {}
    cPartSlab(const cPartSlab&) = delete;
    cPartSlab& operator=(const cPartSlab&) = delete;
    ~cPartSlab() {
        for (uint32_t i = 0; i < m_nTaken; ++i) {
            if (m_abMade[i] & kMoveMade) Move(i)->cEdMove::~cEdMove();
            if (m_abMade[i] & kShotMade) Shot(i)->cEdShot::~cEdShot();
        }
    }

    bool Full() const { return m_nTaken == kSlots; }
    // The next slot (the slab must not be full).
    uint32_t Take() { return m_nTaken++; }
    // A new part with its defaults in a slot taken, at most once per slot and kind.
    cEdMove* MakeMove(uint32_t i) {
        cEdMove* move = new (Move(i)) cEdMove();
        m_abMade[i] |= kMoveMade;
        return move;
    }
    cEdShot* MakeShot(uint32_t i) {
        cEdShot* shot = new (Shot(i)) cEdShot();
        m_abMade[i] |= kShotMade;
        return shot;
    }

private:
    static constexpr uint8_t kMoveMade = 1, kShotMade = 2;
    struct SLOT {
        alignas(cEdMove) unsigned char move[sizeof(cEdMove)];
        alignas(cEdShot) unsigned char shot[sizeof(cEdShot)];
    };
    cEdMove* Move(uint32_t i) { return std::launder(reinterpret_cast<cEdMove*>(m_aSlots[i].move)); }
    cEdShot* Shot(uint32_t i) { return std::launder(reinterpret_cast<cEdShot*>(m_aSlots[i].shot)); }

    uint32_t m_nTaken = 0;
    uint8_t m_abMade[kSlots] = {};
    SLOT m_aSlots[kSlots];
};

// The slab this thread is filling (its commands keep it alive once it is replaced).
thread_local boost::shared_ptr<cPartSlab> t_pPartSlab;

// A slot of this thread's slab, and the slab to share ownership with.
struct PARTSLOT {
    cPartSlab* pSlab;
    uint32_t nIndex;
};

PARTSLOT TakePartSlot() {
    boost::shared_ptr<cPartSlab>& slab = t_pPartSlab;
    if (!slab || slab->Full()) slab = boost::make_shared<cPartSlab>();
    return PARTSLOT{slab.get(), slab->Take()};
}

}  // namespace

void cFlowCmd::CopyParts(const cEdMove* move, const cEdShot* shot) {
    if (move && shot) {
        const boost::shared_ptr<EDPARTS> parts = boost::make_shared<EDPARTS>(*move, *shot);
        m_pMove = boost::shared_ptr<cEdMove>(parts, &parts->move);
        m_pShot = boost::shared_ptr<cEdShot>(parts, &parts->shot);
        return;
    }
    boost::shared_ptr<cEdMove> newMove;
    boost::shared_ptr<cEdShot> newShot;
    if (move) newMove = boost::make_shared<cEdMove>(*move);
    if (shot) newShot = boost::make_shared<cEdShot>(*shot);
    m_pMove = newMove;
    m_pShot = newShot;
}

cFlowCmd::cFlowCmd() { Clear(); }

cFlowCmd::cFlowCmd(const cFlowCmd& other)
    : cDataFile(other),
      m_byInstant(other.m_byInstant),
      m_wTime(other.m_wTime),
      m_cKind(other.m_cKind),
      m_wTimeStep(other.m_wTimeStep),
      m_byWithNext(other.m_byWithNext),
      m_wSound(other.m_wSound),
      m_bySoundCond(other.m_bySoundCond),
      m_wAnime(other.m_wAnime),
      m_vecParams(other.m_vecParams),
      m_strText(other.m_strText),
      m_vecFlows(other.m_vecFlows) {
    if (other.m_pMove || other.m_pShot) CopyParts(other.m_pMove.get(), other.m_pShot.get());
}

cFlowCmd& cFlowCmd::operator=(const cFlowCmd& other) {
    if (this == &other) return *this;
    cDataFile::operator=(other);
    m_byInstant = other.m_byInstant;
    m_cKind = other.m_cKind;
    m_vecParams = other.m_vecParams;
    m_strText = other.m_strText;
    m_wTime = other.m_wTime;
    m_wTimeStep = other.m_wTimeStep;
    m_byWithNext = other.m_byWithNext;
    m_wSound = other.m_wSound;
    m_bySoundCond = other.m_bySoundCond;
    m_wAnime = other.m_wAnime;
    // Copied before the old flows go: the source may live inside them (the parts are copied
    // before the old ones are released, for the same reason).
    std::vector<cFlow> flows(other.m_vecFlows);
    CopyParts(other.m_pMove.get(), other.m_pShot.get());
    m_vecFlows.swap(flows);
    return *this;
}

cFlowCmd::cFlowCmd(cFlowCmd&& other) noexcept
    : cDataFile(other),
      m_byInstant(other.m_byInstant),
      m_wTime(other.m_wTime),
      m_cKind(other.m_cKind),
      m_wTimeStep(other.m_wTimeStep),
      m_byWithNext(other.m_byWithNext),
      m_wSound(other.m_wSound),
      m_bySoundCond(other.m_bySoundCond),
      m_wAnime(other.m_wAnime),
      m_vecParams(std::move(other.m_vecParams)),
      m_strText(std::move(other.m_strText)),
      m_pMove(std::move(other.m_pMove)),
      m_pShot(std::move(other.m_pShot)),
      m_vecFlows(std::move(other.m_vecFlows)) {}

cFlowCmd& cFlowCmd::operator=(cFlowCmd&& other) noexcept {
    if (this == &other) return *this;
    cDataFile::operator=(other);
    m_byInstant = other.m_byInstant;
    m_cKind = other.m_cKind;
    m_vecParams = std::move(other.m_vecParams);
    m_strText = std::move(other.m_strText);
    m_wTime = other.m_wTime;
    m_wTimeStep = other.m_wTimeStep;
    m_byWithNext = other.m_byWithNext;
    m_wSound = other.m_wSound;
    m_bySoundCond = other.m_bySoundCond;
    m_wAnime = other.m_wAnime;
    m_pMove = std::move(other.m_pMove);
    m_pShot = std::move(other.m_pShot);
    // Taken out before the old flows go: the source may live inside them.
    std::vector<cFlow> flows(std::move(other.m_vecFlows));
    m_vecFlows.swap(flows);
    return *this;
}

cFlowCmd::~cFlowCmd() = default;

const RECORDLAYOUT& cFlowCmd::Layout() const {
    using C = cFlowCmd;
    // Built out of line, so the look-up every read makes stays a few instructions.
    static const RECORDLAYOUT layout = []() __attribute__((noinline)) {
        return cLayoutBuilder()
                                           .Values<&C::m_byInstant>()
                                           .Values<&C::m_cKind>()
                                           .Values<&C::m_wTime>()
                                           .Values<&C::m_wTimeStep>()
                                           .Values<&C::m_byWithNext>()
                                           .Values<&C::m_wSound>()
                                           .Values<&C::m_bySoundCond>()
                                           .Values<&C::m_wAnime>()
                                           .String<&C::m_strText>()
                                           .EveryMemberListed()  // the values lie together
                                           .Build();
    }();
    return layout;
}

void cFlowCmd::Clear() {
    cDataFile::Clear();
    m_pMove.reset();
    m_pShot.reset();
}

// One allocation each: the part and its count together.
void cFlowCmd::CreateEdMove() { m_pMove = boost::make_shared<cEdMove>(); }
void cFlowCmd::CreateEdShot() { m_pShot = boost::make_shared<cEdShot>(); }

int cFlowCmd::MainKind() const { return IsInstant() ? m_cKind + kInstantKindOffset : m_cKind; }

void cFlowCmd::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    // Each part is made and read in place, in a slot of this thread's slab that holds both
    // parts of the command.
    PARTSLOT slot{nullptr, 0};
    uint32_t present = 0;
    if (reader.ReadU32(present) && present) {
        slot = TakePartSlot();
        m_pMove = boost::shared_ptr<cEdMove>(t_pPartSlab, slot.pSlab->MakeMove(slot.nIndex));
        m_pMove->Read(reader);
    } else {
        m_pMove.reset();
    }
    present = 0;
    if (reader.ReadU32(present) && present) {
        if (slot.pSlab) {
            // The slot of the move part, whose pointer owns a share of its slab.
            m_pShot = boost::shared_ptr<cEdShot>(m_pMove, slot.pSlab->MakeShot(slot.nIndex));
        } else {
            slot = TakePartSlot();
            m_pShot = boost::shared_ptr<cEdShot>(t_pPartSlab, slot.pSlab->MakeShot(slot.nIndex));
        }
        m_pShot->Read(reader);
    } else {
        m_pShot.reset();
    }
    // Flows read from the list have validated themselves, and nothing below changes them
    // but the removal of marked ones; flows the list left in place are validated here.
    const BOOL flowsRead = ReadFlowList(reader, m_vecFlows);
    ReadValueList(reader, m_vecParams);
    if (g_nFileVersion < kDataVersion) ConvertFlowCmd(*this, g_nFileVersion);
    if (!m_vecFlows.empty() && !KeepMarkedFlows()) FlowVector_EraseMarked(m_vecFlows);
    ValidateOwnFields();
    if (!flowsRead)
        for (cFlow& flow : m_vecFlows) flow.ValidateAll();
}

void cFlowCmd::Write(cRecordWriter& writer) {
    Validate();
    cDataFile::Write(writer);
    writer.WriteU32(m_pMove ? 1 : 0);
    if (m_pMove) m_pMove->Write(writer);
    writer.WriteU32(m_pShot ? 1 : 0);
    if (m_pShot) m_pShot->Write(writer);
    WriteFlowList(writer, m_vecFlows);
    WriteValueList(writer, m_vecParams);
}

void cFlowCmd::Validate() {
    ValidateOwnFields();
    for (cFlow& flow : m_vecFlows) flow.ValidateAll();
}

void cFlowCmd::ValidateOwnFields() {
    const cDatabase& db = g_Database;
    if (m_wSound >= db.m_vecSound.size()) m_wSound = 0;
    if (m_wAnime >= db.m_vecAnime.size()) m_wAnime = 0;
    const bool instant = IsInstant();
    if (!IsValidCmdKind(instant, m_cKind)) {
        m_cKind = 0;  // an unknown kind keeps its place in the list but does nothing
        m_vecParams.clear();
    }
    m_vecParams.resize((size_t)CmdParamCount(instant, m_cKind), 0);

    const int mainKind = MainKind();
    if (!instant && mainKind == 12 && m_pShot) {
        uint8_t& type = m_pShot->SwordType();
        if (type >= db.m_vecSwordType.size()) type = 0;
        if (type < db.m_vecSwordType.size()) m_wTime = SwordUseTime(db.m_vecSwordType[type]);
    }
    size_t count = 0;
    int32_t reset = 0;
    if (CheckedFirstParam(mainKind, count, reset) && !m_vecParams.empty() && (uint32_t)m_vecParams[0] >= count)
        m_vecParams[0] = reset;
}

void cFlowCmd::ValidateRefs() {
    const int kind = m_cKind;
    auto checkGetItem = [this] {
        if (m_vecParams.size() < 2) m_vecParams.resize(2, 0);
        if ((uint32_t)m_vecParams[1] >= PaletteListSize(StageOrCommon(m_vecParams[0]), DEF_ITEM)) m_vecParams[1] = 1;
    };
    if (!IsInstant()) {
        if ((kind == 11 || kind == 12) && m_pShot) {
            uint8_t& palette = m_pShot->ItemPalette();
            uint16_t& index = m_pShot->ItemIndex();
            if (palette != 0 && index >= PaletteListSize(palette, DEF_ITEM)) palette = 0, index = 0;
        } else if (kind >= 13 && kind <= 15 && m_pShot) {
            static const DEFCLASS kClass[3] = {DEF_BLOCK, DEF_CHARA, DEF_ITEM};
            uint16_t& index = m_pShot->SummonIndex();
            if (index >= PaletteListSize(StageOrCommon(m_pShot->SummonPalette()), kClass[kind - 13])) index = 1;
        } else if (kind == 25) {
            checkGetItem();
        }
    } else if (kind == 10) {
        checkGetItem();
    }
    for (cFlow& flow : m_vecFlows) flow.ValidateCmdRefs();
}
