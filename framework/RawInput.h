#pragma once
// The keyboard as a raw-input device: one window hears every key of the desktop as WM_INPUT,
// also while other programs have the focus, and the keys still reach those programs.
#include <windows.h>

// Registers `target` for the keyboard's raw input (RIDEV_INPUTSINK); FALSE with GetLastError set.
[[nodiscard]] BOOL RegisterRawKeyboard(HWND target);
// Ends this process's registration for the keyboard.
BOOL UnregisterRawKeyboard();
// Reads the event of a WM_INPUT; FALSE (and the event zeroed, so that it matches nothing) when it
// cannot be read.
BOOL ReadRawInput(HRAWINPUT handle, RAWINPUT* input);
