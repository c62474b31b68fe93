#include "frontend/scene_world_ranking.h"

#include "app/scene_manager.h"
#include "media/draw_device.h"
#include "records/ranking.h"

void LoadWorldMapRanking(const char* stageName) { LoadRanking(g_RankingHolder, GAME_MODE_STORY, stageName); }

void DrawWorldMapRanking(int x, int y, int table) { g_RankingHolder.DrawTable(&g_BackBufferSD, x, y, table, -1); }
