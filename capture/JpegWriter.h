#pragma once
// Compresses 32-bit pixels (blue, green, red, unused byte per pixel, rows from the top) into a
// JPEG stream with libjpeg. An error inside libjpeg comes back as false instead of ending the
// process.
#include <windows.h>
#include <cstdint>
#include <cstdio>
#include <string>
#include "CImage.h"

// Writes a baseline-compatible JPEG of the given quality (clamped to 0..100) to an open file.
[[nodiscard]] bool WriteJpeg(FILE* file, const uint32_t* pixels, int width, int height, int quality);

// Writes the picture to a new file at path: S_OK, or E_FAIL when the file cannot be opened, the
// pixels cannot be read (no memory for them included) or the library refuses the picture; a
// failure leaves no file behind.
[[nodiscard]] HRESULT WriteJpegFile(const CImage& picture, const std::wstring& path, int quality);
