// The project's data folder and the fixed folder list of every start.
#pragma once

#include "platform/win32/types.h"

// 1 when "data\" exists or has been created from "default\", else 0. When "data\" is missing
// and "default\" exists, the user is asked; on Yes "default\" is copied into a temporary
// sibling folder that one rename then makes "data\": a failed copy leaves no "data\" and
// touches nothing else. The caller reports a 0 and ends start-up.
int CreateDataFolder(HWND owner);

// Creates every folder of g_DataFolders in order (existing ones are fine). A folder that is
// neither there nor creatable gets a report line; 1 when all exist afterwards.
int CreateDataFolders();

// The temporary sibling that a copy goes through (left over only when the process died in it;
// the next copy removes it first).
extern const char* const g_pszDataCopyFolder;
