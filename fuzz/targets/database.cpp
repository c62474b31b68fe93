// The project database tables: byte 0 picks one of the ten tables, the rest is its file. The
// table is read over the default database, written, read back and written again (the two
// images must match), then every derived table is built from it.
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "records/database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const DBTABLE table = (DBTABLE)(data[0] % DB_TABLE_COUNT);
    g_bStripReturns = (data[0] & 0x80) ? TRUE : FALSE;
    cRecordReader reader;
    static cDatabase db;
    CreateDefaultDatabase(db);
    if (cDataFile::OpenReadMemory(reader, data + 1, size - 1, "fuzz")) db.ReadTable(table, reader);
    cRecordWriter first;
    db.WriteTable(table, first);
    cDatabase again;
    cRecordReader reader2;
    if (!cDataFile::OpenReadMemory(reader2, first.Data().data(), first.Data().size(), "again")) std::abort();
    again.ReadTable(table, reader2);
    cRecordWriter second;
    again.WriteTable(table, second);
    if (first.Data() != second.Data()) std::abort();

    db.CopyReversedTables();
    ANIMEFRAMETABLE frames;
    db.BuildIndex1(frames);
    db.BuildIndex2(frames);
    std::vector<CHARAEFFECTSTATE> c1, c2;
    std::vector<SCREFFECTSTATE> s1, s2;
    db.BuildIndex3(c1, c2);
    db.BuildIndex4(s1, s2);
    g_bStripReturns = FALSE;
    return 0;
}
