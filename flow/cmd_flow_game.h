// The flow operation and the game commands (kinds 16-20): starting, ending, pausing, resuming,
// deleting and halting the flows of the running character, clearing the stage, holding the game
// for a while, message windows and warps. The bodies (the *Impl functions) serve the main kinds
// and the instant kinds 2-5 that items run on the hero.
//
// Game wait, and message windows that hold the game, run the pause loop on the pause thread and
// block until it has ended. Afterwards the command looks its character up again by identifier
// and the message it showed by its own list entry (never "the last one"), and puts back the play
// scene's running character, flow and command as they were before the hold.
#pragma once

#include <cstdint>
#include <vector>

class cChara;
class cFlowCmd;
struct CMDINSTANCE;

// Flow operations and their targets.
enum { FLOWOP_START = 0, FLOWOP_END, FLOWOP_SUSPEND, FLOWOP_RESUME, FLOWOP_DELETE, FLOWOP_HALT };
enum { FLOWOP_THIS = 0, FLOWOP_OTHERS = 1, FLOWOP_BY_ID = 2 };

// Kind 16: the operation of parameter 0 on the flows chosen by parameter 1 (parameter 2 the
// flow ID of target 2). Needs the play scene's running flow for targets 0 and 1.
void FlowCmdFlowOperation(cChara& chara, CMDINSTANCE& inst);

// Kind 17 and instant kind 2: chooses the next stage, the world-map position after the clear
// and the next stage's start position; 1 (the game ends at the next death check). The path mode
// works on a copy of the command's text: the stored command is never changed.
int FlowCmdStageClearImpl(const cFlowCmd& cmd);
void FlowCmdStageClear(cChara& chara, CMDINSTANCE& inst);

// Kind 18 and instant kind 3: holds the game for parameter 0 tenths of a second (frames).
void FlowCmdGameWaitImpl(const cFlowCmd& cmd);
void FlowCmdGameWait(cChara& chara, CMDINSTANCE& inst);

// Kind 19 and instant kind 4: shows, replaces or erases a message window and holds the game
// while it is shown when parameter 8 asks for it. `following`: a key-waiting message of the
// same run has just ended (the new one opens without its growing animation, sound or delay).
void FlowCmdMessageImpl(cChara& chara, const cFlowCmd& cmd, int following);
void FlowCmdMessage(cChara& chara, CMDINSTANCE& inst);

// Kind 20 and instant kind 5: puts the character at the destination the move part names, unless
// that place lies outside the stage or is blocked.
void FlowCmdWarpImpl(cChara& chara, const cFlowCmd& cmd);
void FlowCmdWarp(cChara& chara, CMDINSTANCE& inst);

// Where the next stage starts, as a stage-clear command asked for it (cleared when another one
// does not ask): column, row (blocks) and the hero's facing (0 left, 1 right).
struct NEXTSTAGESTART {
    int32_t bSet = 0;
    int32_t nX = 0, nY = 0;
    int32_t nDir = 0;
};
extern NEXTSTAGESTART g_NextStageStart;
