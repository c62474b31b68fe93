#include "play/play_rules.h"

#include <algorithm>

#include "core/globals.h"
#include "core/requests.h"
#include "app/system_se.h"
#include "media/music_request.h"
#include "play/appearance.h"
#include "play/block_map.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "records/stage.h"

namespace {
constexpr DWORD kSePause = 4;
constexpr DWORD kSeSpring = 10;

// The frame count the floor effects of kinds 3-5 run for: one frame of sub-steps.
int SubSteps() { return g_StageSettings.m_nSubSteps > 0 ? g_StageSettings.m_nSubSteps : 1; }
}  // namespace

// The block record keeps solidity (B12), the side that passes through (B13), the floor kind
// (B14) and the floor parameter (B15).
int BlockFloorKind(const cBlockDef& cell) { return cell.m_byB14; }
int32_t BlockFloorParam(const cBlockDef& cell) { return cell.m_nB15; }

int BlockSolidityFor(const cBlockDef& cell, int side) {
    if (!cell.m_vecConds.empty() && !CheckAppearanceBlock(nullptr, cell)) return 0;
    if ((int)cell.m_byB13 == side) return 0;
    return cell.m_byB12;
}

void PostMusicRequest(int tune, int option) {
    g_bBgmTuneLoop = option;
    SendMessageA(g_hMainWnd.load(), WM_REQ_MUSIC, 4, (LPARAM)tune);
}

int CheckPauseKey(cPlayScene* scene) {
    if (!(GetAsyncKeyState(VK_SPACE) & 0x8000)) return 0;
    PlaySystemSe(kSePause);
    if (scene) {
        scene->m_nSavedState = scene->m_nState;
        scene->m_nSavedPhase = scene->m_nPhase;
    }
    return 1;
}

// Starts the effect of the floor kind of the cell the character stands on.
static void StartFloorEffect(cChara& chara, const cBlockDef& cell) {
    const int kind = BlockFloorKind(cell);
    const double x = (double)BlockFloorParam(cell);
    const int n = SubSteps();
    switch (kind) {
    case FLOOR_SPRING: {
        PlaySystemSe(kSeSpring);
        // Heights beyond the map are held so that the speed stays finite.
        const int64_t halves = std::clamp<int64_t>(BlockFloorParam(cell), 0, 1 << 16);
        chara.m_dSpeedY = chara.JumpSpeedForHalfBlocks((int)halves);
        // Under way as a jump that rises; the hero has not left the ground by itself.
        chara.m_bJumping = 1;
        chara.m_bRising = 1;
        if (dynamic_cast<cHero*>(&chara)) chara.m_bAirborne = 0;
        break;
    }
    case FLOOR_NOJUMP:
        chara.m_bNoJump = 1;
        break;
    case FLOOR_SPEED:
        chara.m_nFloorEffect = FLOOR_SPEED;
        chara.m_dFloorFactor = x * 0.01;
        chara.m_nFloorFrames = n;
        break;
    case FLOOR_LEFT:
    case FLOOR_RIGHT:
        chara.m_nFloorEffect = kind;
        chara.m_dFloorFactor = x * 0.1 / n;
        chara.m_nFloorFrames = n;
        break;
    default:
        break;
    }
    if (kind != FLOOR_NOJUMP) chara.m_bNoJump = 0;
}

int ApplyFloorBlockEffect(cChara& chara) {
    if (chara.m_bFlying) return 0;
    if (chara.m_nFloorFrames == 0) {
        const cBlockDef* cell = BlockCell(chara.m_nBlockUnder);
        if (cell && BlockSolidityFor(*cell, chara.m_nBlockSide)) StartFloorEffect(chara, *cell);
    }
    if (chara.m_nFloorFrames > 0) {
        switch (chara.m_nFloorEffect) {
        case FLOOR_SPEED:
            chara.m_dSpeedX *= chara.m_dFloorFactor;
            break;
        case FLOOR_LEFT:
            chara.m_dSpeedX -= chara.m_dFloorFactor;
            if (chara.m_dImpactX > 0.0) chara.m_dImpactX = 0.0;
            break;
        case FLOOR_RIGHT:
            chara.m_dSpeedX += chara.m_dFloorFactor;
            if (chara.m_dImpactX < 0.0) chara.m_dImpactX = 0.0;
            break;
        default:
            break;
        }
        --chara.m_nFloorFrames;
    }
    if (chara.m_nFloorFrames == 0 && chara.m_dSpeedY >= 0.0) {
        // Pressed onto the floor so that the next floor test finds the cell again and the
        // effect restarts while the character stands there.
        chara.m_dSpeedY += 1.0;
    }
    return 0;
}
