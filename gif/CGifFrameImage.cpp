#include "CGifFrameImage.h"

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
