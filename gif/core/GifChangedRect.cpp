#include "GifChangedRect.h"

#include <cstring>

namespace {

inline bool SameColour(const uint8_t* a, const uint8_t* b) {
    return GifRgbOf(a) == GifRgbOf(b);
}

}  // namespace

GifRect FindChangedRect(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* previous,
                        ptrdiff_t previousStride, int width, int height) {
    GifRect changed;
    if (width <= 0 || height <= 0) {
        return changed;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    int left = width;
    int right = 0;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < height; y++) {
        const uint8_t* a = current + currentStride * y;
        const uint8_t* b = previous + previousStride * y;
        // Most rows of a screen recording are unchanged: the whole-row comparison is the
        // common answer, and only a row it finds different is walked pixel by pixel.
        if (std::memcmp(a, b, rowBytes) == 0) {
            continue;
        }
        int first = 0;
        while (first < width && SameColour(a + first * 4, b + first * 4)) {
            first++;
        }
        if (first == width) {
            continue;  // only the unused bytes differ
        }
        // From the right only as far as the rectangle does not already reach.
        const int stop = first > right ? first : right;
        int last = width - 1;
        while (last >= stop && SameColour(a + last * 4, b + last * 4)) {
            last--;
        }
        if (first < left) left = first;
        if (last + 1 > right) right = last + 1;
        if (top < 0) top = y;
        bottom = y + 1;
    }
    if (top < 0) {
        return changed;
    }
    changed.left = left;
    changed.top = top;
    changed.right = right;
    changed.bottom = bottom;
    return changed;
}

void CopyToCanvas(const uint8_t* pixels, ptrdiff_t stride, int width, int height, uint8_t* canvas,
                  int canvasWidth, int canvasHeight) {
    const size_t rowBytes = static_cast<size_t>(canvasWidth) * 4;
    const int copyWidth = width < canvasWidth ? width : canvasWidth;
    const int copyHeight = height < canvasHeight ? height : canvasHeight;
    const size_t copyBytes = copyWidth > 0 ? static_cast<size_t>(copyWidth) * 4 : 0;
    for (int y = 0; y < canvasHeight; y++) {
        uint8_t* out = canvas + rowBytes * static_cast<size_t>(y);
        size_t copied = 0;
        if (y < copyHeight && copyBytes > 0) {
            std::memcpy(out, pixels + stride * y, copyBytes);
            copied = copyBytes;
        }
        std::memset(out + copied, 0, rowBytes - copied);
    }
}
