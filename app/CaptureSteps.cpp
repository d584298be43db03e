#include "CaptureSteps.h"
#include "CMonitors.h"
#include "DeviceContext.h"
#include "GdiObject.h"
#include "PickerScreens.h"

UINT CaptureKeyFor(int hotKey) {
    switch (hotKey) {
    case 0: return VK_SNAPSHOT;
    case 1: return VK_F11;
    case 2: return VK_F12;
    default: return VK_PRINT;
    }
}

bool IsCaptureKeyRelease(const RAWINPUT& input, int hotKey) {
    return input.header.dwType == RIM_TYPEKEYBOARD &&
           input.data.keyboard.VKey == CaptureKeyFor(hotKey) &&
           input.data.keyboard.Message == WM_KEYUP;
}

bool GetVisibleWindowFrame(HWND window, RECT& rect) {
    if (!window || !::IsWindow(window)) return false;
    RECT bounds{};
    if (SUCCEEDED(GetExtendedFrameBounds(window, bounds))) {
        rect = bounds;
        return true;
    }
    return ::GetWindowRect(window, &rect) != FALSE;
}

RECT CaptureRectForArea(const CaptureSettings& settings, HWND foreground) {
    RECT rect{};
    switch (settings.area) {
    case AreaAllMonitors:
        rect = CMonitors().GetUnionRect();  // afresh: a monitor may have come or gone
        break;
    case AreaMonitor:
    case AreaFixedRect:
        rect = settings.areaRect;
        break;
    case AreaForegroundWindow:
        if (!GetVisibleWindowFrame(foreground, rect)) ::SetRectEmpty(&rect);
        break;
    default:
        // The pickers that choose a region at capture time bring their own picture.
        break;
    }
    return rect;
}

HCURSOR GetShownCursor() {
    // GetCursor answers only for cursors this thread has set; the tray program never sets one,
    // so the cursor the user sees comes from the global cursor information.
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetCursorInfo(&info)) return (info.flags & CURSOR_SHOWING) ? info.hCursor : nullptr;
    return ::GetCursor();
}

bool DrawCursor(CScreenImage& picture, const RECT& captured, POINT pointer, HCURSOR cursor) {
    if (!cursor || picture.IsNull() || !::PtInRect(&captured, pointer)) return false;
    ICONINFO info{};
    if (!::GetIconInfo(cursor, &info)) return false;
    // GetIconInfo hands over copies of the cursor's bitmaps; these holders delete them.
    CBitmap mask(info.hbmMask);
    CBitmap colour(info.hbmColor);
    int x = pointer.x - captured.left - static_cast<int>(info.xHotspot);
    int y = pointer.y - captured.top - static_cast<int>(info.yHotspot);
    HDC dc = picture.GetDC();
    if (!dc) return false;
    BOOL drawn = ::DrawIcon(dc, x, y, cursor);
    picture.ReleaseDC();
    return drawn != FALSE;
}
