// The fixture of the play-data tests: project globals at their defaults, the user folders of
// the play files, an empty slot list and a new game as the current play data.
#pragma once

#include "records/replay.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/story_saves.h"
#include "records/system_data.h"
#include "records/world_map.h"
#include "test_support.h"

namespace recordtest {

class SaveTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        folder_->MakeLayout();
        for (const char* f : {"user_data\\story", "user_data\\challenge", "user_data\\rpl4"}) folder_->MakeFolder(f);
        ResetGlobals();
    }
    void TearDown() override {
        SetRecordWriteFailureAfter(-1);
        ResetGlobals();
        RecordTest::TearDown();
    }
    static void ResetGlobals() {
        g_SystemData = cSystemData();
        g_WorldMap = cWorldMap();
        g_SaveSlotList = cSaveSlotList();
        g_SaveData = cSaveData();
        g_Replay = cReplay();
        g_ReplayPrev = cReplay();
        g_SaveDataAttempt = cSaveData();
        g_SaveDataPrevAttempt = cSaveData();
        g_LoadedStage = cStage();
        g_StageSettings = cStage();
    }
};

}  // namespace recordtest
