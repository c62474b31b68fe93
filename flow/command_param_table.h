// The command-parameter table: per main command kind (0-39) the parameters that a flow's
// arrange command can drive from a variable, each with the editor's label and the range a
// linked value is clamped to. Built once at start-up, read-only afterwards.
#pragma once

#include <cstdint>
#include <vector>

#include "flow/command_kinds.h"

struct CMDPARAMDESC {
    const char* pszLabel;
    int32_t nMin;
    int32_t nMax;
};

// Exactly kMainCmdKindCount rows once built, indexed by main kind; a row is indexed by the
// parameter number. Kinds without such parameters have an empty row.
extern std::vector<std::vector<CMDPARAMDESC>> g_vecCommandParams;

// Fills the table (again from scratch when called twice).
void BuildCommandParamTable();
