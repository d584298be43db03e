#pragma once
// Where the program lives: its own path and folder, which hold the settings file and the
// default output of a command-line capture.
#include <string>

// The executable's full path (empty if the system cannot tell).
std::wstring GetModulePath();
// The executable's folder, without a trailing backslash.
std::wstring GetModuleFolder();
