#pragma once
// The program's private window messages, in one place so that no two share a number.
#include <windows.h>

constexpr UINT WM_MONITOR_SELECTED = WM_USER + 1;    // monitor chooser -> settings dialog
constexpr UINT WM_SAVE_CAPTURE = WM_USER + 3;        // save the main frame's picture now
constexpr UINT WM_GIF_AREA_CHANGED = WM_USER + 4;
constexpr UINT WM_GIF_FRAME_ADDED = WM_USER + 5;
constexpr UINT WM_GIF_CAPTURE_FRAME = WM_USER + 6;
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 100;       // tray icon callback
