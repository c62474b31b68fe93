// The edit control (kind 3): bound to a program string; holds the text to a per-line length, a
// line count and a total size while the user types (edit_limits.h).
#pragma once

#include <string>

#include "app/ctrl.h"

// The set-up record of an edit control.
struct cEditBinding {
    WORD wId;
    std::string* lpString;
    int nBufferSize;  // bytes with the terminating NUL; 0 for 4,096
    int nPerLine;     // 0 for 1,024
    int nLines;       // 0 for 32
    int bCharMode;    // lengths in characters (a two-byte pair is one, a line feed none)
    int nLayout[4];   // kept with the control

    cEditBinding();
    // One line of at most `maximum` bytes, or characters when `charMode` is set.
    void Set(WORD id, std::string* text, int maximum, int charMode);
};

// The text control between cCtrl and the edit control.
class cCtrlText : public cCtrl {
public:
    cCtrlText() : m_nTextWord(0) {}
    int m_nTextWord;
};

class cCtrlEdit : public cCtrlText {
public:
    cCtrlEdit();
    ~cCtrlEdit() override;
    // Attaches to the dialog's item, takes the settings with their defaults and shows the bound
    // string; the shown text is the last accepted one.
    void Create(cDialog* dialog, const cEditBinding& binding);
    void DataToControl() override;
    void ControlToData() override;
    // After every change of the text (EN_UPDATE): the limits, written back with the selection.
    void OnChange() override;
    // The read length: the total limit, in character mode 2 x limit - 1.
    int ReadCount() const { return m_bCharMode ? 2 * m_nTotal - 1 : m_nTotal; }

    std::string* m_lpString;
    int m_nTotal;
    int m_nPerLine;
    int m_nLines;
    int m_bCharMode;
    int m_bRestore;
    std::string m_strLast;
    int m_nSelStart, m_nSelEnd;
    int m_nLayout[4];
};
