// The controls of the dialogs: each is a program object bound to a program variable, so that a
// dialog shows its variables with one call (DataToControls) and stores the user's choices back
// with another (ControlsToData).
#pragma once

#include <string>

#include "app/gdi_bitmap.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/win32.h"

class cDialog;

// Control kinds.
#define CTRLKIND_STATIC 0
#define CTRLKIND_EDIT 3
#define CTRLKIND_BITMAP 4
#define CTRLKIND_CHECK 5
#define CTRLKIND_RADIO 6
#define CTRLKIND_SCROLL 11

class cCtrl {
public:
    cCtrl();
    virtual ~cCtrl();
    virtual void Enable(BOOL bEnable);                                // slot 1
    virtual void DataToControl() {}                                   // slot 2
    virtual void ControlToData() {}                                   // slot 3
    virtual void OnChange() {}                                        // slot 4: the content changed
    virtual LRESULT OnNotify(WPARAM, LPARAM) { return 0; }            // slot 5: 0 = not handled
    virtual LRESULT OnScroll(WPARAM, LPARAM) { return 0; }            // slot 6: 0 = not handled
    virtual void Reserved7() {}                                       // slot 7
    virtual void Reserved8() {}                                       // slot 8
    virtual void OnOtherNotification() {}                             // slot 9
    virtual void AfterCommand() {}                                    // slot 10
    virtual void OnKey(int /*vk*/, LPARAM, int /*ctrlHeld*/) {}       // slot 11

    // Binds the object to the dialog's item: the dialog, its window, the id, the item's window
    // and its position on the screen and in the dialog's client area.
    void Attach(cDialog* dialog, int id);

    HWND m_hWnd;
    cDialog* m_lpDialog;
    HWND m_hDlgWnd;
    int m_nKind;
    WORD m_wId;
    int m_nScreenX, m_nScreenY;
    int m_nClientX, m_nClientY;
    int m_bBusy;
    std::string m_strTip;
};

// A static text (kind 0): held so that its caption can be changed.
class cCtrlStatic : public cCtrl {
public:
    explicit cCtrlStatic(WORD id = 0);
};

// A check box (kind 5) bound to an integer: checked when it is non-zero; stores 1 or 0.
class cCtrlCheck : public cCtrl {
public:
    cCtrlCheck(WORD id = 0, int* value = nullptr);
    void DataToControl() override;
    void ControlToData() override;
    int* m_lpValue;
};

// A radio button (kind 6) standing for one value of an integer: checked when the integer has
// that value; a checked button stores its value, an unchecked one leaves the integer alone.
class cCtrlRadio : public cCtrl {
public:
    cCtrlRadio(WORD id = 0, int* value = nullptr, int standsFor = 0);
    void DataToControl() override;
    void ControlToData() override;
    int* m_lpValue;
    int m_nValue;
};

// The picture control (kind 4) every dialog holds; no dialog of the program binds it. Its two
// GDI holders are released second first when the control goes.
class cCtrlBitmap : public cCtrl {
public:
    cCtrlBitmap();
    cGdiBitmap m_Gdi1;
    cGdiBitmap m_Gdi2;
};

// SetWindowTextA on a control's window.
BOOL SetWindowTextWrap(HWND control, const char* text);
