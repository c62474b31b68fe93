// Joysticks: joyGetPosEx (mmsystem.h) reads SDL game controllers and joysticks. A virtual
// joystick lets the test driver and tests move axes and press buttons.
#pragma once

namespace audio {

// Starts SDL's joystick and game controller support now; call it on the window thread. The
// first joyGetPosEx otherwise starts it, asking the window thread from the game thread. False
// when it cannot start (joyGetPosEx then answers MMSYSERR_NODRIVER, as it would have).
bool StartJoysticks();

// Attaches the virtual joystick (once) and returns its joyGetPosEx number, -1 on failure.
int AttachVirtualJoystick();
void DetachVirtualJoystick();
// Axis 0 is X, 1 is Y; the value as joyGetPosEx reports it (0..65535).
bool SetVirtualJoystickAxis(int axis, int value);
// Button 0..31 (joyGetPosEx bit 1 << button).
bool SetVirtualJoystickButton(int button, bool down);

}  // namespace audio
