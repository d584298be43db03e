#pragma once
// Names of saved pictures: the prefix followed by the date and time or by a serial number, in
// the save folder, never the name of something that exists; and the prefix's allowed characters.
#include <windows.h>
#include <string>
#include "CaptureSettings.h"

// ".bmp", ".jpg", ".png" or ".gif" for an ImageFormat (".png" for anything else).
const wchar_t* ExtensionFor(int saveType);

// The next free path. Serial mode uses and advances nextSerial; `now` is the local time.
std::wstring BuildOutputPath(const CaptureSettings& settings, int& nextSerial, const SYSTEMTIME& now);

// One more than the highest serial number among the files "<prefix>*.*" in the folder (1 for none).
int RescanNextSerial(const std::wstring& folder, const std::wstring& prefix);

// Replaces the characters a file name cannot hold (\ / : * ? " < >) with '_'; true if any was.
bool FilterPrefix(std::wstring& prefix);
