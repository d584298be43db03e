// Reading a frame bitmap for the encoder: the Windows side of CGifEncoder.
#include "CGifEncoder.h"
#include "PixelBuffer.h"

bool CGifEncoder::WriteFrame(HBITMAP bitmap) {
    if (bitmap == nullptr || !IsStarted()) {
        return false;
    }
    BITMAP info{};
    if (::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info)) {
        return false;
    }
    GifFrame frame;
    if (info.bmWidth == 0 || info.bmHeight == 0) {
        frame.width = info.bmWidth;
        frame.height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
        return WriteFrame(frame);
    }
    PixelBuffer pixels;
    if (!pixels.ReadBitmap(bitmap)) {
        return false;
    }
    frame.width = pixels.GetWidth();
    frame.height = pixels.GetHeight();
    frame.pixels = reinterpret_cast<const uint8_t*>(pixels.Data());
    frame.stride = static_cast<ptrdiff_t>(pixels.GetWidth()) * 4;
    return WriteFrame(frame);
}
