#include "frontend/scene_world_map.h"

#include <algorithm>
#include <cstdlib>

#include "core/checked.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "app/pulse_colours.h"
#include "core/report.h"
#include "app/scene_manager.h"
#include "app/system_se.h"
#include "frontend/scene_save.h"
#include "frontend/scene_world_ranking.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "media/player_input.h"
#include "media/sound.h"
#include "media/surface.h"
#include "media/text_menu.h"
#include "media/transitions.h"
#include "records/data_paths.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_file.h"
#include "records/stage_list.h"
#include "records/story_saves.h"
#include "records/system_data.h"
#include "records/system_records.h"
#include "records/world_map.h"

int g_bWorldMapShowRanking = 0;

namespace {

// The bitmap assets of the map: the window frame, the accessory sheet (cursors, the player's
// figure, the lives icon), the symbol sheet, the chips, the entry icons and the background.
enum {
    ASSET_WINDOW = 45,
    ASSET_ACCESSORY = 49,
    ASSET_SYMBOL = 50,
    ASSET_CHIPS = 52,
    ASSET_ENTRIES = 53,
    ASSET_BACK = 54,
};

constexpr DWORD kSePause = 4;     // leaving the map for the save screen
constexpr DWORD kSeSwitch = 6;    // the ranking switches

constexpr int kCell = 32;
constexpr int kViewCellsX = 20, kViewCellsY = 15;
constexpr int kPlayerViewX = 9, kPlayerViewY = 7;  // the player's cell in the view
constexpr int kPlayerX = kPlayerViewX * kCell, kPlayerY = kPlayerViewY * kCell;
constexpr int kNameCentreX = 304;
constexpr int kNameY = 204, kNameUpperY = 184;
constexpr int kRankingX = 367, kRankingY = 64;
constexpr int kRow = 16;
constexpr int kWalkCycle = 80;  // two walking frames of 40 frames each

// The system settings' texts of the map.
enum { TEXT_BEST = 3 };

// The cell the player stood on before the last step, kept across the play of a stage: a stage
// left without being cleared puts the player back there.
struct BACKCELL {
    bool bValid;
    int nX, nY;
};
BACKCELL s_Back{false, 0, 0};

int CountDigits(int32_t n) {
    int64_t v = n;
    int digits = v < 0 ? 2 : 1;
    if (v < 0) v = -v;
    while (v >= 10) {
        v /= 10;
        ++digits;
    }
    return digits;
}

bool StageValueSet(int32_t index) {
    const std::vector<int32_t>& values = g_SaveData.m_vecStageValues;
    return index >= 0 && (size_t)index < values.size() && values[(size_t)index] != 0;
}

// A common variable compared with a value by an operator (64-bit, so no quotient overflows).
bool CompareVariable(int32_t index, int32_t op, int32_t value) {
    const std::vector<int32_t>& vars = g_SaveData.m_vecCommonVars;
    if (index < 0 || (size_t)index >= vars.size()) return false;
    int64_t v = vars[(size_t)index], w = value;
    switch (op) {
    case 0: return v == w;
    case 1: return v != w;
    case 2: return v >= w;
    case 3: return v <= w;
    case 4: return v > w;
    case 5: return v < w;
    case 6: return w == 0 || v % w == 0;
    case 7: return w != 0 && v % w != 0;
    default: return false;
    }
}

// Whether the player may stand on a cell: inside the map, not an entry that blocks walking, and
// without an entry a chip that can be walked on.
bool Walkable(int x, int y) {
    int32_t cell = g_WorldMap.CellAt(x, y);
    if (cell < 0) return false;
    if (const cWorldMapEntry* e = WorldMapData::FindEntry(x, y)) return GetEntryInfo(*e).nMode != WORLDENTRY_BLOCK;
    if ((size_t)cell >= g_WorldMap.m_vecChips.size()) return false;  // a chip the map does not define
    return g_WorldMap.m_vecChips[(size_t)cell].m_bBlocking == 0;
}

// Whether arriving on an open entry enters it: a stage entry that is not passed, an event entry
// unless it is cleared and not entered again.
bool EntersOnArrival(const cWorldMapEntry* usable) {
    if (!usable) return false;
    WORLDENTRYINFO info = GetEntryInfo(*usable);
    if (info.nMode == WORLDENTRY_STAGE) return !IsEntryPassed(usable);
    if (info.nMode == WORLDENTRY_BLOCK) return false;
    return !(IsEntryCleared(usable) && info.bReEnter == 0);
}

DDSURFACEDATA* MapSurface() { return g_vecSceneSurface.empty() ? nullptr : &g_vecSceneSurface[0]; }

}  // namespace

void ForgetWorldMapStepBack() { s_Back.bValid = false; }

WORLDENTRYINFO GetEntryInfo(const cWorldMapEntry& entry) {
    WORLDENTRYINFO info{};
    if (entry.m_vecItems.empty()) return info;
    const cWorldMapItemRec& own = entry.m_vecItems[0];
    info.nMode = own.m_nValue1;
    info.nClearedFlag = own.m_anValues[0];
    info.bPassed = own.m_anValues[1];
    info.bReEnter = own.m_anValues[2];
    info.nIcon = own.m_anValues[3];
    return info;
}

const cWorldMapEntry* IsEntryOpen(const cWorldMapEntry* entry) {
    if (!entry) return nullptr;
    for (size_t i = 1; i < entry->m_vecItems.size(); ++i) {
        const cWorldMapItemRec& c = entry->m_vecItems[i];
        if (c.m_nValue1 > 0 && !StageValueSet(c.m_nValue1)) return nullptr;
        if (c.m_anValues[0] > 0 && !CompareVariable(c.m_anValues[0], c.m_anValues[1], c.m_anValues[2])) return nullptr;
        if (c.m_anValues[3] > 0 && g_SaveData.m_nBestTotal < c.m_anValues[3]) return nullptr;
    }
    return entry;
}

int IsEntryCleared(const cWorldMapEntry* entry) {
    if (!entry) return 0;
    int32_t flag = GetEntryInfo(*entry).nClearedFlag;
    return flag > 0 && StageValueSet(flag) ? 1 : 0;
}

int IsEntryPassed(const cWorldMapEntry* entry) {
    if (!entry) return 0;
    if (GetEntryInfo(*entry).bPassed) return 1;
    return IsEntryCleared(entry);
}

std::string EntryStagePath(const cWorldMapEntry& entry) {
    if (!entry.m_vecItems.empty() && !entry.m_vecItems[0].m_strStageFile.empty())
        return entry.m_vecItems[0].m_strStageFile;
    std::string path;
    int32_t number = GetEntryInfo(entry).nClearedFlag;
    if (number > 0 && number < 1000) MakeStageFileName(path, number);
    return path;
}

cSceneWorldMap::cSceneWorldMap()
    : cMenuScene(SCENE_WORLDMAP, 1,
                 {ASSET_WINDOW, ASSET_ACCESSORY, ASSET_SYMBOL, ASSET_CHIPS, ASSET_ENTRIES, ASSET_BACK}) {
    SetStates<cSceneWorldMap>({&cSceneWorldMap::StateWalk, &cSceneWorldMap::StateEnter});
}

void cSceneWorldMap::Init() {
    InitCommon();
    // The map surface: the view's background, chips and entries, drawn again when it moves.
    ReleaseSceneSurfaces();
    if (!DDAddBlankSurface(g_vecSceneSurface, g_vecSceneSurfaceDesc, 640, 480, 0, 0, 0, 0)) {
        ReleaseSceneSurfaces();
        PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
    }
    m_bMapDrawn = false;
    m_nWalkFrame = 0;

    // The player where the play data has it (kept inside the map) and facing its way.
    m_Pos.nX = std::clamp(g_SaveData.m_nMapX, 0, g_WorldMap.m_nWidth - 1);
    m_Pos.nY = std::clamp(g_SaveData.m_nMapY, 0, g_WorldMap.m_nHeight - 1);
    m_Pos.nPixelX = kPlayerX;
    m_Pos.nPixelY = kPlayerY;
    m_nFacing = g_SaveData.m_nValue4 >= 0 && g_SaveData.m_nValue4 <= 3 ? g_SaveData.m_nValue4 : 0;
    m_Back = m_Pos;
    // A button 3 or 4 held when the map opens acts only when pressed again.
    m_wLastButtons = CheckedAt(g_vecPlayerInput, 0).m_wButton;
    FindEntries();

    // Back from a stage that was not cleared: the player stands on an entry that would be
    // entered again, and steps back to the cell it came from.
    bool nextTo = std::abs(s_Back.nX - m_Pos.nX) + std::abs(s_Back.nY - m_Pos.nY) == 1;
    if (EntersOnArrival(m_lpUsable) && s_Back.bValid && nextTo && Walkable(s_Back.nX, s_Back.nY)) {
        m_Back.nX = s_Back.nX;
        m_Back.nY = s_Back.nY;
        StepBack();
    } else {
        StorePosition();
    }
    UpdateView();
    PrepareEntry();

    // Back from play with automatic saving on: the story is saved into its slot (atomically: a
    // failed write keeps the old save, and the player is told).
    if (g_SceneManager.m_nPrevious == SCENE_PLAY && AutoSaveSwitch(g_SaveData) != 0 && g_SaveData.m_nStorySlot >= 0 &&
        !SaveStory(g_SaveData, g_SaveData.m_nStorySlot))
        MesBoxF("オートセーブに失敗しました！\nStory%02d.dat は前のままです。", g_SaveData.m_nStorySlot + 1);

    RedrawMapLayers();
    m_nPhase = 0;
}

void cSceneWorldMap::FindEntries() {
    m_lpEntry = WorldMapData::FindEntry(m_Pos.nX, m_Pos.nY);
    m_lpUsable = IsEntryOpen(m_lpEntry);
}

void cSceneWorldMap::PrepareEntry() {
    m_nBest = 0;
    if (!m_lpUsable || GetEntryInfo(*m_lpUsable).nMode != WORLDENTRY_STAGE) return;
    std::string path = EntryStagePath(*m_lpUsable);
    SetStageFileName(g_SaveData, path.c_str());
    m_nBest = FindStageNumberByName(g_SaveData, g_SaveData.m_strStageName.c_str());
    if (CountListFlags(GAME_MODE_STORY) > 0) {
        LoadWorldMapRanking(g_SaveData.m_strStageName.c_str());
        g_SaveData.m_nRankingTable = 0;
        g_SaveData.StepRankingTable(GAME_MODE_STORY, 0);
    }
}

void cSceneWorldMap::UpdateView() {
    m_nViewX = m_Pos.nX - kPlayerViewX;
    m_nViewY = m_Pos.nY - kPlayerViewY;
    m_Pos.nPixelX = kPlayerX;
    m_Pos.nPixelY = kPlayerY;
    if (!m_bMapDrawn || m_nViewX != m_nDrawnViewX || m_nViewY != m_nDrawnViewY) RedrawMapLayers();
}

void cSceneWorldMap::StorePosition() {
    g_SaveData.m_nMapX = m_Pos.nX;
    g_SaveData.m_nMapY = m_Pos.nY;
    g_SaveData.m_nValue4 = m_nFacing;
}

void cSceneWorldMap::StepBack() {
    m_Pos = m_Back;
    UpdateView();
    FindEntries();
    PrepareEntry();
    StorePosition();
}

bool cSceneWorldMap::MoveOnMap(int keyBits) {
    if (keyBits & 15) {
        m_Back = m_Pos;
        s_Back = BACKCELL{true, m_Pos.nX, m_Pos.nY};
    }
    int x = m_Pos.nX, y = m_Pos.nY;
    if (keyBits & 1) {
        m_nFacing = 2;
        if (x - 1 >= 0) --x;
    } else if (keyBits & 2) {
        m_nFacing = 3;
        if (x + 1 < g_WorldMap.m_nWidth) ++x;
    } else if (keyBits & 4) {
        m_nFacing = 1;
        if (y - 1 >= 0) --y;
    } else if (keyBits & 8) {
        m_nFacing = 0;
        if (y + 1 < g_WorldMap.m_nHeight) ++y;
    }
    bool moved = (x != m_Pos.nX || y != m_Pos.nY) && Walkable(x, y);
    if (moved) {
        m_Pos.nX = x;
        m_Pos.nY = y;
    }
    UpdateView();
    g_SaveData.m_nValue4 = m_nFacing;
    return moved;
}

void cSceneWorldMap::StateWalk() {
    const cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    WORD pressed = (WORD)(in.m_wButton & ~m_wLastButtons);
    m_wLastButtons = in.m_wButton;

    bool moved = MoveOnMap(in.m_wKey);
    FindEntries();
    if (moved) {
        PrepareEntry();
        if (EntersOnArrival(m_lpUsable)) {
            // Entering: the position kept, then the stage is loaded.
            StorePosition();
            m_nState = 2;
            return;
        }
    }
    if (m_lpUsable && GetEntryInfo(*m_lpUsable).nMode == WORLDENTRY_STAGE && IsEntryPassed(m_lpUsable)) {
        // A passed stage entry offers its ranking: button 3 shows or hides the board, button 4
        // steps to the next table the mode keeps.
        int tables = CountListFlags(GAME_MODE_STORY);
        if (pressed & 4) {
            if (tables > 0) {
                g_bWorldMapShowRanking = !g_bWorldMapShowRanking;
                PlaySystemSe(kSeSwitch);
            } else {
                g_bWorldMapShowRanking = 0;
            }
        }
        if ((pressed & 8) && tables >= 2) {
            g_SaveData.StepRankingTable(GAME_MODE_STORY, 1);
            PlaySystemSe(kSeSwitch);
        }
    }
    if (in.m_wButton & 2) {
        PlaySystemSe(kSePause);
        StorePosition();
        Leave(SCENE_SAVE);
        return;
    }
    DrawWorldMap(true);
}

void cSceneWorldMap::StateEnter() {
    if (StartStage()) return;
    std::string path = m_lpUsable ? EntryStagePath(*m_lpUsable) : std::string();
    MesBoxF("ステージファイル %s が読み込めません！", path.c_str());
    // The player steps back off the entry, so the stage is not entered again at once.
    StepBack();
    m_nState = 1;
}

bool cSceneWorldMap::StartStage() {
    if (!m_lpUsable) return false;
    std::string path = EntryStagePath(*m_lpUsable);
    if (path.empty()) return false;
    // A name that is a file is loaded as it is; otherwise its highest numbered file.
    BOOL numbered = PathFileExistsA(path.c_str()) ? FALSE : TRUE;
    if (!PlayStageFile(path.c_str(), numbered, &g_StageSettings)) return false;
    WORLDENTRYINFO info = GetEntryInfo(*m_lpUsable);
    g_SaveData.m_nStageNumber = std::max(info.nClearedFlag, 1);
    StageStartFlag(g_SaveData) = 1;
    if (CheckedAt(g_SystemData.m_vecUnlimitedLives, GAME_MODE_STORY) != 0) {
        g_SaveData.m_nLivesReserve = kUnlimitedLives;
        g_SaveData.m_nLives = kUnlimitedLives;
    }
    // The stage key as the map names the stage, so its best result is found under it again.
    SetStageFileName(g_SaveData, path.c_str());
    StorePosition();
    g_SceneManager.m_nPlayMode = START_MODE_STORY;
    Leave(SCENE_PLAY);
    return true;
}

void cSceneWorldMap::RedrawMapLayers() {
    DDSURFACEDATA* map = MapSurface();
    if (!map) return;
    m_nDrawnViewX = m_nViewX;
    m_nDrawnViewY = m_nViewY;
    m_bMapDrawn = true;
    DDFillSurface(map, std::clamp(g_WorldMap.m_nBackColour, 0, 255));
    if (g_WorldMap.m_bBackPicture) {
        DDSURFACEDATA* back = &g_SurfaceData[ASSET_BACK];
        DDBlt(map, -m_nViewX * kCell, -m_nViewY * kCell, back->nWidth, back->nHeight, back, 0, 0, 0);
    }
    // Chips: the cell's chip record gives the picture, five 32 x 32 pictures to a row.
    DDSURFACEDATA* chips = &g_SurfaceData[ASSET_CHIPS];
    for (int vy = 0; vy < kViewCellsY; ++vy)
        for (int vx = 0; vx < kViewCellsX; ++vx) {
            int32_t cell = g_WorldMap.CellAt(m_nViewX + vx, m_nViewY + vy);
            if (cell < 0) continue;
            int32_t g = (size_t)cell < g_WorldMap.m_vecChips.size() ? g_WorldMap.m_vecChips[(size_t)cell].m_nChipNo : 0;
            g = std::clamp(g, 0, 0xFFFF);
            DDBlt(map, vx * kCell, vy * kCell, kCell, kCell, chips, (g % 5) * kCell, (g / 5) * kCell, 1);
        }
    // The open entries: the second column of the sheet once cleared, the row by the icon.
    DDSURFACEDATA* icons = &g_SurfaceData[ASSET_ENTRIES];
    for (const cWorldMapEntry& e : g_WorldMap.m_vecPointEntries) {
        int vx = e.m_nX - m_nViewX, vy = e.m_nY - m_nViewY;
        if (vx < 0 || vy < 0 || vx >= kViewCellsX || vy >= kViewCellsY || !IsEntryOpen(&e)) continue;
        int icon = std::clamp(GetEntryInfo(e).nIcon, 0, 0xFFFF);
        DDBlt(map, vx * kCell, vy * kCell, kCell, kCell, icons, IsEntryCleared(&e) ? kCell : 0, icon * kCell, 1);
    }
    map->bLost = 0;
}

void cSceneWorldMap::DrawWorldMap(bool withInfo) {
    DDSURFACEDATA* map = MapSurface();
    if (map && map->bLost) RedrawMapLayers();
    if (map) DDBlt(&g_BackBufferSD, 0, 0, 640, 480, map, 0, 0, 0);
    else DDFillSurface(&g_BackBufferSD, 16);

    // The player: two walking pictures by facing.
    static const int kFigure[4][2] = {{0, 64}, {64, 64}, {64, 96}, {0, 96}};
    m_nWalkFrame = m_nWalkFrame % kWalkCycle + 1;
    int sx = kFigure[m_nFacing & 3][0] + (m_nWalkFrame >= 41 ? kCell : 0);
    DDBlt(&g_BackBufferSD, kPlayerX, kPlayerY, kCell, kCell, &g_SurfaceData[ASSET_ACCESSORY], sx,
          kFigure[m_nFacing & 3][1], 1);

    // The lives at the top right: the icon and the count, or the unlimited mark.
    if (g_SystemData.m_nWord10 != 0) {
        int32_t lives = g_SaveData.m_nLives;
        bool unlimited = lives == kUnlimitedLives;
        int width = (unlimited ? 2 : CountDigits(lives) + 1) * kRow;
        int x = 621 - width;
        DrawFrameBox(&g_BackBufferSD, x, 17, width, 20, &g_SurfaceData[ASSET_WINDOW], 1, 240);
        DDBlt(&g_BackBufferSD, x, 19, 16, 16, &g_SurfaceData[ASSET_ACCESSORY], 0, 48, 1);
        if (unlimited) g_Fonts[1].DrawText(&g_BackBufferSD, x + 16, 19, "∞");
        else g_Fonts[1].DrawTextF(&g_BackBufferSD, x + 16, 19, "%d", (int)lives);
    }

    // The stage entry under the player: its ranking board, its name and its best result.
    if (withInfo && m_lpUsable && GetEntryInfo(*m_lpUsable).nMode == WORLDENTRY_STAGE) {
        if (g_bWorldMapShowRanking && CountListFlags(GAME_MODE_STORY) > 0)
            DrawWorldMapRanking(kRankingX, kRankingY, g_SaveData.m_nRankingTable);
        const char* name = m_lpUsable->m_strName.c_str();
        int nameWidth = std::min(GetCharCount(name), 40) * kRow;
        bool best = g_SystemData.m_nWord13 != 0 && m_nBest >= 1;
        if (nameWidth > 0)
            g_Fonts[1].DrawTextFramed(&g_BackBufferSD, kNameCentreX - nameWidth / 2, best ? kNameUpperY : kNameY,
                                      nameWidth, kRow, name, 0);
        if (best) {
            const std::string& label = CheckedAt(g_SystemData.m_vecTexts, TEXT_BEST);
            int width = std::min(GetCharCount(label.c_str()) + CountDigits(m_nBest), 40) * kRow;
            g_Fonts[1].DrawTextBox(&g_BackBufferSD, kNameCentreX - width / 2, kNameY, width, kRow, "%s%d",
                                   label.c_str(), (int)m_nBest);
        }
    }
    UpdatePulseColours();
}
