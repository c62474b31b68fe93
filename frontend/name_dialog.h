// The ranking name-entry dialog (resource 102): a name of at most three characters, half- or
// full-width, for a ranking entry or the options' default ranking name.
#pragma once

#include <string>
#include <vector>

#include "app/ctrl_edit.h"
#include "app/dialog.h"

class cNameDialog : public cDialog {
public:
    // The dialog edits `name` (the play scene's ranking-name buffer, or the options' ranking
    // name from the option scene); the name changes only on OK.
    cNameDialog(std::string* name, cWindowGroup* group);
    ~cNameDialog() override;
    // OK (1000) stores the name and ends with 1; 1001 ends with 0.
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The edit control from its binding, focused with its whole text selected; "     Name" in
    // English.
    void OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    static INT_PTR DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    struct EDITENTRY {
        cCtrlEdit ctrl;
        cEditBinding binding;
    };
    std::vector<EDITENTRY> m_vecEdits;
};

// The live name-entry dialog (its dialog procedure forwards to it).
extern cNameDialog* g_lpNameDialog;
