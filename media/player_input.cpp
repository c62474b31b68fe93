#include "media/player_input.h"

#include <cstring>

#include "core/checked.h"
#include "platform/host/host.h"
#include "platform/win32/messages.h"

cPlayerInput g_PlayerInputProto;
std::vector<cPlayerInput> g_vecPlayerInput = [] {
    ResetInputState();
    return std::vector<cPlayerInput>(1, g_PlayerInputProto);
}();

namespace {

bool KeyIsDown(int vk) { return GetAsyncKeyState(vk) < 0; }

const WORD kDirMasks[DIR_HISTORIES] = {0, 1, 2, 4, 8, 5, 9, 6, 10, 15};

}  // namespace

cPlayerInput::cPlayerInput()
    : m_wKey(0), m_wButton(0), m_wPrevKey(0), m_Ring{}, m_dwRingIndex{0, 0}, m_nDirection(5), m_dwRepeatLR(0),
      m_dwRepeatUD(0), m_dwRepeatDelay(0), m_dwRepeatInterval(0), m_dwHeldLatch(0), m_wJoyButtonMask{},
      m_bJoyPresent{}, m_nJoyRetry{} {}

void cPlayerInput::SetRepeat(DWORD delay, DWORD interval) {
    m_dwRepeatDelay = delay;
    m_dwRepeatInterval = interval;
}

void cPlayerInput::InitJoyButtonMap() {
    for (int i = 0; i < 8; ++i) m_wJoyButtonMask[i] = (WORD)(1u << i);
}

bool cPlayerInput::ReadJoystick(int j, int delay, JOYINFOEX* info) {
    if (j < 0 || j >= KEYCONFIG_MAXJOY) return false;
    if (!m_bJoyPresent[j] && m_nJoyRetry[j] > 0) {
        --m_nJoyRetry[j];
        return false;
    }
    std::memset(info, 0, sizeof *info);
    info->dwSize = sizeof *info;
    info->dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
    if (joyGetPosEx((UINT)j, info) != JOYERR_NOERROR) {
        m_bJoyPresent[j] = 0;
        m_nJoyRetry[j] = delay > 0 ? 2 * delay : 0;
        return false;
    }
    m_bJoyPresent[j] = 1;
    return true;
}

DWORD cPlayerInput::PollFixed(int joyId, DWORD sources, int delay) {
    if (g_KeyConfig.dwUseConfig) return 0;
    bool joyDir = false, joyButton = false;
    JOYINFOEX ji;
    if ((sources & 1) && ReadJoystick(joyId, delay, &ji)) {
        m_nDirection = 5;
        m_wKey = 0;
        if (ji.dwXpos < 10001) {
            m_nDirection = 4;
            m_wKey = 1;
        } else if (ji.dwXpos >= 55535) {
            m_nDirection = 6;
            m_wKey = 2;
        }
        if (ji.dwYpos < 10001) {
            m_nDirection -= 3;
            m_wKey |= 4;
        } else if (ji.dwYpos >= 55535) {
            m_nDirection += 3;
            m_wKey |= 8;
        }
        joyDir = m_nDirection != 5;
        m_wButton = 0;
        for (int i = 0; i < 8; ++i)
            if (ji.dwButtons & m_wJoyButtonMask[i]) m_wButton |= (WORD)(1u << i);
        joyButton = m_wButton != 0;
    }
    if (!(sources & 2)) return 1;
    if (!joyDir) {
        m_nDirection = 5;
        m_wKey = 0;
        if (KeyIsDown(VK_LEFT)) m_nDirection -= 1, m_wKey |= 1;
        if (KeyIsDown(VK_RIGHT)) m_nDirection += 1, m_wKey |= 2;
        if (KeyIsDown(VK_UP)) m_nDirection -= 3, m_wKey |= 4;
        if (KeyIsDown(VK_DOWN)) m_nDirection += 3, m_wKey |= 8;
    }
    if (joyButton) return 1;
    static const int keys[8] = {'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};
    m_wButton = 0;
    for (int i = 0; i < 8; ++i)
        if (KeyIsDown(keys[i])) m_wButton |= (WORD)(1u << i);
    return 1;
}

DWORD cPlayerInput::Poll(int blocks, int delay) {
    (void)blocks;  // the record holds one player's block
    if (!g_KeyConfig.dwUseConfig) return 0;
    int joys = KeyJoyCount(g_KeyConfig);
    JOYINFOEX info[KEYCONFIG_MAXJOY];
    bool read[KEYCONFIG_MAXJOY] = {};
    for (int j = 0; j < joys; ++j) read[j] = ReadJoystick(j, delay, &info[j]);

    auto down = [&](int index) {
        const KEYASSIGN& a = g_KeyConfig.Assign[index];
        if (a.dwDevice == KEYCONFIG_KEYBOARD) return KeyIsDown(a.wCode);
        // A joystick outside the count (or not read this frame) is never down.
        if (a.dwDevice >= (DWORD)joys || !read[a.dwDevice]) return false;
        const JOYINFOEX& ji = info[a.dwDevice];
        if (index < 4 && JoyAxisPressed(ji, a.wCode)) return true;
        return (ji.dwButtons & a.wCode) != 0;
    };
    m_nDirection = 5;
    m_wKey = 0;
    m_wButton = 0;
    if (down(0)) m_nDirection -= 1, m_wKey |= 1;
    else if (down(1)) m_nDirection += 1, m_wKey |= 2;
    if (down(2)) m_nDirection -= 3, m_wKey |= 4;
    else if (down(3)) m_nDirection += 3, m_wKey |= 8;
    int count = KeyAssignCount(g_KeyConfig);
    for (int i = 4; i < count; ++i)
        if (down(i)) m_wButton |= (WORD)(1u << (i - 4));
    return 1;
}

void cPlayerInput::Reset() {
    m_wKey = 0;
    m_nDirection = 5;
}

void cPlayerInput::ClearButtons() { m_wButton = 0; }

void cPlayerInput::FilterHeldButtons(DWORD mask) {
    WORD m = (WORD)(mask ? mask : 255);
    bool any = (m_wButton & m) != 0;
    if (!m_dwHeldLatch) {
        if (any) m_dwHeldLatch = 1;
    } else if (any) {
        m_wButton &= (WORD)~m;
    } else {
        m_dwHeldLatch = 0;
    }
}

void cPlayerInput::ApplyRepeat(DWORD mask, DWORD* counter) {
    DWORD now = m_wKey & mask;
    DWORD last = (m_wPrevKey >> 4) & mask;
    if (now != last) {
        *counter = 0;
        return;
    }
    ++*counter;
    // An interval of 0 repeats every frame once the delay has passed.
    bool pass = *counter >= m_dwRepeatDelay && (m_dwRepeatInterval == 0 || *counter % m_dwRepeatInterval == 0);
    if (!pass) m_wKey &= (WORD)~mask;
}

void cPlayerInput::UpdateRepeat() {
    m_wPrevKey = (WORD)((m_wPrevKey << 4) | (m_wKey & 15));
    ApplyRepeat(3, &m_dwRepeatLR);
    ApplyRepeat(12, &m_dwRepeatUD);
}

void cPlayerInput::ClearHistory() {
    std::memset(m_Ring, 0, sizeof m_Ring);
    m_dwRingIndex[0] = m_dwRingIndex[1] = 0;
}

void cPlayerInput::PushHistory() {
    WORD values[2] = {m_wKey, m_wButton};
    for (int r = 0; r < 2; ++r) {
        DWORD& idx = m_dwRingIndex[r];
        idx %= KEYRING_SIZE;
        KEYRINGENTRY& cur = m_Ring[r][idx];
        if (cur.wKey != values[r]) {
            idx = (idx + 1) % KEYRING_SIZE;
            m_Ring[r][idx] = KEYRINGENTRY{values[r], 1};
        } else if (cur.nCount != 0x7FFFFFFF) {
            ++cur.nCount;
        }
    }
}

SHORT cPlayerInput::GetHistory(int ring, int n) {
    if (ring < 0 || ring > 1) return 0;
    DWORD idx = m_dwRingIndex[ring] % KEYRING_SIZE;
    long long remaining = (long long)n + 1;
    for (int i = 0; i < KEYRING_SIZE; ++i) {
        int count = m_Ring[ring][idx].nCount;
        if (remaining <= count) break;
        remaining -= count;
        idx = (idx + KEYRING_SIZE - 1) % KEYRING_SIZE;
    }
    return (SHORT)m_Ring[ring][idx].wKey;
}

void cPlayerInput::ResetInputHistories() {
    m_vecDirHistory.resize(DIR_HISTORIES);
    m_vecButtonHistory.resize(BUTTON_HISTORIES);
    for (auto& h : m_vecDirHistory) h.assign(INPUTHISTORY_SIZE, INPUTHISTORY{0, 0});
    for (auto& h : m_vecButtonHistory) h.assign(INPUTHISTORY_SIZE, INPUTHISTORY{0, 0});
}

void cPlayerInput::UpdateInputHistories() {
    for (int i = 0; i < DIR_HISTORIES; ++i)
        UpdateInputHistory(CheckedAt(m_vecDirHistory, i), m_wKey, kDirMasks[i], i == 9);
    for (int i = 0; i < BUTTON_HISTORIES; ++i)
        UpdateInputHistory(CheckedAt(m_vecButtonHistory, i), m_wButton, i == 0 ? 0 : (WORD)(1u << (i - 1)), i != 0);
}

void UpdateInputHistory(std::vector<INPUTHISTORY>& history, WORD bits, WORD mask, int any) {
    DWORD pressed = any ? ((bits & mask) != 0) : (bits == mask);
    if (history.empty()) history.assign(INPUTHISTORY_SIZE, INPUTHISTORY{0, 0});
    INPUTHISTORY& front = history.front();
    if ((front.dwPressed != 0) != (pressed != 0)) {
        history.insert(history.begin(), INPUTHISTORY{pressed, 1});
        history.resize(INPUTHISTORY_SIZE);
    } else if (front.nCount != 0x7FFFFFFF) {
        ++front.nCount;
    }
}

void ResetInputState() {
    cPlayerInput& p = g_PlayerInputProto;
    std::memset(p.m_Ring, 0, sizeof p.m_Ring);
    p.m_dwRingIndex[0] = p.m_dwRingIndex[1] = 0;
    p.m_vecDirHistory.assign(DIR_HISTORIES, std::vector<INPUTHISTORY>(INPUTHISTORY_SIZE, INPUTHISTORY{0, 0}));
    p.m_vecButtonHistory.assign(BUTTON_HISTORIES, std::vector<INPUTHISTORY>(INPUTHISTORY_SIZE, INPUTHISTORY{0, 0}));
    for (int& r : p.m_nJoyRetry) r = 0;
}

void PollPlayerInput() {
    cPlayerInput& p = CheckedAt(g_vecPlayerInput, 0);
    if (g_KeyConfig.dwUseConfig) p.Poll(1, 60);
    else p.PollFixed(0, 3, 60);
}
