#include "CGifFrameImage.h"
#include <objidl.h>
#include <gdiplus.h>
#include "DeviceContext.h"
#include "Dib.h"
#include "GdiplusSession.h"

BOOL CGifFrameImage::CaptureArea(const RECT& area, const GifCaptureOptions& options) {
    const BOOL grabbed = options.resize ? CaptureStretched(options.width, options.height, area)
                                        : CaptureRect(area);
    if (!grabbed || IsNull()) {
        return FALSE;
    }
    if (options.cursor) {
        POINT pointer{};
        if (::GetCursorPos(&pointer) && ::PtInRect(&area, pointer)) {
            DrawArrow(area, pointer);
        }
    }
    return TRUE;
}

void CGifFrameImage::DrawArrow(const RECT& area, POINT pointer) {
    HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    if (!arrow) {
        return;
    }
    ICONINFO info{};
    if (!::GetIconInfo(arrow, &info)) {
        return;
    }
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    // The pointer's offset is scaled with the picture, so that in a resized recording the arrow
    // still points where the pointer was.
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    if (areaWidth <= 0 || areaHeight <= 0) {
        return;
    }
    const int x = MulDiv(pointer.x - area.left, GetWidth(), areaWidth) - static_cast<int>(info.xHotspot);
    const int y = MulDiv(pointer.y - area.top, GetHeight(), areaHeight) - static_cast<int>(info.yHotspot);
    HDC dc = GetDC();
    if (dc) {
        ::DrawIcon(dc, x, y, arrow);
        ReleaseDC();
    }
}

BOOL CGifFrameImage::SetPixels(const uint32_t* pixels, int width, int height) {
    Destroy();
    if (!pixels || !IsPossibleSize(width, height) || !CreateBlank(RECT{0, 0, width, height}) || IsNull()) {
        Destroy();
        return FALSE;
    }
    const BITMAPINFO format = TopDownDib32(width, height);
    HDC screen = ::GetDC(nullptr);
    const int written = ::SetDIBits(screen, static_cast<HBITMAP>(*this), 0, static_cast<UINT>(height), pixels,
                                    &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (written != height) {
        Destroy();
        return FALSE;
    }
    return TRUE;
}

void CGifFrameImage::CloneFrame(const CGifFrameImage& source) {
    if (&source == this) return;
    delay = source.delay;
    if (source.IsNull()) {
        Destroy();
        return;
    }
    CScreenImage copy;
    if (!copy.CreateBlank(RECT{0, 0, source.GetWidth(), source.GetHeight()})) {
        Destroy();
        return;
    }
    HDC from = source.GetDC();
    HDC to = copy.GetDC();
    ::BitBlt(to, 0, 0, source.GetWidth(), source.GetHeight(), from, 0, 0, SRCCOPY);
    copy.ReleaseDC();
    source.ReleaseDC();
    Attach(copy.Detach());
}

bool CGifFrameImage::LoadPicture(const std::wstring& path, const RECT& rect, int mode) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (!GdiplusSession::EnsureStarted()) return false;
    CScreenImage loaded;
    {
        // The decoder keeps the file open for as long as the picture lives: only this scope.
        Gdiplus::Image picture(path.c_str(), FALSE);
        if (picture.GetLastStatus() != Gdiplus::Ok) return false;
        const int pictureWidth = static_cast<int>(picture.GetWidth());
        const int pictureHeight = static_cast<int>(picture.GetHeight());
        // A file that exists but holds no picture decodes to nothing: it must not become a
        // frame of the reference size with whatever the bitmap happens to hold.
        if (!IsPossibleSize(pictureWidth, pictureHeight)) return false;
        const int rectWidth = rect.right - rect.left;
        const int rectHeight = rect.bottom - rect.top;
        const bool ownSize = mode == InsertFitFrames || rectWidth <= 0 || rectHeight <= 0;
        const int width = ownSize ? pictureWidth : rectWidth;
        const int height = ownSize ? pictureHeight : rectHeight;
        if (!loaded.CreateBlank(RECT{0, 0, width, height}) || loaded.IsNull()) return false;
        HDC dc = loaded.GetDC();
        Gdiplus::Status drawn = Gdiplus::GenericError;
        {
            Gdiplus::Graphics graphics(dc);
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
            // Sizes are given in pixels every time: the picture's own resolution must not scale it.
            if (ownSize) {
                drawn = graphics.DrawImage(&picture, 0, 0, pictureWidth, pictureHeight);
            } else if (mode == InsertCentre) {
                drawn = graphics.DrawImage(&picture, (rectWidth - pictureWidth) / 2,
                                           (rectHeight - pictureHeight) / 2, pictureWidth, pictureHeight);
            } else if (mode == InsertStretch) {
                drawn = graphics.DrawImage(&picture, 0, 0, rectWidth, rectHeight);
            } else {
                drawn = graphics.DrawImage(&picture, 0, 0, pictureWidth, pictureHeight);
            }
        }
        loaded.ReleaseDC();
        if (drawn != Gdiplus::Ok) return false;
    }
    Attach(loaded.Detach());
    delay = 500;
    return true;
}

bool CGifFrameImage::CropTo(const RECT& rect) {
    if (IsNull()) return true;
    const long long width = static_cast<long long>(rect.right) - rect.left;
    const long long height = static_cast<long long>(rect.bottom) - rect.top;
    // An empty rectangle would leave a frame with nothing to show or encode.
    if (width <= 0 || height <= 0 || !IsPossibleSize(static_cast<int>(width), static_cast<int>(height)))
        return false;
    CScreenImage cropped;
    if (!cropped.CreateBlank(rect) || cropped.IsNull()) return false;
    HDC from = GetDC();
    HDC to = cropped.GetDC();
    const BOOL copied = ::BitBlt(to, 0, 0, static_cast<int>(width), static_cast<int>(height), from,
                                 rect.left, rect.top, SRCCOPY);
    cropped.ReleaseDC();
    ReleaseDC();
    if (!copied) return false;
    Attach(cropped.Detach());
    return true;
}
