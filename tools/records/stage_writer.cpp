// Writers of stage files, common palettes and sample definitions.
#include "tools/records/stage_writer.h"

#include "records/data_paths.h"
#include "tools/records/game_folder.h"

namespace {

std::vector<uint8_t> Image(cDataFile& record) {
    cRecordWriter w;
    cDataFile::OpenWrite(w);
    record.Write(w);
    return w.Data();
}

}  // namespace

cFlow MakeSampleFlow(int seed) {
    cFlow f;
    f.m_byId = (uint8_t)(1 + seed % 5);
    f.m_cGroup = (int8_t)(seed % 27);
    f.m_cTrigger = (int8_t)(seed % 20);
    f.m_cKeyWindow = 4;
    f.m_byKeyRepeat = 1;
    cFlowCond c;
    c.m_cKind = 1;
    c.m_sIndex = (int16_t)(seed % 100);
    c.m_nValue = seed;
    c.m_byOperator = 2;
    f.m_vecConds.push_back(c);
    cFlowKeyCond k;
    k.m_vecKeys[seed % 19] = 1;
    k.m_wMinFrames = 1;
    k.m_wMaxFrames = 30;
    f.m_vecKeyConds.push_back(k);
    cFlowCmd cmd;
    cmd.m_cKind = 11;  // shot
    cmd.m_wTime = (uint16_t)(10 + seed % 20);
    cmd.m_strText = "ショット";
    cmd.CreateEdMove();
    cmd.m_pMove->Speed() = (uint16_t)(20 + seed % 10);
    cmd.CreateEdShot();
    cmd.m_pShot->FormationCount() = 3;
    cmd.m_pShot->Graphic() = (uint16_t)(seed % 120);
    cmd.m_pShot->Power() = 10 + seed;
    f.m_vecCmds.push_back(cmd);
    return f;
}

cCharaRec MakeHero(int16_t x, int16_t y) {
    cCharaRec c;
    c.m_byRole = 0;
    c.m_wGraphic = 1;
    c.m_sPlaceX = x;
    c.m_sPlaceY = y;
    c.m_strName = "主人公";
    return c;
}

cCharaRec MakeSampleChara(int16_t x, int16_t y, int flows, int seed) {
    cCharaRec c;
    c.m_wGraphic = (uint16_t)(1 + seed % 100);
    c.m_sPlaceX = x;
    c.m_sPlaceY = y;
    c.m_strName = "キャラ" + std::to_string(seed);
    for (int i = 0; i < flows; ++i) c.m_vecFlows.push_back(MakeSampleFlow(seed + i));
    return c;
}

cItemRec MakeSampleItem(int seed) {
    cItemRec item;
    item.m_wGraphic = (uint16_t)(1 + seed % 50);
    item.m_strName = "アイテム";
    cFlowCmd cmd;
    cmd.m_byInstant = 1;
    cmd.m_cKind = 7;  // status operation
    cmd.m_vecParams.assign(18, 0);
    cmd.m_vecParams[0] = seed;
    item.m_vecCmds.push_back(cmd);
    return item;
}

cBlockRec MakeSampleBlock(int seed) {
    cBlockRec b;
    b.m_wGraphic = (uint16_t)(1 + seed % 200);
    b.m_byB12 = 1;
    b.m_strName = "ブロック";
    cFlowCond c;
    c.m_cKind = 2;
    c.m_nValue = seed;
    b.m_vecConds.push_back(c);
    return b;
}

void MakeSampleStage(cStage& stage, int32_t width, int32_t height, int charas, int flows) {
    stage.Clear();
    stage.m_nWidth = width;
    stage.m_nHeight = height;
    stage.m_nScrollRight = width - 1;
    stage.m_nScrollBottom = height - 1;
    stage.m_strStage = "ステージ";
    stage.m_vecPaletteBlocks.push_back(MakeSampleBlock(1));
    stage.m_vecPaletteCharas.push_back(MakeSampleChara(0, 0, flows, 1));
    stage.m_vecPaletteItems.push_back(MakeSampleItem(1));
    stage.m_vecCharas.push_back(MakeHero(2, (int16_t)(height - 3)));
    for (int i = 0; i < charas; ++i)
        stage.m_vecCharas.push_back(MakeSampleChara((int16_t)(i % width), (int16_t)(i / width % height), flows, i));
    for (int32_t y = 0; y < height; ++y) {
        cBlockRec b = MakeSampleBlock(y);
        b.m_sPlaceX = (int16_t)(y % width);
        b.m_sPlaceY = (int16_t)y;
        stage.m_vecBlocks.push_back(b);
    }
    for (int i = 0; i < 3; ++i) {
        cItemRec item = MakeSampleItem(i);
        item.m_sPlaceX = (int16_t)(i * 2);
        item.m_sPlaceY = 1;
        stage.m_vecItems.push_back(item);
    }
    stage.m_vecTexts.resize(3);
    stage.m_vecTexts[1].m_strText = "テキスト";
}

std::vector<uint8_t> StageFileImage(cStage& stage) { return Image(stage); }
std::vector<uint8_t> CommonPaletteImage(cCommonPalette& palette) { return Image(palette); }

bool WriteStageFile(cGameFolder& folder, const std::string& programPath, cStage& stage) {
    return folder.WriteFile(programPath, StageFileImage(stage));
}

bool WriteCommonPalette(cGameFolder& folder, cCommonPalette& palette) {
    return folder.WriteFile(g_PathTable[PATH_COMMON_PALETTE], CommonPaletteImage(palette));
}
