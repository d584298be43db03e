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
    // The largest picture there can be: the window system's bitmaps have at most 32767 pixels a
    // side (beyond that some systems end the process instead of failing the call), and the
    // pixels of one picture must fit in a single read of at most 1 GiB.
    static constexpr int kMaxSide = 32767;
    static constexpr long long kMaxPixels = 1ll << 28;
    // True when a picture of width x height can be made at all (both positive, within the limits).
    static bool IsPossibleSize(int width, int height);

    // Replaces the picture with the screen contents of rect (virtual-screen pixels); the result is
    // BitBlt's. An empty or impossible rectangle gives an empty picture and FALSE.
    BOOL CaptureRect(const RECT& rect);
    // The same, scaled to width x height.
    BOOL CaptureStretched(int width, int height, const RECT& rect);
    // A new screen-compatible bitmap of rect's size, contents undefined until drawn; an empty
    // rectangle gives an empty picture. FALSE (and an empty picture) when the bitmap cannot be
    // made.
    BOOL CreateBlank(const RECT& rect);
    // Scales the picture; an empty picture stays empty and succeeds. A size that cannot be made
    // fails and keeps the picture as it was.
    BOOL Resize(int width, int height);
    // S_OK, or E_FAIL when the file cannot be written; no partial file is left behind.
    [[nodiscard]] HRESULT SaveJpeg(const std::wstring& path, int quality) const;
    COLORREF PixelAt(int x, int y) const;
};
