// Writes the seed corpora of the fuzz targets into the folder given (fuzz/corpus): valid files
// of the current and of older versions, one per interesting shape. Run it when a target or a
// format changes and commit what it writes.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "records/option_data.h"
#include "tools/records/byte_image.h"
#include "tools/records/sample_record.h"
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_corpus <fuzz/corpus folder>\n");
        return 2;
    }
    g_root = argv[1];
    RecordsCorpus();
    StageCorpus();
    return 0;
}
