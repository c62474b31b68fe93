// The frame lists of the effects (built when the project database is indexed), read one entry
// at a time so that the animation player's side need not name the database's frame type.
#pragma once

// Entries of an effect's frame list, its closing control entry included (0 for a bad id).
int EffectFrameListSize(int id);
// One entry: value (cell, or a control code in the last entry), duration in frames, lock word.
void EffectFrameEntry(int id, int index, int* value, int* duration, int* locked);
