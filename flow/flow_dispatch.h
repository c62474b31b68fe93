// The command dispatcher of running flows: one handler per main command kind (0-39), called once
// per step of the command with the character and the command instance (its command bound in
// inst.lpCmd).
#pragma once

#include <cstdint>

class cChara;
class cFlowCmd;
struct CMDINSTANCE;
struct HEROJUMP;

typedef void (*FLOWCMDHANDLER)(cChara& chara, CMDINSTANCE& inst);
extern const FLOWCMDHANDLER g_aFlowCmdHandler[40];

// Runs the handler of the command's kind (read as a signed byte; outside 0-39: one report line).
void ExecFlowCommand(cChara& chara, CMDINSTANCE& inst);

// One-shot commands (turn, shot, summons) act at their first step and again every tenth of a
// second: true when this step acts (the command's sound is then played).
bool OneShotDue(cChara& chara, CMDINSTANCE& inst);
// The command's sound effect, unless it sounds only in view and the character is out of view.
void PlayCmdSound(cChara& chara, const cFlowCmd& cmd);
// The character's jump operation for one step of the jump command (`steps`: the command's steps).
void JumpOf(cChara& chara, HEROJUMP& jump, int steps);

// Kind 11 shot, 12 sword, 13-15 the summons.
void FlowCmdShot(cChara& chara, CMDINSTANCE& inst);
void FlowCmdSword(cChara& chara, CMDINSTANCE& inst);
void FlowCmdSummonBlock(cChara& chara, CMDINSTANCE& inst);
void FlowCmdSummonChara(cChara& chara, CMDINSTANCE& inst);
void FlowCmdSummonItem(cChara& chara, CMDINSTANCE& inst);
// Kind 37: the command's code text by the expression language, for the character.
void FlowCmdRunCode(cChara& chara, CMDINSTANCE& inst);
// Clears the record of reported kinds (a new stage reports again).
void ResetFlowDispatchReports();
