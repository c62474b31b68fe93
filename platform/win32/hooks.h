// Thread keyboard hooks and the input-method queries.
//
// A WH_KEYBOARD hook of a thread sees every key stroke that comes from the keyboard (the host's
// key events and the test driver's keys) when that thread's PeekMessageA or GetMessageA takes
// it from the queue: code HC_ACTION when the message is removed, HC_NOREMOVE when it is only
// looked at. wParam is the virtual key, lParam the key flags (repeat count, scan code, bit 30
// previous state, bit 31 released). A hook that answers non-zero for HC_ACTION discards the
// stroke. Key messages posted by the program (PostMessageA) never pass through hooks.
//
// The input-method context of a window is the composition the host's text input is building
// (SDL text editing events, converted to Shift-JIS).
#pragma once

#include "platform/win32/types.h"

#define WH_KEYBOARD 2
#define HC_ACTION 0
#define HC_NOREMOVE 3

typedef LRESULT (*HOOKPROC)(int code, WPARAM wParam, LPARAM lParam);

// Installs a keyboard hook for one thread (threadId 0 means the calling thread). Only
// WH_KEYBOARD is supported; the module is accepted and ignored. Null on failure.
HHOOK SetWindowsHookExA(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId);
BOOL UnhookWindowsHookEx(HHOOK hhk);
// Passes the stroke to the next hook of the chain (the one installed before `hhk`); 0 at the end.
LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);

// ---- input method ----
#define GCS_COMPSTR 0x0008
#define GCS_RESULTSTR 0x0800

// The input context of a window of the calling thread (null for other windows).
HIMC ImmGetContext(HWND hWnd);
BOOL ImmReleaseContext(HWND hWnd, HIMC hIMC);
// GCS_COMPSTR: the composition being typed, in Shift-JIS, without a terminating NUL. Returns
// its length in bytes (when `dwBufLen` is 0, only the length), or a negative value for an
// unknown index or context.
LONG ImmGetCompositionStringA(HIMC hIMC, DWORD dwIndex, LPVOID lpBuf, DWORD dwBufLen);
