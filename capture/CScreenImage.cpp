#include "CScreenImage.h"
#include "DeviceContext.h"
#include "GdiObject.h"
#include "JpegWriter.h"

namespace {
const DWORD kCaptureRop = SRCCOPY | CAPTUREBLT;  // CAPTUREBLT brings layered windows along

// Widths of rectangles whose corners lie far apart would overflow an int: such a rectangle is
// as impossible as a negative one.
int Width(const RECT& r) {
    long long w = static_cast<long long>(r.right) - r.left;
    if (w < 0) return 0;
    return w > CScreenImage::kMaxSide ? CScreenImage::kMaxSide + 1 : static_cast<int>(w);
}
int Height(const RECT& r) {
    long long h = static_cast<long long>(r.bottom) - r.top;
    if (h < 0) return 0;
    return h > CScreenImage::kMaxSide ? CScreenImage::kMaxSide + 1 : static_cast<int>(h);
}

// GDI answers a zero size with a 1 x 1 monochrome bitmap; an empty rectangle must give an
// empty picture instead. Sizes past the limits are refused before the system sees them.
HBITMAP CreateScreenBitmap(HDC screen, int width, int height) {
    if (!CScreenImage::IsPossibleSize(width, height)) return nullptr;
    return ::CreateCompatibleBitmap(screen, width, height);
}
}  // namespace

bool CScreenImage::IsPossibleSize(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           static_cast<long long>(width) * height <= kMaxPixels;
}

BOOL CScreenImage::CaptureRect(const RECT& rect) {
    Destroy();
    CDisplayDC screen;
    CMemoryDC memory(screen);
    HBITMAP bitmap = CreateScreenBitmap(screen, Width(rect), Height(rect));
    if (!bitmap) return FALSE;
    BOOL copied = FALSE;
    {
        CSelectObject select(memory, bitmap);
        copied = ::BitBlt(memory, 0, 0, Width(rect), Height(rect), screen, rect.left, rect.top,
                          kCaptureRop);
    }
    Attach(bitmap);
    return copied;
}

BOOL CScreenImage::CaptureStretched(int width, int height, const RECT& rect) {
    Destroy();
    // The screen side of the copy has the same limits as any picture.
    if (!IsPossibleSize(Width(rect), Height(rect))) return FALSE;
    CDisplayDC screen;
    CMemoryDC memory(screen);
    HBITMAP bitmap = CreateScreenBitmap(screen, width, height);
    if (!bitmap) return FALSE;
    BOOL copied = FALSE;
    {
        CSelectObject select(memory, bitmap);
        ::SetStretchBltMode(memory, HALFTONE);
        ::SetBrushOrgEx(memory, 0, 0, nullptr);
        copied = ::StretchBlt(memory, 0, 0, width, height, screen, rect.left, rect.top,
                              Width(rect), Height(rect), kCaptureRop);
    }
    Attach(bitmap);
    return copied;
}

BOOL CScreenImage::CreateBlank(const RECT& rect) {
    Destroy();
    CDisplayDC screen;
    Attach(CreateScreenBitmap(screen, Width(rect), Height(rect)));
    // An empty rectangle asks for the empty picture it gets; anything else must be there.
    return !IsNull() || ::IsRectEmpty(&rect);
}

BOOL CScreenImage::Resize(int width, int height) {
    if (IsNull()) return TRUE;
    CDisplayDC screen;
    CMemoryDC memory(screen);
    CBitmap resized(CreateScreenBitmap(screen, width, height));
    if (!resized) return FALSE;
    BOOL drawn = FALSE;
    {
        CSelectObject select(memory, resized);
        ::SetStretchBltMode(memory, HALFTONE);
        ::SetBrushOrgEx(memory, 0, 0, nullptr);
        RECT target{0, 0, width, height};
        drawn = Draw(memory, target);
    }
    Attach(resized.Detach());
    return drawn;
}

COLORREF CScreenImage::PixelAt(int x, int y) const {
    HDC dc = GetDC();
    if (!dc) return CLR_INVALID;
    COLORREF color = ::GetPixel(dc, x, y);
    ReleaseDC();
    return color;
}

HRESULT CScreenImage::SaveJpeg(const std::wstring& path, int quality) const {
    return WriteJpegFile(*this, path, quality);
}
