#pragma once
// Real mouse input through the system's queue, as a person gives it, for tests that drive
// windows the way a user does; points are in screen coordinates.
#include <windows.h>

namespace testing_support {

// Moves the pointer to a screen point (absolute coordinates, so no pointer speed applies).
void MoveMouse(POINT screen);
// Sends one mouse event of `flags` (MOUSEEVENTF_LEFTDOWN, ...) where the pointer is.
void SendMouse(DWORD flags);
// Presses or releases the left button where the pointer is.
void MouseButton(bool down);
// Moves to the point and clicks the left button there.
void Click(POINT screen);
// The centre of a window's rectangle.
POINT CentreOf(HWND hwnd);

}  // namespace testing_support
