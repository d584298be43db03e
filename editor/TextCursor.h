#pragma once
// The pointer that shows a text exactly where a click will place it: the outlined text drawn
// from the pointer's hot spot, everything else transparent.
#include <windows.h>
#include "TextItemSettings.h"

// Draws the text at (0, 0) on a white picture of at most width x height pixels and makes a
// cursor of the part up to the last column and row the text touched, white being transparent.
// Null when nothing was drawn.
HCURSOR CreateTextCursor(const TextItemSettings& settings, const wchar_t* text, int width, int height);
