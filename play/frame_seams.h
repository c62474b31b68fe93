// The calls of the play frame and of the stage set-up into play Parts that are not built yet
// (block map, appearance pass, floor effects, deaths and the game end, character hits, item
// touches, spawning, stage bitmaps, drawing, play menus and the ranking), and the stage, play
// data and system settings words the records do not name yet. Each one here answers "nothing
// happened" (0, no change) until its Part replaces it; see play/frame_seams.cpp.
#pragma once

#include <cstdint>
#include <vector>

class cChara;
class cFlowCmd;
class cGameObj;
class cHero;
class cItem;
class cShot;
class cBlockDef;
struct DDSURFACEDATA;
class cPlayScene;
class cStagePartA;
class cEdShot;
class cCharaRec;
class cItemRec;
struct DDSURFACEDATA;

// ---- characters: block under, effects, immunity and flows ----
bool BlockUnderIsSolid(const cChara& chara);
// The instant-command handler of a command's kind run on the hero; its result.
int RunInstantCommand(cHero& hero, const cFlowCmd& cmd);
// ---- view and distance tests ----
int KeepInViewX(cHero& hero);
int KeepInViewY(cHero& hero);
// ---- scene set-up and drawing ----
// Loads the ranking of the current mode for the stage.
void LoadStageRanking();
// One background layer of the stage (0 back, 1 front) over the back buffer (play/play_draw.cpp).
void DrawBackgroundLayer(cPlayScene* scene, int layer);
// ---- the stage set-up's steps into other Parts ----
void BuildBlockMap();
// Releases the picture and message surfaces and empties the picture lists (play/picture_lists.cpp).
void ReleasePicturesAndMessageSurfaces(cPlayScene* scene);
// ---- shots: blocks, owners, sheets and summons ----
// Whether the block-map cell (column, row) is solid for a block side.
int BlockSolidFor(int column, int row, int side);
// ---- words the records do not name yet ----
int PlayDataStopAfterPlay();
void PlayDataClearStageWords();
