// The calls of the play frame and of the stage set-up into play Parts that are not built yet
// (block map, appearance pass, floor effects, deaths and the game end, character hits, item
// touches, spawning, stage bitmaps, drawing, play menus and the ranking), and the stage, play
// data and system settings words the records do not name yet. Each one here answers "nothing
// happened" (0, no change) until its Part replaces it; see play/frame_seams.cpp.
#pragma once

class cChara;
class cGameObj;
class cHero;
class cPlayScene;
class cStagePartA;
class cEdShot;
class cCharaRec;
class cItemRec;
struct DDSURFACEDATA;

// ---- play rules (appearances, pause key, floor effects) ----
int CheckPauseKey(cPlayScene* scene);
void CheckAppearances(cPlayScene* scene);
int ApplyFloorBlockEffect(cChara& chara);
// ---- deaths, hits and the end of the game ----
int CheckDeaths();
int KillCharacterCheckEnd(cChara& chara);
void FinishGameRanking(cPlayScene* scene);
int BlockItemTouch();
int HitCharacters();
int HitHeroItems();
// ---- view and distance tests ----
int KeepInViewX(cHero& hero);
int KeepInViewY(cHero& hero);
// ---- scene set-up and drawing ----
// Reloads the play assets (only the eight play surfaces when play restarts itself); false on failure.
bool LoadPlayBitmaps(int playOnly);
// Loads the ranking of the current mode for the stage.
void LoadStageRanking();
// Empties the request list of the scenes.
void ResetRequestList();
// The play screen into the back buffer.
void DrawPlayScreen(cPlayScene* scene, int a, int b, int c, int d);
// The stage-start banner sprites: 0 start (with the stage number), 1 replay, 2 second banner.
void DrawBannerSprite(int kind, int stageNumber);
// One background layer of the stage (0 back, 1 front) over the back buffer.
void DrawBackgroundLayer(cPlayScene* scene, int layer);
// A graphic reference as a 16 x 16 icon with its top-left at (x, y) (the items' drawing).
void DrawGraphicRef(DDSURFACEDATA* target, int x, int y, int kind, int index, int frame);
// ---- the stage set-up's steps into other Parts ----
void CopyStageRecords(int reload);
void ApplyCarryOver();
void RequestStageMusic(int music);
void BuildBlockMap();
// Builds hero 0 from its placement and puts it on the stage.
void SetupHero(cHero& hero, int index);
// Hero position and size for centring the view: x, y, width, height.
void HeroViewBox(cHero& hero, double& x, double& y, int& w, int& h);
void SpawnStageObjects(cPlayScene* scene);
// Releases the picture and message surfaces and empties the picture lists (play/picture_lists.cpp).
void ReleasePicturesAndMessageSurfaces(cPlayScene* scene);
void ResetBackgrounds();
void RestorePalette8();
void RunStageStartFlows(cPlayScene* scene);
// ---- shots: blocks, owners, sheets and summons ----
// Whether the block-map cell (column, row) is solid for a block side.
int BlockSolidFor(int column, int row, int side);
// The hero or stage character with an identifier; none when it left play.
cChara* FindObjectById(int id);
// The key direction with which the running flow of a character started (0 none, 1-8).
int RunFlowKeyDirection(const cChara& chara);
// The sheets shots and swords are drawn from; none: nothing is drawn.
DDSURFACEDATA* ShotSheet();
DDSURFACEDATA* SwordSheet(int swordType, int facingRight);
// What the summon commands read of a definition record: whether a character may be summoned,
// and the size in blocks of a character or an item.
int CharaRecSummonable(const cCharaRec& rec);
int CharaRecBlocks(const cCharaRec& rec);
int ItemRecBlocks(const cItemRec& rec);
// Summoned objects placed at (x, y) with the record the settings choose (S56/S57).
void SetBlockAt(int x, int y, const cEdShot& settings);
void SpawnCharacterAt(int x, int y, double vx, double vy, const cChara& owner, const cEdShot& settings);
void SpawnItem(int x, int y, double vx, double vy, const cEdShot& settings);
// ---- words the records do not name yet ----
int StageTimeLimitOn();
int StageTimeLimit();
int StageBannerSwitch(int which);
int StageExtension(int axis);
int StageShotHitCount();
int PlayDataStopAfterPlay();
void PlayDataClearStageWords();
int KeepDeadCharacters();
