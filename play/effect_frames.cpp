// The project database's side of the effect objects: effect records and their frame lists.
// Kept apart from effect_obj.cpp because the database's frame type and the animation player's
// frame type share a name.
#include "play/effect_frames.h"

#include "play/effect_obj.h"

#include "core/checked.h"
#include "records/database.h"

const cEffectRec& EffectDef(int id) { return CheckedAt(g_Database.m_vecEffect, id); }

int EffectFrameListSize(int id) {
    if (id < 0 || (size_t)id >= EffectFrameTable.size()) return 0;
    return (int)EffectFrameTable[(size_t)id].size();
}

void EffectFrameEntry(int id, int index, int* value, int* duration, int* locked) {
    const ANIMEFRAMELIST& list = CheckedAt(EffectFrameTable, id);
    const AnimeFrame& f = CheckedAt(list, index);
    *value = f.nValue;
    *duration = f.nDuration;
    *locked = f.bLocked;
}
