// The main window: its object, its procedure with the request messages of the game side, the
// editor link and the process entry.
#pragma once

#include <atomic>

#include "app/window.h"
#include "core/requests.h"

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

// The client rectangle in screen coordinates, kept for the DirectDraw present.
extern RECT g_rcClientScreen;

// The editor link: WM_COPYDATA to the editor's window (class "Velmora4_Editor").
LRESULT NotifyEditorStarted(cWindow& window);
LRESULT NotifyEditor(cWindow& window, int32_t code);

// The process entry: the whole life of the process on the window thread.
int WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
