#pragma once
// Helpers of the editor tests: a picture whose pixels the test reads directly (a 32-bit DIB
// section selected into its own memory DC), and colour comparisons.
#include <windows.h>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace editor_test {

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
    // The pixel as a COLORREF (GDI batches are flushed first).
    COLORREF At(int x, int y) const;
    // How many pixels are not `colour`.
    int CountUnlike(COLORREF colour) const;
    // Every pixel, rows from the top.
    std::vector<COLORREF> Pixels() const;

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
};

inline int ChannelDifference(COLORREF a, COLORREF b) {
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 255) -
                                         static_cast<int>((b >> shift) & 255)));
    return worst;
}

}  // namespace editor_test
