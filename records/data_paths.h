// The relative paths of the project's and the user's files, the file extensions and the folders
// created at every start. Paths are relative to the current directory, the game folder.
#pragma once

#include <string>

#include "platform/win32/types.h"

constexpr int kPathCount = 48;
constexpr int kExtCount = 4;
constexpr int kDataFolderCount = 22;

// Indexes of g_PathTable (the order and the indexes are fixed).
enum PATHINDEX {
    PATH_DATA = 0,              // "data\"
    PATH_DEFAULT = 1,           // "default\"
    PATH_COMMON_PALETTE = 7,    // "data\CommonPalette.cplt4"
    PATH_WORLD_MAP = 13,        // "data\WorldMap.dat"
    PATH_DB_ANIME_SET = 15,     // "data\database\AnimeSet.dat"; the other nine follow at odd indexes
    PATH_DB_ANIME = 17,
    PATH_DB_BMP_CHARA_EXC = 19,
    PATH_DB_SWORD_TYPE = 21,
    PATH_DB_EFFECT = 23,
    PATH_DB_CHARA_EFFECT = 25,
    PATH_DB_SCR_EFFECT = 27,
    PATH_DB_PICTURE = 29,
    PATH_DB_SOUND = 31,
    PATH_DB_BGM = 33,
    PATH_SYSTEM = 35,           // "data\System.dat"
    PATH_STAGE_PREFIX = 37,     // "data\stg4\c"
    PATH_RANKING_STORY = 38,    // "user_data\story\"
    PATH_RANKING_CHALLENGE = 39,
    PATH_RANKING_FREE = 40,
    PATH_STORY_PREFIX = 41,     // "user_data\story\Story"
    PATH_CHALLENGE = 42,        // "user_data\challenge\Challenge.dat"
    PATH_OPTION = 43,           // "user_data\Option.dat"
    PATH_USER_DATA = 44,        // "user_data\"
    PATH_KEY_CONFIG = 45,
    PATH_BOOT = 46,
    PATH_WINDOW = 47,
};

// Indexes of g_ExtTable.
enum EXTINDEX { EXT_CPLT4 = 0, EXT_STG4 = 1, EXT_PLT4 = 2, EXT_RKG = 3 };

extern const char* const g_PathTable[kPathCount];
extern const char* const g_ExtTable[kExtCount];
extern const char* const g_DataFolders[kDataFolderCount];

// The stage file that the world map and the stage select start for a stage number (from 1):
// "%s%02d-1.%s" of "data\stg4\c", the number and "stg4".
void MakeStageFileName(std::string& name, int stageNumber);
