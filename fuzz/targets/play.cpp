// Play: one input is a stage file and the keys of a short run of it. Byte 0 is the count k of
// key bytes that follow (each holds player 1's keys for 4 frames: bits 0-3 the directions left,
// right, up, down, bits 4-7 buttons 1-4, pressed as the keys LEFT RIGHT UP DOWN and Z X C V);
// the rest is written as "data\stg4\fuzz.stg4_001" into a game folder made once, loaded as the
// stage selection loads a stage (end mark, loader thread, hero check) and, when it loads,
// played from the start of the play scene for kFrames frames with the drawing device up. A
// stage the loader refuses ends the input. After each frame the play objects that refer to each
// other must still agree (every group entry is a live character or shot).
// The frames run on a game thread of their own while the calling thread serves the window, as
// in the program: a flow or the stage end that holds the game (the pause loop on the pause
// thread, a message window waiting for a key) then sends its sound requests to a window that
// answers. While the game is held the key bytes go on by presented frame, so a key press can
// end the hold; a hold that has shown kHoldFrames frames is ended as closing the window ends it
// (the play scene's quit flag and WM_QUIT to the pause thread), and the input stops there.
// An input plays the same way and covers the same code on every run, however the threads are
// timed: the window thread sleeps until a request or a message comes, and the keys and the end
// of a hold are given on the presenting thread at the presents themselves (the turns the
// threads' waits take are left out of the coverage, fuzz/coverage_ignore.txt).
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <unistd.h>

#include "app/game_loop.h"
#include "app/main_window.h"
#include "app/scene_manager.h"
#include "app/stage_file_service.h"
#include "core/frame_timer.h"
#include "core/globals.h"
#include "core/report.h"
#include "core/thread.h"
#include "frontend/menu_scene.h"
#include "media/asset_table.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "media/player_input.h"
#include "media/surface.h"
#include "platform/host/host.h"
#include "platform/win32/files.h"
#include "platform/win32/timer.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/database.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_file.h"
#include "records/story_saves.h"
#include "records/system_data.h"
#include "records/system_ini.h"
#include "records/world_map.h"
#include "tools/game/minimal_game.h"
#include "tools/game/play_bitmaps.h"
#include "tools/records/game_folder.h"

namespace {

constexpr int kFrames = 120;
// The frames a hold may show before the input ends it.
constexpr uint32_t kHoldFrames = 60;
const char* const kStagePath = "data\\stg4\\fuzz.stg4_001";

// The clock of the run: every reading is a second past the last, so each frame's pacing wait and
// each frame of a hold pass at once; set back for every input, so an input plays the same way
// each time (the play scene seeds its random numbers from it).
std::atomic<DWORD> g_clock{0};
DWORD FuzzClock() { return g_clock += 1000; }

// Player 1's keys of one key byte, as the host keyboard holds them.
void PressKeys(uint8_t k) {
    static const int vk[8] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'Z', 'X', 'C', 'V'};
    for (int i = 0; i < 8; ++i) host::SetKeyState(vk[i], (k >> i) & 1);
}

LRESULT PlayFuzzProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_REQ_SOUND:
    case WM_REQ_MUSIC:
        return 0;  // no sound in the fuzz run
    case WM_REQ_LOADSTAGE:
        ServeLoadStageRequest(h);
        return 0;
    default:
        return DefWindowProcA(h, m, w, l);
    }
}

void OnPresent(uint32_t index);

struct PlayWorld {
    std::unique_ptr<cGameFolder> folder;
    HWND hwnd = nullptr;
    bool ok = false;
};

// The window, the report, the drawing device with its palette and key colour, and the fonts.
bool OpenDevice(PlayWorld* w) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PlayFuzzProc;
    wc.lpszClassName = "PlayFuzzMain";
    RegisterClassExA(&wc);
    w->hwnd = CreateWindowExA(0, "PlayFuzzMain", "play fuzz", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                              nullptr, nullptr);
    g_hMainWnd = w->hwnd;
    // Where the window's client area is on the screen (its WM_MOVE says so in the program): the
    // frames are presented there, and the presents counted tell when the game is held.
    g_rcClientScreen = RECT{0, 0, 640, 480};
    OpenReport((WindowsPathFromHost(w->folder->Root()) + "\\Report_Game.txt").c_str());
    std::memset(g_SurfaceData, 0, sizeof g_SurfaceData);
    LinkSurfaceSlots();
    if (!DDInit(0, w->hwnd, 640, 480, 32, 0, 1, 1, 60, 0, g_SurfaceData, g_SurfaceFiles, kSurfaceSlotCount))
        return false;
    if (DDLoadPaletteFromFile(g_EnginePalette, g_SurfaceFiles[0].szPath) != 1) return false;
    std::memcpy(g_WorkPalette, g_EnginePalette, sizeof g_WorkPalette);
    return DDSetTransmitFromFile(&g_SurfaceFiles[0]) && InitGameFonts();
}

// The game folder, the window, the drawing device and the fonts, made once for the run.
PlayWorld& World() {
    static PlayWorld* world = [] {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        auto* w = new PlayWorld();
        host::Init();
        const char* tmp = std::getenv("TMPDIR");
        w->folder = std::make_unique<cGameFolder>(std::string(tmp && *tmp ? tmp : "/tmp"), "velmora-fuzz-play");
        w->folder->MakeLayout();
        if (!WriteMinimalGame(*w->folder) || !WritePlayBitmaps(*w->folder)) return w;
        w->folder->MakeFolder("user_data\\story");
        w->folder->MakeFolder("user_data\\challenge");
        w->folder->MakeFolder("data\\stg4");
        // The game folder is the current directory only while an input runs: libFuzzer's own
        // paths are relative to where it started.
        w->folder->Enter();
        SetClockOverride(FuzzClock);
        host::SetPresentHook(OnPresent);
        g_bAppActive = 1;  // the pause loop holds while the application is inactive
        w->ok = OpenDevice(w);
        w->folder->Leave();
        std::atexit([] { World().folder->Remove(); });
        return w;
    }();
    return *world;
}

// The process-wide state a fresh start of play finds.
void ResetPlayGlobals() {
    g_SceneManager.DestroyAll();
    g_SceneManager = cSceneManager();
    g_SceneManager.m_nFrameRate = 60;
    g_SceneManager.m_nFadeStep = 10;
    g_SystemData.SetDefaults();
    InitFontSettings();
    ResetSystemIni(g_SystemIni, g_SystemData.m_vecIniKeys);
    g_WorldMap = cWorldMap();
    g_SaveData = cSaveData();
    g_SaveData.m_nLivesReserve = 3;
    g_LoadedStage = cStage();
    g_StageSettings = cStage();
    ResetMenuCursor();
    g_vecPlayerInput.assign(1, g_PlayerInputProto);
    for (cPlayerInput& p : g_vecPlayerInput) p.SetRepeat(18, 6);
    g_bStageFileStart = 0;
}

// Messages the loader or the play left for the window (a posted close after a refused stage).
void DrainMessages(HWND hwnd) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        if (m.message != WM_CLOSE && m.message != WM_QUIT) DispatchMessageA(&m);
    (void)hwnd;
}

// The message the game thread posts to the window thread when its frames are over.
constexpr UINT kGameEnded = WM_APP + 16;

// The window thread while the game runs: it sleeps until a send or a message arrives and serves
// it (sound requests from the game and pause threads), and stops at the game's end message.
void ServeWindowUntilGameEnds() {
    MSG m;
    for (;;) {
        GetMessageA(&m, nullptr, 0, 0);
        if (m.message == kGameEnded && !m.hwnd) return;
        if (m.message != WM_CLOSE && m.message != WM_QUIT) DispatchMessageA(&m);
    }
}

// The input being played: its key bytes and the game frame under way.
struct PlayRun {
    const uint8_t* keys = nullptr;
    size_t keyCount = 0;
    std::atomic<uint32_t> frameNo{0};
    std::atomic<uint32_t> framePresents{0};  // frames presented before the game frame began
    std::atomic<bool> cut{false};             // the input was ended during a hold
    uint8_t KeyAt(uint32_t frame) const { return keyCount ? keys[(frame / 4) % keyCount] : 0; }
};
std::atomic<PlayRun*> g_run{nullptr};

// Called on the presenting thread after each present. A game frame that has presented more than
// its own picture holds the game (the pause loop on the pause thread, a message window waiting
// for a key): each further picture takes the keys of the next frame, so a key press can end the
// hold, and a hold past kHoldFrames is ended as closing the window ends it. Answered here, the
// keys and the end come at the same picture of a run whatever the threads' timing.
void OnPresent(uint32_t index) {
    PlayRun* run = g_run.load();
    if (!run || run->cut) return;
    const uint32_t held = index + 1 - run->framePresents;
    if (held <= 1 || held >= 0x80000000u) return;
    PressKeys(run->KeyAt(run->frameNo + held));
    if (held > kHoldFrames) {
        run->cut = true;
        if (g_lpPlayScene) g_lpPlayScene->m_bQuit = 1;
        if (thPause.IsRunning()) PostThreadMessageA(thPause.ThreadId(), WM_QUIT, 0, 0);
    }
}

// How many threads the process has: the entries of /proc/self/task.
size_t CountThreads() {
    size_t n = 0;
    if (DIR* d = opendir("/proc/self/task")) {
        while (const dirent* e = readdir(d))
            if (e->d_name[0] != '.') ++n;
        closedir(d);
    }
    return n;
}

// Waits, at most five seconds, until the threads an input started have ended in full. The
// layer's threads (the stage loader, the pause loop) are detached, and a waiter goes on as soon
// as they report their end, before they have released their last blocks. libFuzzer runs an
// input a second time to look for leaks when it allocated more blocks than it freed, so an
// input that returned before those frees would be run twice in one run and once in another.
[[gnu::noinline]] void SettleThreads(size_t before) {
    for (int i = 0; i < 50000 && CountThreads() > before; ++i) usleep(100);
}

// Every group list entry is a live object of the scene.
void CheckGroups(cPlayScene* scene) {
    for (const auto& group : scene->m_vecCharaGroup)
        for (cChara* c : group) {
            bool live = false;
            for (cHero& h : g_vecHero) live = live || c == &h;
            for (cStageChara& s : g_listStageChara) live = live || c == &s;
            if (!live) std::abort();
        }
    for (const auto& group : scene->m_vecShotGroup)
        for (cShot* s : group) {
            bool live = false;
            for (cShot& t : scene->m_listShot) live = live || s == &t;
            if (!live) std::abort();
        }
}

}  // namespace

// The system's fontconfig leaks blocks of its configuration each time it parses it again (it
// checks its configuration every 30 seconds while fonts are looked up; a plain program that only
// matches family names shows the same leak). Not ours to mend: the leak check skips it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PlayWorld& world = World();
    if (!world.ok || size < 1) return 0;
    size_t keyCount = data[0];
    if (keyCount > size - 1) keyCount = size - 1;
    const uint8_t* keys = data + 1;
    std::vector<uint8_t> image(data + 1 + keyCount, data + size);
    if (!world.folder->WriteFile(kStagePath, image)) return 0;
    const size_t threadsBefore = CountThreads();
    world.folder->Enter();

    OpenReport((WindowsPathFromHost(world.folder->Root()) + "\\Report_Game.txt").c_str());
    ResetPlayGlobals();
    g_clock = 0x00100000;
    ResetFrameTimers();
    g_SceneManager.m_nCurrent = SCENE_TITLE;
    g_SceneManager.m_nPlayMode = START_MODE_FREE;
    const BOOL loaded = PlayStageFile(kStagePath, FALSE, &g_StageSettings);
    DrainMessages(world.hwnd);
    if (loaded) {
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        PlayRun run;
        run.keys = keys;
        run.keyCount = keyCount;
        run.framePresents = host::PresentedFrames();
        g_run = &run;
        const DWORD windowThread = GetCurrentThreadId();
        std::thread game([&] {
            for (uint32_t f = 0; f < (uint32_t)kFrames && !run.cut; ++f) {
                run.frameNo = f;
                run.framePresents = host::PresentedFrames();
                PressKeys(run.KeyAt(f));
                if (!GameFrame()) break;
                if (g_lpPlayScene && g_SceneManager.Current() == (cScene*)g_lpPlayScene) {
                    CheckGroups(g_lpPlayScene);
                    if (g_lpPlayScene->m_bQuit) break;
                }
            }
            PostThreadMessageA(windowThread, kGameEnded, 0, 0);
        });
        ServeWindowUntilGameEnds();
        game.join();
        g_run = nullptr;
        DrainMessages(world.hwnd);
    }
    PressKeys(0);
    g_SceneManager.DestroyAll();
    ResetPlayGlobals();
    world.folder->Leave();
    SettleThreads(threadsBefore);
    return 0;
}
