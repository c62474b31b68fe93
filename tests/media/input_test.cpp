// Player input: repeat, held-button filter, rings, histories, both polls and KeyConfig.dat.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "media/player_input.h"
#include "platform/audio/joystick.h"
#include "platform/host/host.h"
#include "platform/win32/files.h"
#include "platform/win32/messages.h"
#include "tools/wave_writer.h"

namespace {

cPlayerInput Fresh() {
    ResetInputState();
    cPlayerInput p = g_PlayerInputProto;
    p.SetRepeat(18, 6);
    p.InitJoyButtonMap();
    return p;
}

// The frames (counted from the press) on which the menu sees a held direction.
TEST(PlayerInput, HeldDirectionRepeatsAfterTheDelay) {
    cPlayerInput p = Fresh();
    std::vector<int> passed;
    for (int f = 0; f < 40; ++f) {
        p.m_wKey = 2;                  // right held
        if (f >= 10) p.m_wKey |= 4;    // up pressed meanwhile
        p.UpdateRepeat();
        if (p.m_wKey & 2) passed.push_back(f);
    }
    EXPECT_EQ(passed, (std::vector<int>{0, 18, 24, 30, 36}));
    // A release restarts the pair.
    p.m_wKey = 0;
    p.UpdateRepeat();
    p.m_wKey = 2;
    p.UpdateRepeat();
    EXPECT_EQ(p.m_wKey & 2, 2);
    // An interval of 0 does not divide by zero: every frame after the delay passes.
    cPlayerInput q = Fresh();
    q.SetRepeat(3, 0);
    int count = 0;
    for (int f = 0; f < 6; ++f) {
        q.m_wKey = 1;
        q.UpdateRepeat();
        count += q.m_wKey & 1;
    }
    EXPECT_EQ(count, 4);  // frames 0, 3, 4, 5
}

TEST(PlayerInput, FilterHeldButtonsPassesOnlyTheFirstFrame) {
    cPlayerInput p = Fresh();
    // Button 0 held on frames 1-3, released on 4, pressed again on 5; button 1 from 2 to 6.
    WORD raw[] = {0, 1, 3, 3, 2, 3, 2, 0, 2};
    WORD want[] = {0, 1, 0, 0, 0, 0, 0, 0, 2};
    for (int f = 0; f < 9; ++f) {
        p.m_wButton = raw[f];
        p.FilterHeldButtons(0);
        EXPECT_EQ(p.m_wButton, want[f]) << "frame " << f;
    }
    // Only masked buttons are filtered.
    cPlayerInput q = Fresh();
    q.m_wButton = 1;
    q.FilterHeldButtons(2);
    q.m_wButton = 1;
    q.FilterHeldButtons(2);
    EXPECT_EQ(q.m_wButton, 1);
}

TEST(PlayerInput, RingsRememberChanges) {
    cPlayerInput p = Fresh();
    p.ClearHistory();
    EXPECT_EQ(p.GetHistory(0, 0), 0);
    EXPECT_EQ(p.GetHistory(1, 5), 0);
    WORD seq[] = {1, 1, 1, 2, 2, 8};
    for (WORD k : seq) {
        p.m_wKey = k;
        p.m_wButton = (WORD)(k * 16);
        p.PushHistory();
    }
    EXPECT_EQ(p.GetHistory(0, 0), 8);
    EXPECT_EQ(p.GetHistory(0, 1), 2);
    EXPECT_EQ(p.GetHistory(0, 2), 2);
    EXPECT_EQ(p.GetHistory(0, 3), 1);
    EXPECT_EQ(p.GetHistory(1, 1), 32);
    EXPECT_EQ(p.GetHistory(0, 5), 1);
    // The hold count saturates.
    p.m_Ring[0][p.m_dwRingIndex[0]].nCount = 0x7FFFFFFE;
    p.PushHistory();
    p.PushHistory();
    EXPECT_EQ(p.m_Ring[0][p.m_dwRingIndex[0]].nCount, 0x7FFFFFFF);
    // 33 changes wrap the 32 entries.
    for (int i = 0; i < 33; ++i) {
        p.m_wKey = (WORD)(i % 2 ? 4 : 8);
        p.PushHistory();
    }
    EXPECT_LT(p.m_dwRingIndex[0], 32u);
}

TEST(PlayerInput, HistoriesFollowTheBits) {
    cPlayerInput p = Fresh();
    p.m_vecButtonHistory[3].assign(5, INPUTHISTORY{1, 1});
    p.ResetInputHistories();
    ASSERT_EQ(p.m_vecDirHistory.size(), 10u);
    ASSERT_EQ(p.m_vecButtonHistory.size(), 9u);
    for (auto* v : {&p.m_vecDirHistory, &p.m_vecButtonHistory})
        for (auto& h : *v) {
            ASSERT_EQ(h.size(), 32u);
            for (auto& e : h) ASSERT_TRUE(e.dwPressed == 0 && e.nCount == 0);
        }
    // Up-left for 3 frames, then up alone for 2.
    for (int f = 0; f < 5; ++f) {
        p.m_wKey = f < 3 ? 5 : 4;
        p.m_wButton = 4;
        p.UpdateInputHistories();
    }
    auto& upLeft = p.m_vecDirHistory[5];
    EXPECT_EQ(upLeft[0].dwPressed, 0u);
    EXPECT_EQ(upLeft[0].nCount, 2);
    EXPECT_EQ(upLeft[1].dwPressed, 1u);
    EXPECT_EQ(upLeft[1].nCount, 3);
    EXPECT_EQ(p.m_vecDirHistory[3][0].nCount, 2);   // up only
    EXPECT_EQ(p.m_vecDirHistory[9][0].nCount, 5);   // any direction
    EXPECT_EQ(p.m_vecDirHistory[9][0].dwPressed, 1u);
    EXPECT_EQ(p.m_vecButtonHistory[3][0].dwPressed, 1u);  // button 2
    EXPECT_EQ(p.m_vecButtonHistory[0][0].dwPressed, 0u);  // "no button" is false
    EXPECT_EQ(p.m_vecDirHistory[5].size(), 32u);
    std::vector<INPUTHISTORY> h(32, INPUTHISTORY{1, 0x7FFFFFFF});
    UpdateInputHistory(h, 1, 1, 1);
    EXPECT_EQ(h[0].nCount, 0x7FFFFFFF);
}

TEST(PlayerInput, DirectionNumbers) {
    int want[16] = {5, 4, 6, 4, 2, 1, 3, 1, 8, 7, 9, 7, 2, 1, 3, 1};
    for (int bits = 0; bits < 16; ++bits) EXPECT_EQ(KeyBitsToDirection(bits), want[bits]) << bits;
}

struct Keys {
    explicit Keys(std::initializer_list<int> down) : m_keys(down) {
        for (int k : m_keys) host::SetKeyState(k, true);
    }
    ~Keys() {
        for (int k : m_keys) host::SetKeyState(k, false);
    }
    std::vector<int> m_keys;
};

TEST(PlayerInput, FixedMapAgainstConfiguredMap) {
    DefaultKeyConfig(&g_KeyConfig);
    cPlayerInput p = Fresh();
    {
        Keys k{VK_LEFT, VK_RIGHT, 'Z', 'F'};
        EXPECT_EQ(p.PollFixed(5, 2, 60), 1u);  // keyboard only
        EXPECT_EQ(p.m_wKey, 3);
        EXPECT_EQ(p.m_nDirection, 5);
        EXPECT_EQ(p.m_wButton, 0x81);
        EXPECT_EQ(p.Poll(1, 60), 0u);  // the configuration is not in use
        g_KeyConfig.dwUseConfig = 1;
        EXPECT_EQ(p.PollFixed(0, 3, 60), 0u);
        EXPECT_EQ(p.Poll(1, 60), 1u);
        EXPECT_EQ(p.m_wKey, 1);  // left wins
        EXPECT_EQ(p.m_nDirection, 4);
        EXPECT_EQ(p.m_wButton, 0x81);
    }
    // Configured: fewer assignments read fewer buttons; a count above 12 is clamped.
    {
        Keys k{'A', 'F'};
        g_KeyConfig.dwAssignCount = 9;  // buttons 0..4
        p.Poll(1, 60);
        EXPECT_EQ(p.m_wButton, 0x10);
        g_KeyConfig.dwAssignCount = 5000;
        p.Poll(1, 60);
        EXPECT_EQ(p.m_wButton, 0x90);
    }
    DefaultKeyConfig(&g_KeyConfig);
}

TEST(PlayerInput, JoystickWinsOverKeysAndFailedOnesWait) {
    DefaultKeyConfig(&g_KeyConfig);
    int id = audio::AttachVirtualJoystick();
    ASSERT_GE(id, 0);
    cPlayerInput p = Fresh();
    audio::SetVirtualJoystickButton(2, true);  // joystick button 3: game button 2
    audio::SetVirtualJoystickAxis(1, 0);       // up
    {
        Keys k{'Z', VK_LEFT};
        p.PollFixed(id, 3, 60);
        EXPECT_EQ(p.m_wButton, 4);   // the keyboard's buttons are not read
        EXPECT_EQ(p.m_wKey, 4);      // nor its directions
        EXPECT_EQ(p.m_nDirection, 2);
    }
    audio::SetVirtualJoystickButton(2, false);
    audio::SetVirtualJoystickAxis(1, 32768);
    // A joystick that is not there is skipped for 2 x delay polls, each joystick on its own.
    const int missing = 7;
    p.PollFixed(missing, 1, 60);
    EXPECT_EQ(p.m_bJoyPresent[missing], 0u);
    EXPECT_EQ(p.m_nJoyRetry[missing], 120);
    p.PollFixed(missing, 1, 60);
    EXPECT_EQ(p.m_nJoyRetry[missing], 119);
    p.PollFixed(id, 1, 60);
    EXPECT_EQ(p.m_bJoyPresent[id], 1u);
    EXPECT_EQ(p.m_nJoyRetry[missing], 119);
    // Configured map: joystick assignments, and joysticks past the count never down.
    g_KeyConfig.dwUseConfig = 1;
    g_KeyConfig.dwJoyCount = (DWORD)id + 1;
    g_KeyConfig.Assign[0] = KEYASSIGN{(DWORD)id, JOYAXIS_XLOW, 0};
    g_KeyConfig.Assign[4] = KEYASSIGN{(DWORD)id, 2, 0};
    g_KeyConfig.Assign[5] = KEYASSIGN{(DWORD)id + 1, 2, 0};
    audio::SetVirtualJoystickAxis(0, 0);
    audio::SetVirtualJoystickButton(1, true);
    p.Poll(1, 60);
    EXPECT_EQ(p.m_wKey, 1);
    EXPECT_EQ(p.m_wButton, 1);
    audio::DetachVirtualJoystick();
    DefaultKeyConfig(&g_KeyConfig);
}

TEST(KeyConfig, FileIsReadRawAndClamped) {
    std::string host = std::string(VELMORA_BINARY_DIR) + "/KeyConfig_test.dat";
    std::string path = WindowsPathFromHost(host);
    KEYCONFIG want;
    DefaultKeyConfig(&want);
    want.Assign[4].wCode = 'Q';
    want.dwUseConfig = 1;
    want.dwAssignCount = 77;
    want.dwJoyCount = 0xFFFFFFFF;
    std::vector<uint8_t> bytes((uint8_t*)&want, (uint8_t*)&want + 108);
    ASSERT_TRUE(tools::WriteBytes(host, bytes));
    KEYCONFIG k{};
    ASSERT_EQ(LoadKeyConfig(path.c_str(), &k), 1);
    EXPECT_EQ(k.Assign[4].wCode, 'Q');
    EXPECT_EQ(k.dwUseConfig, 1u);
    EXPECT_EQ(k.dwAssignCount, 12u);
    EXPECT_EQ(k.dwJoyCount, 8u);
    // A short file leaves the rest as it was: zero, so the fixed map is used.
    bytes.resize(50);
    ASSERT_TRUE(tools::WriteBytes(host, bytes));
    KEYCONFIG s{};
    ASSERT_EQ(LoadKeyConfig(path.c_str(), &s), 1);
    EXPECT_EQ(s.Assign[4].wCode, 'Q');
    EXPECT_EQ(s.Assign[7].wCode, 0);
    EXPECT_EQ(s.dwUseConfig, 0u);
    // A missing file is not read and leaves the record unchanged.
    KEYCONFIG m = want;
    EXPECT_EQ(LoadKeyConfig("user_data\\NoSuchKeyConfig.dat", &m), 0);
    EXPECT_EQ(std::memcmp(&m, &want, sizeof m), 0);
    KEYCONFIG d{};
    DefaultKeyConfig(&d);
    EXPECT_EQ(d.Assign[0].wCode, VK_LEFT);
    EXPECT_EQ(d.Assign[11].wCode, 'F');
    EXPECT_EQ(d.dwJoyCount, 1u);
}

}  // namespace
