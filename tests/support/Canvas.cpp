#include "Canvas.h"
#include <algorithm>
#include "Dib.h"

namespace testing_support {

namespace {
COLORREF FromDib(uint32_t p) {
    return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
}

uint32_t ToDib(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}
}  // namespace

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info = TopDownDib32(width, height);
    void* bits = nullptr;
    m_bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_bitmap) bits = nullptr;
    m_bits = static_cast<uint32_t*>(bits);
    if (m_bitmap) m_previous = ::SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

Canvas::~Canvas() {
    if (m_previous) ::SelectObject(m_dc, m_previous);
}

void Canvas::Fill(COLORREF colour) {
    ::GdiFlush();
    if (!m_bits) return;
    std::fill(m_bits, m_bits + static_cast<size_t>(m_width) * m_height, ToDib(colour));
}

COLORREF Canvas::At(int x, int y) const {
    ::GdiFlush();
    if (!Inside(x, y)) return CLR_INVALID;
    return FromDib(m_bits[static_cast<size_t>(y) * m_width + x]);
}

void Canvas::Set(int x, int y, COLORREF colour) {
    ::GdiFlush();
    if (Inside(x, y)) m_bits[static_cast<size_t>(y) * m_width + x] = ToDib(colour);
}

std::vector<COLORREF> Canvas::Pixels() const {
    ::GdiFlush();
    std::vector<COLORREF> out;
    if (!m_bits) return out;
    const size_t count = static_cast<size_t>(m_width) * m_height;
    out.resize(count);
    for (size_t i = 0; i < count; ++i) out[i] = FromDib(m_bits[i]);
    return out;
}

int Canvas::CountUnlike(COLORREF colour) const {
    int count = 0;
    for (COLORREF p : Pixels()) count += p != colour;
    return count;
}

RECT Canvas::BoxUnlike(COLORREF colour) const {
    const std::vector<COLORREF> pixels = Pixels();
    RECT box{m_width, m_height, 0, 0};
    for (int y = 0; y < m_height && !pixels.empty(); ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (pixels[static_cast<size_t>(y) * m_width + x] == colour) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    if (box.right <= box.left) box = RECT{0, 0, 0, 0};
    return box;
}

int Canvas::CountIn(const RECT& rect, COLORREF colour) const {
    int count = 0;
    for (int y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, m_height); ++y)
        for (int x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, m_width); ++x)
            count += At(x, y) == colour;
    return count;
}

}  // namespace testing_support
