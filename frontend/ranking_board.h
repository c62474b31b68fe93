// The ranking board of one ranking table (cRankingTable::Draw, cRankingHolder::DrawTable, in
// records/ranking.h) and the result board of a finished stage. Both draw in the small font.
#pragma once

#include <cstdint>

#include "records/ranking.h"

struct DDSURFACEDATA;

// The board's place: the ranking board is 16 dots per row, title row first.
constexpr int kRankingBoardWidth = 270;
constexpr int kRankingBoardHeight = 350;

// The result board at (x, y): one row per shown result kind (its name and value), and a place
// image stacked from the top row for every kind that found a ranking place (places[k] != -1).
// Kind k is shown when switches[k] is set and either play started from a stage file or the
// game mode ranks kind k. `values` are the five results of the finished game.
void DrawResultBoard(DDSURFACEDATA* surface, int x, int y, const int32_t places[kRankingKinds],
                     const int32_t values[kRankingKinds], const int32_t switches[kRankingKinds]);
