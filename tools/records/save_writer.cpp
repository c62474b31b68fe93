// Save and replay files for tests and fuzz seeds.
#include "tools/records/save_writer.h"

#include <cstdio>
#include <string>

#include "records/data_paths.h"
#include "records/record_list.h"
#include "records/replay.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "tools/records/stage_writer.h"

namespace {

// Writes in the layout of another data version for as long as it lives.
class cVersionScope {
public:
    explicit cVersionScope(uint32_t version) : m_nSaved(g_nCurrentVersion) { g_nCurrentVersion = version; }
    ~cVersionScope() { g_nCurrentVersion = m_nSaved; }

private:
    uint32_t m_nSaved;
};

// The play data body in the layout of the version in force (g_nCurrentVersion), the lists as
// they are (no padding or fitting to the project).
void WriteSaveBody(cRecordWriter& w, cSaveData& d) {
    d.cDataFile::Write(w);
    const SYSTEMTIME& t = d.m_Stamp;
    for (WORD v : {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds})
        w.WriteU16(v);
    if (g_nCurrentVersion >= 501) WriteValueList(w, d.m_vecCarrySwitches);
    WriteRecordList(w, d.m_vecHeroes);
    WriteRecordList(w, d.m_vecStageBests);
    WriteRecordList(w, d.m_vecStageResults);
    WriteValueList(w, d.m_vecStageValues);
    WriteValueList(w, d.m_vecCommonVars);
}

bool WriteSave(cGameFolder& folder, const std::string& path, cSaveData& data, uint32_t version) {
    return folder.WriteFile(path, SaveFileImage(data, version));
}

}  // namespace

std::vector<uint8_t> SaveFileImage(cSaveData& data, uint32_t version) {
    cVersionScope scope(version);
    cRecordWriter w;
    w.WriteU32(version);
    WriteSaveBody(w, data);
    return w.Data();
}

bool WriteStorySave(cGameFolder& folder, int slot, cSaveData& data, uint32_t version) {
    char name[32];
    std::snprintf(name, sizeof name, "%02d.dat", slot + 1);
    return WriteSave(folder, std::string(g_PathTable[PATH_STORY_PREFIX]) + name, data, version);
}

bool WriteChallengeSave(cGameFolder& folder, cSaveData& data, uint32_t version) {
    return WriteSave(folder, g_PathTable[PATH_CHALLENGE], data, version);
}

void MakeReplayStage(cStage& stage) {
    stage = cStage();
    stage.m_vecCharas.push_back(MakeHero(0, 0));
}

std::vector<uint8_t> ReplayFileImage(cStage& stage, cReplay& replay, cSaveData& snapshot, uint32_t version) {
    cVersionScope scope(version);
    cRecordWriter w;
    w.WriteU32(version);
    {
        cRecordWriter body;
        stage.WriteCopy(body, stage);
        std::vector<uint8_t> bytes = body.Data();
        // The stage end mark belongs to files of version 173 and later.
        if (version < 173) bytes.resize(bytes.size() - 4);
        w.WriteBytes(bytes.data(), bytes.size());
    }
    replay.Write(w);
    if (version >= kReplayPlayDataVersion) WriteSaveBody(w, snapshot);
    return w.Data();
}
