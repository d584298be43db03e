#pragma once
// Names of saved pictures: the prefix followed by the date and time or by a serial number, in
// the save folder, never the name of something that exists; and the prefix's allowed characters.
#include <windows.h>
#include <string>
#include "CaptureSettings.h"

// ".bmp", ".jpg", ".png" or ".gif" for an ImageFormat (".png" for anything else).
const wchar_t* ExtensionFor(int saveType);

// The next free path. Serial mode uses and advances nextSerial; `now` is the local time. Empty
// when serial mode has run out of numbers (the counter never wraps into negative names).
std::wstring BuildOutputPath(const CaptureSettings& settings, int& nextSerial, const SYSTEMTIME& now);

// Serial numbers stay below this, so that counting on from them can never wrap.
constexpr int kMaxSerial = 999999999;

// One more than the highest serial number among the files "<prefix>*.*" in the folder (1 for none).
// Numbers above kMaxSerial are ignored: a file named TX_99999999999 would otherwise make the
// counter overflow into negative and repeated names.
int RescanNextSerial(const std::wstring& folder, const std::wstring& prefix);

// Replaces every character a Windows file name cannot hold (\ / : * ? " < > | and the control
// characters) with '_'; true if any was.
bool FilterPrefix(std::wstring& prefix);
