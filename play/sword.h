// Swords: the sword types of the project database as the sword step and drawing read them.
#pragma once

class cSwordTypeEntry;

// Entry `frame` of sword type `type`; none when either lies outside the database.
const cSwordTypeEntry* SwordEntry(int type, int frame);
// The number of entries of a sword type (0 when the type lies outside the database).
int SwordEntryCount(int type);
