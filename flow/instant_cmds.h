// The instant commands of items: an item (or a block that carries one) runs its list of instant
// commands at once, all in one go, on the hero who takes it (cHero::RunItemCommands). Instant
// kinds are the main kinds less 15 and share their bodies; kind 1 changes the hero's flows.
//
// A flow change that arrives while the hero's own flows are walked is queued on the hero and
// applied right after the walk (RunQueuedFlowChanges, from cHero::RunFlows), in arrival order,
// so the flow set never changes under a running walk.
#pragma once

#include <cstdint>

class cFlowCmd;
class cHero;

// Instant kinds.
enum {
    INSTANT_NONE = 0,
    INSTANT_CHANGE_FLOW = 1,  // "フローの変更"
    INSTANT_STAGE_CLEAR = 2,  // "ステージクリア"
    INSTANT_MESSAGE = 4,      // "メッセージ"
    INSTANT_ARRANGE = 23,     // "アレンジ"
    INSTANT_LOOP = 24,        // "ループ": unrolled when the item is set up
    INSTANT_KIND_COUNT = 25,
};

// Flow-change modes (parameter 0; parameter 1 is the flow group).
enum { CHANGEFLOW_ADD = 0, CHANGEFLOW_CHANGE = 1, CHANGEFLOW_REMOVE = 2 };

typedef int32_t (*INSTANTCMDHANDLER)(cHero& hero, cFlowCmd& cmd);
// Every entry answers 0 except stage clear, which answers 1.
extern const INSTANTCMDHANDLER g_aInstantCmdHandler[INSTANT_KIND_COUNT];

// Runs the handler of the command's kind (read as a signed byte; outside 0-24: one report line,
// 0) on the hero.
int RunInstantCommand(cHero& hero, cFlowCmd& cmd);

// "フローの変更" on the hero: mode 0 adds the command's flows, 1 replaces the flows of the group
// (all flows for group 0) by them at the place of the first one removed, 2 removes the flows of
// the group. Not direct and during the hero's own flow walk: queued on the hero instead. 0.
int InstantCmdChangeFlow(cHero& hero, const cFlowCmd& cmd, int direct);

// The flow changes queued during the hero's flow walk, applied in arrival order.
void RunQueuedFlowChanges(cHero& hero);

// Clears the record of reported kinds (each is reported once per run).
void ResetInstantCmdReports();
