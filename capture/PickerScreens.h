#pragma once
// What the on-screen pickers share before and around their window: the frozen screen (a dimmed
// and a bright picture of the whole virtual screen, taken before the picker exists so that it is
// never in its own pictures), the move to the foreground, and the visible frame of a window.
#include <windows.h>
#include "CScreenImage.h"

// Halves the brightness of every pixel in one pass over the picture's bits. Pictures of 32 and
// 24 bits per pixel are dimmed; shallower ones cannot be halved without a palette and stay as
// they are (false).
bool DimPixels(CScreenImage& image);

// Grabs the virtual screen once into `bright`, gives `dark` the same pixels dimmed, and returns
// the virtual screen's rectangle in `screen`. False when the screen could not be grabbed.
bool PrepareScreens(RECT& screen, CScreenImage& dark, CScreenImage& bright);

// Brings a window of this thread to the foreground even when another program's window has it,
// by sharing that window's input state for the moment of the switch.
void ForceForeground(HWND window);

// The desktop window manager's bounds of the visible frame (without invisible resize borders
// and shadow), asked at the moment of use; a failure code when the manager is absent or cannot
// tell.
HRESULT GetExtendedFrameBounds(HWND window, RECT& rect);
