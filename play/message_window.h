// Message windows: setting one up (its text expanded, measured and rendered once into a surface
// of the message surface list), drawing it every frame at its placement (counting its display
// time, refreshing its values, opening it), and releasing its surface.
#pragma once

#include "play/message_obj.h"

class cPlayScene;
struct DDSURFACEDATA;

// Stores the settings; expands the text when asked. Position mode 1 measures the text and
// renders it, into a new surface or, with keepSurface, into the one the window has (the caller
// made sure the extent is unchanged); without it a surface the window had is the caller's to
// release first. Modes 2 and 3 take a 16 x 16 extent, any other mode none.
// false when the surface could not be made (the program is being closed).
bool ShowMessageWindow(MessageObj& msg, const MESSAGESETTINGS& settings, int keepSurface, cPlayScene* scene);
// A surface of the text extent in the message surface list for the window; its size is then the
// extent + 8 each way. On failure the report says so, WM_CLOSE goes to the main window and false
// comes back.
bool CreateMessageSurface(MessageObj& msg);
// The shown text into the window's surface: a framed box with the bitmap font, else plain text
// on colour 0.
void RenderMessageText(MessageObj& msg);
// Releases the window's surface and takes it out of the message surface list.
void ReleaseMessageSurface(MessageObj& msg);
// One frame of the window on the target; 1 when it is to be closed (its time ran out or the
// character it is placed at is gone; the surface is then released), else 0.
int DrawMessageWindow(MessageObj& msg, cPlayScene* scene, DDSURFACEDATA* target, int hold);
// The window's top-left corner on the screen this frame; false when its character is gone.
bool PlaceMessageWindow(MessageObj& msg, cPlayScene* scene, int& x, int& y);
