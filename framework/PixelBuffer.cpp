#include "PixelBuffer.h"
#include <climits>
#include <cstdlib>
#include <new>
#include "Dib.h"

bool PixelBuffer::Allocate(int width, int height) {
    Reset();
    if (width <= 0 || height <= 0) return false;
    // GDI counts the bytes of one read in a LONG: larger pictures cannot be read in one call.
    const unsigned long long bytes = 4ull * static_cast<unsigned>(width) * static_cast<unsigned>(height);
    if (bytes > static_cast<unsigned long long>(LONG_MAX) || bytes > SIZE_MAX) return false;
    m_pixels.reset(new (std::nothrow) uint32_t[static_cast<size_t>(bytes / 4)]);
    if (!m_pixels) return false;
    m_width = width;
    m_height = height;
    return true;
}

void PixelBuffer::Reset() {
    m_pixels.reset();
    m_width = m_height = 0;
}

bool PixelBuffer::ReadBitmap(HBITMAP bitmap) {
    Reset();
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info)) return false;
    const int width = info.bmWidth;
    const int height = std::abs(info.bmHeight);
    if (!Allocate(width, height)) return false;
    const LONG bytes = static_cast<LONG>(GetCount() * sizeof(uint32_t));
    // A screen-compatible 32-bit bitmap is already in this layout: one plain copy. A DIB section
    // may be stored bottom-up, and other depths need converting: GDI does both in one call.
    const bool plainCopy = info.bmBits == nullptr && info.bmBitsPixel == 32 &&
                           static_cast<long long>(info.bmWidthBytes) == 4ll * width;
    bool read = false;
    if (plainCopy) {
        read = ::GetBitmapBits(bitmap, bytes, m_pixels.get()) == bytes;
    } else {
        BITMAPINFO format = TopDownDib32(width, height);
        HDC screen = ::GetDC(nullptr);
        read = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), m_pixels.get(), &format,
                           DIB_RGB_COLORS) == height;
        ::ReleaseDC(nullptr, screen);
    }
    if (!read) Reset();
    return read;
}
