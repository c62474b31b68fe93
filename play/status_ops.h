// The status words of characters, the system words and the flow variables as the status
// condition and the status operation read and write them, with the limits of every word.
#pragma once

#include <cstdint>
#include <vector>

class cChara;

// Status words of a character.
enum {
    STATUS_VAR = 0, STATUS_HP, STATUS_SP, STATUS_MAXHP, STATUS_MAXSP, STATUS_CHARAID, STATUS_Z,
    STATUS_MARK, STATUS_SIGHT, STATUS_BODYPOWER, STATUS_BODYIMPACT, STATUS_DEFENCE,
    STATUS_IMPACTRESIST, STATUS_DECEL, STATUS_DEFEATSCORE, STATUS_WORD_COUNT
};
// System words.
enum { SYSWORD_TIME = 0, SYSWORD_SCROLLX, SYSWORD_SCROLLY, SYSWORD_SCORE, SYSWORD_LIVES, SYSWORD_COUNT };
// Object codes of an operand.
enum { OBJ_SELF = 0, OBJ_TARGET = 1, OBJ_SYSTEM = 2 };


// The character chosen by an object code: 1 its target (null when it has none), otherwise the
// character itself.
cChara* StatusObject(cChara* chara, int objectCode);

// A variable of class 0 (common) or 1 (stage) by index; null (with a report line) when the index
// is outside the list or there is no play scene for a stage variable.
int32_t* FlowVariable(int varClass, int index);

// The right-hand value of a test or operation: source 0 the constant, 1 a random draw between
// the two bounds, 2 a status or system word of the object `objectCode` (word 0 with `varIndex`),
// 3 the variable `varIndex` of `varClass`. False when the value cannot be read (no target, the
// hero's sight, an unknown word).
bool StatusSourceValue(cChara* chara, int source, int32_t value, int32_t low, int32_t high, int objectCode,
                       int word, int varClass, int varIndex, int32_t& out);

// After a character's "視界範囲(hbl)" changed: its sight range in dots follows (a hero keeps
// the range its view mask was made with).
void RefreshSightRange(cChara& chara);

// The status operation (command kind 22 and instant kind 7) with its 18 parameters.
void FlowCmdStatusOpImpl(cChara* chara, const std::vector<int32_t>& params);
