#pragma once
// Helpers of the controls' tests: a 32-bit surface to draw on and read back, pictures encoded
// as real PNG files in memory, and a window of this thread that can take the focus.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "Canvas.h"
#include "DeviceContext.h"
#include "GdiObject.h"
#include "TestInput.h"
#include "TestSupport.h"

namespace controls_test {

// A top-down 32-bit DIB selected into a memory DC (pixels outside it read as CLR_INVALID).
using Surface = testing_support::Canvas;

// A picture described pixel by pixel (0xAARRGGBB, straight alpha) encoded as a PNG file by GDI+.
std::vector<BYTE> EncodePng(int width, int height, const std::vector<uint32_t>& argb);

// The straight-alpha pixels of a "PNG" resource, decoded independently of the code under test.
std::vector<uint32_t> DecodePngResource(UINT id, int* width, int* height);

// Writes what the screen shows in a rectangle, or a surface, into a PNG file.
bool SaveScreenPicture(const RECT& screenRect, const std::wstring& path);
bool SaveSurfacePicture(const Surface& surface, const std::wstring& path);

// Real input through the system's queue, in screen coordinates.
using testing_support::Click;
using testing_support::MouseButton;
using testing_support::MoveMouse;
// Presses and releases a key; `repeats` extra presses before the release are auto-repeats.
void SendKey(WORD key, int repeats = 0);

// The centre of a window, and a point of its client area, in screen coordinates.
using testing_support::CentreOf;
POINT ScreenPoint(HWND hwnd, int x, int y);
// The screen's pixel at a client point of a window, after the window has painted.
COLORREF ScreenPixel(HWND hwnd, int x, int y);
// Pumps messages until the condition holds, for at most about five seconds.
inline bool PumpUntil(const std::function<bool()>& condition) {
    return testing_support::WaitUntil(condition, 5000);
}
void PumpBriefly();

// A 0xAARRGGBB pixel as the COLORREF it shows over an opaque background (opaque pixels only).
inline COLORREF Opaque(uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace controls_test
