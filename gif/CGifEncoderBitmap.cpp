// Reading a frame bitmap for the encoder: the Windows side of CGifEncoder.
#include "CGifEncoder.h"
#include "Dib.h"

#include <cstdlib>
#include <memory>
#include <new>

bool CGifEncoder::WriteFrame(HBITMAP bitmap) {
    if (bitmap == nullptr || !IsStarted()) {
        return false;
    }
    BITMAP info{};
    if (::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info)) {
        return false;
    }
    const int width = info.bmWidth;
    const int height = std::abs(info.bmHeight);
    GifFrame frame;
    frame.width = width;
    frame.height = height;
    if (width == 0 || height == 0) {
        return WriteFrame(frame);
    }
    const size_t stride = static_cast<size_t>(width) * 4;
    const size_t size = stride * static_cast<size_t>(height);
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[size]);
    if (!pixels) {
        return false;
    }
    if (info.bmBitsPixel == 32 && static_cast<size_t>(info.bmWidthBytes) == stride) {
        if (::GetBitmapBits(bitmap, static_cast<LONG>(size), pixels.get()) != static_cast<LONG>(size)) {
            return false;
        }
    } else {
        // Other depths are converted to 32 bits per pixel, rows from the top.
        BITMAPINFO format = TopDownDib32(width, height);
        HDC screen = ::GetDC(nullptr);
        const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.get(), &format,
                                     DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, screen);
        if (rows != height) {
            return false;
        }
    }
    frame.pixels = pixels.get();
    frame.stride = static_cast<ptrdiff_t>(stride);
    return WriteFrame(frame);
}
