// Flow animations: the animations of the project's list that flows start on a character (the
// run-animation command and the wind-up animations of commands).
#include <algorithm>
#include <climits>
#include <vector>

#include "core/report.h"
#include "flow/cmd_graphics.h"
#include "flow/flow_run.h"
#include "media/anime.h"
#include "play/chara.h"
#include "records/anime_records.h"

namespace {

bool s_bReported = false;

int32_t TenthsToFrames(int64_t tenths) { return (int32_t)std::clamp<int64_t>(tenths * 6, 0, INT32_MAX); }

}  // namespace

void ResetFlowAnimeReports() { s_bReported = false; }

int32_t FlowAnimeLeadFrames(int anime) {
    if (anime < 0 || (size_t)anime >= ProjectAnimes().size()) return 0;
    int64_t tenths = 0;
    for (const cAnimeFrameRec& f : ProjectAnimes()[(size_t)anime].m_vecFrames) {
        tenths += std::max<int32_t>(f.m_nDuration, 0);
        if (f.m_nLock) break;
    }
    return TenthsToFrames(tenths);
}

bool StartFlowAnime(cChara& chara, int anime, int flowId, int skip, int32_t count, int32_t count2) {
    if (anime < 0 || (size_t)anime >= ProjectAnimes().size()) {
        if (!s_bReported) {
            s_bReported = true;
            WriteReport("animation %d out of range (%d in the list): no effect", anime, (int)ProjectAnimes().size());
        }
        return false;
    }
    // The animation's frames played once; the entry leaves the list when they have run.
    std::vector<AnimeFrame> frames;
    const std::vector<cAnimeFrameRec>& recs = ProjectAnimes()[(size_t)anime].m_vecFrames;
    frames.reserve(recs.size() + 1);
    int64_t total = 0;
    for (const cAnimeFrameRec& f : recs) {
        const int32_t time = TenthsToFrames(std::max<int32_t>(f.m_nDuration, 0));
        frames.push_back({std::max(0, f.m_nCell), time, 0});
        total += std::max(1, time);
    }
    frames.push_back({ANIME_END, 0, 0});
    const AnimeFrame* table[] = {frames.data(), nullptr};
    FLOWANIME e{};
    e.anime->SetTable(table);
    e.anime->Set(0, 1);
    // Skipped frames run without being shown (never past the end).
    const int64_t skipped = std::clamp<int64_t>(skip, 0, std::max<int64_t>(total - 1, 0));
    for (int64_t i = 0; i < skipped; ++i) e.anime->Update();
    e.nCount = count;
    e.nCount2 = count2;
    e.nFlowId = flowId;
    e.bPaused = 0;
    chara.m_listFlowAnime.push_front(e);
    return true;
}

void cChara::StartScheduledFlowAnimes() {
    for (const cFlowRun& run : m_vecFlowRun) {
        if (!run.m_bRunning || run.m_bSuspended) continue;
        for (const WINDUPENTRY& e : run.m_vecWindUp) {
            if (e.nStartStep != run.m_nStepCount) continue;
            // Shown until the command starts; the second count keeps it over the others after
            // that, except for sword and jump commands.
            StartFlowAnime(*this, e.nAnime, run.m_nFlowId, e.nSkip, std::max(0, e.nFrames - e.nSkip), e.bLoopEnd);
        }
    }
}

