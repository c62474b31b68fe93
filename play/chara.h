// A character: the base of the hero and of the stage characters. It carries its own copy of its
// definition, hit points, skill points, variables, the two hit ranges, the contact and movement
// state of the current sub-step and the links to its target and to the characters it summoned
// (held as identifiers).
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "flow/flow_run.h"
#include "play/game_obj.h"
#include "play/gauge.h"
#include "records/effect_state.h"
#include "records/chara_rec.h"

// Contact sides of a character against blocks.
enum { CONTACT_LEFT = 0, CONTACT_RIGHT = 1, CONTACT_TOP = 2, CONTACT_BOTTOM = 3 };

// Result codes of a character's step beyond those of the game object.
enum {
    STEP_X_AT_EDGE = 4,  // a stage character held at the map's left or right edge (vanishes)
    STEP_FELL_OUT = 7,   // a walking character fell out at the bottom
    STEP_AT_EDGE = 8,    // a flying character reached the map's top or bottom edge
};

// A hit range: inclusive edges in dots, current (scaled) and base offsets and sizes.
struct HITRANGE {
    double dLeft, dTop, dRight, dBottom;
    int32_t nOffX, nOffY, nWidth, nHeight;
    int32_t nBaseOffX, nBaseOffY, nBaseWidth, nBaseHeight;
};

// One entry of the attacker immunity list: the attacker's identifier and the sub-steps left.
struct IMMUNITY {
    int32_t nKey;
    int32_t nLeft;
};

class cShot;

// The overlap test of two hit ranges with inclusive edges.
bool RectOverlapD(const HITRANGE& a, const HITRANGE& b);
// Half blocks (signed 8-bit) to dots.
int32_t BlockToDot(int8_t halfBlocks);
// A percentage (signed 16-bit) as a rate per sub-step squared: p x 0.01 / n^2.
double PercentToRate(int16_t percent);

// What the jump command keeps for a character's jump: the first parameter (0 the key counts as
// held, otherwise the flow's last key entry decides; 2 also takes the height by the hero's move
// speed; the hero only), whether the running flow has key entries, the jump speed, the hold
// limit in sub-steps, the jumped flag, the sound, the end request (the command's remaining time
// becomes 0), the sub-steps the command has run, and for rule 2 the heights in half blocks
// below and from the running speed (tenths of a dot per frame, the move speed compared).
struct HEROJUMP {
    int32_t nRule = 0;
    int32_t bHasKeys = 0;
    double dSpeed = 0;
    int32_t nHoldLimit = 0;
    int32_t bJumped = 0;
    int32_t nSound = 0;
    int32_t bEnd = 0;
    int32_t nSteps = 0;
    int32_t nHeightWalk = 0;
    int32_t nHeightRun = 0;
    int32_t nRunSpeed = 0;
};

class cItem;

// An animation a flow started on the character: the animation, its remaining count and second
// count, the identifier of the flow that owns it and the paused flag.
struct FLOWANIME {
    cObjAnime anime;
    int32_t nCount;
    int32_t nCount2;
    int32_t nFlowId;
    int32_t bPaused;
};

// The stop modes of the flow groups and the number of groups ("-" and A-Z).
constexpr int kFlowStopModes = 3;
constexpr int kFlowGroupCount = 27;

struct DDSURFACEDATA;

// A character's own variables: links and conditions name them from index 0, a code line's
// "v1"-"v8" name indexes 1-8, so every character holds indexes 0-8.
constexpr size_t kCharaVarCount = 9;

class cChara : public cGameObj {
public:
    cChara();
    ~cChara() override = default;
    cChara(const cChara& other);
    cChara& operator=(const cChara& other);
    // Copies every field of another character (links as they are; nothing reset).
    void Assign(const cChara& other);

    // Sets the character up from its definition (or none) and the four placement values.
    void SetUp(const cCharaRec* def, const int32_t (&place)[4]);
    // The character hit range centred in the 32 x 32 cell, or standing on the cell's bottom.
    void SetHitRect(int standOnGround, int width, int height);
    // The position from block coordinates of the stage (column, row).
    void SetBlockX(int column);
    void SetBlockY(int row);
    void SetBlockPos(int column, int row);
    // The initial upward speed (< 0) that reaches `height` dots under the stage's gravity.
    double JumpSpeedForHeight(double height) const;
    double JumpSpeedForHalfBlocks(int halfBlocks) const { return JumpSpeedForHeight(halfBlocks * 16.0); }
    // Sub-steps until a jump at `speed` has fallen back: int(n - speed / g) (0 without gravity).
    static int FallFrames(double speed);
    // The time of a jump of `halfBlocks` half blocks in tenths of a second: the frames until it
    // has fallen back, divided by six (toward zero), plus one.
    int JumpDuration(int halfBlocks) const;

    // The flow animations of a flow: all removed; paused (those with nothing left to show are
    // removed); resumed.
    void RemoveFlowAnimes(int flowId);
    void PauseFlowAnimes(int flowId);
    void ResumeFlowAnimes(int flowId);

    // Loads the character's animations from an animation set of the project database (without
    // force nothing happens when the set is already the definition's).
    void SetAnimation(int16_t set, int force);

    // ---- the virtual operations of characters ----
    void AdjustForScale(int newScale, int oldScale) override;
    void MoveTo(int x, int y) override;
    void MoveToResult(int x, int y, void* result) override;
    void MoveToX(int x) override;
    void MoveToXResult(int x, void* result) override;
    void MoveToY(int y) override;
    void MoveToYResult(int y, void* result) override;
    virtual int ClampX() { return 0; }
    virtual int ClampY() { return 0; }
    // Movement with the speed limit and the clamp; result codes CLAMP_... and STEP_... .
    virtual int StepX() { return 0; }
    virtual int StepY() { return 0; }
    // Steps the running flows one frame; non-zero: the character is killed.
    virtual int RunFlows(int) { return 0; }
    // The item the character carries (stage characters), or none.
    virtual cItem* GetItem() { return nullptr; }
    // One sub-step of the jump command.
    virtual void Jump(HEROJUMP&) {}

    // ---- per sub-step operations ----
    void ApplyGravity();
    void ApplyInertia();
    void DecayInertiaX();
    void DecayInertiaY();
    // Inline: the sub-step's walk over the cast does both for every character.
    void ClearContactFlags() {
        for (int32_t& c : m_abContact) c = 0;
    }
    void SaveHitRects() {
        // The size box too: the block characters' contact sides are judged from where both were.
        m_adPrevBox[0] = m_dX;
        m_adPrevBox[1] = m_dY;
        m_adPrevBox[2] = m_dRight;
        m_adPrevBox[3] = m_dBottom;
        m_bPushedByBlock = 0;
        const HITRANGE* r[2] = {&m_HitChara, &m_HitShot};
        for (int i = 0; i < 2; ++i) {
            m_adSavedRange[i][0] = r[i]->dLeft;
            m_adSavedRange[i][1] = r[i]->dTop;
            m_adSavedRange[i][2] = r[i]->dRight;
            m_adSavedRange[i][3] = r[i]->dBottom;
        }
    }
    void RestoreHitRects();
    // ---- block reactions ----
    void SnapToFloor();
    void SnapToCeiling();
    void Land(int setLanding);
    bool IsOnGround() const;

    // ---- flows (flow/flow_chara.cpp, flow/flow_conditions.cpp) ----
    // Starts the flows of a trigger whose conditions hold.
    void RunFlowsOfTrigger(int trigger);
    // Once per frame before the start passes: the evaluated and started flags and the group
    // frame table are cleared.
    void ClearFlowRunFlags();
    // Gives the character a flow set: mode 0 replaces its flows; otherwise the set is inserted at
    // `position` (appended for -1 or a position out of range). Loops are unrolled first.
    int BuildFlowRuns(const std::vector<cFlow>& flows, int mode, int position);
    // Binds every instance i to flow i of the flow vector.
    void RelinkFlowRuns();
    void CopyFlowRuns(const std::vector<cFlowRun>& other);
    // Stops the instance at `index` and removes it together with its flow.
    void EndRunningFlow(int index);
    // Stops and removes every flow of a group (all flows for group 0); the first index removed,
    // 0 for group 0, -1 when no flow has the group.
    int StopFlows(int group);
    // The flow part of RunFlows: every running flow steps once (a dying character only runs its
    // death-trigger flows), then the deferred removals and the group releases. 1 when the flows
    // ended the character (its end request, or HP run out while not dying).
    int StepFlowRuns(int dying);
    // The status conditions 2 and 3 and the distance condition of a flow or appearance list.
    bool CheckStatusCondition(const cFlowCond& cond);
    bool CheckStatusCondition3(const cFlowCond& cond);
    bool CheckRangeCondition(const cFlowCond& cond);
    // Copies the flow state of another character (the instances rebound to this one's flows).
    void AssignFlowState(const cChara& other);
    // The wind-up animations due at the running flows' step counts start as flow animations
    // (flow/cmd_graphics.cpp).
    void StartScheduledFlowAnimes();

    // ---- block collision (play/block_hit.cpp, play/riding.cpp) ----
    int HitBlocksHorizontal();
    int HitBlocksVertical();
    int HitBlockCharacters();
    // The frame's bookkeeping around the walk of the running flows: marks the character as the
    // one running, takes the forced scroll's speed when followScroll (else stops its own), clears
    // the held, deceleration and frame words, counts the turn lock down, walks the flows and
    // unmarks it. Returns the walk's result (1 killed).
    int RunFlowFrame(int followScroll, int dying);
    // The standing animation when no command moved the character in this frame.
    void StandIfUnmoved();
    int HitBlocksSidesAgain();
    int HitFloorAndCeilingAgain();
    // Riding (play/riding.cpp): whether the character rides a block character.
    int IsRiding() const { return m_bStanding && m_nCarrierId >= 0; }

    // ---- damage, invincibility and death (play/damage.cpp) ----
    // The invincibility timer after a hit, in sub-steps (the stage's frames for the side x n);
    // SetInvincible also makes the character immune to one attacker for a while.
    void ResetInvincible();
    void SetInvincible(int32_t attackerKey);
    // Once per sub-step: the timer and every immunity entry count down.
    void TickInvincible() {
        if (m_nInvincible > 0) --m_nInvincible;
        if (!m_vecImmunity.empty()) TickImmunities();
    }
    // The immunity entries' count-down; an entry that reaches 0 goes.
    void TickImmunities();
    bool IsInvincible() const { return m_nInvincible > 0; }
    bool IsInvincibleAgainst(int32_t attackerKey) const;
    // Hit and skill point changes: 1 when HP has run out / when max SP is 0 or less. A
    // protected character loses no HP unless the loss is forced.
    int AddHP(int32_t delta, int force, int showGauge);
    int AddSP(int32_t delta, int showGauge);
    // The gauges that show a change of HP or SP (drawn with the character).
    void StartHPGauge(int32_t delta);
    void StartSPGauge(int32_t delta);
    // Damage, hit effect, knock-back and triggers 1 and 2 from a character's body or from a
    // shot or sword; the AddHP result.
    int ExchangeDamage(const cChara& attacker);
    int ExchangeDamageFromShot(const cShot& shot);
    void KnockBackFromChara(const cChara& attacker);
    void KnockBackFromShot(const cShot& shot);
    // A knock-back of a strength (held by the impact resistance) along a direction.
    void ApplyImpact(int strength, double dx, double dy);
    // The character dies: death flows, the defeat score, the carried item handed to the hero,
    // links let go, the death effect; 1 when the play is to end at once.
    int Die();
    // The cell of the character's graphic for a base cell: the forms flying, block and
    // protected add their offsets of the animation set. The colour-swap flag is always 0.
    int GraphicIndexFor(int baseCell, int* colourSwap) const;

    // ---- drawing (play/chara_draw.cpp, play/gauge.cpp) ----
    // The character through the renderer of its running effect, then its mark; a hidden
    // character only runs its effect renderer.
    void Draw(DDSURFACEDATA* target, int hold);
    // The death animation (the effect Die started); 1 when it has ended.
    int DrawShadowed(DDSURFACEDATA* target, int hold);
    // Advances the own animation and the flow animations (unless `skipUpdate`) and answers the
    // frame to show.
    int UpdateAttachments(int skipUpdate);
    // The running effect advanced without drawing (the character is not drawn this frame); an
    // ended effect is cleared.
    void RunEffectRenderer(int hold);
    // The 640 x 480 cut of the view mask around the character, with the colour key.
    void BlitCentredView(DDSURFACEDATA* target);
    // The two gauges: a change of HP or SP shown for two seconds over the character
    // (StartHPGauge and StartSPGauge above start them).
    void DrawGaugeA(DDSURFACEDATA* target);
    void DrawGaugeB(DDSURFACEDATA* target);

    // Lets go of the links: this character out of its target's targeted-by list and out of its
    // summoner's summoned list, and every character that targets it loses its target.
    void ReleaseLinks();

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
    std::vector<int32_t> m_vecAimedShots;  // serials of the shots aimed at this character
    // ---- drawing ----
    uint8_t m_byViewMode = 0;       // 0 none, 1 and 2 a circle, 3 and 4 a square
    uint8_t m_byLayer = 0;          // draw layer 0-7
    uint8_t m_byHidden = 0;         // not drawn (its attachments and effect renderer still run)
    int32_t m_bOnScreen = 0;        // set by the appearance pass
    // A fixed place on the screen (x, y) with its two switches: drawn there whatever the scroll.
    int32_t m_abFixScreen[2] = {};
    int32_t m_anFixScreen[2] = {};

    // Links, by object identifier (-1 none).
    int32_t m_nTargetId = -1;            // the character this one aims at
    std::vector<int32_t> m_vecTargetedBy;  // characters whose target is this one
    std::vector<int32_t> m_vecSummoned;    // characters this one summoned
    cCharaRec m_Def;                      // the character's own copy of its definition
    std::vector<uint8_t> m_avecGroupStop[kFlowStopModes];  // kFlowGroupCount bytes each
    int32_t m_anPlace[4] = {};            // placement values; [2] the summoner's identifier
    double m_dImpactX = 0.0, m_dImpactY = 0.0;  // knock-back speed per sub-step
    int32_t m_bImpact = 0;                // a knock-back is in force
    int32_t m_anAfterImpact[2] = {-1, 1};
    double m_dPrevImpactY = 0.0;          // the vertical impact already in speed y
    int32_t m_nBlockUnder = -1;           // block-map cell stood on, -1 none
    int32_t m_nLastFloor = -1;            // block-map cell last landed on, -1 none
    int32_t m_nAirCount = 0;              // sub-steps without a floor
    int32_t m_nLastBlockSide = 0;         // side of the last block hit: 0 left, 1 right
    int32_t m_bDead = 0;
    int32_t m_bLanded = 0;                // set by Land when asked
    int32_t m_bStanding = 0;              // stands on something other than the block map
    // Riding: the block character carrying it (-1 none) with its box at the last step, whether
    // a block character pushed it, and its own box at the start of the sub-step.
    int32_t m_nCarrierId = -1;
    double m_adCarrierBox[4] = {};
    int32_t m_bPushedByBlock = 0;
    double m_adPrevBox[4] = {};
    double m_adSavedRange[2][4] = {};     // edges of both hit ranges
    int32_t m_nHP = 0, m_nSP = 0;       // hit and skill points (maximums: the definition's)
    GAUGESTATE m_HPGauge = {}, m_SPGauge = {};
    std::vector<int32_t> m_vecVar;        // character variables (kCharaVarCount, from SetUp)
    int32_t m_nInvincible = 0;            // invincibility timer, sub-steps
    std::vector<IMMUNITY> m_vecImmunity;  // attackers that cannot hit again yet, newest last
    int32_t m_bEndRequest = 0;            // RunFlows stops at once and reports 1
    int32_t m_nSightRange = 0;            // dots the hero sees around it (0: the whole screen)
    HITRANGE m_HitChara = {};             // the range used between characters
    HITRANGE m_HitShot = {};              // the range used when shots hit
    int32_t m_nInput = 0;                 // hero: player input entry; stage character: in view
    int32_t m_nJumpCount = 0;             // sub-steps since the jump command started
    // Movement-state words of the jump, fall and riding code.
    int32_t m_bJumping = 0, m_bAirborne = 0, m_bRising = 0, m_bFalling = 0, m_bCeiling = 0;
    int32_t m_bHeld = 0;                  // held by a command: no gravity
    int32_t m_nTurnLock = 0;
    int32_t m_abDecel[2] = {1, 1};        // deceleration switches x, y
    // The floor block's effect (FLOOR_... of play/play_rules.h), its factor and the sub-steps it
    // still runs; the no-jump flag of a kind-2 floor.
    int32_t m_nFloorEffect = 0;
    double m_dFloorFactor = 0.0;
    int32_t m_nFloorFrames = 0;
    int32_t m_bNoJump = 0;
    int32_t m_nCaught = 0;                // 2: caught in a summoned block (the crush checks)
    std::list<FLOWANIME> m_listFlowAnime;  // animations started by flows, in start order

    // ---- flows ----
    std::vector<cFlowRun> m_vecFlowRun;   // one per flow of m_Def.m_vecFlows, same order
    int32_t m_nFlowIdCounter = 0;         // serial of the next flow instance
    int16_t m_sCloneValue = 0;            // "分身値": scales many command parameters
    int32_t m_bGroupsReleased = 0;        // a group was released in this flow walk
    int32_t m_bFlowDeletePending = 0;     // instances are flagged for removal
    // ---- movement commands ----
    double m_dInertiaX = 0.0, m_dInertiaY = 0.0;  // inertial speed of moves with inertia
    double m_dCarryX = 0.0, m_dCarryY = 0.0;      // speeds carried from outside (riding)
    int32_t m_bTurnBack = 0;              // the block collision ran into a wall
    uint8_t m_byFixedFacing = 0;          // "向き固定": moves do not turn the character
    uint8_t m_byMirrorPlace = 0;          // placed mirrored: mirrored move angles and offsets
    int32_t m_bMoving = 0;                // a move command moved the character
    int32_t m_bMoveCancelled = 0;         // "移動の無効化" ran
};
