#pragma once
// Helpers of the controls' tests: a 32-bit surface to draw on and read back, pictures encoded
// as real PNG files in memory, and a window of this thread that can take the focus.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "DeviceContext.h"
#include "GdiObject.h"

namespace controls_test {

// A top-down 32-bit DIB selected into a memory DC; pixels are 0x00RRGGBB words (alpha ignored).
class Surface {
public:
    Surface(int width, int height, COLORREF fill);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC dc() const { return m_dc; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    COLORREF At(int x, int y) const;

private:
    int m_width;
    int m_height;
    uint32_t* m_bits = nullptr;
    CBitmap m_bitmap;
    CMemoryDC m_dc{nullptr};
    HGDIOBJ m_previous = nullptr;
};

// A picture described pixel by pixel (0xAARRGGBB, straight alpha) encoded as a PNG file by GDI+.
std::vector<BYTE> EncodePng(int width, int height, const std::vector<uint32_t>& argb);

// The straight-alpha pixels of a "PNG" resource, decoded independently of the code under test.
std::vector<uint32_t> DecodePngResource(UINT id, int* width, int* height);

// Writes the window's client area (as PrintWindow would show it) into a PNG file.
bool SaveWindowPicture(HWND hwnd, const std::wstring& path);

// A 0xAARRGGBB pixel as the COLORREF it shows over an opaque background (opaque pixels only).
inline COLORREF Opaque(uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace controls_test
