// Replays: recording, playback, the lists in files and the replay file.
#include "records/replay.h"

#include <cstring>

#include "core/report.h"
#include "media/player_input.h"
#include "records/record_list.h"
#include "records/stage.h"
#include "records/stage_file.h"

cReplay g_Replay;
cReplay g_ReplayPrev;
cSaveData g_SaveDataAttempt;
cSaveData g_SaveDataPrevAttempt;

namespace {

// One frame of one kind: the last run grows, or a new run of 1 starts.
void AppendFrame(std::vector<uint16_t>& values, std::vector<uint32_t>& runs, uint16_t bits) {
    if (!values.empty() && values.size() == runs.size() && values.back() == bits) {
        if (runs.back() != UINT32_MAX) {
            ++runs.back();
            return;
        }
    }
    values.push_back(bits);
    runs.push_back(1);
}

}  // namespace

cReplay::cReplay() : m_dwSeed(0), m_dwDirPos(0), m_dwButtonPos(0), m_dwDirCount(0), m_dwButtonCount(0) {}

const RECORDLAYOUT& cReplay::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder().Values<&cReplay::m_dwSeed>().Build();
    return layout;
}

void cReplay::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadValueList(reader, m_vecDirValues);
    ReadValueList(reader, m_vecButtonValues);
    ReadValueList(reader, m_vecDirRuns);
    ReadValueList(reader, m_vecButtonRuns);
}

void cReplay::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteValueList(writer, m_vecDirValues);
    WriteValueList(writer, m_vecButtonValues);
    WriteValueList(writer, m_vecDirRuns);
    WriteValueList(writer, m_vecButtonRuns);
}

void cReplay::Record(const cPlayerInput& input) {
    AppendFrame(m_vecDirValues, m_vecDirRuns, input.m_wKey);
    AppendFrame(m_vecButtonValues, m_vecButtonRuns, input.m_wButton);
}

uint32_t cReplay::Next(cPlayerInput& input) {
    // Either kind running out ends the replay; a run list shorter than its values ends it too.
    if (m_dwDirPos >= m_vecDirValues.size() || m_dwDirPos >= m_vecDirRuns.size() ||
        m_dwButtonPos >= m_vecButtonValues.size() || m_dwButtonPos >= m_vecButtonRuns.size())
        return 1;
    input.m_wKey = m_vecDirValues[m_dwDirPos];
    // The run is reached when the count is at least the stored length, so a run of 0 plays as 1.
    if (++m_dwDirCount >= m_vecDirRuns[m_dwDirPos]) {
        m_dwDirCount = 0;
        ++m_dwDirPos;
    }
    input.m_wButton = m_vecButtonValues[m_dwButtonPos];
    if (++m_dwButtonCount >= m_vecButtonRuns[m_dwButtonPos]) {
        m_dwButtonCount = 0;
        ++m_dwButtonPos;
    }
    return 0;
}

void cReplay::AssignInputs(const cReplay& source) {
    if (&source == this) return;
    m_vecDirValues = source.m_vecDirValues;
    m_vecButtonValues = source.m_vecButtonValues;
    m_vecDirRuns = source.m_vecDirRuns;
    m_vecButtonRuns = source.m_vecButtonRuns;
    m_dwSeed = source.m_dwSeed;
}

void cReplay::Clear() {
    cDataFile::Clear();
    m_vecDirValues.clear();
    m_vecButtonValues.clear();
    m_vecDirRuns.clear();
    m_vecButtonRuns.clear();
    Rewind();
}

void cReplay::Rewind() { m_dwDirPos = m_dwButtonPos = m_dwDirCount = m_dwButtonCount = 0; }

bool cReplay::IsConsistent() const {
    return m_vecDirValues.size() == m_vecDirRuns.size() && m_vecButtonValues.size() == m_vecButtonRuns.size();
}

BOOL cReplay::WriteFile(const char* path, cStage& loaded, cStage& settings, cSaveData& snapshot) {
    cRecordWriter writer;
    cDataFile::OpenWrite(writer);
    loaded.WriteCopy(writer, settings);
    Write(writer);
    snapshot.Write(writer);
    if (!cDataFile::CloseWrite(writer, path)) {
        WriteReport("%s: the replay could not be written", path && *path ? path : "(no name)");
        return FALSE;
    }
    return TRUE;
}

BOOL cReplay::LoadFile(const char* path, cStage& loaded, cStage& settings, cSaveData& playData) {
    cRecordReader reader;
    if (!cDataFile::OpenRead(reader, path)) {
        WriteReport("%s: the replay cannot be opened", path && *path ? path : "(no name)");
        return FALSE;
    }
    return LoadFrom(reader, loaded, settings, playData);
}

BOOL cReplay::LoadFrom(cRecordReader& reader, cStage& loaded, cStage& settings, cSaveData& playData) {
    const uint32_t version = g_nFileVersion;
    // The stage is read in place (its definitions take their templates from its own palette)
    // and put back when the file is refused; the replay and the play data go into copies that
    // are taken over only when the whole file was read.
    cStage previous = loaded;
    cReplay replay = *this;
    cSaveData data = playData;
    const char* why = nullptr;

    loaded.Read(reader);
    if (!reader.Ended() && version >= 174) {
        // The stage body ends with the stage file's end mark.
        uint32_t mark;
        std::memcpy(&mark, reader.Data() + reader.Offset() - 4, 4);
        if (mark != kStageEndMark) why = "its stage has no end mark";
    }
    if (!why) {
        replay.Read(reader);
        if (version >= kReplayPlayDataVersion) data.Read(reader);
        if (reader.Ended()) why = "it ends early or is damaged";
        else if (!replay.IsConsistent()) why = "its value and run lists differ in length";
        else if (!loaded.HasHero()) why = "its stage has no hero";
    }
    if (why) {
        WriteReport("%s: the replay was not loaded: %s", reader.Name(), why);
        loaded = std::move(previous);
        return FALSE;
    }
    TakeStageSettings(settings, loaded);
    AssignInputs(replay);
    Rewind();
    playData = std::move(data);
    return TRUE;
}
