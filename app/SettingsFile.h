#pragma once
// Section "Settings" of the settings file: the first-run defaults, reading with every value
// brought into its range, validation, and writing that never leaves a half-written file.
#include <string>
#include "CIni.h"
#include "CaptureSettings.h"

constexpr wchar_t kSettingsSection[] = L"Settings";
// Start address of the web page capture when none is stored.
constexpr wchar_t kDefaultWebUrl[] = L"https://tovrix.example/";

// The values of a first run; the save folder is the program's folder.
void ApplyFirstRunDefaults(CaptureSettings& settings, const std::wstring& programFolder);

// "area:monitor:left:top:right:bottom"; numbers that cannot be read are 0.
std::wstring FormatRegion(const CaptureSettings& settings);
void ParseRegion(const std::wstring& value, CaptureSettings& settings);

// False (nothing changed) when the file does not exist. Values outside their ranges, as a
// damaged or hand-edited file may hold, read as that key's default; a save folder that does not
// exist reads as the program's folder.
bool LoadSettingsFile(const CIni& ini, CaptureSettings& settings, const std::wstring& programFolder);

// The message that refuses the settings, or null when they can be stored.
const wchar_t* ValidateSettings(const CaptureSettings& settings);

// Writes every key. The keys go into a copy of the file that then replaces it, so an interrupted
// write leaves the previous settings intact. False when the file could not be replaced.
bool WriteSettingsFile(const CIni& ini, const CaptureSettings& settings);
