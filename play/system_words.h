// The roles the play engine gives the numbered words of the project's system settings: one
// place says which word holds which switch.
#pragma once

#include "records/system_data.h"

// Non-zero: a walking character may land on a floor while it rises.
inline int LandWhileRising() { return g_SystemData.m_nWord25 != 0; }
// Non-zero: the pause menu offers a restart in story mode (word 16, "in-play menu, story mode")
// and in challenge mode (word 20, "in-play menu, challenge mode"), each for stages already
// cleared.
inline int RestartInStory() { return g_SystemData.m_nWord16 != 0; }
inline int RestartInChallenge() { return g_SystemData.m_nWord20 != 0; }
// Non-zero: the stage start runs the start flows of every stage character before the first
// appearance pass.
inline int DeferAppearances() { return g_SystemData.m_nWord37 != 0; }
// Non-zero: dead characters stay in play until their death has run; 0: they leave at once
// (the play-engine word 26, which projects older than its version have on).
inline int KeepDeadCharacters() { return g_SystemData.m_nWord26 != 0; }
// Non-zero: the play screen shows only its backgrounds while the pause menu is open (word C,
// "play scene drawing", 1 in new settings).
inline int HideWhilePaused() { return g_SystemData.m_nWordC != 0; }
