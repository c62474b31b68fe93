// The roles the play engine gives the numbered words of the project's system settings: one
// place says which word holds which setting.
#pragma once

#include "records/system_data.h"

namespace sysword {
// The play screen shows only its backgrounds while the pause menu is open (word C, "play scene
// drawing", 1 in new settings).
inline int HideWhilePaused(const cSystemData& s) { return s.m_nWordC != 0; }
}  // namespace sysword
