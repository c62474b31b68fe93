// Per-thread message queues: posted messages, sent messages served wherever the owner waits,
// PeekMessage / GetMessage / WaitMessage, and the thread registry.
#include <thread>
#include <thread>

#include "platform/host/host.h"
#include "platform/win32/hooks.h"
#include "platform/win32/internal.h"
#include "platform/win32/timer.h"

namespace win32 {
namespace {

std::mutex g_threadsM;
std::map<DWORD, std::shared_ptr<ThreadRecord>> g_threads;
std::atomic<DWORD> g_nextThreadId{0x1000};

// Lazily registered threads leave the registry when they end.
struct LazyRegistration {
    std::shared_ptr<ThreadRecord> rec;
    ~LazyRegistration() {
        if (rec && rec->ownsQueueOnly) {
            rec->ended = true;
            UnregisterThread(rec->id);
        }
    }
};
thread_local std::shared_ptr<ThreadRecord> t_current;
thread_local LazyRegistration t_lazy;

bool MatchesFilter(const MSG& msg, HWND hwnd, UINT minMsg, UINT maxMsg) {
    if (hwnd == (HWND)(intptr_t)-1) {
        if (msg.hwnd != nullptr) return false;
    } else if (hwnd != nullptr && msg.hwnd != hwnd) {
        return false;
    }
    if (minMsg == 0 && maxMsg == 0) return true;
    return msg.message >= minMsg && msg.message <= maxMsg;
}

bool QuitPosted(ThreadRecord& rec) {
    // Caller holds rec.m.
    if (rec.quitPending) return true;
    for (const QueuedMessage& q : rec.posted)
        if (q.msg.message == WM_QUIT) return true;
    return false;
}

}  // namespace

DWORD NewThreadId() { return g_nextThreadId.fetch_add(4); }

std::shared_ptr<ThreadRecord> CurrentThread() {
    if (!t_current) {
        auto rec = std::make_shared<ThreadRecord>();
        rec->id = NewThreadId();
        rec->ownsQueueOnly = true;
        RegisterThread(rec);
        t_current = rec;
        t_lazy.rec = rec;
    }
    return t_current;
}

void SetCurrentThreadRecord(const std::shared_ptr<ThreadRecord>& rec) { t_current = rec; }

std::shared_ptr<ThreadRecord> FindThread(DWORD id) {
    std::lock_guard<std::mutex> lock(g_threadsM);
    auto it = g_threads.find(id);
    return it == g_threads.end() ? nullptr : it->second;
}

void RegisterThread(const std::shared_ptr<ThreadRecord>& rec) {
    std::lock_guard<std::mutex> lock(g_threadsM);
    g_threads[rec->id] = rec;
}

void UnregisterThread(DWORD id) {
    std::shared_ptr<ThreadRecord> rec;
    {
        std::lock_guard<std::mutex> lock(g_threadsM);
        auto it = g_threads.find(id);
        if (it == g_threads.end()) return;
        rec = it->second;
        g_threads.erase(it);
    }
    // Sends still waiting for a thread that is gone are withdrawn.
    std::deque<std::shared_ptr<SentItem>> orphans;
    {
        std::lock_guard<std::mutex> lock(rec->m);
        orphans.swap(rec->sent);
    }
    for (auto& item : orphans) {
        std::lock_guard<std::mutex> lock(item->m);
        if (item->state == SentItem::Pending) item->state = SentItem::Cancelled;
        item->cv.notify_all();
    }
}

bool PostToThread(const std::shared_ptr<ThreadRecord>& rec, const MSG& msg, bool input) {
    if (!rec || rec->ended) return false;
    {
        std::lock_guard<std::mutex> lock(rec->m);
        QueuedMessage q;
        q.msg = msg;
        q.msg.time = timeGetTime();
        q.input = input;
        rec->posted.push_back(q);
        rec->changeSeq++;
    }
    rec->cv.notify_all();
    return true;
}

int ServePendingSends() {
    auto self = CurrentThread();
    int served = 0;
    for (;;) {
        std::shared_ptr<SentItem> item;
        {
            std::lock_guard<std::mutex> lock(self->m);
            if (self->sent.empty()) break;
            item = self->sent.front();
            self->sent.pop_front();
        }
        {
            std::lock_guard<std::mutex> lock(item->m);
            if (item->state != SentItem::Pending) continue;
            item->state = SentItem::Running;
        }
        LRESULT r = item->call ? item->call() : CallWindowProcedure(item->hwnd, item->msg, item->wParam, item->lParam);
        {
            std::lock_guard<std::mutex> lock(item->m);
            item->result = r;
            item->state = SentItem::Done;
        }
        item->cv.notify_all();
        served++;
    }
    return served;
}

// Queues a send for the owner thread and waits for its answer. While waiting the caller serves
// sends made to it, and gives up on a send not yet begun when it is asked to end (its stop flag,
// or a WM_QUIT in its own queue) or when the owner thread is gone.
static bool SendAndWait(DWORD ownerId, const std::shared_ptr<SentItem>& item, LRESULT* result) {
    auto owner = FindThread(ownerId);
    auto self = CurrentThread();
    if (!owner || owner->ended) return false;
    {
        std::lock_guard<std::mutex> lock(owner->m);
        owner->sent.push_back(item);
        owner->changeSeq++;
    }
    owner->cv.notify_all();
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(item->m);
            item->cv.wait_for(lock, std::chrono::milliseconds(2), [&] {
                return item->state == SentItem::Done || item->state == SentItem::Cancelled;
            });
            if (item->state == SentItem::Done) {
                *result = item->result;
                return true;
            }
            if (item->state == SentItem::Cancelled) return false;
        }
        ServePendingSends();
        bool giveUp = self->stop.load() || owner->ended.load();
        if (!giveUp) {
            std::lock_guard<std::mutex> lock(self->m);
            giveUp = QuitPosted(*self);
        }
        if (giveUp) {
            std::lock_guard<std::mutex> lock(item->m);
            if (item->state == SentItem::Pending) {
                item->state = SentItem::Cancelled;
                return false;
            }
            // Already running on the owner: it finishes and answers shortly.
        }
    }
}

bool CallOnThread(DWORD threadId, const std::function<LRESULT()>& fn, LRESULT* result) {
    LRESULT dummy = 0;
    if (!result) result = &dummy;
    if (threadId == CurrentThread()->id) {
        *result = fn();
        return true;
    }
    auto item = std::make_shared<SentItem>();
    item->call = fn;
    return SendAndWait(threadId, item, result);
}

void WaitForQueue(DWORD ms) {
    auto self = CurrentThread();
    bool windowThread = host::IsWindowThread();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms == INFINITE ? 0 : ms);
    for (;;) {
        if (self->stop) return;
        {
            std::unique_lock<std::mutex> lock(self->m);
            if (self->changeSeq != self->seenSeq || !self->sent.empty()) return;
            // The window thread looks at its host events every few milliseconds.
            auto slice = std::chrono::milliseconds(windowThread ? 4 : 50);
            auto until = std::chrono::steady_clock::now() + slice;
            if (ms != INFINITE && deadline < until) until = deadline;
            self->cv.wait_until(lock, until);
            if (self->changeSeq != self->seenSeq || !self->sent.empty()) return;
        }
        if (windowThread) {
            host::PumpEvents();
        }
        if (ms != INFINITE && std::chrono::steady_clock::now() >= deadline) return;
    }
}

}  // namespace win32

using namespace win32;

BOOL PostThreadMessageA(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
    auto rec = FindThread(idThread);
    if (!rec) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MSG m{};
    m.message = Msg;
    m.wParam = wParam;
    m.lParam = lParam;
    return PostToThread(rec, m) ? TRUE : FALSE;
}

void PostQuitMessage(int nExitCode) {
    auto self = CurrentThread();
    {
        std::lock_guard<std::mutex> lock(self->m);
        self->quitPending = true;
        self->quitCode = nExitCode;
        self->changeSeq++;
    }
    self->cv.notify_all();
}

namespace win32 {

static bool IsKeyMessage(UINT m) {
    return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP;
}

BOOL PeekMessageInternal(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg,
                         bool* input) {
    auto self = CurrentThread();
    ServePendingSends();
    if (host::IsWindowThread()) host::PumpEvents();
    bool hooks = HasKeyboardHooks();
    for (;;) {
        QueuedMessage found;
        {
            std::lock_guard<std::mutex> lock(self->m);
            self->seenSeq = self->changeSeq;
            bool have = false;
            for (auto it = self->posted.begin(); it != self->posted.end(); ++it) {
                if (!MatchesFilter(it->msg, hWnd, wMsgFilterMin, wMsgFilterMax) && it->msg.message != WM_QUIT)
                    continue;
                found = *it;
                have = true;
                if (wRemoveMsg & PM_REMOVE) self->posted.erase(it);
                break;
            }
            if (!have) {
                if (self->quitPending || self->stop) {
                    if (lpMsg) {
                        *lpMsg = MSG{};
                        lpMsg->message = WM_QUIT;
                        lpMsg->wParam = self->quitPending ? (WPARAM)self->quitCode : 0;
                        lpMsg->time = timeGetTime();
                    }
                    if (input) *input = false;
                    if ((wRemoveMsg & PM_REMOVE) && self->quitPending) self->quitPending = false;
                    return TRUE;
                }
                return FALSE;
            }
        }
        // A key stroke from the keyboard passes the thread's keyboard hooks, which may discard it.
        if (hooks && found.input && IsKeyMessage(found.msg.message)) {
            LRESULT r = RunKeyboardHooks((wRemoveMsg & PM_REMOVE) ? HC_ACTION : HC_NOREMOVE, found.msg.wParam,
                                         found.msg.lParam);
            if (r != 0 && (wRemoveMsg & PM_REMOVE)) continue;
        }
        if (lpMsg) *lpMsg = found.msg;
        if (input) *input = found.input;
        return TRUE;
    }
}

}  // namespace win32

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    return PeekMessageInternal(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg, nullptr);
}

BOOL GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    MSG m{};
    for (;;) {
        if (PeekMessageA(&m, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE)) {
            if (lpMsg) *lpMsg = m;
            return m.message == WM_QUIT ? FALSE : TRUE;
        }
        WaitForQueue(INFINITE);
    }
}

BOOL WaitMessage() {
    WaitForQueue(INFINITE);
    ServePendingSends();
    return TRUE;
}

BOOL TranslateMessage(const MSG* lpMsg) {
    // Character messages are produced by the host from text input; nothing to translate here.
    (void)lpMsg;
    return FALSE;
}

LRESULT DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg || !lpMsg->hwnd) return 0;
    return CallWindowProcedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

DWORD GetCurrentThreadId() { return CurrentThread()->id; }

DWORD GetLastError() { return CurrentThread()->lastError; }

void SetLastError(DWORD dwErrCode) { CurrentThread()->lastError = dwErrCode; }

bool ThreadStopRequested() { return CurrentThread()->stop.load(); }
