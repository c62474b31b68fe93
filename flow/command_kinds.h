// The command-kind tables of the flow engine: every main kind (0-39) and every instant kind
// (0-24) with its label and the number of integer parameters a command of that kind holds, and
// the spawn-option codes of the shot and summon commands.
#pragma once

#include <cstdint>

constexpr int kMainCmdKindCount = 40;
constexpr int kInstantCmdKindCount = 25;
// An instant kind's main-kind equivalent is the instant kind + this.
constexpr int kInstantKindOffset = 15;

struct CMDKINDDESC {
    const char* pszLabel;
    int32_t nParamCount;
};

extern const CMDKINDDESC g_MainCmdKinds[kMainCmdKindCount];
extern const CMDKINDDESC g_InstantCmdKinds[kInstantCmdKindCount];

// Whether a kind lies inside the table of its class (main when instant is false).
bool IsValidCmdKind(bool instant, int kind);
// The parameter count of a kind of its class; 0 for a kind outside the table.
int CmdParamCount(bool instant, int kind);

// The placement code of the spawn routine for the spawn-position option 0-8 of the shot and
// summon commands: option 0 gives 3 with the flag set and 2 without; options 1-8 give 2, 3, 6,
// 7, 8, 9, 10, 11. Options outside 0-8 are treated as 0.
int SpawnOptionCode(int option, int flag);
