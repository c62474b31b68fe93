// Internals shared by the dialog manager, the controls, their painting and the file chooser.
// Everything here is used on the window thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/fonttext.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/internal.h"

namespace win32::dlg {

enum class CtrlClass { Button, Static, Edit, ScrollBar, Custom };

struct PAINTTARGET {
    uint32_t* pixels;
    int width, height;  // of the whole dialog picture
    RECT rc;            // the control, in dialog client coordinates
    RECT clip;          // where drawing may go (inside the control and the picture)
    gdi::FontText* font;
    bool caretOn;
};

struct ControlState {
    HWND hwnd = nullptr;
    HWND dialog = nullptr;
    int id = 0;
    CtrlClass cls = CtrlClass::Custom;
    DWORD style = 0;
    // Buttons.
    int check = 0;
    bool pushed = false;      // drawn pressed (mouse held on it, or Space held)
    bool mouseDown = false;
    bool spaceDown = false;
    // Edit boxes: selection anchor and caret (byte offsets on character boundaries), the
    // horizontal scroll in pixels and a lead byte waiting for its trail byte.
    int anchor = 0, caret = 0;
    int scroll = 0;
    int pendingLead = -1;
    bool selecting = false;
    // Scroll bars.
    int nMin = 0, nMax = 100, nPage = 0, nPos = 0, nTrackPos = 0;
    bool tracking = false;
    int trackGrab = 0;
    // A control class of the layer's own (the file chooser's list) paints itself.
    std::function<void(const PAINTTARGET&)> paint;
};

struct DialogState {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    int resourceId = 0;
    DLGPROC proc = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    std::shared_ptr<gdi::FontText> font;
    SIZE base{0, 0};
    std::vector<HWND> controls;  // in template order: tab order and hit-test order
    HWND capture = nullptr;      // the control that has the mouse while a button is held
    bool dirty = true;
};

// Registration of the layer's window classes (once).
void RegisterDialogClasses();
// The next dialog this thread runs is answered by `drive` instead of the script's "answer
// dialog" lines (the layer's own dialogs answer for themselves). `drive` is called whenever the
// dialog is idle; it returns false when it has nothing to do at that moment.
void SetNextDialogDriver(std::function<bool(HWND)> drive);
// Lookups (null when the window is not one).
std::shared_ptr<DialogState> FindDialog(HWND hwnd);
std::shared_ptr<ControlState> FindControl(HWND hwnd);
// The dialog that a window belongs to (itself or its parent dialog).
std::shared_ptr<DialogState> DialogOf(HWND hwnd);
void AddControl(const std::shared_ptr<ControlState>& c);
void RemoveControl(HWND hwnd);
void AddDialog(const std::shared_ptr<DialogState>& d);
void RemoveDialog(HWND hwnd);
// Marks a dialog (of a window) for drawing again.
void Invalidate(HWND hwnd);

// The window text (Shift-JIS).
std::string WindowText(HWND hwnd);
// A control's rectangle in its dialog's client coordinates.
RECT ControlRect(HWND hwnd);
bool IsShiftDown();
bool IsCtrlDown();

// Buttons: the kind of a button style, the radio buttons of a control's group, a click.
DWORD ButtonType(DWORD style);
bool IsPushButton(const ControlState& c);
bool IsRadioButton(const ControlState& c);
std::vector<HWND> RadioGroup(const DialogState& d, HWND radio);
void ClickButton(const std::shared_ptr<ControlState>& c);
// The push button that Enter presses: the focused push button, else the default push button.
HWND DefaultButton(const DialogState& d);
// Notification to the control's dialog: WM_COMMAND (id, code) sent with the control's handle.
void Notify(const ControlState& c, WORD code);

// Window procedures of the layer's classes.
LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Edit boxes: the caret position nearest to a client x, and keeping the caret in view.
int EditPositionFromX(const ControlState& c, gdi::FontText* font, int x);
void EditScrollToCaret(ControlState& c, gdi::FontText* font);
// Shift-JIS text helpers: the start of the character before / after a byte offset.
int PrevCharStart(const std::string& s, int pos);
int NextCharEnd(const std::string& s, int pos);
int SnapToChar(const std::string& s, int pos);

// Painting.
void PaintDialog(const DialogState& d, std::vector<uint32_t>* pixels, int* width, int* height, bool caretOn);
void FillRect(const PAINTTARGET& t, RECT r, uint32_t color);
void FrameRect(const PAINTTARGET& t, RECT r, uint32_t color);
// Text in a rectangle: one line (vertically centred when `vcentre`) or word-wrapped lines from
// the top; `align` 0 left, 1 centre, 2 right. Clipped to the rectangle.
void DrawTextInRect(const PAINTTARGET& t, RECT r, const std::string& text, int align, bool vcentre, bool wrap,
                    uint32_t color);
// Wrapped lines of a text for a width (byte ranges into the text).
std::vector<std::pair<int, int>> WrapLines(gdi::FontText* font, const std::string& text, int width);

// Colours of the dialogs.
constexpr uint32_t kFaceColour = 0xF0F0F0;
constexpr uint32_t kTextColour = 0x000000;
constexpr uint32_t kGrayTextColour = 0x6D6D6D;
constexpr uint32_t kHighlightColour = 0x0078D7;
constexpr uint32_t kHighlightTextColour = 0xFFFFFF;
constexpr uint32_t kWindowColour = 0xFFFFFF;

// The file chooser's list control class (file_chooser.cpp).
extern const char* const kFileListClassName;

}  // namespace win32::dlg
