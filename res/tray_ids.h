// Resource ids of the main frame: its tray menu, the About and donation boxes, the shutter sound.
#pragma once

// The tray icon's menu; the icon itself uses the same number as its id.
#define IDR_TRAYMENU 129
#define IDR_SHUTTER 131

#define IDD_TRAY_ABOUT 100
#define IDC_ABOUT_VERSION 1034
#define IDD_TRAY_DONATE 216
#define IDC_DONATE_TEXT 1130

// Tray menu commands. About and Exit keep the framework's traditional command numbers.
#define ID_TRAY_ABOUT 57664
#define ID_TRAY_EXIT 57665
#define ID_TRAY_SETTINGS 32771
#define ID_TRAY_WEB_CAPTURE 32772
#define ID_TRAY_HELP 32777
#define ID_TRAY_GIF_RECORDER 32778
#define ID_TRAY_OPEN_FOLDER 32779
#define ID_TRAY_DONATE 32793
