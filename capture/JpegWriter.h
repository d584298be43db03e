#pragma once
// Compresses 32-bit pixels (blue, green, red, unused byte per pixel, rows from the top) into a
// JPEG stream with libjpeg. An error inside libjpeg comes back as false instead of ending the
// process.
#include <cstdint>
#include <cstdio>

// Writes a baseline-compatible JPEG of the given quality (clamped to 0..100) to an open file.
[[nodiscard]] bool WriteJpeg(FILE* file, const uint32_t* pixels, int width, int height, int quality);
