// Project data files for test game folders.
#include "tools/records/project_writer.h"

#include "records/data_paths.h"

bool WriteDatabaseFiles(cGameFolder& folder, cDatabase& db, int skip) {
    bool ok = true;
    for (int t = 0; t < DB_TABLE_COUNT; ++t) {
        if (t == skip) continue;
        cRecordWriter w;
        db.WriteTable((DBTABLE)t, w);
        ok = folder.WriteFile(cDatabase::TablePath((DBTABLE)t), w.Data()) && ok;
    }
    return ok;
}

bool WriteProjectFiles(cGameFolder& folder, cDatabase& db, cSystemData& system, cWorldMap& map) {
    folder.MakeLayout();
    bool ok = WriteDatabaseFiles(folder, db);
    cRecordWriter w;
    cDataFile::OpenWrite(w);
    // Writing the system record drops menu tunes that the process's database does not hold:
    // it is written against the database of this game.
    cDatabase current = g_Database;
    g_Database = db;
    system.Write(w);
    g_Database = current;
    ok = folder.WriteFile(g_PathTable[PATH_SYSTEM], w.Data()) && ok;
    cDataFile::OpenWrite(w);
    map.Write(w);
    ok = folder.WriteFile(g_PathTable[PATH_WORLD_MAP], w.Data()) && ok;
    return ok;
}
