#pragma once
// The live capture settings: read from and written to section "Settings" of the settings file,
// changed only by the settings dialog, read by everything that captures or saves.
#include <windows.h>
#include <string>
#include "ImageFormat.h"

// Start address of the web page capture when none is stored: none, which starts from the user
// guide beside the program (a page that exists without a network).
constexpr wchar_t kDefaultWebUrl[] = L"";

enum CaptureArea : int {
    AreaAllMonitors = 0,
    AreaMonitor = 1,
    AreaFixedRect = 2,
    AreaForegroundWindow = 3,
    AreaRegionAtCapture = 4,
    AreaControlAtCapture = 5,
};


// The initial values are the defaults of a first run and of every key the file lacks; only the
// save folder (the program's folder) is known at run time alone.
struct CaptureSettings {
    int area = AreaAllMonitors;
    int monitorIndex = 0;
    RECT areaRect{};
    int saveType = Png;
    int jpgQuality = 2;  // index: quality = 60 + 10 * index
    int hotKey = 0;      // 0 Print Screen, 1 F11, 2 F12
    int shutter = 1;
    std::wstring saveFolder;
    std::wstring prefix = L"TX_";
    int postfix = 0;     // 0 date-and-time names, 1 serial-number names
    bool resize = false;
    int width = 800;
    int height = 600;
    std::wstring webUrl = kDefaultWebUrl;
    bool checkEdit = false;
    bool checkCursor = false;
};
