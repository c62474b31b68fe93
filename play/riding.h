// Block characters and riding: stage characters that act as blocks are solid for the hero and
// for the other characters, who are pushed out of them, stand on them and are carried along.
// Results join those of the block collision: 0 nothing that kills, 2 squeezed.
//
// A character riding a block character has its riding flag (m_bStanding) set and the carrier's
// identifier and box as they were at its last step. The carrier is looked up by identifier
// every time, so a carrier that left play simply ends the ride.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

class cChara;
class cStageChara;

// Whether a stage character takes part as a block character (acts as a block, appeared, not
// dying, and not `self`).
bool IsBlockCharacter(const cStageChara& c, const cChara* self);

// The scans below visit the stage characters that act as blocks, in stage-list order. Outside a
// frame's sub-steps the list is gathered afresh for every scan; while a cBlockCharaRoster lives
// it is gathered once and kept until the stage list gains or loses a character, which every
// place that adds or removes one reports with BlockCharasChanged. Whether a kept character is
// appeared, dying or the scanning character itself is still read at every visit.
void BlockCharasChanged();
// How many times the stage list has been reported changed: a walk over a gathered copy compares
// it before and after each visit to know the copy still matches the list.
uint64_t StageCastChanges();
// Whether any stage character acts as a block (the same gathering as the scans below).
bool AnyBlockCharas();
// The stage characters in list order, copied into `out`: gathered with the block characters
// and kept as they are while a cBlockCharaRoster lives. A walk over the copy reads each character
// without following the list's links one node after the other; a character the walk removes
// (and only that one) is gone from the list, never from the copy.
void GatherStageCast(std::vector<std::list<cStageChara>::iterator>& out);
class cBlockCharaRoster {
public:
    cBlockCharaRoster();
    ~cBlockCharaRoster();
    cBlockCharaRoster(const cBlockCharaRoster&) = delete;
    cBlockCharaRoster& operator=(const cBlockCharaRoster&) = delete;
};
// The block characters against one character; excluded: an identifier left out (-1 none).
int HitBlockCharacters(cChara& chara, int32_t excluded);
// Moves a riding character by its carrier's displacement since its last step; always 0.
int MoveRiders(cChara& chara);
// 1 when the strip under the character's feet touches its carrier.
int IsOnCarrier(const cChara& chara);
// The first block character whose box meets the strip under the character's feet, or none.
cStageChara* FindCarrierBelow(const cChara& chara);
// 1 when the character's box meets a block character other than itself and the excluded one.
int OverlapsOtherBlockCharacter(const cChara& chara, int32_t excluded);
// 1 when another block character meets one of the four test rectangles built from the
// character's box and the box given (left, top, right, bottom), bottoms raised by 1 dot.
int IsSqueezed(const cChara& chara, const double (&box)[4]);
// Pushes the character out of every block character it overlaps along one axis (1 vertical,
// 0 horizontal).
void PushOutOfCharacters(cChara& chara, int axis);
// Sub-steps of this frame in which the carriers have moved (n once the frame's steps are done;
// n outside play).
int RidingStepsDone();
