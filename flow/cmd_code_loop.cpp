// Arrange commands of flows and items.
#include "flow/cmd_code_loop.h"

#include "app/scene_manager.h"
#include "flow/command_param_link.h"
#include "flow/flow_cmd.h"
#include "flow/flow_run.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"

void FlowCmdArrange(cChara&, CMDINSTANCE& inst) {
    // Once per run of the command: a longer command would queue the same link every step.
    if (inst.bStarted || !inst.lpCmd) return;
    inst.bStarted = 1;
    if (!g_lpPlayScene || !g_lpPlayScene->m_lpRunFlow) return;
    QueueCommandParamLink(g_lpPlayScene->m_lpRunFlow->m_listPending, *inst.lpCmd);
}

void QueueItemParamLink(cHero& hero, const cFlowCmd& cmd) {
    cHero& first = g_vecHero.empty() ? hero : g_vecHero.front();
    QueueCommandParamLink(first.m_listParamLink, cmd);
}
