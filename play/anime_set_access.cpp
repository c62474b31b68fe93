#include "play/anime_set_access.h"

#include "core/checked.h"
#include "records/anime_records.h"
#include "records/database.h"

const cAnimeSetRec* AnimeSetFor(int set) {
    if (g_Database.m_vecAnimeSet.empty()) return nullptr;
    return &CheckedAt(g_Database.m_vecAnimeSet, set);
}

bool AnimeSetCellOffsets(int set, int& flying, int& block, int& protection) {
    const cAnimeSetRec* rec = AnimeSetFor(set);
    if (!rec) return false;
    flying = rec->m_nOffsetA;
    block = rec->m_nOffsetB;
    protection = rec->m_nOffsetC;
    return true;
}
