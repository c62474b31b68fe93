// Collision of characters against the block map: edge sampling, the side, floor and ceiling
// tests (0: nothing that matters, 2: the character must die), holding the hero inside a held
// view, and whether a place is blocked. The per-sub-step entry points are cChara's
// HitBlocksHorizontal, HitBlocksVertical, HitBlocksSidesAgain and HitFloorAndCeilingAgain.
#pragma once

class cChara;
class cHero;

// The best cell on an edge of the box from (x1, y1) to (x2, y2): the highest solidity for the
// character wins (horizontal edges: ties to the sample nearer the middle); -1 none.
int FindBestBlockOnEdge(cChara& chara, int x1, int y1, int x2, int y2);
// The hero's floor, sampled finely across the bottom edge.
int FindBestBlockOnFloor(cChara& chara);
int HitBlockLeft(cChara& chara);
int HitBlockRight(cChara& chara);
int HitBlockFloor(cChara& chara);
int HitBlockCeiling(cChara& chara);
// 1 when the character, where it stands, lies in a cell solid for it or overlaps a block
// character.
int IsPlaceBlocked(cChara& chara);
int OverlapsBlockCharacter(const cChara& chara);
// While the view is moving or the hero flies, holds the hero inside the view's left and right
// (top and bottom) edges and marks the contact side; KeepInViewY answers 2 when the hero must
// die. Both answer 0 otherwise.
int KeepInViewX(cHero& hero);
int KeepInViewY(cHero& hero);
