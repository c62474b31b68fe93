// A character: the base of the hero and of the stage characters. Only the words the play frame
// reads and the operations it calls are declared so far; the operations not built yet are in
// play/frame_seams.cpp.
#pragma once

#include <cstdint>
#include <vector>

#include "play/game_obj.h"
#include "records/effect_state.h"

// Contact sides of a character against blocks.
enum { CONTACT_LEFT = 0, CONTACT_RIGHT = 1, CONTACT_TOP = 2, CONTACT_BOTTOM = 3 };

class cChara : public cGameObj {
public:
    // ---- operations of the character Parts (not built yet: see play/frame_seams.cpp) ----
    // Starts the flows of a trigger whose conditions hold.
    void RunFlowsOfTrigger(int trigger);
    // Steps the running flows one sub-step; non-zero: the character is killed.
    virtual int RunFlows(int mode);
    // Movement with the speed limit and the clamp; result codes as the block map has them.
    virtual int StepX();
    virtual int StepY();
    int HitBlocksHorizontal();
    int HitBlocksVertical();
    int HitBlockCharacters();
    int HitBlocksSidesAgain();
    int HitFloorAndCeilingAgain();
    void ApplyGravity();
    void DecayInertiaX();
    void DecayInertiaY();
    void TickInvincible();
    void ClearContactFlags();
    void SaveHitRects();
    void RestoreHitRects();
    void ClearFlowRunFlags();
    // Riding: whether characters ride on this one, and moving them with it.
    int HasRiders() const;
    void MoveRiders();
    // Clears the owner link of the objects attached to this one and takes it out of the
    // attached list of the character it hangs on.
    void ReleaseLinks();
    // The character dies (hero: the death animation starts); 1 when that ends the game.
    int Die();

    // Contact on both left and right, or on both top and bottom.
    bool Squeezed() const {
        return (m_abContact[CONTACT_LEFT] && m_abContact[CONTACT_RIGHT]) ||
               (m_abContact[CONTACT_TOP] && m_abContact[CONTACT_BOTTOM]);
    }
    bool SideContact() const { return m_abContact[CONTACT_LEFT] || m_abContact[CONTACT_RIGHT]; }
    bool FloorContact() const { return m_abContact[CONTACT_TOP] || m_abContact[CONTACT_BOTTOM]; }

    int32_t m_nGroup = 0;           // character group 0-7
    int32_t m_bDying = 0;           // the death animation runs
    int32_t m_bInRange = 0;         // set by the appearance pass
    int32_t m_bActsAsBlock = 0;     // a block character
    int32_t m_bVanishOnEnd = 0;     // leaves play when its flows end it
    int32_t m_bCrushProof = 0;      // never crushed between blocks
    int32_t m_bIgnoreDirection = 0; // the player's direction keys are not read
    int32_t m_bIgnoreButtons = 0;   // the player's buttons are not read
    int32_t m_bFreeMove = 0;        // the hero moves freely (its banner-end animation is 2)
    int32_t m_bScrollSync = 0;      // moves along with forced scrolling
    int32_t m_abContact[4] = {};    // CONTACT_...
    int32_t m_anFrameWord[2] = {};  // cleared at the start of every play frame
    CHARAEFFECTSTATE m_CharaEffect = {};  // the running character effect (id 0: none)
    int32_t m_nTargetId = -1;       // identifier of the character this one aims at, -1 none
    std::vector<int32_t> m_vecAimedShots;  // serials of the shots aimed at this character
    // ---- drawing ----
    int32_t m_nSightRange = 0;      // dots the hero sees around it (0: the whole screen)
    uint8_t m_byViewMode = 0;       // 0 none, 1 and 2 a circle, 3 and 4 a square
    uint8_t m_byLayer = 0;          // draw layer 0-7
    uint8_t m_byHidden = 0;         // not drawn (its attachments and effect renderer still run)
    int32_t m_bOnScreen = 0;        // set by the appearance pass
    int32_t m_nHP = 0, m_nMaxHP = 0;  // hit points and their maximum
    int32_t m_nSP = 0, m_nMaxSP = 0;  // skill points and their maximum
};
