#include "OverlayTestSupport.h"
#include <algorithm>
#include <cstdio>
#include "CImage.h"

namespace overlay_test {

void WriteIni(const std::wstring& path, const std::string& lines) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return;
    std::string text = "[AniGif]\r\n" + lines;
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
}

std::string ReadFileText(const std::wstring& path) {
    std::string text;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return text;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0) text.append(buffer, got);
    fclose(file);
    return text;
}

LoadedOverlay::LoadedOverlay(const std::string& keys) : iniPath(folder.File(L"Tovrix.ini")) {
    WriteIni(iniPath, keys);
    overlay.GetIni().SetPath(iniPath);
    overlay.LoadOverlaySettings();
    HDC screen = ::GetDC(nullptr);
    overlay.BuildCaptionFont(screen);
    ::ReleaseDC(nullptr, screen);
}

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
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
    ::GdiFlush();
    const uint32_t value = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = value;
}

COLORREF Canvas::At(int x, int y) const {
    ::GdiFlush();
    const uint32_t p = m_bits[y * m_width + x];
    return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
}

int Canvas::CountUnlike(COLORREF colour) const {
    int count = 0;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) count += At(x, y) != colour;
    return count;
}

RECT Canvas::BoxUnlike(COLORREF colour) const {
    RECT box{m_width, m_height, 0, 0};
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (At(x, y) == colour) continue;
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

bool WritePicture(const std::wstring& path, int width, int height, COLORREF left, COLORREF right) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    if (!bitmap) return false;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    HBRUSH leftBrush = ::CreateSolidBrush(left);
    HBRUSH rightBrush = ::CreateSolidBrush(right);
    RECT leftHalf{0, 0, width / 2, height};
    RECT rightHalf{width / 2, 0, width, height};
    ::FillRect(dc, &leftHalf, leftBrush);
    ::FillRect(dc, &rightHalf, rightBrush);
    ::DeleteObject(leftBrush);
    ::DeleteObject(rightBrush);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    CImage picture;
    picture.Attach(bitmap);
    return SUCCEEDED(picture.Save(path));
}

}  // namespace overlay_test
