#pragma once
// A picture in memory whose pixels a test reads and writes directly: a top-down 32-bit DIB
// section selected into its own memory DC, so GDI and GDI+ draw on it like on any other DC.
#include <windows.h>
#include <cstdint>
#include <vector>
#include "DeviceContext.h"
#include "GdiObject.h"

namespace testing_support {

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    void Fill(COLORREF colour);
    // The pixel as a COLORREF (GDI's batch is flushed first); CLR_INVALID outside the picture.
    COLORREF At(int x, int y) const;
    // Sets one pixel (nothing outside the picture).
    void Set(int x, int y, COLORREF colour);
    // Every pixel, rows from the top.
    std::vector<COLORREF> Pixels() const;
    // How many pixels are not `colour`.
    int CountUnlike(COLORREF colour) const;
    // The smallest rectangle holding every pixel unlike `colour` (empty when there is none).
    RECT BoxUnlike(COLORREF colour) const;
    // How many pixels inside the rectangle are exactly `colour`.
    int CountIn(const RECT& rect, COLORREF colour) const;

private:
    bool Inside(int x, int y) const { return m_bits && x >= 0 && y >= 0 && x < m_width && y < m_height; }

    int m_width;
    int m_height;
    uint32_t* m_bits = nullptr;
    CBitmap m_bitmap;
    CMemoryDC m_dc{nullptr};
    HGDIOBJ m_previous = nullptr;
};

}  // namespace testing_support
