#pragma once
// The one DIB format the program reads and writes pixels in: 32 bits per pixel (blue in the
// lowest byte), rows from the top.
#include <windows.h>

inline BITMAPINFO TopDownDib32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
