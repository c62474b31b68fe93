#include "play/anime_set_access.h"

#include "core/checked.h"
#include "records/database.h"

const cAnimeSetRec* AnimeSetFor(int set) {
    if (g_Database.m_vecAnimeSet.empty()) return nullptr;
    return &CheckedAt(g_Database.m_vecAnimeSet, set);
}
