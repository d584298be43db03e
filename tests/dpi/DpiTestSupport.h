#pragma once
// What the display-scale tests share. They run in the main session at 96 DPI and again in
// sessions whose Wine prefix has LogPixels at 120, 144 and 192 (scripts/test sets TOVRIX_DPI to
// the session's DPI): every skinned window is checked at the session's scale and, through sent
// WM_DPICHANGED messages, at every other drawn scale.
#include <windows.h>
#include <string>
#include <vector>
#include "Canvas.h"
#include "Dpi.h"

namespace dpi_test {

using testing_support::Canvas;

// The DPI the session was started at (96 without TOVRIX_DPI).
UINT SessionDpi();
// The drawn scales, as DPIs.
std::vector<UINT> DrawnDpis();
// "100", "125", "150", "200": a scale as a percentage, for messages and file names.
std::wstring Percent(UINT dpi);

// A colour no window of the program draws: what is left of it after painting was not painted.
constexpr COLORREF kSentinel = RGB(1, 254, 3);

// The window's client area and its visible children as they paint themselves, each erased and
// printed (WM_ERASEBKGND, WM_PRINTCLIENT) into a picture first filled with the sentinel (a
// standard control over what its parent printed, since it may leave parts of itself unpainted).
void PrintClient(HWND hwnd, Canvas& canvas);
// How many pixels of the client area that the window's region keeps (all of it without a
// region) show the sentinel.
int SentinelPixels(HWND hwnd, const Canvas& canvas);

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// A rectangle with edges between pixels: a 100 % layout times a scale.
struct Exact {
    double left, top, right, bottom;
};
inline Exact Scaled(const RECT& rect100, UINT dpi) {
    const double k = dpi / 96.0;
    return Exact{rect100.left * k, rect100.top * k, rect100.right * k, rect100.bottom * k};
}
// True when every edge of `actual` lies within one pixel of `expected`; both as text otherwise,
// in `why`.
bool WithinAPixel(const RECT& actual, const Exact& expected, std::string* why = nullptr);
std::string Text(const RECT& r);

// Sends WM_DPICHANGED as the system does when a window moves onto a monitor of that DPI, with
// the window's own rectangle as the suggestion (the window stays where it is).
void SendDpiChanged(HWND hwnd, UINT dpi);

// The pixels of frame `frame` of `frames` of the bitmap resource drawn at pictureDpi (its id for
// that scale), as a picture control would show them; the frame's size in `size`.
std::vector<COLORREF> PictureFrame(UINT id, UINT pictureDpi, int frames, int frame, SIZE* size);
// The pixels of a rectangle of a canvas, rows from the top.
std::vector<COLORREF> PixelsIn(const Canvas& canvas, const RECT& r);

// Writes what the screen shows of a window, once it has painted, for the eye: into the controls'
// gallery beside the test programs, in a folder per scale (gallery/150/NAME.png).
bool WriteGalleryScreen(HWND window, const std::wstring& name);

}  // namespace dpi_test
