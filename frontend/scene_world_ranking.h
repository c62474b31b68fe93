// The world map's use of the stage rankings: the ranking of the stage entry under the player is
// loaded when the player stands on it and its board is shown beside the map. These two
// functions are the only places where the world map reaches the ranking tables.
#pragma once

// Loads the story-mode ranking file of a stage (by the play data's stage name) into the
// ranking holder.
void LoadWorldMapRanking(const char* stageName);
// Draws ranking table `table` (0-4) of the holder as the board at (x, y) on the back buffer.
void DrawWorldMapRanking(int x, int y, int table);
