#include "core/thread.h"

#include "core/report.h"

cThread thGame;
cThread thPause;
cThread thRanking;
cThread thStageLoad;

namespace {
// Tries before the cooperative stop request, and the bound after which Exit gives up waiting.
constexpr int kTriesBeforeStop = 200;
constexpr DWORD kGiveUpMs = 3000;
constexpr int kResumeTries = 64;
}  // namespace

cThread::cThread() : m_dwThreadId(0), m_hThread(nullptr) {}

cThread::~cThread() { Exit(); }

int cThread::Create(THREADPROC_EX proc, void* param) {
    unsigned id = 0;
    uintptr_t h = _beginthreadex(nullptr, 0, proc, param, 0, &id);
    if (!h) {
        m_hThread = nullptr;
        m_dwThreadId = 0;
        return 0;
    }
    m_hThread = (HANDLE)h;
    m_dwThreadId = id;
    return 1;
}

int cThread::Start(THREADPROC_EX proc, void* param, bool yield) {
    if (!Create(proc, param)) return 0;
    while (!PostThreadMessageA(m_dwThreadId, WM_APP, 0, 0)) {
        // A thread that has already ended will never take the message.
        // Its handle is let go, so the thread no longer counts as running.
        if (WaitForSingleObject(m_hThread, 0) == WAIT_OBJECT_0) {
            CloseHandle(m_hThread);
            m_hThread = nullptr;
            return 0;
        }
        if (yield) Sleep(0);
    }
    return 1;
}

void cThread::Wait() {
    if (!m_hThread) return;
    while (WaitForSingleObject(m_hThread, 0) != WAIT_OBJECT_0) Sleep(1);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
}

int cThread::Suspend() {
    if (!m_hThread) return 1;
    return SuspendThread(m_hThread) == (DWORD)-1 ? 0 : 1;
}

int cThread::Resume() {
    if (!m_hThread) return 1;
    return ResumeThread(m_hThread) == (DWORD)-1 ? 0 : 1;
}

void cThread::Exit() {
    if (!m_hThread) return;
    for (int i = 0; i < kResumeTries && !Resume(); ++i) {
    }
    PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0);
    int tries = 0;
    DWORD start = RealTimeMs();
    while (WaitForSingleObject(m_hThread, 0) != WAIT_OBJECT_0) {
        Sleep(1);
        PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0);
        ++tries;
        if (tries >= kTriesBeforeStop) TerminateThread(m_hThread, 0);
        if (RealTimeMs() - start >= kGiveUpMs) {
            WriteReport("Thread %u Exit Err : the thread did not end", (unsigned)m_dwThreadId);
            break;
        }
    }
    CloseHandle(m_hThread);
    m_hThread = nullptr;
}

void SuspendGameThreads() {
    thGame.Suspend();
    thPause.Suspend();
    thRanking.Suspend();
    thStageLoad.Suspend();
}

void ResumeGameThreads() {
    thGame.Resume();
    thPause.Resume();
    thRanking.Resume();
    thStageLoad.Resume();
}
