// Spawning stage objects: the stage's character and item placements at the stage set-up, the
// character, item and block summons of running flows, and the caught-in-block test of a block
// summon. Every object appended takes the identifier counter's value, which then grows by 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>

class cChara;
class cCharaRec;
class cEdShot;
class cItem;
class cItemRec;
class cPlayScene;
class cStageChara;

// The most stage characters and items the lists hold; spawns beyond are dropped with a report.
constexpr size_t kMaxStageObjects = 20000;

// A character placement at a stage cell: clone count + 1 characters, each offset by its clone
// step; a clone outside the map is dropped without taking an identifier. `carried`: the item
// the characters carry, or none. The number of characters appended.
int SpawnStageCharacter(cPlayScene* scene, std::list<cStageChara>& list, int cellX, int cellY, int32_t& counter,
                        const cCharaRec& rec, const cItem* carried);
// An item placement at a stage cell, moved by the record's offsets; 1 when appended (inside
// the map), else 0.
int SpawnStageItem(std::list<cItem>& list, int cellX, int cellY, int32_t& counter, const cItemRec& rec);
// Step 12 of the stage set-up: every character placement of the stage with its carried item,
// then every item placement no character carries. Placements off the map are skipped with one
// report line each.
void SpawnStageObjects(cPlayScene* scene);

// The character summon: the record of the settings (S56/S57) placed with its graphic cell's
// top-left at (x, y) on the map, facing as the summoner; a clone outside the map or whose place
// is blocked does not appear. The velocity is accepted and not used.
void SpawnCharacterAt(int x, int y, double vx, double vy, const cChara& owner, const cEdShot& settings);
// The item summon: the record of the settings placed with its cell's top-left at (x, y).
void SpawnItem(int x, int y, double vx, double vy, const cEdShot& settings);
// The block summon at the cell under (x + 16.5, y + 16.5) by the settings' mode (0 summon,
// 1 erase, 2 toggle once per stage); nothing off the map or on a cell that may not be replaced.
// With the keep flags (heroes, characters) a summon that would catch a character of a flagged
// kind is refused and the cell keeps its block.
void SetBlockAt(int x, int y, const cEdShot& settings);
// After a summon on a cell: 1 when a hero (heroFlag) or a stage character (charaFlag) of a
// flagged kind is caught in the cell's new block (the summon is refused; nobody is marked).
// Otherwise every caught character gets its caught-in-block word set to 2 and the result is 0.
int FlagCaughtInBlock(int cell, int cellX, int cellY, int heroFlag, int charaFlag);
