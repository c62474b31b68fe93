#include "flow/flow_dispatch.h"

#include <bitset>
#include <climits>

#include "app/scene_manager.h"
#include "core/report.h"
#include "flow/cmd_code_loop.h"
#include "flow/cmd_flow_game.h"
#include "flow/cmd_graphics.h"
#include "flow/cmd_target_status.h"
#include "flow/command_kinds.h"
#include "flow/expression.h"
#include "flow/flow_cmd.h"
#include "flow/flow_move.h"
#include "flow/flow_run.h"
#include "play/chara.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/shot_formation.h"
#include "play/shot_trajectory.h"
#include "play/sword.h"

namespace {

// Reports already written: a kind out of range and the range reports of the shot settings.
enum { REPORT_KIND = 0, REPORT_NOSETTINGS, REPORT_FORMATION, REPORT_TRAJECTORY,
       REPORT_DIROPTION, REPORT_GROUP, REPORT_SWORDTYPE, REPORT_COUNT };
std::bitset<REPORT_COUNT> s_Reported;

bool ReportOnce(int which) {
    if (s_Reported.test((size_t)which)) return false;
    s_Reported.set((size_t)which);
    return true;
}

int InViewWord(const cChara& c) { return c.m_nId >= kHeroId ? 1 : c.m_nInput; }

// The shot part's data-driven indexes: out of range is no effect, reported once per kind.
bool ShotSettingsUsable(const cFlowCmd& cmd, bool shot) {
    if (!cmd.m_pShot) {
        if (ReportOnce(REPORT_NOSETTINGS)) WriteReport("flow command kind %d has no shot settings: no effect", (int)cmd.m_cKind);
        return false;
    }
    cEdShot& s = *cmd.m_pShot;
    if (s.Formation() >= kFormationCount) {
        if (ReportOnce(REPORT_FORMATION)) WriteReport("shot formation %d out of range: no effect", (int)s.Formation());
        return false;
    }
    if (shot && s.Trajectory() >= kTrajectoryCount) {
        if (ReportOnce(REPORT_TRAJECTORY)) WriteReport("shot trajectory %d out of range: no effect", (int)s.Trajectory());
        return false;
    }
    if (s.DirectionOption() > 12) {
        if (ReportOnce(REPORT_DIROPTION)) WriteReport("spawn option %d out of range: no effect", (int)s.DirectionOption());
        return false;
    }
    if (s.Group() >= 8) {
        if (ReportOnce(REPORT_GROUP)) WriteReport("shot group %d out of range: no effect", (int)s.Group());
        return false;
    }
    return true;
}

void Nothing(cChara&, CMDINSTANCE&) {}

}  // namespace

void ResetFlowDispatchReports() { s_Reported.reset(); }

bool OneShotDue(cChara& chara, CMDINSTANCE& inst) {
    const bool act = inst.nRepeat == 0;
    if (++inst.nRepeat >= 6 * FlowSubSteps()) inst.nRepeat = 0;
    if (act && inst.lpCmd) PlayCmdSound(chara, *inst.lpCmd);
    return act;
}

void PlayCmdSound(cChara& chara, const cFlowCmd& cmd) {
    if (cmd.m_bySoundCond && InViewWord(chara) == 0) return;
    PlayUserSe(cmd.m_wSound);
}

void JumpOf(cChara& chara, HEROJUMP& jump, int steps) {
    jump.nSteps = steps;
    chara.Jump(jump);
}

void FlowCmdRunCode(cChara& chara, CMDINSTANCE& inst) {
    if (inst.lpCmd) RunExpressionCode(inst.lpCmd->m_strText, &chara);
}

void FlowCmdShot(cChara& chara, CMDINSTANCE& inst) {
    if (!inst.lpCmd || !ShotSettingsUsable(*inst.lpCmd, true)) return;
    if (!OneShotDue(chara, inst) || !g_lpPlayScene) return;
    RunShotCommand(g_lpPlayScene->m_listShot, chara, SHOTCMD_SHOT, *inst.lpCmd->m_pShot);
}

void FlowCmdSword(cChara& chara, CMDINSTANCE& inst) {
    // Once per run of the command: the counter only counts up.
    if (inst.nRepeat != 0) {
        if (inst.nRepeat < INT_MAX) ++inst.nRepeat;
        return;
    }
    ++inst.nRepeat;
    if (!inst.lpCmd) return;
    cFlowCmd& cmd = *inst.lpCmd;
    PlayCmdSound(chara, cmd);
    if (!cmd.m_pShot) {
        if (ReportOnce(REPORT_NOSETTINGS)) WriteReport("flow command kind %d has no shot settings: no effect", (int)cmd.m_cKind);
        return;
    }
    if (!SwordEntry(cmd.m_pShot->SwordType(), 0)) {
        if (ReportOnce(REPORT_SWORDTYPE)) WriteReport("sword type %d out of range: no effect", (int)cmd.m_pShot->SwordType());
        return;
    }
    if (!g_lpPlayScene) return;
    cPlayScene& scene = *g_lpPlayScene;
    SPAWNVALUES v{};
    cShot sword;
    sword.Init(scene.m_nShotSerial, chara, SHOTCMD_SWORD, *cmd.m_pShot, v);
    scene.m_listShot.push_back(sword);
    cShot& added = scene.m_listShot.back();
    if (scene.m_nShotSerial < INT32_MAX) ++scene.m_nShotSerial;
    added.m_nTargetId = -1;  // a sword never has a target
    scene.AddToGroup(&added);
}

void FlowCmdSummonBlock(cChara& chara, CMDINSTANCE& inst) {
    if (!inst.lpCmd || !ShotSettingsUsable(*inst.lpCmd, false)) return;
    if (OneShotDue(chara, inst)) RunBlockSummonCommand(chara, SHOTCMD_BLOCK, *inst.lpCmd->m_pShot);
}

void FlowCmdSummonChara(cChara& chara, CMDINSTANCE& inst) {
    if (!inst.lpCmd || !ShotSettingsUsable(*inst.lpCmd, false)) return;
    if (OneShotDue(chara, inst)) RunCharaSummonCommand(chara, SHOTCMD_CHARA, *inst.lpCmd->m_pShot);
}

void FlowCmdSummonItem(cChara& chara, CMDINSTANCE& inst) {
    if (!inst.lpCmd || !ShotSettingsUsable(*inst.lpCmd, false)) return;
    if (OneShotDue(chara, inst)) RunItemSummonCommand(chara, SHOTCMD_ITEM, *inst.lpCmd->m_pShot);
}

const FLOWCMDHANDLER g_aFlowCmdHandler[40] = {
    Nothing,                 // 0
    FlowCmdWait,             // 1 "ウエイト"
    FlowCmdStraightMove,     // 2 "直線移動"
    FlowCmdGroundTurnMove,   // 3 "地上折り返し移動"
    FlowCmdCircleMove,       // 4 "円移動"
    FlowCmdChargeMove,       // 5 "突撃移動"
    FlowCmdHomingMove,       // 6 "誘導移動"
    FlowCmdAvoidMove,        // 7 "画面外回避移動"
    FlowCmdCancelMove,       // 8 "移動の無効化"
    FlowCmdTurn,             // 9 "向き変更"
    FlowCmdJump,             // 10 "ジャンプ"
    FlowCmdShot,             // 11 "ショット"
    FlowCmdSword,            // 12 "ソード"
    FlowCmdSummonBlock,      // 13 "ブロック召喚"
    FlowCmdSummonChara,      // 14 "キャラ召喚"
    FlowCmdSummonItem,       // 15 "アイテム召喚"
    FlowCmdFlowOperation,    // 16 "フローの操作"
    FlowCmdStageClear,       // 17 "ステージクリア"
    FlowCmdGameWait,         // 18 "ゲームウエイト"
    FlowCmdMessage,          // 19 "メッセージ"
    FlowCmdWarp,             // 20 "ワープ"
    FlowCmdSetTarget,        // 21 "ターゲットの設定"
    FlowCmdStatusOp,         // 22 "ステータスの操作"
    FlowCmdStatusOp2,        // 23 "ステータスの操作2"
    FlowCmdVanish,           // 24 "消滅"
    FlowCmdGetItem,          // 25 "アイテムの取得"
    FlowCmdChangeGraphic,    // 26 "グラフィックの変更"
    FlowCmdChangeAnimeSet,   // 27 "基本アニメセットの変更"
    FlowCmdRunAnim,          // 28 "アニメの実行"
    FlowCmdRunEffect,        // 29 "エフェクトの実行"
    FlowCmdCharaEffect,      // 30 "キャラエフェクトの実行"
    FlowCmdScreenEffect,     // 31 "画面エフェクトの実行"
    FlowCmdShowPicture,      // 32 "ピクチャーの表示"
    FlowCmdScreenColour,     // 33 "画面の色を変更"
    FlowCmdBackground,       // 34 "背景の変更"
    FlowCmdSound,            // 35 "効果音の再生"
    FlowCmdMusic,            // 36 "BGMの再生"
    FlowCmdRunCode,          // 37 "コードの実行"
    FlowCmdArrange,          // 38 "アレンジ"
    Nothing,                 // 39 "ループ": unrolled when the flows are given
};

void ExecFlowCommand(cChara& chara, CMDINSTANCE& inst) {
    if (!inst.lpCmd) return;
    const int kind = (int8_t)inst.lpCmd->m_cKind;
    if (kind < 0 || kind >= kMainCmdKindCount) {
        if (ReportOnce(REPORT_KIND)) WriteReport("flow command kind %d out of range: no effect", kind);
        return;
    }
    g_aFlowCmdHandler[kind](chara, inst);
}
