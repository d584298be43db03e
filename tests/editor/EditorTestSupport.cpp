#include "EditorTestSupport.h"
#include "Dib.h"

namespace editor_test {

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info = TopDownDib32(width, height);
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_dc = ::CreateCompatibleDC(nullptr);
    m_previous = ::SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

Canvas::~Canvas() {
    ::SelectObject(m_dc, m_previous);
    ::DeleteDC(m_dc);
    ::DeleteObject(m_bitmap);
}

void Canvas::Fill(COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    RECT all{0, 0, m_width, m_height};
    ::FillRect(m_dc, &all, brush);
    ::DeleteObject(brush);
    ::GdiFlush();
}

namespace {
COLORREF FromDib(uint32_t p) {
    return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
}
}  // namespace

COLORREF Canvas::At(int x, int y) const {
    ::GdiFlush();
    return FromDib(m_bits[static_cast<size_t>(y) * m_width + x]);
}

std::vector<COLORREF> Canvas::Pixels() const {
    ::GdiFlush();
    size_t count = static_cast<size_t>(m_width) * m_height;
    std::vector<COLORREF> out(count);
    for (size_t i = 0; i < count; ++i) out[i] = FromDib(m_bits[i]);
    return out;
}

int Canvas::CountUnlike(COLORREF colour) const {
    int count = 0;
    for (COLORREF p : Pixels())
        if (p != colour) ++count;
    return count;
}

}  // namespace editor_test
