#pragma once
// One frame's pixels as the encoder reads them: four bytes per pixel (blue, green, red, unused),
// rows from the top, `stride` bytes from one row to the next.
#include <cstddef>
#include <cstdint>

struct GifFrame {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    ptrdiff_t stride = 0;

    // A frame the encoder can read: no negative size, and pixels behind every row it claims.
    bool IsReadable() const {
        if (width < 0 || height < 0) {
            return false;
        }
        if (width == 0 || height == 0) {
            return true;
        }
        return pixels != nullptr && stride >= static_cast<ptrdiff_t>(width) * 4;
    }
};
