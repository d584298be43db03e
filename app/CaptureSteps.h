#pragma once
// The steps from a key release to a saved picture, kept apart from the main frame so that each
// decision can be driven with made-up input: which key event starts a capture, which rectangle
// an area gives, and where the cursor goes.
#include <windows.h>
#include <string>
#include "CaptureSettings.h"
#include "CScreenImage.h"

// The virtual key that the hotKey setting names; a value outside the three choices names the
// Print key, as the settings file has always been read.
UINT CaptureKeyFor(int hotKey);

// True for the release (WM_KEYUP, not WM_SYSKEYUP) of the capture key on a keyboard.
bool IsCaptureKeyRelease(const RAWINPUT& input, int hotKey);

// The part of a window the user sees: the extended frame bounds from the desktop window manager,
// which leave out invisible resize borders and shadows, or the window rectangle when the
// manager cannot tell. False for a window that is not there.
bool GetVisibleWindowFrame(HWND window, RECT& rect);

// The rectangle the capture area gives at this moment, empty when there is nothing to grab
// (no foreground window, no rectangle placed yet, or an area that picks on screen instead).
RECT CaptureRectForArea(const CaptureSettings& settings, HWND foreground);

// The mouse cursor as the screen shows it now, or null when it is hidden.
HCURSOR GetShownCursor();

// Draws the cursor into a picture grabbed from `captured` with its hot spot on the pointer.
// Nothing is drawn, and false is returned, when the pointer lies outside the rectangle or the
// cursor cannot be read.
bool DrawCursor(CScreenImage& picture, const RECT& captured, POINT pointer, HCURSOR cursor);
