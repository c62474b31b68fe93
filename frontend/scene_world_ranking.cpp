#include "frontend/scene_world_ranking.h"

// The ranking tables and their board are not part of the program yet: until they are, the map
// loads no ranking and shows no board (the show-ranking switch and the table choice still work).

void LoadWorldMapRanking(const char* stagePath) { (void)stagePath; }

void DrawWorldMapRanking(int x, int y, int table) {
    (void)x;
    (void)y;
    (void)table;
}
