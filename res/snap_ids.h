// Resource ids of the fixed-region frame and its size dialog.
#pragma once

// The frame's button pictures, 16 x 16 on magenta: the magnifier of "윈도우 찾기" and the check
// mark of "OK". (The frame's skin is IDB_FIXED_FRAME in controls_ids.h.)
#define IDB_SNAP_FIND 210
#define IDB_SNAP_OK 172

// The frame's buttons, created at run time.
#define IDC_SNAP_FIND 2001
#define IDC_SNAP_SIZE 2002
#define IDC_SNAP_OK 2004

// "영역크기": the hole's size typed or picked from presets.
#define IDD_CUSTOM_SIZE 170
#define IDC_SIZE_PRESET_FIRST 1089
#define IDC_SIZE_PRESET_LAST 1095
#define IDC_SIZE_WIDTH 1097
#define IDC_SIZE_WIDTH_SPIN 1098
#define IDC_SIZE_HEIGHT 1099
#define IDC_SIZE_HEIGHT_SPIN 1100
