// One player's input: the keyboard and joystick read once per frame into direction and button
// bits, the eight-way direction, menu key repeat, the rings of key changes and the nineteen
// per-input histories that the flows' key conditions test.
#pragma once

#include <vector>

#include "media/key_config.h"
#include "platform/win32/types.h"

// One entry of a key-change ring.
struct KEYRINGENTRY {
    WORD wKey;
    int nCount;  // frames held
};

// One entry of a per-input history, newest first.
struct INPUTHISTORY {
    DWORD dwPressed;
    int nCount;  // frames held
};

#define KEYRING_SIZE 32
#define INPUTHISTORY_SIZE 32
#define DIR_HISTORIES 10
#define BUTTON_HISTORIES 9

class cPlayerInput {
public:
    cPlayerInput();

    void SetRepeat(DWORD delay, DWORD interval);
    void InitJoyButtonMap();
    // Fixed map (arrows, Z X C V A S D F, joystick `joyId`); source flags 1 joystick, 2 keyboard.
    // 0 (nothing done) while the configuration is in use.
    DWORD PollFixed(int joyId, DWORD sources, int delay);
    // The configured map of g_KeyConfig; 0 (nothing done) while it is not in use.
    DWORD Poll(int blocks, int delay);

    void Reset();
    void ClearButtons();
    void FilterHeldButtons(DWORD mask);
    void UpdateRepeat();
    void ClearHistory();
    void PushHistory();
    SHORT GetHistory(int ring, int n);
    void ResetInputHistories();
    void UpdateInputHistories();

    WORD m_wKey;          // direction bits: 1 left, 2 right, 4 up, 8 down
    WORD m_wButton;       // button bits
    WORD m_wPrevKey;      // raw direction bits of the last frames, four bits each
    KEYRINGENTRY m_Ring[2][KEYRING_SIZE];
    DWORD m_dwRingIndex[2];
    std::vector<std::vector<INPUTHISTORY>> m_vecDirHistory;
    std::vector<std::vector<INPUTHISTORY>> m_vecButtonHistory;
    int m_nDirection;     // keypad direction 1..9, 5 none
    DWORD m_dwRepeatLR;
    DWORD m_dwRepeatUD;
    DWORD m_dwRepeatDelay;
    DWORD m_dwRepeatInterval;
    DWORD m_dwHeldLatch;
    WORD m_wJoyButtonMask[8];
    // Presence and retry countdown of each joystick: a failed one is skipped for a while.
    DWORD m_bJoyPresent[KEYCONFIG_MAXJOY];
    int m_nJoyRetry[KEYCONFIG_MAXJOY];

private:
    // Reads joystick j unless it is waiting out a failure; true when it was read.
    bool ReadJoystick(int j, int delay, JOYINFOEX* info);
    void ApplyRepeat(DWORD mask, DWORD* counter);
};

// Updates one history from the current bits: a change of state pushes a new front entry.
void UpdateInputHistory(std::vector<INPUTHISTORY>& history, WORD bits, WORD mask, int any);
// The prototype every player input is copied from: rings cleared, 10 + 9 histories of 32
// entries, retry countdowns 0.
void ResetInputState();
extern cPlayerInput g_PlayerInputProto;
// The players' inputs (one player: element 0), built from the prototype at program start.
extern std::vector<cPlayerInput> g_vecPlayerInput;

// Polls player 1 with the configured map when it is in use, else with the fixed map.
void PollPlayerInput();
