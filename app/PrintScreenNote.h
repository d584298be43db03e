#pragma once
// The settings dialog's hint about Windows' own Print Screen shortcut: a line and a button that
// show only while the chosen capture key is Print Screen and the shortcut is on.
#include <windows.h>

// Shows or hides the line and the button for the dialog's current key choice.
void UpdatePrintScreenNote(HWND dialog);

// The button: switches Windows' shortcut off for the current user, says what came of it and
// updates the line.
void OnPrintScreenOffClick(HWND dialog);
