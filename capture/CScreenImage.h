#pragma once
// The program's picture: a screen-compatible bitmap that can be grabbed from the virtual screen
// (plain or scaled), made blank, resized, written as JPEG through libjpeg, and read pixel by pixel.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "CImage.h"

class CScreenImage : public CImage {
public:
    // Replaces the picture with the screen contents of rect (virtual-screen pixels); the result is
    // BitBlt's. An empty rectangle gives an empty picture.
    BOOL CaptureRect(const RECT& rect);
    // The same, scaled to width x height.
    BOOL CaptureStretched(int width, int height, const RECT& rect);
    // A new screen-compatible bitmap of rect's size, contents undefined until drawn.
    BOOL CreateBlank(const RECT& rect);
    // Scales the picture; an empty picture stays empty and succeeds.
    BOOL Resize(int width, int height);
    // S_OK, or E_FAIL when the file cannot be written; no partial file is left behind.
    [[nodiscard]] HRESULT SaveJpeg(const std::wstring& path, int quality) const;
    COLORREF PixelAt(int x, int y) const;
};
