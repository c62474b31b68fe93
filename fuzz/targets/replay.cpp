// Replay files: loaded whole or refused. A loaded replay has lists of matching lengths and a
// stage with a hero, plays back without reading past a list, and written again loads back to
// the same image. A refused one leaves the stage as it was.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "media/player_input.h"
#include "records/replay.h"
#include "records/stage.h"

namespace {

std::vector<uint8_t> ReplayImage(cReplay& r, cSaveData& play) {
    cRecordWriter w;
    cDataFile::OpenWrite(w);
    g_LoadedStage.WriteCopy(w, g_StageSettings);
    r.Write(w);
    play.Write(w);
    return w.Data();
}

bool Load(cReplay& r, cSaveData& play, const uint8_t* data, size_t size) {
    cRecordReader reader;
    if (!cDataFile::OpenReadMemory(reader, data, size, "fuzz")) return false;
    return r.LoadFrom(reader, g_LoadedStage, g_StageSettings, play) != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    g_LoadedStage = cStage();
    g_StageSettings = cStage();
    cReplay r;
    cSaveData play;
    if (!Load(r, play, data, size)) {
        if (g_LoadedStage.HasHero()) std::abort();  // the new stage stayed as it was
        return 0;
    }
    if (!r.IsConsistent() || !g_LoadedStage.HasHero()) std::abort();
    cPlayerInput input;
    for (int frame = 0; frame < 100000 && r.Next(input) == 0; ++frame) {
    }
    std::vector<uint8_t> first = ReplayImage(r, play);
    cReplay r2;
    cSaveData play2;
    if (!Load(r2, play2, first.data(), first.size())) std::abort();
    if (ReplayImage(r2, play2) != first) std::abort();
    return 0;
}
