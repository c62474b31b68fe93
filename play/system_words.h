// The roles the play engine gives the project settings' words that the record names by number:
// one place says which word holds which switch.
#pragma once

#include "records/system_data.h"

namespace sysword {
// Dead characters stay in play until their death has run (non-zero) or leave at once (0): the
// play-engine word 26 (projects older than its version keep them).
inline int KeepDeadCharacters(const cSystemData& s) { return s.m_nWord26 != 0; }
}  // namespace sysword
