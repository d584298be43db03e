#pragma once
// The application profile: small values a window keeps between runs (a last position), stored
// as decimal integers in the program's settings file (its path with the extension ".ini").
#include <windows.h>
#include <string>

class CAppProfile {
public:
    // The file in use; until SetPath is called, the program's own settings file.
    static std::wstring GetPath();
    // Points the profile at another file (tests, or a program that keeps its settings elsewhere).
    static void SetPath(const std::wstring& path);

    // A missing, empty or non-numeric value gives the default; negative values read back as
    // written.
    static int GetProfileInt(const wchar_t* section, const wchar_t* key, int defaultValue);
    static BOOL WriteProfileInt(const wchar_t* section, const wchar_t* key, int value);
};
