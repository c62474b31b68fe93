// Modal dialogs of the program: a cDialog runs a dialog resource through the layer's dialogs;
// its controls are cCtrl objects bound to program variables. Every dialog binds the keyboard
// hook so that it sees the key strokes that go to its focused control.
//
// Left out, as no dialog of the program uses them: modeless dialogs, tool and status bars, the
// dialog's own scroll bars (and the keys that scroll them), tooltips and tracing.
#pragma once

#include <vector>

#include "app/ctrl.h"
#include "app/ctrl_scroll.h"
#include "app/hook.h"
#include "app/window.h"

// The window group handed to every dialog: the window objects (and the objects that own a tool
// window) that a modal run may hide (run flag 2) or disable (run flag 4) while it lasts.
struct cWindowGroup {
    std::vector<cWindow*> m_vecWindows;
    std::vector<cWindow*> m_vecToolOwners;
};

// The program's window group (both dialogs are given it).
extern cWindowGroup g_WindowGroup;

// A dialog's position pulled into the work area: past the left or top edge it goes to that
// edge, reaching the right or bottom edge it ends there.
POINT ClampDialogPosition(int x, int y, int width, int height, const RECT& work);

class cDialog : public cWindow {
public:
    cDialog();
    ~cDialog() override;

    // Slot 2: finds the child whose id and kind the notification is for and lets it handle it.
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Slot 10: the dialogs' window procedure (ModalProc): WM_CLOSE ends the dialog with 0.
    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Slot 11: the common dispatcher, then the dialog's own messages.
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Slot 12: refresh (slot 8 of every child of kind 8).
    void Reserved12() override;
    // Slot 14: initialisation; a derived dialog calls it first.
    virtual void OnInitDialog(WPARAM wParam, LPARAM lParam);

    // Called by a derived constructor: tag, flags, then SetId. Creates no window.
    void SetUp(int resourceId, cWindow* parent, int tag, cWindowGroup* group);
    void SetId(int resourceId, cWindow* parent, cWindowGroup* group);
    // Runs the dialog; its result (the value given to End, or -1 when it could not be made).
    INT_PTR RunModal(int runFlags);
    void End(INT_PTR result);
    void DataToControls();
    void ControlsToData();
    // The procedure that the derived class hands to the modal run (its static forwarder).
    void SetDialogProc(DLGPROC proc) { m_lpDlgProc = (void*)proc; }

    cHook m_Hook;
    cWindow* m_lpParent;
    cCtrlBitmap m_Bitmap;
    cCtrlScroll m_ScrollH;
    cCtrlScroll m_ScrollV;
    int m_nWord;
    cWindowGroup* m_lpGroup;
    std::vector<cCtrl*> m_vecChildren;

private:
    void ApplyRunFlags(bool during);
    void Place();
    static LRESULT SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
