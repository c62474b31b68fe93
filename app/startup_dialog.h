// The start-up settings dialog (resource 103): Direct3D or DirectDraw, and a tick box that stops
// it from being shown again. Start stores the choice in "user_data\Boot.dat"; Cancel ends the
// program.
#pragma once

#include <vector>

#include "app/dialog.h"

class cStartupDialog : public cDialog {
public:
    explicit cStartupDialog(cWindowGroup* group);
    ~cStartupDialog() override;
    // OnStart: Start saves Boot.dat and ends with 1; Cancel ends with 0.
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    // OnInit: caption, controls, the boot data shown, English captions.
    void OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    static INT_PTR DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::vector<cCtrlCheck> m_vecCheck;
    std::vector<cCtrlRadio> m_vecRadio;
    std::vector<cCtrlStatic> m_vecStatic;
};

// The live start-up dialog (its dialog procedure forwards to it).
extern cStartupDialog* g_lpStartupDialog;

// Start-up, the step after System.ini (InitGame): when the "Direct3D" key is 2 or more, Boot.dat
// is read and, unless it says not to ask, the dialog is run; then "Direct3D" becomes 1 when the
// drawing mode is 1 and 0 otherwise. false when start-up must end: Cancel or the close box
// (nothing more is said), or no memory for the dialog (OutOfMemoryClose). A dialog that cannot
// be made is reported and start-up goes on with the mode Boot.dat holds (or the default).
bool RunStartupDialogStep();
