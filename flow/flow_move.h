// The movement commands of flows (kinds 1-10): straight, ground turn-back, circle, charge,
// homing and off-screen avoidance moves, cancel movement, change facing and jump, with the set-up
// steps that run when a flow's instances are built.
//
// A move command works out a step velocity and applies it: the first move of a sub-step sets the
// character's move speed, a further move in the same sub-step (commands that run with the next)
// adds to it; the block and speed code then moves the character by it (and lets it slide to a
// stop by its deceleration once no command moves it any more). Facing follows the horizontal
// direction of the step unless the character's facing is fixed or the move part fixes it.
#pragma once

#include <cstdint>

class cChara;
class cEdMove;
class cFlowCmd;
struct CMDINSTANCE;

// The set-up step of a command's kind when its instance is built (kinds 2, 3, 5, 7: the time
// computation; 4 circle; 6 homing; 10 jump).
void SetUpFlowCommand(cChara& chara, CMDINSTANCE& inst, cFlowCmd& cmd);

// Direction codes 0-12 resolved for a character's facing and the running flow's start direction
// into one of 2, 3, 6-11 (anything else: forward).
int ResolveDirectionCode(const cChara& chara, int code, int startDir);

// The step velocity of an absolute direction code (2, 3, 6-11) at speed s, with an angle when
// `useAngle`; the horizontal direction code (1 left, 2 right, 0 none) of the step.
void DirectionVelocity(const cChara& chara, int code, double s, bool useAngle, int angle, double& vx, double& vy,
                       int& dirCode);

// Applies a step velocity (facing, inertia, move speed, moving flag and move animation).
// `alwaysTurn`: the facing follows the direction code whatever fixes it (ground turn-back).
void ApplyStepVelocity(cChara& chara, CMDINSTANCE& inst, const cEdMove& move, bool alwaysTurn);

// The off-screen avoidance move of one step.
void MoveInDirection(cChara& chara, CMDINSTANCE& inst);

// The centre of a character's graphic in stage dots.
void CharaCentre(const cChara& chara, double& x, double& y);

// The handlers of kinds 1-10.
void FlowCmdWait(cChara& chara, CMDINSTANCE& inst);
void FlowCmdStraightMove(cChara& chara, CMDINSTANCE& inst);
void FlowCmdGroundTurnMove(cChara& chara, CMDINSTANCE& inst);
void FlowCmdCircleMove(cChara& chara, CMDINSTANCE& inst);
void FlowCmdChargeMove(cChara& chara, CMDINSTANCE& inst);
void FlowCmdHomingMove(cChara& chara, CMDINSTANCE& inst);
void FlowCmdAvoidMove(cChara& chara, CMDINSTANCE& inst);
void FlowCmdCancelMove(cChara& chara, CMDINSTANCE& inst);
void FlowCmdTurn(cChara& chara, CMDINSTANCE& inst);
void FlowCmdJump(cChara& chara, CMDINSTANCE& inst);
