// A running flow: one instance per flow of a character, beside the character's own copy of its
// flows. It is built from the flow (one command instance per command), started by the start
// rule, stepped once per sub-step by the character's flow walk, and stopped, suspended, resumed
// or halted for good by the flow operations.
//
// The instance refers to its flow and commands by index into the character's flow vector; the
// command a handler works on is bound afresh before every run (ExecOne), so copies of a
// character and insertions into its flow vector never leave a stale reference behind. Other
// objects (targets, shots) are held by identifier.
#pragma once

#include <cstdint>
#include <vector>

#include "flow/command_param_link.h"

class cChara;
class cFlow;
class cFlowCmd;

// The run-time record of one command of a running flow.
struct CMDINSTANCE {
    int32_t nCmd = 0;            // index of the command in its flow
    cFlowCmd* lpCmd = nullptr;   // bound by ExecOne for the handler that runs now
    int32_t bDone = 0;           // finished in the current run of the flow
    int32_t nDuration = 0;       // sub-steps
    int32_t nRemaining = 0;      // sub-steps left; 0: not started
    int8_t cMoveDir = 0;         // the move part's direction code
    double dSpeed = 0.0;         // dots per sub-step
    double dSpeed2 = 0.0;        // the largest inertial speed, dots per sub-step
    // ---- work fields of the handlers (cleared by ResetCmd unless said otherwise) ----
    int32_t nRepeat = 0;         // repetition counter of one-shot commands
    int32_t bStarted = 0;        // the handler's first call has been made
    double dVX = 0.0, dVY = 0.0; // step velocity
    int32_t nDirCode = 0;        // horizontal direction of the step: 0 none, 1 left, 2 right
    int32_t nOffX = 0, nOffY = 0;  // target offset, dots
    int32_t nAngle = 0;          // degrees
    int32_t nPrevDir = 0;        // facing at the previous step
    int32_t nStepNo = 0;         // steps counted by the handler
    int32_t bNoTarget = 0;       // the command found no target at its first call
    // Circle move (set up when built): radius in dots, the two angles, angular speed, the
    // turning direction (0 right, 1 left) and the two phases.
    double dRadius = 0.0, dAngle0 = 0.0, dOmega = 0.0, dPhaseX = 0.0, dPhaseY = 0.0;
    int32_t nTurn = 0;
    // Homing move (set up when built): the guidance delay in steps and the queue of the target
    // point's past positions, oldest first.
    int32_t nDelay = 0;
    std::vector<double> vecQueue;  // x, y pairs
    // Jump (set up when built): speed, hold limit in sub-steps, jumped and end flags.
    double dJumpSpeed = 0.0;
    int32_t nHoldLimit = 0;
    int32_t bJumped = 0;
    int32_t bJumpEnd = 0;
};

// One wind-up animation to start while a flow runs: at step nStartStep the animation nAnime
// (nFrames frames long) starts, nSkip frames into it.
struct WINDUPENTRY {
    int32_t nStartStep;
    int32_t nAnime;
    int32_t nFrames;
    int32_t nCmdFrames;   // the command's time x 6
    int32_t nSkip;
    int32_t bLoopEnd;     // 0 for sword and jump commands, 1 otherwise
};

class cFlowRun {
public:
    // The flow of this instance in the character's flow vector; none when the index is stale.
    cFlow* Flow(cChara& chara) const;

    // Running 1, every command not done, the group marked busy; a flow of trigger 18 runs its
    // run-with-next commands of kind 16 and above at once and stops.
    void Start(cChara& chara);
    // One sub-step; 1 when the last command has finished.
    int Step(cChara& chara);
    void Stop(cChara& chara);
    void Suspend() { m_bSuspended = 1; }
    void Resume() { m_bSuspended = 0; }
    void StopForever(cChara& chara);
    // A command is (re)started: its time, its handler state cleared, the pending parameter
    // links of the flow applied (not to an arrange command).
    void ResetCmd(cChara& chara, CMDINSTANCE& inst);
    // The command runs one step; 1 when its time has run out.
    int ExecOne(cChara& chara, CMDINSTANCE& inst);

    int32_t m_nFlowIndex = -1;   // index in the character's flow vector
    int32_t m_nFlowId = 0;       // serial of the instance (tags flow animations)
    int32_t m_bCondHeld = 0;     // the condition list has held (once-held flows)
    std::vector<int32_t> m_vecKeyStates;  // per key condition
    int32_t m_bKeysHeld = 0;     // the key conditions held on the previous test
    std::vector<CMDINSTANCE> m_vecCmd;
    std::vector<WINDUPENTRY> m_vecWindUp;
    int32_t m_bRunning = 0;
    int32_t m_bSuspended = 0;
    int32_t m_bHalted = 0;       // stopped for good, never cleared
    int32_t m_bDelete = 0;       // removed with its flow at the end of the flow walk
    int32_t m_nCurrent = 0;      // the last command index reached
    int32_t m_nStepCount = 0;    // steps since Start
    int32_t m_nStartDir = 0;     // first pressed direction (0-9) at the start
    int32_t m_bTested = 0;       // evaluated this frame
    int32_t m_bStarted = 0;      // started this frame
    int32_t m_bMsgFollow = 0;    // a message command without wait has finished
    int32_t m_bOperation = 0;    // a flow operation acted during this step
    int32_t m_bStarting = 0;     // Start is running (trigger 18: no re-entry)
    int32_t m_nStartCount = 0;   // Starts so far (a step sees whether its command restarted it)
    CMDPARAMLINKLIST m_listPending;  // parameter links of arrange commands
};

// Sub-steps per frame of the stage in play (at least 1).
int FlowSubSteps();
// A move command's speed from its time and distance (mode 1) or its time from its distance and
// speed (mode 2); nothing for other modes or without a move part. Never divides by zero.
void CmdTimeValue(CMDINSTANCE& inst, cFlowCmd& cmd, int cloneValue);
// The command's duration in sub-steps: (time + increase x clone) x 6 x n, computed wide and held
// to 0 .. kMaxCmdSteps.
int32_t CmdDuration(const cFlowCmd& cmd, int cloneValue);
constexpr int32_t kMaxCmdSteps = 0x3FFFFFFF;

// Whether a message command (kind 19) leaves the message-follow flag (parameters 6 and 15 both 0).
bool IsFollowMessage(const cFlowCmd& cmd);

// The character's flows built from its definition's flows (mode 0); 0 when done.
int BuildFlowRuns(cChara& chara);
// The flow part of a character's RunFlows (cChara::StepFlowRuns); 1 when the character is ended
// by its flows.
int StepRunningFlows(cChara& chara, int dying);
// The key direction (0-9) with which the running flow of a character started; 0 when the
// character runs no flow now.
int RunFlowKeyDirection(const cChara& chara);
