// Fills the project database with animation sets for the character tests (apart from them: the
// database's frame type shares its name with the media layer's).
#include "records/database.h"

// Set 1: animation 0 of two frames (cells 4 and 5, 0.1 s and 0.5 s), animation 1 empty.
void MakeTestAnimeSets() {
    g_Database.m_vecAnimeSet.assign(2, cAnimeSetRec());
    cAnimeSetRec& set = g_Database.m_vecAnimeSet[1];
    set.m_vecGroups.assign(2, cAnimeRec());
    set.m_vecGroups[0].m_vecFrames.assign(2, cAnimeFrameRec());
    set.m_vecGroups[0].m_vecFrames[0].m_nCell = 4;
    set.m_vecGroups[0].m_vecFrames[0].m_nDuration = 1;
    set.m_vecGroups[0].m_vecFrames[1].m_nCell = 5;
    set.m_vecGroups[0].m_vecFrames[1].m_nDuration = 5;
    set.m_vecGroups[1].m_vecFrames.clear();
}

void ClearTestAnimeSets() { g_Database.m_vecAnimeSet.clear(); }
