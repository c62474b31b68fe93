// The shot command and the three summon commands: formations place the objects of one call
// (where each starts, where it flies, how many), SpawnOne makes each object.
#pragma once

#include <list>

#include "play/shot.h"

class cChara;
class cEdShot;

// The direction code (2-11) of a direction option (S5) for an owner.
int DirectionCode(int option, const cChara& owner);
// The direction angles of the codes (degrees; codes 0, 1, 4 and 5 are not used).
extern const double kDirAngle[12];
extern const int kDirAngleInt[12];

namespace Formation {
typedef void (*FUNC)(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v);
void StraightA(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v);
void StraightB(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v);
void Spread(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v);
void Lightning(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v);
void Explosion(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v);
void Surround(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v);
}  // namespace Formation

constexpr int kFormationCount = 6;
extern const Formation::FUNC FormationTable[kFormationCount];

// The shot command (kind 11): S12 + 1 formation calls into the shot list.
void RunShotCommand(std::list<cShot>& list, cChara& owner, int kind, const cEdShot& s);
// The summon commands (13 block, 14 character, 15 item): one formation call with the record
// S56/S57 chooses; nothing when the record is not there or may not be summoned.
void RunCharaSummonCommand(cChara& owner, int kind, const cEdShot& s);
void RunItemSummonCommand(cChara& owner, int kind, const cEdShot& s);
void RunBlockSummonCommand(cChara& owner, int kind, const cEdShot& s);
// Makes one object of the command kind at the spawn values' x, y.
void SpawnOne(std::list<cShot>* list, SPAWNVALUES& v, cChara& owner, int kind, const cEdShot& s);
