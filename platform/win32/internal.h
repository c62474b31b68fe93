// Internals shared by the files of the win32 layer and the host: thread records with their
// message queues, kernel objects behind HANDLEs, and the window registry.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/win32/messages.h"
#include "platform/win32/threads.h"

namespace win32 {

// A send waiting to be served by the thread that owns the target window (or an internal call
// that must run on a given thread, such as a message box on the window thread).
struct SentItem {
    enum State { Pending, Running, Done, Cancelled };
    HWND hwnd = nullptr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::function<LRESULT()> call;  // set for internal calls; hwnd/msg unused then
    State state = Pending;
    LRESULT result = 0;
    std::mutex m;
    std::condition_variable cv;
};

// A posted message; `input` marks key, character and mouse messages that come from the
// keyboard and mouse (the host, the test driver), which keyboard hooks and dialogs look at.
struct QueuedMessage {
    MSG msg;
    bool input = false;
};

// One thread: its queue of posted messages, the sends waiting for it, and its stop flag.
struct ThreadRecord {
    DWORD id = 0;
    std::mutex m;
    std::condition_variable cv;
    std::deque<QueuedMessage> posted;
    std::deque<std::shared_ptr<SentItem>> sent;
    bool quitPending = false;  // PostQuitMessage
    int quitCode = 0;
    uint64_t changeSeq = 0;    // bumped by every post and send, for WaitMessage
    uint64_t seenSeq = 0;
    std::atomic<bool> stop{false};
    std::atomic<int> suspendCount{0};
    std::atomic<bool> ended{false};
    std::atomic<DWORD> exitCode{STILL_ACTIVE};
    std::mutex endM;
    std::condition_variable endCv;
    DWORD lastError = 0;
    bool ownsQueueOnly = false;  // registered lazily (a thread not started by _beginthreadex)
};

// The record of the calling thread (created on first use).
std::shared_ptr<ThreadRecord> CurrentThread();
std::shared_ptr<ThreadRecord> FindThread(DWORD id);
void RegisterThread(const std::shared_ptr<ThreadRecord>& rec);
void UnregisterThread(DWORD id);

// Adds a posted message to a thread's queue and wakes it.
bool PostToThread(const std::shared_ptr<ThreadRecord>& rec, const MSG& msg, bool input = false);
// Posts a message from the keyboard or mouse to a window (see QueuedMessage).
bool PostInputMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// PeekMessageA that also tells whether the message came from the keyboard or mouse.
BOOL PeekMessageInternal(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg,
                         bool* input);
// Keyboard hooks of the calling thread (hook.cpp): whether there are any, and running the chain
// for one stroke (non-zero: the stroke is discarded).
bool HasKeyboardHooks();
LRESULT RunKeyboardHooks(int code, WPARAM wParam, LPARAM lParam);
// Serves every send waiting for the calling thread; returns how many were served.
int ServePendingSends();
// Runs a call on the given thread, blocking until it returns (served wherever that thread waits).
// Runs at once when the target is the calling thread. Returns false when the call was withdrawn
// because the caller was asked to end or the target thread is gone.
bool CallOnThread(DWORD threadId, const std::function<LRESULT()>& fn, LRESULT* result);
// Waits on the calling thread's queue until something new arrives, at most `ms` (INFINITE for no
// limit); returns at once when the thread is asked to stop.
void WaitForQueue(DWORD ms);

// Kernel objects behind HANDLEs.
struct KernelObject {
    virtual ~KernelObject() = default;
    // WAIT_OBJECT_0 when signalled within ms, WAIT_TIMEOUT otherwise.
    virtual DWORD Wait(DWORD ms) = 0;
};
HANDLE NewHandle(std::shared_ptr<KernelObject> obj);
std::shared_ptr<KernelObject> HandleObject(HANDLE h);

// ---- windows ----
struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HBRUSH background = nullptr;
};

struct Window {
    HWND hwnd = nullptr;
    DWORD threadId = 0;
    std::string className;
    std::string title;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;
    HMENU menu = nullptr;
    HINSTANCE instance = nullptr;
    LONG style = 0;
    LONG exStyle = 0;
    LONG_PTR userData = 0;
    LONG_PTR dlgResult = 0;
    RECT rect{0, 0, 0, 0};  // outer rectangle in screen coordinates (logical pixels)
    bool visible = false;
    bool iconic = false;
    bool zoomed = false;
    bool enabled = true;
    bool messageOnly = false;
    bool destroying = false;
    std::map<std::string, HANDLE> props;
    void* hostData = nullptr;  // the host's window (SDL) for top-level windows
};

// Window registry. Lookups copy the data they need under the registry lock.
std::shared_ptr<Window> FindWindowObject(HWND hwnd);
std::recursive_mutex& WindowRegistryMutex();
// Frame edges of a style, as AdjustWindowRectEx computes them.
void FrameEdges(LONG style, bool menu, int* left, int* top, int* right, int* bottom);
// Client rectangle (in screen coordinates) of a window.
RECT ClientScreenRect(const Window& w);
// Calls the window's procedure on the calling thread (which must own the window).
LRESULT CallWindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Sets outer position and size, sending WM_MOVE / WM_SIZE when they change.
void ApplyWindowRect(HWND hwnd, const RECT& r, bool notify);
// Stores a window's text (what WM_SETTEXT does by default).
BOOL StoreWindowText(HWND hwnd, LPCSTR text);
// The class of the layer's dialog windows.
extern const char* const kDialogClassName;

// Remote (other processes') windows.
bool IsRemoteWindow(HWND hwnd);
HWND FindRemoteWindow(const char* className, const char* title);
LRESULT SendRemoteMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool wait);
DWORD RemoteWindowProcess(HWND hwnd);
void PublishWindow(HWND hwnd, const std::string& className, const std::string& title);
void UnpublishWindow(HWND hwnd);

// The per-user runtime directory (VELMORA_RUNTIME_DIR, else $XDG_RUNTIME_DIR/velmora, else
// /tmp/velmora-<uid>), created on first use.
std::string RuntimeDir();

}  // namespace win32
