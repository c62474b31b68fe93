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
// The stage-clear word: the stage score, which every stage set-up starts at 0 and the stage
// clear adds to the total score.
inline int32_t& StageClearWord(cSaveData& d) { return d.m_nStageScore; }
// The stop-after-play word: while it is 0, play started from a stage file at start-up plays the
// same stage file again when it ends.
inline int32_t& StopAfterPlay(cSaveData& d) { return d.m_nValue23; }
// A new play session (play entered from another scene) starts with the stage-clear word, the
// word after it (the total score), the four stage-end sums and the request word at 0: what a
// finished game ranks, and what the story stores as the stage's best, is the session's own.
inline void ClearSessionWords(cSaveData& d) {
    StageClearWord(d) = 0;
    d.m_nScore = 0;
    TimeSum(d) = PlayTimeSum(d) = HPSum(d) = SecondSum(d) = 0;
    RequestWord(d) = 0;
}
}  // namespace saveword
