// Writers of stage files, common palettes and definitions for tests, fuzz seeds and
// benchmarks: sample flows and definitions whose references fit the default project
// database, stages of a given size, and their file images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "flow/flow.h"
#include "records/common_palette.h"
#include "records/stage.h"

class cGameFolder;

// A flow with one record of every kind: a condition, a key condition and one shot command that
// carries both a move part and a shot part. `seed` varies its values.
cFlow MakeSampleFlow(int seed);
// A placed hero (role 0, graphic 1) at a block position.
cCharaRec MakeHero(int16_t x, int16_t y);
// A placed stage character with `flows` sample flows.
cCharaRec MakeSampleChara(int16_t x, int16_t y, int flows, int seed);
// An item definition with one instant command.
cItemRec MakeSampleItem(int seed);
// A block definition with one condition.
cBlockRec MakeSampleBlock(int seed);

// A stage of `width` x `height` blocks with a hero, `charas` placed characters of `flows`
// flows each, a block on every row and a few items.
void MakeSampleStage(cStage& stage, int32_t width, int32_t height, int charas, int flows);

// The file image a record's SaveFile writes (version word, then the body).
std::vector<uint8_t> StageFileImage(cStage& stage);
std::vector<uint8_t> CommonPaletteImage(cCommonPalette& palette);
// Writes a stage file or "data\CommonPalette.cplt4" into a game folder.
bool WriteStageFile(cGameFolder& folder, const std::string& programPath, cStage& stage);
bool WriteCommonPalette(cGameFolder& folder, cCommonPalette& palette);
