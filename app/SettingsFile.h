#pragma once
// Section "Settings" of the settings file: the first-run defaults, reading with every value
// brought into its range, validation, and writing that never leaves a half-written file.
#include <windows.h>
#include <string>
#include <vector>
#include "CIni.h"
#include "CaptureSettings.h"

constexpr wchar_t kSettingsSection[] = L"Settings";

// The values of a first run; the save folder is the program's folder.
void ApplyFirstRunDefaults(CaptureSettings& settings, const std::wstring& programFolder);

// "area:monitor:left:top:right:bottom"; numbers that cannot be read are 0.
std::wstring FormatRegion(const CaptureSettings& settings);
void ParseRegion(const std::wstring& value, CaptureSettings& settings);

// False (nothing changed) when the file does not exist. Values outside their ranges, as a
// damaged or hand-edited file may hold, read as that key's default; a save folder that is not
// an existing folder reads as the program's folder; the prefix loses the characters a file
// name cannot hold, as it would when typed.
bool LoadSettingsFile(const CIni& ini, CaptureSettings& settings, const std::wstring& programFolder);

// Makes the stored area one that can be captured on these monitors (rectangles in virtual-screen
// pixels; the primary is the one holding (0, 0)). A monitor index beyond the present monitors
// falls back to the primary monitor; a monitor area with an unusable rectangle takes its
// monitor's. An inverted fixed rectangle is turned the right way round; one that no picture can
// have (wider or taller than 32767 pixels, overflowing, too many pixels) is refused, and the area
// becomes all monitors. An empty fixed rectangle (none placed yet) stays as it is. True when
// anything changed.
bool NormaliseArea(CaptureSettings& settings, const std::vector<RECT>& monitors);

// The message that refuses the settings, or null when they can be stored.
const wchar_t* ValidateSettings(const CaptureSettings& settings);

// Writes every key. The keys go into a copy of the file that then replaces it, so an interrupted
// write leaves the previous settings intact. False when the file could not be replaced.
bool WriteSettingsFile(const CIni& ini, const CaptureSettings& settings);
