#include "CScreenImage.h"
#include <cstdio>
#include <vector>
#include "DeviceContext.h"
#include "GdiObject.h"
#include "JpegWriter.h"

namespace {
const DWORD kCaptureRop = SRCCOPY | CAPTUREBLT;  // CAPTUREBLT brings layered windows along

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// GDI answers a zero size with a 1 x 1 monochrome bitmap; an empty rectangle must give an
// empty picture instead.
HBITMAP CreateScreenBitmap(HDC screen, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    return ::CreateCompatibleBitmap(screen, width, height);
}
}  // namespace

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
    return TRUE;
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
    std::vector<uint32_t> pixels;
    if (!ReadPixels(pixels)) return E_FAIL;
    // Opened as Unicode so that any folder or file name works whatever the system code page.
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return E_FAIL;
    bool written = WriteJpeg(file, pixels.data(), GetWidth(), GetHeight(), quality);
    if (fclose(file) != 0) written = false;
    if (!written) {
        ::DeleteFileW(path.c_str());
        return E_FAIL;
    }
    return S_OK;
}
