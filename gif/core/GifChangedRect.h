#pragma once
// Where two pictures of the same size differ: the smallest rectangle holding every pixel whose
// red, green or blue is not the same in both (the fourth byte of a pixel is never looked at).
// Portable: the GIF encoder's small-file mode writes only this rectangle of a frame, and a store
// of recorded frames can keep only it.
//
//   const GifRect changed = FindChangedRect(frame, stride, previous, stride, width, height);
//   if (changed.IsEmpty()) ...the frame shows nothing new...
#include <cstddef>
#include <cstdint>
#include <cstring>

struct GifRect {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive
    int bottom = 0;  // exclusive

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The red, green and blue of a pixel (four bytes) as one number, the fourth byte left out; two
// pixels have the same colour exactly when their numbers are equal.
inline uint32_t GifRgbOf(const uint8_t* pixel) {
    static const uint8_t kRgb[4] = {0xFF, 0xFF, 0xFF, 0};
    uint32_t mask;
    uint32_t value;
    std::memcpy(&mask, kRgb, 4);
    std::memcpy(&value, pixel, 4);
    return value & mask;
}

// Both pictures hold four bytes per pixel (blue, green, red, unused), rows from the top,
// `stride` bytes from one row to the next; an empty rectangle when nothing differs.
GifRect FindChangedRect(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* previous,
                        ptrdiff_t previousStride, int width, int height);

// Copies a frame's top-left part onto a canvas of canvasWidth x canvasHeight pixels (stride
// canvasWidth x 4); what the frame does not cover is black.
void CopyToCanvas(const uint8_t* pixels, ptrdiff_t stride, int width, int height, uint8_t* canvas,
                  int canvasWidth, int canvasHeight);
