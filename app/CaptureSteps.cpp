#include "CaptureSteps.h"
#include <shlwapi.h>
#include "CGifEncoder.h"
#include "CMonitors.h"
#include "DeviceContext.h"
#include "GdiObject.h"
#include "PngWriter.h"

namespace {
// DWMWA_EXTENDED_FRAME_BOUNDS; the desktop window manager's header is not needed for one number.
const DWORD kExtendedFrameBounds = 9;

using GetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

// Loaded at the moment of use rather than linked: systems without the desktop window manager
// have no such library, and the program must still start there.
HRESULT GetExtendedFrameBounds(HWND window, RECT& rect) {
    HRESULT result = E_FAIL;
    HMODULE dwm = ::LoadLibraryW(L"dwmapi.dll");
    if (!dwm) return result;
    auto get = reinterpret_cast<GetWindowAttribute>(
        reinterpret_cast<void*>(::GetProcAddress(dwm, "DwmGetWindowAttribute")));
    if (get) result = get(window, kExtendedFrameBounds, &rect, sizeof(rect));
    ::FreeLibrary(dwm);
    return result;
}

// A free name beside the target that keeps its extension (the encoder is chosen by it) and
// cannot be mistaken for a numbered picture of the same prefix.
std::wstring TemporarySibling(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    std::wstring folder = path.substr(0, nameStart);
    std::wstring name = path.substr(nameStart);
    size_t dot = name.find_last_of(L'.');
    std::wstring stem = dot == std::wstring::npos ? name : name.substr(0, dot);
    std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
    std::wstring candidate = folder + L"~" + stem + extension;
    for (int n = 1; ::PathFileExistsW(candidate.c_str()); ++n)
        candidate = folder + L"~" + stem + L"_" + std::to_wstring(n) + extension;
    return candidate;
}

bool HasExtension(const std::wstring& path, const wchar_t* extension) {
    return ::lstrcmpiW(::PathFindExtensionW(path.c_str()), extension) == 0;
}

// A still picture is a one-frame animation to the program's own encoder, which learns the 256
// colours that suit the picture best.
HRESULT WriteStillGif(const CScreenImage& picture, const std::wstring& path) {
    if (picture.IsNull()) return E_FAIL;
    CGifEncoder encoder;
    encoder.SetThreadCount(1);   // one frame: nothing to overlap
    encoder.SetSampleFactor(1);  // every pixel teaches the palette: a still is looked at closely
    encoder.SetCanvasSize(picture.GetWidth(), picture.GetHeight());
    if (!encoder.OpenPath(path)) return E_FAIL;
    bool written = encoder.WriteFrame(static_cast<HBITMAP>(picture));
    bool closed = encoder.Close();
    return written && closed ? S_OK : E_FAIL;
}

HRESULT WritePicture(const CScreenImage& picture, const std::wstring& path, int saveType,
                     int jpgQuality) {
    if (saveType == Jpg) return picture.SaveJpeg(path, 60 + 10 * jpgQuality);
    if (HasExtension(path, L".gif")) return WriteStillGif(picture, path);
    if (HasExtension(path, L".png")) return WritePng(picture, path);
    return picture.Save(path);  // BMP, or whatever the extension names
}
}  // namespace

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

HRESULT SavePicture(const CScreenImage& picture, const std::wstring& path, int saveType,
                    int jpgQuality) {
    std::wstring temporary = TemporarySibling(path);
    HRESULT result = WritePicture(picture, temporary, saveType, jpgQuality);
    // No replacing: the name was free when it was chosen, and whatever took it since is not ours.
    if (SUCCEEDED(result) && !::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
        result = E_FAIL;
    if (FAILED(result)) ::DeleteFileW(temporary.c_str());
    return result;
}
