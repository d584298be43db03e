#pragma once
// Turns 32-bit pixels into at most 256 palette colours and one index per pixel, for still GIF
// files (GDI+ writes a real GIF only from indexed input). Free of the Windows API.
#include <cstdint>
#include <vector>

struct IndexedPicture {
    std::vector<uint32_t> palette;  // 0x00RRGGBB, at most 256 entries
    std::vector<uint8_t> indices;   // one per pixel, rows from the top
    bool exact = false;             // true when every pixel kept its colour
};

// Pixels hold blue in the lowest byte, then green, then red (the top byte is ignored). A picture
// with at most 256 colours keeps them exactly; others map to a uniform 6 x 7 x 6 colour cube.
IndexedPicture IndexColors(const uint32_t* pixels, int width, int height);
