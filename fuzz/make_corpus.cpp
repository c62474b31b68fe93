// Writes the seed corpora of the fuzz targets into the folder given (fuzz/corpus): valid files
// of the current and of older versions, one per interesting shape. Run it when a target or a
// format changes and commit what it writes.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "flow/cmd_flow_game.h"
#include "flow/flow.h"
#include "flow/flow_cmd.h"
#include "records/database.h"
#include "records/option_data.h"
#include "records/ranking.h"
#include "records/replay.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "records/world_map.h"
#include "tools/bmp_writer.h"
#include "tools/records/byte_image.h"
#include "tools/records/sample_record.h"
#include "tools/records/save_writer.h"
#include "tools/records/stage_writer.h"

namespace fs = std::filesystem;

namespace {

std::string g_root;

void Seed(const std::string& target, const std::string& name, uint8_t pick, const std::vector<uint8_t>& image) {
    fs::create_directories(g_root + "/" + target);
    std::vector<uint8_t> bytes(image.size() + 1);
    bytes[0] = pick;
    std::copy(image.begin(), image.end(), bytes.begin() + 1);
    WriteHostFile(g_root + "/" + target + "/" + name, bytes);
}

std::vector<uint8_t> Image(cDataFile& r) {
    cRecordWriter w;
    cDataFile::OpenWrite(w);
    r.Write(w);
    return w.Data();
}

void RecordsCorpus() {
    cSampleRecord s;
    s.m_strName = "name\r\n";
    s.m_strNote = "note";
    s.m_vecItems.resize(2);
    s.m_vecItems[0].m_strLabel = "item";
    Seed("records", "sample_754", 0, Image(s));
    Seed("records", "sample_754_strip", 0x80, Image(s));
    cByteImage old;
    old.U32(155).U32(6).U8(1).U16(2).U32(3).U32(4).U32(5).U32(6).U64(7).F64(8.0).U32(1).Str("old").U32(0);
    Seed("records", "sample_155", 0, old);
    cOptionData o;
    Seed("records", "option_754", 1, Image(o));
}

// The same image under another version word.
std::vector<uint8_t> Versioned(std::vector<uint8_t> image, uint32_t version) {
    for (int i = 0; i < 4; ++i) image[i] = (uint8_t)(version >> (8 * i));
    return image;
}

void StageCorpus() {
    cStage stage;
    MakeSampleStage(stage, 24, 16, 3, 2);
    stage.m_vecPaletteCharas[1].m_byTemplateKind = 2;
    stage.m_vecPaletteCharas[1].m_wTemplateIndex = 1;
    stage.m_vecPaletteCharas[1].m_vecTemplateFlags[0] = 1;
    std::vector<uint8_t> s = Image(stage);
    Seed("stage", "stage_754", 0, s);
    Seed("stage", "stage_753", 0, Versioned(s, 753));
    Seed("stage", "stage_173", 0, Versioned(s, 173));
    cCommonPalette palette;
    palette.m_vecCharas.push_back(MakeSampleChara(1, 1, 2, 1));
    palette.m_vecItems.push_back(MakeSampleItem(2));
    palette.m_vecBlocks.push_back(MakeSampleBlock(3));
    Seed("stage", "palette_754", 1, Image(palette));
    cCharaRec chara = MakeSampleChara(3, 4, 3, 5);
    Seed("stage", "chara_754", 2, Image(chara));
    Seed("stage", "chara_167", 2, Versioned(Image(chara), 167));
    cItemRec item = MakeSampleItem(6);
    Seed("stage", "item_754", 3, Image(item));
    cBlockRec block = MakeSampleBlock(7);
    Seed("stage", "block_754", 4, Image(block));
    cFlow flow = MakeSampleFlow(8);
    flow.m_byErase = 1;
    cFlowCmd change;  // an instant flow change holding the flow
    change.m_byInstant = 1;
    change.m_cKind = 1;
    change.m_vecFlows.push_back(flow);
    flow.m_vecCmds.push_back(change);
    Seed("stage", "flow_754", 5, Image(flow));
    Seed("stage", "flow_754_editor", 0x85, Image(flow));
    Seed("stage", "flow_733", 5, Versioned(Image(flow), 733));
}

void Raw(const std::string& target, const std::string& name, const std::string& text) {
    fs::create_directories(g_root + "/" + target);
    WriteHostFile(g_root + "/" + target + "/" + name, std::vector<uint8_t>(text.begin(), text.end()));
}

void DatabaseCorpus() {
    cDatabase db;
    db.m_vecAnime[1].m_vecFrames.resize(3);
    db.m_vecAnime[1].m_vecFrames[1].m_nLock = 1;
    db.m_vecEffect[1].m_vecFrames.resize(2);
    db.m_vecCharaEffect[1].m_nKind = 4;
    db.m_vecScrEffect[1].m_nKind = 1;
    db.m_vecSwordType[0].m_vecEntries.resize(2);
    db.m_vecBmpCharaExc[1].m_bLargeCells = 1;
    for (int t = 0; t < DB_TABLE_COUNT; ++t) {
        cRecordWriter w;
        db.WriteTable((DBTABLE)t, w);
        Seed("database", "table" + std::to_string(t), (uint8_t)t, w.Data());
    }
    // Old versions: an animation set of 118 with two groups, effects of 510.
    cByteImage set;
    set.U32(118).U32(1).U32(2).I32(1).I32(2).U32(1).Str("set").U32(2);
    for (int g = 0; g < 2; ++g) set.U32(3).U16(0).U8(1).U16(0).U32(1).Str("g").U32(1).U32(3).I32(1).I32(1).I32(0).U32(0);
    Seed("database", "animeset_118", DB_ANIME_SET, set);
    cByteImage eff;
    eff.U32(510).U32(1).U32(2).I32(10).I32(5).I32(0).I32(640).I32(4).I32(9).U32(1).Str("w");
    Seed("database", "screffect_510", DB_SCR_EFFECT, eff);
}

void SystemCorpus() {
    cSystemData s;
    fs::create_directories(g_root + "/system_data");
    WriteHostFile(g_root + "/system_data/system_754", Image(s));
    cByteImage old;  // version 168 with empty lists and a three-item save menu
    old.U32(168).U32(10);
    for (uint32_t v : {100u, 1u, 0u, 1u, 40u, 1u, 1u, 1u, 1u, 1u}) old.U32(v);
    old.U32(1).Str("").U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(3);
    for (const char* t : {"A", "B", "C"}) old.U32(1).U32(1).U32(1).Str(t);
    old.U32(0).U32(0);
    WriteHostFile(g_root + "/system_data/system_168", old);
}

void WorldMapCorpus() {
    cWorldMap m;
    m.m_vecPointEntries.resize(2);
    m.m_vecPointEntries[1].m_nX = 4;
    m.m_vecPointEntries[1].m_vecItems.resize(1);
    fs::create_directories(g_root + "/world_map");
    WriteHostFile(g_root + "/world_map/map_754", Image(m));
}

void SystemIniCorpus() {
    Raw("system_ini", "defaults", "Direct3D=1\nWindowMode=1\nBpp=16 // depth\nVSync=2\nShowFps=0\nFreeStage=data\\stg4\\c01-1.stg4\nEnglish=1\nExit\n");
    Raw("system_ini", "crlf", "ShowFps =2\r\nDD_FontCache= 1\r\nExit\r\n");
}

void BmpCorpus() {
    fs::create_directories(g_root + "/bmp");
    std::vector<uint32_t> colours(256);
    for (int i = 0; i < 256; ++i) colours[i] = (uint32_t)(i * 0x010203);
    tools::BmpPicture pal = tools::PalettePicture(9, 5, colours);
    for (size_t i = 0; i < pal.indices.size(); ++i) pal.indices[i] = (uint8_t)(i * 7);
    tools::BmpPicture rgb = tools::SolidPicture(7, 3, 0x336699);
    struct {
        const char* name;
        const tools::BmpPicture& pic;
        tools::BmpOptions opt;
    } seeds[] = {
        {"p1", pal, {1, false, false}},  {"p4", pal, {4, false, false}},  {"p8", pal, {8, false, false}},
        {"p8_top", pal, {8, true, false}}, {"rle8", pal, {8, false, true}}, {"rgb24", rgb, {24, false, false}},
        {"rgb32", rgb, {32, true, false}},
    };
    for (const auto& s : seeds) WriteHostFile(g_root + "/bmp/" + s.name, tools::EncodeBmp(s.pic, s.opt));
}

// A game in progress: a carried hero, bests, results and some variables.
cSaveData PlayedGame() {
    cSaveData d;
    d.m_bCarryOn = 1;
    d.m_nMapX = 4;
    d.m_nStageNumber = 3;
    d.m_nLives = 999999;
    d.m_strStageName = "c03.";
    d.m_vecCarrySwitches[0] = d.m_vecCarrySwitches[23] = 1;
    d.m_vecHeroes.resize(2);
    d.m_vecHeroes[1].m_Chara.m_vecFlows.resize(1);
    cStageBestRec best;
    best.m_strKey = "c01.";
    best.m_nBestScore = 1200;
    d.m_vecStageBests.push_back(best);
    d.m_vecStageResults.resize(3);
    d.m_vecStageResults[0].m_bCleared = 1;
    d.m_vecCommonVars[1] = 7;
    return d;
}

void SaveDataCorpus() {
    cSaveData d = PlayedGame();
    fs::create_directories(g_root + "/save_data");
    WriteHostFile(g_root + "/save_data/save_754", SaveFileImage(d));
    WriteHostFile(g_root + "/save_data/save_500", SaveFileImage(d, 500));
    WriteHostFile(g_root + "/save_data/save_165", SaveFileImage(d, 165));
    cSaveData fresh;
    WriteHostFile(g_root + "/save_data/new_game", SaveFileImage(fresh));
}

void ReplayCorpus() {
    cStage stage;
    MakeReplayStage(stage);
    stage.m_vecBackgrounds.resize(2);
    cReplay r;
    r.m_dwSeed = 12345;
    r.m_vecDirValues = {0, 2, 10, 0};
    r.m_vecDirRuns = {30, 12, 0, 100};
    r.m_vecButtonValues = {0, 1, 0};
    r.m_vecButtonRuns = {40, 3, 99};
    cSaveData d = PlayedGame();
    fs::create_directories(g_root + "/replay");
    WriteHostFile(g_root + "/replay/replay_754", ReplayFileImage(stage, r, d));
    WriteHostFile(g_root + "/replay/replay_172", ReplayFileImage(stage, r, d, 172));
    cReplay empty;
    WriteHostFile(g_root + "/replay/empty_754", ReplayFileImage(stage, empty, d));
    // A stage with characters, flows, blocks and items.
    cStage sample;
    MakeSampleStage(sample, 30, 20, 3, 2);
    WriteHostFile(g_root + "/replay/sample_754", ReplayFileImage(sample, r, d));
}

// Rankings: an empty file, a played one, and an old file of three tables.
void RankingCorpus() {
    fs::create_directories(g_root + "/ranking");
    cRankingHolder empty;
    WriteHostFile(g_root + "/ranking/empty_754", Image(empty));
    cRankingHolder played;
    played.m_vecTables[0].Add("ABC", 12000);
    played.m_vecTables[0].Add("あいう", 9000);
    played.m_vecTables[2].Add("Z", 6543210);
    played.m_vecTables[4].Add("", -3);
    WriteHostFile(g_root + "/ranking/played_754", Image(played));
    played.m_vecTables.resize(3);
    WriteHostFile(g_root + "/ranking/three_180", Versioned(Image(played), 180));
}

// Play: byte 0 the count of key bytes, the key bytes (4 frames each: directions in bits 0-3,
// buttons in bits 4-7), then a whole stage file.
void PlaySeed(const std::string& name, const std::vector<uint8_t>& keys, cStage& stage) {
    fs::create_directories(g_root + "/play");
    std::vector<uint8_t> image = StageFileImage(stage);
    std::vector<uint8_t> bytes;
    bytes.reserve(1 + keys.size() + image.size());
    bytes.push_back((uint8_t)keys.size());
    for (uint8_t k : keys) bytes.push_back(k);
    for (uint8_t b : image) bytes.push_back(b);
    WriteHostFile(g_root + "/play/" + name, bytes);
}

cFlowCmd Command(int kind, std::vector<int32_t> params) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_vecParams = std::move(params);
    return c;
}

// A floor, the hero and one character whose flow starts with `hold` (a command that holds the
// game), then halts.
cStage HoldStage(const cFlowCmd& hold) {
    cStage s;
    s.m_nWidth = 40;
    s.m_nHeight = 30;
    s.m_nHitLevel = 1;
    s.m_dGravity = 0.5;
    for (int x = 0; x < 40; ++x) {
        cBlockRec b;
        b.m_wGraphic = 1;
        b.m_byB12 = 1;
        b.m_sPlaceX = (int16_t)x;
        b.m_sPlaceY = 12;
        s.m_vecBlocks.push_back(b);
    }
    auto placed = [](int col, int role) {
        cCharaRec c;
        c.m_byRole = (uint8_t)role;
        c.m_wGraphic = 1;
        c.m_sPlaceX = (int16_t)col;
        c.m_sPlaceY = 11;
        c.m_nC39 = 3;
        return c;
    };
    cFlow flow;
    flow.m_vecCmds = {hold, Command(16, {FLOWOP_HALT, FLOWOP_THIS, 0})};
    s.m_vecCharas = {placed(20, 0), placed(24, 1)};
    s.m_vecCharas[1].m_vecFlows = {flow};
    return s;
}

void PlayCorpus() {
    // The sample game's first stage, standing and then walking right and jumping.
    cStage sample;
    MakeSampleStage(sample, 40, 15, 6, 2);
    PlaySeed("sample_stage_still", {}, sample);
    PlaySeed("sample_stage_run", {0x02, 0x02, 0x12, 0x02, 0x22, 0x01, 0x11, 0x00}, sample);
    // A smaller stage with blocks, characters and items, and the replay stage.
    cStage blocks;
    MakeSampleStage(blocks, 24, 16, 3, 2);
    PlaySeed("block_stage_keys", {0x08, 0x04, 0x1A, 0x25, 0x40, 0x80, 0xF0, 0x0F}, blocks);
    cStage replay;
    MakeReplayStage(replay);
    PlaySeed("replay_stage", {0x02, 0x10}, replay);
    // A flying hero in an empty 40 x 15 stage, as the play tests place it.
    cStage flying;
    flying.m_nWidth = 40;
    flying.m_nHeight = 15;
    cCharaRec hero = MakeHero(3, 5);
    hero.m_byC27 = 1;
    flying.m_vecCharas.assign(1, hero);
    PlaySeed("flying_hero", {0x01, 0x02, 0x04, 0x08}, flying);
    // Flows that hold the game: a message window until button 1, ended by a press among the keys
    // or, with no keys, by the run's limit on a hold; a game wait of ten seconds (600 frames).
    std::vector<int32_t> message(18, 0);
    message[6] = 0;  // until the key
    message[8] = 1;  // hold the game
    cFlowCmd show = Command(19, message);
    show.m_strText = "HOLD";
    cStage held = HoldStage(show);
    PlaySeed("hold_message_key", {0x00, 0x00, 0x10, 0x00}, held);
    PlaySeed("hold_message_no_key", {}, held);
    cStage wait = HoldStage(Command(18, {100}));
    PlaySeed("hold_game_wait", {}, wait);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_corpus <fuzz/corpus folder>\n");
        return 2;
    }
    g_root = argv[1];
    RecordsCorpus();
    StageCorpus();
    DatabaseCorpus();
    SystemCorpus();
    WorldMapCorpus();
    SystemIniCorpus();
    SaveDataCorpus();
    ReplayCorpus();
    BmpCorpus();
    RankingCorpus();
    PlayCorpus();
    return 0;
}
