#pragma once
// Display scaling. The process is per-monitor DPI aware, so the system never stretches its
// windows: each window lays itself out for the DPI of its monitor (96 = 100 %). Skinned windows
// keep their layouts as pixel rectangles at 100 % and scale them here; the resource scripts draw
// every picture at 100, 125, 150 and 200 %, and the nearest one is drawn into the layout.
// Functions that older systems lack are looked up at run time, with the system DPI instead.
//
//   const UINT dpi = WindowDpi(m_hWnd);
//   RECT place = ScaleRectToDpi(RECT{4, 32, 32, 60}, dpi);
//   CBitmap picture = LoadBitmapForDpi(IDB_PEN_TEXT, dpi, 3);
#include <windows.h>
#include "GdiObject.h"

constexpr UINT kDefaultDpi = 96;

// The scales the resource scripts draw pictures at, as DPI. A picture drawn at the n-th of them
// (counted from 0) has the resource id of its 100 % picture plus n * kScaledPictureIdStep.
constexpr UINT kPictureDpis[] = {96, 120, 144, 192};
constexpr UINT kScaledPictureIdStep = 10000;

// The DPI a window is laid out for: its monitor's under per-monitor awareness, else the system's.
UINT WindowDpi(HWND hwnd);
// The system DPI (that of the primary monitor when the process started).
UINT SystemDpi();
// The DPI of the monitor that holds most of a screen rectangle (the nearest one if none does).
UINT MonitorDpiForRect(const RECT& screen);

// A length at 100 % scaled to a DPI, rounded to the nearest pixel (MulDiv).
inline int ScaleToDpi(int value, UINT dpi) {
    return ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}
inline SIZE ScaleSizeToDpi(SIZE size, UINT dpi) {
    return SIZE{ScaleToDpi(size.cx, dpi), ScaleToDpi(size.cy, dpi)};
}
// A rectangle at 100 % scaled: its corner and its size are rounded each, so that a picture drawn
// at the scaled size fills it exactly and every edge lies within a pixel of the exact one.
RECT ScaleRectToDpi(const RECT& rect, UINT dpi);

// The drawn scale nearest to a DPI (ties go to the larger picture, which shrinks better).
UINT NearestPictureDpi(UINT dpi);
// The resource id of a picture drawn at one of kPictureDpis.
UINT PictureIdForDpi(UINT id, UINT pictureDpi);
// The picture drawn nearest to `dpi` that the resources have, of a type (RT_BITMAP, L"PNG", ...):
// its id, and the scale it was drawn at. Without any, the 100 % id and 96.
UINT FindPictureForDpi(UINT id, const wchar_t* type, UINT dpi, UINT* pictureDpi);

// A bitmap resource for a DPI: the nearest drawn picture, stretched when its scale is not the
// DPI's. The picture holds `frames` equal frames side by side (states of a button); each is
// scaled on its own to its 100 % size times the scale, so that no frame bleeds into the next.
// Pixels keep their exact colours (no smoothing) when `keyColours`, for magenta-keyed pictures.
// `size100`, when given, receives the size of the whole picture at 100 %. Null when missing.
CBitmap LoadBitmapForDpi(UINT id, UINT dpi, int frames = 1, bool keyColours = false,
                         SIZE* size100 = nullptr, UINT loadFlags = LR_LOADMAP3DCOLORS);
// A copy of a bitmap whose `frames` frames are each stretched to `frameSize`.
CBitmap StretchFrames(HBITMAP source, int frames, SIZE frameSize, bool keyColours);

// Metrics and the system's fonts for a DPI (GetSystemMetricsForDpi, SystemParametersInfoForDpi,
// AdjustWindowRectExForDpi where the system has them, the system DPI's values scaled elsewhere).
int SystemMetricForDpi(int index, UINT dpi);
BOOL NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi);
BOOL AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
// The height of a font of `points` points at a DPI, for LOGFONT.lfHeight.
inline LONG FontHeightForDpi(int points, UINT dpi) {
    return -::MulDiv(points, static_cast<int>(dpi), 72);
}

// Windows 10 rescales the dialogs of per-monitor aware programs and their controls by itself
// when they move to a monitor of another scale. A dialog that lays itself out from its pictures
// turns that off for itself and all its controls; a standard dialog with one skinned control
// turns it off for that control only. Nothing happens where the system does not rescale.
void KeepDialogLayoutOnDpiChange(HWND dialog);
void KeepControlLayoutOnDpiChange(HWND control);

// The process's DPI awareness: 0 unaware, 1 system aware, 2 per-monitor, 3 per-monitor
// version 2 (the thread's own context, which the process's sets).
int CurrentDpiAwareness();
