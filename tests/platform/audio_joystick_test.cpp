// joyGetPosEx on SDL's virtual joystick.
#include <gtest/gtest.h>

#include "platform/audio/joystick.h"
#include "platform/audio/mmsystem.h"

namespace {

TEST(Joystick, ReadsAxesAndButtonsOfTheVirtualJoystick) {
    int id = audio::AttachVirtualJoystick();
    ASSERT_GE(id, 0);
    JOYINFOEX ji{};
    ji.dwSize = sizeof(ji);
    ji.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
    ASSERT_EQ(sizeof(JOYINFOEX), 52u);
    ASSERT_EQ(joyGetPosEx((UINT)id, &ji), (MMRESULT)JOYERR_NOERROR);
    EXPECT_NEAR((int)ji.dwXpos, 32767, 1);
    EXPECT_NEAR((int)ji.dwYpos, 32767, 1);
    EXPECT_EQ(ji.dwButtons, 0u);
    ASSERT_TRUE(audio::SetVirtualJoystickAxis(0, 0));
    ASSERT_TRUE(audio::SetVirtualJoystickAxis(1, 65535));
    ASSERT_TRUE(audio::SetVirtualJoystickButton(2, true));
    ASSERT_EQ(joyGetPosEx((UINT)id, &ji), (MMRESULT)JOYERR_NOERROR);
    EXPECT_EQ(ji.dwXpos, 0u);
    EXPECT_EQ(ji.dwYpos, 65535u);
    EXPECT_EQ(ji.dwButtons, 4u);
    audio::SetVirtualJoystickButton(2, false);
    ASSERT_EQ(joyGetPosEx((UINT)id, &ji), (MMRESULT)JOYERR_NOERROR);
    EXPECT_EQ(ji.dwButtons, 0u);
    audio::DetachVirtualJoystick();
    EXPECT_EQ(joyGetPosEx((UINT)id, &ji), (MMRESULT)JOYERR_UNPLUGGED);
}

// The player starts joystick support on its window thread before the first poll.
TEST(Joystick, StartedEarlyReadsTheVirtualJoystickAsBefore) {
    ASSERT_TRUE(audio::StartJoysticks());
    EXPECT_TRUE(audio::StartJoysticks());  // already running
    int id = audio::AttachVirtualJoystick();
    ASSERT_GE(id, 0);
    ASSERT_TRUE(audio::SetVirtualJoystickButton(1, true));
    JOYINFOEX ji{};
    ji.dwSize = sizeof(ji);
    ji.dwFlags = JOY_RETURNBUTTONS;
    ASSERT_EQ(joyGetPosEx((UINT)id, &ji), (MMRESULT)JOYERR_NOERROR);
    EXPECT_EQ(ji.dwButtons, 2u);
    audio::DetachVirtualJoystick();
}

TEST(Joystick, RefusesBadArguments) {
    JOYINFOEX ji{};
    ji.dwSize = 8;
    EXPECT_EQ(joyGetPosEx(0, &ji), (MMRESULT)MMSYSERR_INVALPARAM);
    EXPECT_EQ(joyGetPosEx(0, nullptr), (MMRESULT)MMSYSERR_INVALPARAM);
    ji.dwSize = sizeof(ji);
    EXPECT_EQ(joyGetPosEx(99, &ji), (MMRESULT)JOYERR_PARMS);
    EXPECT_EQ(joyGetPosEx(15, &ji), (MMRESULT)JOYERR_UNPLUGGED);
}

}  // namespace

#include "platform/host/script.h"

namespace {

// The test driver moves the virtual joystick before the frame named in the script.
TEST(Joystick, TestScriptDrivesTheVirtualJoystick) {
    ASSERT_TRUE(host::script::LoadText("at 2 joy axis X 65535\nat 2 joy button 3 down\nat 3 joy button 3 up\n", "."));
    int id = audio::AttachVirtualJoystick();
    ASSERT_GE(id, 0);
    JOYINFOEX ji{};
    ji.dwSize = sizeof(ji);
    host::script::OnPresent(nullptr, 0, nullptr, 0, 0, 0);
    ASSERT_EQ(joyGetPosEx((UINT)id, &ji), (MMRESULT)JOYERR_NOERROR);
    EXPECT_NEAR((int)ji.dwXpos, 32767, 1);
    host::script::OnPresent(nullptr, 1, nullptr, 0, 0, 0);
    ASSERT_EQ(joyGetPosEx((UINT)id, &ji), (MMRESULT)JOYERR_NOERROR);
    EXPECT_EQ(ji.dwXpos, 65535u);
    EXPECT_EQ(ji.dwButtons, 4u);
    host::script::OnPresent(nullptr, 2, nullptr, 0, 0, 0);
    ASSERT_EQ(joyGetPosEx((UINT)id, &ji), (MMRESULT)JOYERR_NOERROR);
    EXPECT_EQ(ji.dwButtons, 0u);
    host::script::Reset();
}

}  // namespace
