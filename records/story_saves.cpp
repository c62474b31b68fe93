// Story slots, the slot list and the challenge results.
#include "records/story_saves.h"

#include <algorithm>

#include "core/checked.h"
#include "core/format.h"
#include "core/report.h"
#include "platform/win32/timer.h"
#include "records/data_paths.h"
#include "records/save_data.h"
#include "records/system_data.h"

cSaveSlotList g_SaveSlotList;

cSaveSlot::cSaveSlot() : m_bUsed(0), m_Stamp{} {}

const RECORDLAYOUT& cSaveSlot::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder().Values<&cSaveSlot::m_bUsed>().Build();
    return layout;
}

cSaveSlotList::cSaveSlotList() : m_vecSlots(kStorySlotCount) {}

void MakeStoryPath(char* path, int slot) {
    char number[16];
    FormatBounded(number, sizeof number, "%02d", slot + 1);
    FormatBounded(path, MAX_PATH, "%s%s.dat", g_PathTable[PATH_STORY_PREFIX], number);
}

BOOL ReadSaveFile(const char* path, cSaveData& data) {
    cRecordReader reader;
    if (!cDataFile::OpenRead(reader, path)) return FALSE;
    // Read into a copy, so fields an older version lacks keep the values the record held, and
    // take it over only when the whole file was read.
    cSaveData read = data;
    read.Read(reader);
    if (reader.Ended()) {
        WriteReport("%s: the save is damaged and was not loaded", path);
        return FALSE;
    }
    data = std::move(read);
    return TRUE;
}

void ApplyLivesRule(cSaveData& data, int mode) {
    const cSystemData& sys = g_SystemData;
    if (CheckedAt(sys.m_vecUnlimitedLives, mode) != 0) {
        data.m_nLivesReserve = kUnlimitedLives;
        data.m_nLives = kUnlimitedLives;
    } else if (data.m_nLives == kUnlimitedLives) {
        data.m_nLives = (int32_t)std::min<uint32_t>(CheckedAt(sys.m_vecStartLives, mode), INT32_MAX);
    }
}

BOOL SaveStory(cSaveData& data, int slot) {
    std::vector<cSaveSlot>& slots = g_SaveSlotList.m_vecSlots;
    if (slot < 0 || (size_t)slot >= slots.size()) {
        CheckedAt(slots, slot);  // the index error: report line and WM_CLOSE
        return FALSE;
    }
    char path[MAX_PATH];
    MakeStoryPath(path, slot);
    const SYSTEMTIME before = data.m_Stamp;
    GetLocalTime(&data.m_Stamp);
    if (!data.SaveFile(path)) {
        data.m_Stamp = before;
        WriteReport("%s: the story save failed", path);
        return FALSE;
    }
    SetSlotStamp(slots[(size_t)slot], data);
    return TRUE;
}

BOOL LoadStory(cSaveData& data, int slot) {
    if (slot < 0 || slot >= kStorySlotCount) {
        WriteReport("Story slot %d does not exist", slot);
        return FALSE;
    }
    char path[MAX_PATH];
    MakeStoryPath(path, slot);
    if (!ReadSaveFile(path, data)) return FALSE;
    ApplyLivesRule(data, 0);
    return TRUE;
}

BOOL LoadChallenge(cSaveData& data) {
    if (!ReadSaveFile(g_PathTable[PATH_CHALLENGE], data)) return FALSE;
    ApplyLivesRule(data, 1);
    return TRUE;
}

BOOL SaveChallengeResult(cSaveData& data, int32_t score) {
    const int32_t stages = (int32_t)std::min<uint32_t>(g_SystemData.m_nStageCount, kMaxStageCount);
    const int64_t entry = (int64_t)data.m_nStageNumber - 1;
    if (entry >= 0 && (size_t)entry < data.m_vecStageResults.size()) {
        cSaveDataPartA& result = data.m_vecStageResults[(size_t)entry];
        result.m_bCleared = 1;
        if (score > result.m_nBestScore) {
            const int64_t total = (int64_t)data.m_nBestTotal + ((int64_t)score - result.m_nBestScore);
            data.m_nBestTotal = (int32_t)std::clamp<int64_t>(total, INT32_MIN, INT32_MAX);
            result.m_nBestScore = score;
        }
    } else {
        WriteReport("Challenge result of stage %d: no such stage in the stage list", data.m_nStageNumber);
    }
    if (data.m_nStagesOpen <= data.m_nStageNumber)
        data.m_nStagesOpen = (int32_t)std::min<int64_t>((int64_t)data.m_nStageNumber + 1, stages);
    if (!data.SaveFile(g_PathTable[PATH_CHALLENGE])) {
        WriteReport("%s: the challenge results could not be saved", g_PathTable[PATH_CHALLENGE]);
        return FALSE;
    }
    return TRUE;
}

void SetSlotStamp(cSaveSlot& slot, const cSaveData& data) {
    slot.m_bUsed = 1;
    slot.m_Stamp = data.m_Stamp;
}

void ScanStorySlots(cSaveSlotList& list) {
    cSaveData scratch;
    for (size_t i = 0; i < list.m_vecSlots.size(); ++i) {
        cSaveSlot& slot = list.m_vecSlots[i];
        char path[MAX_PATH];
        MakeStoryPath(path, (int)i);
        // A new scratch record for every slot: nothing of the previous slot's file shows.
        scratch.Reset();
        if (ReadSaveFile(path, scratch)) {
            SetSlotStamp(slot, scratch);
        } else {
            slot.m_bUsed = 0;
            slot.m_Stamp = SYSTEMTIME{};
        }
    }
}
