// The instant-command table of items and the hero's flow changes.
#include "flow/instant_cmds.h"

#include <utility>
#include <vector>

#include "app/scene_manager.h"
#include "core/report.h"
#include "flow/cmd_code_loop.h"
#include "flow/cmd_flow_game.h"
#include "flow/cmd_graphics.h"
#include "flow/expression.h"
#include "flow/flow_cmd.h"
#include "flow/flow_dispatch.h"
#include "flow/flow_run.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"

namespace {

bool s_bReportedKind = false;

int32_t Nothing(cHero&, cFlowCmd&) { return 0; }

// The kinds whose bodies the flow handlers call (game wait, warp, target, status, vanish, get
// item): the handler runs once with an instance of its own, the hero acting.
int32_t ByFlowHandler(cHero& hero, cFlowCmd& cmd) {
    const int kind = cmd.MainKind();
    if (kind < 0 || kind >= 40) return 0;
    CMDINSTANCE inst;
    inst.lpCmd = &cmd;
    g_aFlowCmdHandler[kind](hero, inst);
    return 0;
}

int32_t StageClear(cHero&, cFlowCmd& cmd) { return FlowCmdStageClearImpl(cmd); }

// A message of an item follows the item's message before it (no growing animation, sound or
// key delay); the play scene remembers that one is open.
int32_t Message(cHero& hero, cFlowCmd& cmd) {
    if (!g_lpPlayScene) return 0;
    cPlayScene& scene = *g_lpPlayScene;
    FlowCmdMessageImpl(hero, cmd, scene.m_bItemMessage);
    scene.m_bItemMessage = 1;
    return 0;
}

int32_t ChangeFlow(cHero& hero, cFlowCmd& cmd) { return InstantCmdChangeFlow(hero, cmd, 0); }

template <void (*BODY)(cChara&, const cFlowCmd&)>
int32_t Body(cHero& hero, cFlowCmd& cmd) {
    BODY(hero, cmd);
    return 0;
}

int32_t RunCode(cHero& hero, cFlowCmd& cmd) {
    RunExpressionCode(cmd.m_strText, &hero);
    return 0;
}

int32_t Arrange(cHero& hero, cFlowCmd& cmd) {
    QueueItemParamLink(hero, cmd);
    return 0;
}

}  // namespace

const INSTANTCMDHANDLER g_aInstantCmdHandler[INSTANT_KIND_COUNT] = {
    Nothing,                             // 0
    ChangeFlow,                          // 1 "フローの変更"
    StageClear,                          // 2 "ステージクリア"
    ByFlowHandler,                       // 3 "ゲームウエイト"
    Message,                             // 4 "メッセージ"
    ByFlowHandler,                       // 5 "ワープ"
    ByFlowHandler,                       // 6 "ターゲットの設定"
    ByFlowHandler,                       // 7 "ステータスの操作"
    ByFlowHandler,                       // 8 "ステータスの操作2"
    ByFlowHandler,                       // 9 "消滅"
    ByFlowHandler,                       // 10 "アイテムの取得"
    Body<FlowCmdChangeGraphicImpl>,      // 11 "グラフィックの変更"
    Body<FlowCmdChangeAnimeSetImpl>,     // 12 "基本アニメセットの変更"
    Body<FlowCmdRunAnimImpl>,            // 13 "アニメの実行"
    Body<FlowCmdRunEffectImpl>,          // 14 "エフェクトの実行"
    Body<FlowCmdCharaEffectImpl>,        // 15 "キャラエフェクトの実行"
    Body<FlowCmdScreenEffectImpl>,       // 16 "画面エフェクトの実行"
    Body<FlowCmdShowPictureImpl>,        // 17 "ピクチャーの表示"
    Body<FlowCmdScreenColourImpl>,       // 18 "画面の色を変更"
    Body<FlowCmdBackgroundImpl>,         // 19 "背景の変更"
    Body<FlowCmdSoundImpl>,              // 20 "効果音の再生"
    Body<FlowCmdMusicImpl>,              // 21 "BGMの再生"
    RunCode,                             // 22 "コードの実行"
    Arrange,                             // 23 "アレンジ"
    Nothing,                             // 24 "ループ": unrolled when the item is set up
};

void ResetInstantCmdReports() { s_bReportedKind = false; }

int RunInstantCommand(cHero& hero, cFlowCmd& cmd) {
    const int kind = cmd.m_cKind;
    if (kind < 0 || kind >= INSTANT_KIND_COUNT) {
        if (!s_bReportedKind) {
            s_bReportedKind = true;
            WriteReport("instant command kind %d out of range: no effect", kind);
        }
        return 0;
    }
    return g_aInstantCmdHandler[kind](hero, cmd);
}

int InstantCmdChangeFlow(cHero& hero, const cFlowCmd& cmd, int direct) {
    // The hero's own flows are being walked: the change waits for the end of the walk.
    if (!direct && g_lpPlayScene && g_lpPlayScene->m_lpRunChara == &hero) {
        hero.m_vecPendingFlowCmd.push_back(cmd);
        return 0;
    }
    const int mode = cmd.m_vecParams.size() > 0 ? cmd.m_vecParams[0] : 0;
    const int group = (int8_t)(cmd.m_vecParams.size() > 1 ? cmd.m_vecParams[1] : 0);
    switch (mode) {
    case CHANGEFLOW_ADD: hero.BuildFlowRuns(cmd.m_vecFlows, 1, -1); break;
    case CHANGEFLOW_CHANGE: {
        const int at = hero.StopFlows(group);
        hero.BuildFlowRuns(cmd.m_vecFlows, 1, at);
        break;
    }
    case CHANGEFLOW_REMOVE: hero.StopFlows(group); break;
    default: break;
    }
    return 0;
}

void RunQueuedFlowChanges(cHero& hero) {
    // Taken out first: a change never queues again when direct, but the vector must not move
    // under the walk either way.
    while (!hero.m_vecPendingFlowCmd.empty()) {
        std::vector<cFlowCmd> queued;
        queued.swap(hero.m_vecPendingFlowCmd);
        for (const cFlowCmd& cmd : queued) InstantCmdChangeFlow(hero, cmd, 1);
    }
}
