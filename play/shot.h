// A shot or a sword in the play scene's shot list. A shot flies by its own velocity, an optional
// acceleration and its trajectory, and ends at the edge of its area, on a block, at its travel
// distance or at the end of its life. A sword sticks to its owner and plays the frames of its
// sword type, then ends.
#pragma once

#include <cstdint>
#include <vector>

#include "flow/ed_shot.h"
#include "play/game_obj.h"

class cChara;

// Command kinds that make objects through a formation.
enum { SHOTCMD_SHOT = 11, SHOTCMD_SWORD = 12, SHOTCMD_BLOCK = 13, SHOTCMD_CHARA = 14, SHOTCMD_ITEM = 15 };

// What a formation hands to each object it makes.
struct SPAWNVALUES {
    int16_t nIndex;       // formation call, 0 for the first
    double dSpeed;        // dots per frame
    double dAngle;        // degrees added to the direction
    int32_t nDistance;    // travel distance in half blocks
    int32_t nLife;        // life time in tenths of a second
    double dVelX, dVelY;  // dots per frame
    int32_t nX, nY;       // start of the object being made (stage dots)
    int32_t nBaseX, nBaseY;
    int32_t nStepX, nStepY;
    int32_t nColStepX, nColStepY;
    int32_t nWidth, nHeight;
    int32_t nOffsetX, nOffsetY;
    int32_t nDirCode;     // 2-11
    double dSpeedStep;    // added to the speed per formation call
};

class cShot final : public cGameObj {
public:
    cShot();
    cShot(const cShot&) = default;
    cShot& operator=(const cShot&) = default;
    ~cShot() override = default;

    // Sets the shot (kind 11) or sword (kind 12) up from the owner, the command's settings (copied)
    // and the formation's spawn values.
    void Init(int serial, const cChara& owner, int kind, const cEdShot& settings, const SPAWNVALUES& v);
    // One sub-step of the shot's own life; 1: the shot ends.
    int Update();
    // Gravity, only once the fall trajectory has let the shot fall.
    void AddGravity();
    // The per-sub-step motion along y and x (the acceleration of a movement, the step, the clamp).
    void AccelStepY();
    void AccelStepX();
    // 1 when a solid block lies under the shot (never with the pass-through setting).
    int HitsBlocks();
    // Draws the shot or sword at its screen rectangle; the animation advances unless `hold`.
    void Draw(int hold);

    void ScaleHitBoxes(int scale) override;
    void AdjustForScale(int newScale, int oldScale) override;
    // The hit rectangle from the position; inline for the shot's own clamps, which run every
    // sub-step.
    void UpdateRectX() override {
        m_dHitLeft = (double)DotToInt(m_dX) + m_anHitBox[0];
        m_dHitRight = m_dHitLeft + m_anHitBox[2] - 1.0;
    }
    void UpdateRectY() override {
        m_dHitTop = (double)DotToInt(m_dY) + m_anHitBox[1];
        m_dHitBottom = m_dHitTop + m_anHitBox[3] - 1.0;
    }

    // Splits the acceleration along the direction (vx, vy) into the move speeds (the acceleration
    // per sub-step along x and y).
    void SplitAccel(double vx, double vy);

    // ---- play frame words ----
    int32_t m_nGroup = 0;        // shot group 0-7 (S23, or the owner's group)
    int32_t m_bFarErase = 0;     // erased when it leaves its range: every shot, no sword
    int32_t m_bFollowOwner = 0;  // the player's side: the second shot range applies

    // ---- the shot's own state ----
    int32_t m_nOwnerId = 0;       // identifier of the character that fired it
    int32_t m_bIsShot = 1;        // 1 shot, 0 sword
    int32_t m_nTravelLeft = 0;    // sub-steps before the travel distance is reached
    int32_t m_nLifeLeft = 0;      // sub-steps before the life time runs out
    int32_t m_nStep = 0;          // trajectory sub-steps since spawn; swords: sub-steps of the frame
    int32_t m_nFrame = 0;         // swords: current entry of the sword type
    double m_dAccel = 0.0;        // per sub-step
    double m_dTrajSpeed = 0.0;    // per sub-step
    double m_dVelX = 0.0, m_dVelY = 0.0;  // own velocity per sub-step
    int32_t m_bAccel = 0;
    int32_t m_nTrajStart = 0;
    int32_t m_nTrajEnd = 0;
    int32_t m_bTrajDone = 0;
    int32_t m_bFollowScroll = 0;  // S29
    double m_dWavePhase = 0.0, m_dWaveBase = 0.0;
    double m_dWaveSin = 0.0, m_dWaveCos = 0.0;  // the direction across the velocity
    int32_t m_anHitBox[4] = {};      // x, y, width, height from the graphic (scaled)
    int32_t m_anBaseHitBox[4] = {};  // unscaled
    double m_dHitLeft = 0.0, m_dHitTop = 0.0, m_dHitRight = 0.0, m_dHitBottom = 0.0;  // inclusive
    cEdShot m_Settings;               // the command's settings as they were when the shot was made
    int32_t m_nTargetId = -1;         // the owner's target at spawn (target trajectories), -1 none
    std::vector<int32_t> m_vecHitIds; // characters already hit (piercing shots, swords)
    uint8_t m_byLayer = 0;            // draw layer 0-7
    int32_t m_bOnScreen = 0;          // set by the appearance pass

private:
    // The sword's step of Update.
    int UpdateSword();
    // The horizontal clamp of a step: inside the map, then the far edge, the rectangle, the cells.
    void ClampStepX();
    // The vertical one, as the clamp to the whole map does it (ClampY(2)) but without its result
    // codes for the stage and scroll ranges: true when it held the shot at the map's edge.
    bool ClampStepY();
    // HitsBlocks for a shot wider than a block.
    int HitsBlocksWide() const;
};

// The global follow switch: while it is on, scroll-following shots do not take the forced-scroll
// speed. Nothing in play sets it.
extern int32_t g_bGlobalFollow;
