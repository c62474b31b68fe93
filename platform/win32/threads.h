// Threads, waits, the named mutex and other processes.
// Every thread gets its message queue when it is created. Threads end cooperatively: asking a
// thread to end (TerminateThread) sets its stop flag, which every blocking wait of the layer
// observes; no thread is ever killed mid-write. Suspension is a counted no-op: the program only
// suspends threads that are already blocked on the window thread.
#pragma once

#include "platform/win32/types.h"

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define STILL_ACTIVE 259

#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_INVALID_PARAMETER 87
#define ERROR_ALREADY_EXISTS 183
#define ERROR_INVALID_WINDOW_HANDLE 1400

#define PROCESS_TERMINATE 0x0001
#define PROCESS_QUERY_INFORMATION 0x0400
#define SYNCHRONIZE 0x00100000L
#define PROCESS_ALL_ACCESS 0x1F0FFF

#define CREATE_SUSPENDED 0x00000004

typedef unsigned (*THREADPROC_EX)(void*);

// The runtime's thread start: returns the thread handle (0 on failure) and stores the id.
uintptr_t _beginthreadex(void* security, unsigned stack_size, THREADPROC_EX start_address, void* arglist,
                         unsigned initflag, unsigned* thrdaddr);
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
BOOL CloseHandle(HANDLE hObject);
void Sleep(DWORD dwMilliseconds);
DWORD SuspendThread(HANDLE hThread);
DWORD ResumeThread(HANDLE hThread);
// Cooperative: sets the thread's stop flag and posts it WM_QUIT; the thread ends at its next wait.
BOOL TerminateThread(HANDLE hThread, DWORD dwExitCode);
BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);

// Named mutex, visible to every process of the user (a lock file in the runtime directory).
HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCSTR lpName);
BOOL ReleaseMutex(HANDLE hMutex);

// Another process: a handle that can be waited on until the process has ended.
HANDLE OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId);

// ---- our own additions ----
// True when the current thread has been asked to end (TerminateThread or shut-down).
bool ThreadStopRequested();
