// A stage character: a character placed on the stage or summoned (enemies, helpers, characters
// that act as blocks), with the item it carries embedded in it. Stage characters live by value
// in the stage character list; copies go through the copy construction.
#pragma once

#include <cstdint>
#include <vector>

#include "play/chara.h"
#include "play/chara_def.h"
#include "play/item.h"

// The placement values of a stage character (the four of cChara::SetUp, then the extra code).
enum {
    PLACE_CELL_X = 0,   // the placement cell (stage columns and rows; summons: -1)
    PLACE_CELL_Y = 1,
    PLACE_SUMMONER = 2, // the identifier of the character that summoned it, -1 none
    PLACE_CLONE = 3,    // the clone index: the clone value the flows' times and speeds grow by
};

class cStageChara final : public cChara {
public:
    cStageChara() = default;
    // The character part assigned, then the embedded item and the fields of this class.
    cStageChara(const cStageChara& other);
    cStageChara& operator=(const cStageChara& other);
    ~cStageChara() override = default;

    using cChara::SetUp;
    // Sets the character up from its definition: identifier, the carried item's definition
    // and identifier (none: no item), the four placement values and the extra code.
    void SetUp(int id, const cCharaRec& def, const cItem* carried, const int32_t (&place)[4], int16_t extraCode);
    // The position from block coordinates of the stage (column, row), centred for the scale.
    void SetBlockPos(int column, int row);
    // The range test: 1 in view (the in-view word set, and the character's appearance group
    // flagged in `groups`), else 0.
    int CheckInView(std::vector<uint8_t>& groups) { return CheckInView(CurrentScreenView(), groups); }
    // The same against a view taken before (the appearance pass asks every character).
    int CheckInView(const SCREENVIEW& view, std::vector<uint8_t>& groups) {
        return TakeInView(IsInView(view, m_bSkipViewX, m_bSkipViewY), groups);
    }
    // The range test's outcome, found by the caller: the in-view word and the group flag.
    int TakeInView(bool inView, std::vector<uint8_t>& groups) {
        if (!inView) {
            m_nInput = 0;
            return 0;
        }
        m_nInput = 1;
        if (charadef::AppearGroupOn(m_Def)) {
            const size_t g = (uint16_t)charadef::AppearGroup(m_Def);
            if (g < groups.size()) groups[g] = 1;
        }
        return 1;
    }
    // The activation test against the group flags: 1 when the character acts this frame.
    int CanAct(const std::vector<uint8_t>& groups) {
        bool acts = m_nInput != 0;
        if (!acts && charadef::AppearGroupOn(m_Def)) {
            const size_t g = (uint16_t)charadef::AppearGroup(m_Def);
            acts = g < groups.size() && groups[g] != 0;
        }
        if (!acts && !m_bFlying) acts = m_bJumping || (m_bActivated && m_bFalling);
        if (!acts) return 0;
        Activate();
        return 1;
    }

    void ScaleHitBoxes(int scale) override;
    void UpdateRectX() override;
    void UpdateRectY() override;
    cItem* GetItem() override { return &m_Item; }
    int ClampX() override { return cGameObj::ClampX(2); }
    int ClampY() override { return cGameObj::ClampY(2); }
    // Knock-back or the move speed, one step, the clamp; CLAMP_MAPEDGE is reported as
    // STEP_X_AT_EDGE.
    int StepX() override;
    // Knock-back, the move speed of a flying character, one step, the clamp; a flying
    // character at the map's top or bottom edge reports STEP_AT_EDGE, a walking one below the
    // stage STEP_FELL_OUT.
    int StepY() override;
    // The character's flows for one frame; 1 when they killed it.
    int RunFlows(int dying) override;
    void Jump(HEROJUMP& jump) override;
    // The blinking icon of the carried item over the character's head: shown 32 calls of every
    // 96 (play/item_draw.cpp).
    void DrawCarriedItem(DDSURFACEDATA* target);

    cItem m_Item;                // the carried item; given when one is carried
    int32_t m_nItemBlink = 0;    // calls of the carried-item icon cycle, 0..96
    int32_t m_bSkipViewX = 0;    // the horizontal half of the in-view test is skipped
    int32_t m_bSkipViewY = 0;    // the vertical half is skipped
    int32_t m_bActivated = 0;    // set the first time the character acts
    int32_t m_nSpare = 0;

private:
    // The first act and every act after it: the activated word, the stay-in-view setting, the
    // screen rectangle.
    void Activate();
};
