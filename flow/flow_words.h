// The system-settings words the flow engine reads. The settings record names them by number;
// this is the one place that says which number holds which switch.
#pragma once

#include "records/system_data.h"

namespace flowwords {
// The two frame-guard switches of the start rule (the first at 525, the second at 669; files
// older than each take 1, i.e. no guard, the behaviour before the guard existed).
inline int FrameGuard1() { return g_SystemData.m_nWord31 != 0; }
inline int FrameGuard2() { return g_SystemData.m_nWord34 != 0; }
// Keeps a negative time computed by a move command (0: made positive; older files take 1).
inline int KeepNegativeTime() { return g_SystemData.m_nWord36 != 0; }
// Stops the blinking of the range display in 8-bit colour (from 287, next to the palette
// cycling switch of 289 that makes the blinking unnecessary there).
inline int RangeBlinkStop8() { return g_SystemData.m_nWord28 != 0; }
}  // namespace flowwords
