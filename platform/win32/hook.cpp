// Thread keyboard hooks, called by the message queue for key strokes from the keyboard, and
// the input-method queries over the host's text composition.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/host/host.h"
#include "platform/win32/codepage.h"
#include "platform/win32/hooks.h"
#include "platform/win32/internal.h"

namespace win32 {
namespace {

struct HookEntry {
    HHOOK handle;
    DWORD threadId;
    HOOKPROC proc;
};

std::mutex g_hooksM;
// Most recently installed first, as the chain is called.
std::vector<HookEntry> g_hooks;
uintptr_t g_nextHook = 0x60010;

std::vector<HookEntry> ChainOf(DWORD threadId) {
    std::lock_guard<std::mutex> lock(g_hooksM);
    std::vector<HookEntry> chain;
    for (const HookEntry& e : g_hooks)
        if (e.threadId == threadId) chain.push_back(e);
    return chain;
}

}  // namespace

bool HasKeyboardHooks() {
    DWORD self = GetCurrentThreadId();
    std::lock_guard<std::mutex> lock(g_hooksM);
    for (const HookEntry& e : g_hooks)
        if (e.threadId == self) return true;
    return false;
}

LRESULT RunKeyboardHooks(int code, WPARAM wParam, LPARAM lParam) {
    auto chain = ChainOf(GetCurrentThreadId());
    if (chain.empty()) return 0;
    return chain.front().proc(code, wParam, lParam);
}

}  // namespace win32

using namespace win32;

HHOOK SetWindowsHookExA(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId) {
    (void)hmod;
    if (idHook != WH_KEYBOARD || !lpfn) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (dwThreadId == 0) dwThreadId = GetCurrentThreadId();
    if (!FindThread(dwThreadId)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(g_hooksM);
    HHOOK h = (HHOOK)g_nextHook;
    g_nextHook += 4;
    g_hooks.insert(g_hooks.begin(), HookEntry{h, dwThreadId, lpfn});
    return h;
}

BOOL UnhookWindowsHookEx(HHOOK hhk) {
    std::lock_guard<std::mutex> lock(g_hooksM);
    auto it = std::find_if(g_hooks.begin(), g_hooks.end(), [&](const HookEntry& e) { return e.handle == hhk; });
    if (it == g_hooks.end()) return FALSE;
    g_hooks.erase(it);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam) {
    auto chain = ChainOf(GetCurrentThreadId());
    for (size_t i = 0; i < chain.size(); ++i)
        if (chain[i].handle == hhk) return i + 1 < chain.size() ? chain[i + 1].proc(nCode, wParam, lParam) : 0;
    return 0;
}

namespace {
// One input context per thread: the host has one composition, owned by the window thread.
const uintptr_t kContextBase = 0x70000;
}  // namespace

HIMC ImmGetContext(HWND hWnd) {
    auto w = FindWindowObject(hWnd);
    if (!w || w->threadId != GetCurrentThreadId()) return nullptr;
    return (HIMC)(kContextBase + w->threadId);
}

BOOL ImmReleaseContext(HWND hWnd, HIMC hIMC) {
    (void)hWnd;
    return hIMC ? TRUE : FALSE;
}

LONG ImmGetCompositionStringA(HIMC hIMC, DWORD dwIndex, LPVOID lpBuf, DWORD dwBufLen) {
    if ((uintptr_t)hIMC != kContextBase + GetCurrentThreadId()) return -2;
    if (dwIndex != GCS_COMPSTR) return -2;
    std::string text = host::IsWindowThread() ? Utf8ToCp932(host::CompositionText()) : std::string();
    if (dwBufLen == 0 || !lpBuf) return (LONG)text.size();
    size_t n = std::min<size_t>(text.size(), dwBufLen);
    std::memcpy(lpBuf, text.data(), n);
    return (LONG)n;
}
