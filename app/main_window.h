// The main window: its object, its procedure with the request messages of the game side, the
// editor link and the process entry.
#pragma once

#include <atomic>

#include "app/window.h"

// Request messages served by the main window procedure on the window thread.
#define WM_REQ_NAMEENTRY (WM_USER + 1)
#define WM_REQ_LOADSTAGE (WM_USER + 2)
#define WM_REQ_LOADREPLAY (WM_USER + 3)
#define WM_REQ_SAVEREPLAY (WM_USER + 4)
#define WM_REQ_SOUND (WM_USER + 5)
#define WM_REQ_MUSIC (WM_USER + 6)
#define WM_REQ_RESETDEVICE (WM_USER + 100)

class cMainWindow : public cWindow {
public:
    cMainWindow();
    ~cMainWindow() override;
    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual void OnCreate(WPARAM, LPARAM) {}
    // Binds the object to the process (no resource, no parent) with MainWndProcThunk.
    void Bind();
};

extern cMainWindow g_MainWindow;

LRESULT MainWndProcThunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Request answer words, written by the window procedure and read by the requesting thread.
extern std::atomic<int> g_bNameEntryDone;
extern std::atomic<int> g_bFileDialogDone;
extern std::atomic<int> g_nFileDialogSuccess;
// Waits (1 ms steps) until a request's done flag is set; false when it will not be: the main
// window is gone, or the waiting thread is being ended (a quit in its queue or a stop request).
bool WaitRequestDone(const std::atomic<int>& done);
// The client rectangle in screen coordinates, kept for the DirectDraw present.
extern RECT g_rcClientScreen;

// The editor link: WM_COPYDATA to the editor's window (class "Velmora4_Editor").
LRESULT NotifyEditorStarted(cWindow& window);
LRESULT NotifyEditor(cWindow& window, int32_t code);

// The process entry: the whole life of the process on the window thread.
int WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
