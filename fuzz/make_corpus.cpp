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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_corpus <fuzz/corpus folder>\n");
        return 2;
    }
    g_root = argv[1];
    RecordsCorpus();
    return 0;
}
