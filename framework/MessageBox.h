#pragma once
// Every message box of the program goes through here, so that tests can answer them without a
// person: a handler installed by a test sees the text and returns the button. A box waits for
// an answer: while it is open an interaction is running (CInteraction).
#include <windows.h>
#include <functional>
#include <string>

using MessageBoxHandler =
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)>;

// Installs a handler (an empty one restores the real message box); returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

// A message box owned by the application's main window (or the active window), captioned with
// the application's name.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);
