// Where each variable-driven parameter of a command lives: one getter and setter pair per main
// kind that has such parameters, reading and writing the move settings, the shot settings or
// the integer parameter list of the command. Fields of the move and shot settings read as
// signed values of their width and are written back as their low 8 or 16 bits.
#pragma once

#include <cstdint>

#include "flow/command_kinds.h"
#include "flow/flow_cmd.h"
#include "platform/win32/types.h"

// Reads parameter p into value; FALSE (value unwritten) for a parameter the kind does not hold
// or a command without the settings part it lives in.
typedef BOOL (*CMDPARAMGETFUNC)(int32_t& value, int p, cFlowCmd& cmd);
// Writes parameter p; nothing for such a parameter or command.
typedef void (*CMDPARAMSETFUNC)(int32_t value, int p, cFlowCmd& cmd);

// Indexed by main kind. Kinds 3, 4 and 7 have a pair that does nothing; kinds without variable-
// driven parameters have none (null).
extern const CMDPARAMGETFUNC g_CommandParamGet[kMainCmdKindCount];
extern const CMDPARAMSETFUNC g_CommandParamSet[kMainCmdKindCount];

// The pair of a main kind; null for a kind without one or outside 0-39.
CMDPARAMGETFUNC CommandParamGetter(int kind);
CMDPARAMSETFUNC CommandParamSetter(int kind);
