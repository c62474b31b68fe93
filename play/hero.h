// The hero: the character the player moves. It is driven by a player input entry, scrolls the
// view after itself, has a third hit range, a variable-height jump, a list of touched items and
// coloured rectangles that can show its size box and hit ranges.
#pragma once

#include <cstdint>
#include <vector>

#include "flow/command_param_link.h"
#include "flow/flow_cmd.h"
#include "play/chara.h"

// One rectangle of the range display: what it is anchored to (0 the size box, 1 the character
// hit range, 2 the third hit range, 3 the shot hit range), drawing mode (0 none, 1 frame,
// 2 filled), colour, screen x, y, width, height and the cycle counter.
struct RANGEDISPLAY {
    int32_t nAnchor, nMode, nColor, nX, nY, nWidth, nHeight, nCycle;
};

// Frames the icon of a touched item stays over the hero.
constexpr int32_t kItemIconFrames = 30;

// Identifiers of the heroes: kHeroId + the hero's index, apart from the serials that number the
// stage characters, so that links by identifier never confuse the two.
constexpr int32_t kHeroId = 0x40000000;

class cHero : public cChara {
public:
    cHero() = default;
    cHero(const cHero& other) = default;
    cHero& operator=(const cHero& other) = default;
    ~cHero() override = default;

    // Builds the hero from its placed definition; the flow set-up's result (0 until flows run).
    int SetupFromPlacement(int id, const cCharaRec& rec, const int32_t (&place)[4]);
    // Size box offsets and size from the stage's hero settings for walking or flying.
    void CalcSize(int& offX, int& offY, int& width, int& height) const;
    // Movement mode, size and the three hit ranges (scaled when `keepScale` is set).
    void ApplyState(int mode, int keepScale);
    void BuildRangeDisplay();
    // The character drawing, then the range display entries (play/chara_draw.cpp).
    void Draw(DDSURFACEDATA* target, int hold);

    void ScaleHitBoxes(int scale) override;
    void UpdateRectX() override;
    void UpdateRectY() override;
    // The view follows the hero, then the hero is held to the stage (walking) or the scroll
    // range (flying).
    int ClampX() override;
    int ClampY() override;
    int StepX() override;
    int StepY() override;
    int RunFlows(int dying) override;

    // Runs an item's instant commands on the hero: 0, 2 when HP has run out, or the first
    // non-zero command result. Before each command other than arrange the pending parameter
    // links are applied to it (written into the item's own command) and emptied.
    int RunItemCommands(std::vector<cFlowCmd>& commands);

    // One sub-step of the jump command: a jump that goes higher while the key is held, cut to
    // 30 % of its upward speed when the key is let go early.
    void Jump(HEROJUMP& jump) override;
    // Rule 2 of the jump: the speed for the height the move speed chooses (the running height
    // once the horizontal move speed reaches the running speed).
    double RunJumpSpeed(const HEROJUMP& jump) const;
    // The icon of a touched item's graphic reference over the hero: a timed message window of
    // kItemIconFrames frames that rises one dot every four frames.
    void SpawnEffect(int8_t kind, int16_t index, int16_t frame);

    // Per frame: the link to a carrying character and the current target are let go.
    void ClearLink() { m_nLink = -1; }
    void ClearTarget() { m_nTargetId = -1; }
    // 1 when the item key is not in the touched-item list, 0 when it is.
    int HasPending(int key) const;
    void AddPending(int key);
    void RemovePending(int key);

    int32_t m_bJumpReady = 0;
    int32_t m_bJumpHoldLock = 0;
    double m_dHoldBoost = 0.0;       // 4.0 / n
    int32_t m_bJumpDone = 0;         // the jump ran in this sub-step
    int32_t m_anHeroFrameWord[2] = {};
    int32_t m_nInitialDir = 0;
    std::vector<int32_t> m_vecTouched;  // item keys that may not act again yet
    int32_t m_nAccelMode = 0;
    double m_dAccelFactor = 0.0;
    int32_t m_bAccel = 0;
    HITRANGE m_HitThird = {};
    std::vector<RANGEDISPLAY> m_vecRangeDisplay;
    int32_t m_nBlockItemCool = 0;    // sub-steps before a block's item acts again
    int32_t m_nPrevFloor = -1;       // the last floor cell at the previous block-item test
    int32_t m_nLink = -1;            // the character carrying the hero, -1 none
    // Flow changes of items that arrived during the hero's own flow walk, applied after it.
    std::vector<cFlowCmd> m_vecPendingFlowCmd;
    // Parameter links queued by the arrange commands of items, for the next instant command.
    CMDPARAMLINKLIST m_listParamLink;
};
