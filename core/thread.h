// The thread object: the one way the program starts and stops its worker threads.
#pragma once

#include "platform/win32/win32.h"

class cThread {
public:
    cThread();
    ~cThread();

    // Starts the thread at once; 1 on success, 0 when the runtime cannot start it.
    int Create(THREADPROC_EX proc, void* param);
    // Create, then the start handshake: the thread message 0x8000 is posted until a post
    // succeeds (yielding between tries when `yield` is set). 0 when the thread could not be
    // started or ended before the handshake, so a starter never spins on a thread that is not there.
    int Start(THREADPROC_EX proc, void* param, bool yield);
    // Waits until the thread has ended (1 ms polls), then releases it.
    void Wait();
    int Suspend();
    int Resume();
    // Ends the thread: WM_QUIT, then from the 200th 1 ms try a cooperative stop request; a thread
    // still running after a few seconds is reported and left behind, so shut-down goes on.
    void Exit();

    bool IsRunning() const { return m_hThread != nullptr; }
    DWORD ThreadId() const { return m_dwThreadId; }

    DWORD m_dwThreadId;
    HANDLE m_hThread;
};

extern cThread thGame;
extern cThread thPause;
extern cThread thRanking;
extern cThread thStageLoad;

// Suspend / resume thGame, thPause, thRanking and thStageLoad, in that order.
void SuspendGameThreads();
void ResumeGameThreads();
