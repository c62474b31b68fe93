// The host: SDL on the window thread. Top-level windows get an SDL window when first shown; SDL
// events become the window messages the program expects (keys, activation, close, moves); frames
// that any thread presents are scaled into their window by the window thread. The window thread
// is the thread that first uses the host (the process entry's thread).
//
// Window geometry seen by the program is in logical pixels: on a large display every window is
// shown at an integer scale, and positions, sizes and screen metrics are divided by that scale,
// so what the program stores (the window record) comes back as the same kind of coordinate.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/win32/types.h"

namespace host {

// True on the window thread once the host is up.
bool IsWindowThread();
// The window thread's id (0 before the host is up).
DWORD WindowThreadId();
// Brings SDL video up on the calling thread, which becomes the window thread. Idempotent;
// false when SDL video cannot start (the layer then runs without real windows).
bool Init();
// True when the host runs without a display (SDL's dummy video driver).
bool IsHeadless();
// What the host draws with, for the system report: the video driver, the display's name and
// SDL's version.
std::string VideoDriverName();
std::string DisplayName();
void SdlVersion(int* major, int* minor, int* patch);
// Ends SDL (window thread, at exit).
void Shutdown();

// Window thread only: turns pending SDL events into window messages and shows the newest frame
// of every window. Called from every wait of the window thread.
void PumpEvents();

// Window bookkeeping, called by the window registry on the owner thread.
void OnShowWindow(HWND hwnd, int cmd);
void OnWindowDestroyed(HWND hwnd);
void OnWindowGeometry(HWND hwnd);
void OnWindowTitle(HWND hwnd);

// Scale of logical pixels to display pixels (1 on small displays and headless).
int DisplayScale();
// The desktop and its work area in logical pixels, and its colour depth.
void DesktopRect(RECT* r);
void WorkArea(RECT* r);
int DesktopDepth();

// Presents a finished frame for a window from any thread: X8R8G8B8 pixels, `pitch` bytes per row.
// The window thread scales it into the window (aspect-correct, nearest). Every call counts one
// presented frame for the test driver.
void PresentFrame(HWND hwnd, const uint32_t* pixels, int width, int height, int pitch);
// Shows a picture in a window (X8R8G8B8) without counting it as a frame: the layer's own
// dialogs. Window thread; nothing happens without a display.
void ShowWindowPixels(HWND hwnd, const uint32_t* pixels, int width, int height, int pitch);
// Shows a top-level window full screen on the desktop (the frame scaled and centred in it), or
// back in its window; remembered for a window that is not shown yet. Any thread.
void SetFullScreen(HWND hwnd, bool on);
// Frames presented so far.
uint32_t PresentedFrames();
// A function called on the presenting thread after every present, with the frame's index (null
// for none). A driver that steps its input by presented frame answers there, before the
// presenting loop polls its next frame, whatever thread presents and however fast.
void SetPresentHook(void (*hook)(uint32_t frame));
// Whether the pixels of the next presented frame are looked at: always with a display; without
// one only when the test driver captures that frame. A presenter may skip preparing them
// otherwise (the frame still counts).
bool NextFrameShown();
// Waits for the host's next display refresh (vertical sync); returns at once when headless.
void WaitForVerticalBlank();

// Keyboard state for GetAsyncKeyState: updated by the window thread from SDL key events and by
// the test driver. Thread-safe.
void SetKeyState(int vk, bool down);
bool KeyDown(int vk);
// Delivers a key event as the host would: key state, then WM_KEYDOWN / WM_KEYUP to the window
// that has the keyboard (the given window when there is no better target).
void InjectKey(HWND hwnd, int vk, bool down);
// Delivers typed text (UTF-8) as the host does: WM_CHAR with each Shift-JIS byte to the window
// that has the keyboard.
void InjectText(HWND hwnd, const std::string& utf8);
// The input method's composition being typed (UTF-8, empty when none), from the host's text
// editing events; the setter is the host's (and tests').
std::string CompositionText();
void SetCompositionText(const std::string& utf8);
// Where the text being typed is, in a top-level window's client coordinates (the input
// method's candidate window goes there).
void SetTextInputRect(HWND hwnd, const RECT& r);
// The mouse cursor in logical screen coordinates, as the host last saw it.
void CursorPos(POINT* pt);
// Moves the mouse cursor (logical screen coordinates); only recorded without a display.
void SetCursorPos(int x, int y);
// Mouse buttons as the host last saw them (bit 0 left, bit 1 right).
int MouseButtons();

}  // namespace host
