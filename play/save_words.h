// The roles the play engine gives the play data's words that the record names by number: one
// place says which field holds which value.
#pragma once

#include "records/save_data.h"

namespace saveword {
// The four stage-end sums, in the order the stage clear adds to them: the remaining time, the
// play time (hundredths of a second), the hero's hit points and its second status value.
inline int32_t& TimeSum(cSaveData& d) { return d.m_nTally1; }
inline int32_t& PlayTimeSum(cSaveData& d) { return d.m_nTally2; }
inline int32_t& HPSum(cSaveData& d) { return d.m_nTally3; }
inline int32_t& SecondSum(cSaveData& d) { return d.m_nTally4; }
// The next-stage flag: the stage is the first file of a stage in parts ("-1" in its name).
inline int32_t& NextStageFlag(cSaveData& d) { return d.m_bPartFlag; }
// The request word that follows the next-stage flag among the play words, and the start word
// that a story sequence of mode 2 stores its starting scene in.
inline int32_t& RequestWord(cSaveData& d) { return d.m_nValue22; }
inline int32_t& StartScene(cSaveData& d) { return d.m_nValue25; }
}  // namespace saveword
