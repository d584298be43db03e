#include "Dpi.h"
#include <cstdlib>
#include <utility>
#include "DeviceContext.h"

namespace {
// Per-monitor DPI functions of Windows 8.1 and 10, absent from older systems (and some from
// Wine): looked up once.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
using SetDialogControlDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
using GetThreadDpiAwarenessContextFn = HANDLE(WINAPI*)();
using GetAwarenessFromDpiAwarenessContextFn = int(WINAPI*)(HANDLE);
using AreDpiAwarenessContextsEqualFn = BOOL(WINAPI*)(HANDLE, HANDLE);
using IsProcessDPIAwareFn = BOOL(WINAPI*)();

// DDC_DISABLE_ALL, DCDC_DISABLE_FONTUPDATE, DCDC_DISABLE_RELAYOUT, MDT_EFFECTIVE_DPI and
// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which headers for older systems do not define.
constexpr int kDialogKeepAll = 1;
constexpr int kControlKeepFont = 1;
constexpr int kControlKeepPlace = 2;
constexpr int kEffectiveDpi = 0;
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    if (!handle) handle = ::LoadLibraryW(module);  // shcore is not loaded by itself
    return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(handle, name))) : nullptr;
}

template <typename Function>
Function User32(const char* name) {
    return Lookup<Function>(L"user32.dll", name);
}

int DistanceFrom(UINT a, UINT b) {
    return std::abs(static_cast<int>(a) - static_cast<int>(b));
}
}  // namespace

UINT SystemDpi() {
    static const auto getForSystem = User32<GetDpiForSystemFn>("GetDpiForSystem");
    if (getForSystem) return getForSystem();
    CClientDC screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT WindowDpi(HWND hwnd) {
    static const auto getForWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
    if (hwnd && getForWindow) {
        const UINT dpi = getForWindow(hwnd);
        if (dpi > 0) return dpi;
    }
    return SystemDpi();
}

UINT MonitorDpiForRect(const RECT& screen) {
    static const auto getForMonitor = Lookup<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    if (getForMonitor) {
        UINT x = 0, y = 0;
        HMONITOR monitor = ::MonitorFromRect(&screen, MONITOR_DEFAULTTONEAREST);
        if (monitor && SUCCEEDED(getForMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0) return x;
    }
    return SystemDpi();
}

RECT ScaleRectToDpi(const RECT& rect, UINT dpi) {
    const int left = ScaleToDpi(rect.left, dpi);
    const int top = ScaleToDpi(rect.top, dpi);
    return RECT{left, top, left + ScaleToDpi(rect.right - rect.left, dpi),
                top + ScaleToDpi(rect.bottom - rect.top, dpi)};
}

UINT NearestPictureDpi(UINT dpi) {
    UINT best = kPictureDpis[0];
    for (UINT candidate : kPictureDpis) {
        if (DistanceFrom(candidate, dpi) <= DistanceFrom(best, dpi)) best = candidate;
    }
    return best;
}

UINT PictureIdForDpi(UINT id, UINT pictureDpi) {
    for (UINT n = 0; n < sizeof(kPictureDpis) / sizeof(kPictureDpis[0]); ++n) {
        if (kPictureDpis[n] == pictureDpi) return id + n * kScaledPictureIdStep;
    }
    return id;
}

UINT FindPictureForDpi(UINT id, const wchar_t* type, UINT dpi, UINT* pictureDpi) {
    // The nearest scale first; a picture not drawn at every scale falls back on the next nearest.
    UINT order[sizeof(kPictureDpis) / sizeof(kPictureDpis[0])];
    size_t count = 0;
    for (UINT candidate : kPictureDpis) order[count++] = candidate;
    for (size_t i = 0; i < count; ++i) {
        for (size_t j = i + 1; j < count; ++j) {
            const int di = DistanceFrom(order[i], dpi), dj = DistanceFrom(order[j], dpi);
            if (dj < di || (dj == di && order[j] > order[i])) std::swap(order[i], order[j]);
        }
    }
    HMODULE module = ::GetModuleHandleW(nullptr);
    for (UINT candidate : order) {
        const UINT found = PictureIdForDpi(id, candidate);
        if (::FindResourceW(module, MAKEINTRESOURCEW(found), type)) {
            if (pictureDpi) *pictureDpi = candidate;
            return found;
        }
    }
    if (pictureDpi) *pictureDpi = kDefaultDpi;
    return id;
}

CBitmap StretchFrames(HBITMAP source, int frames, SIZE frameSize, bool keyColours) {
    BITMAP info{};
    if (!source || frames <= 0 || frameSize.cx <= 0 || frameSize.cy <= 0 ||
        !::GetObjectW(source, sizeof(info), &info)) {
        return CBitmap();
    }
    CClientDC screen(nullptr);
    CBitmap result;
    if (!result.CreateCompatibleBitmap(screen, frameSize.cx * frames, frameSize.cy)) return CBitmap();
    CMemoryDC from(screen), to(screen);
    CSelectObject selectFrom(from, source);
    CSelectObject selectTo(to, result.get());
    ::SetStretchBltMode(to, keyColours ? COLORONCOLOR : HALFTONE);
    ::SetBrushOrgEx(to, 0, 0, nullptr);
    const int sourceWidth = info.bmWidth / frames;
    for (int k = 0; k < frames; ++k) {
        ::StretchBlt(to, k * frameSize.cx, 0, frameSize.cx, frameSize.cy, from, k * sourceWidth, 0, sourceWidth,
                     info.bmHeight, SRCCOPY);
    }
    return result;
}

CBitmap LoadBitmapForDpi(UINT id, UINT dpi, int frames, bool keyColours, SIZE* size100, UINT loadFlags) {
    if (frames <= 0) frames = 1;
    UINT pictureDpi = kDefaultDpi;
    const UINT found = FindPictureForDpi(id, RT_BITMAP, dpi, &pictureDpi);
    CBitmap picture(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(found),
                                                      IMAGE_BITMAP, 0, 0, loadFlags)));
    BITMAP info{};
    if (!picture || !::GetObjectW(picture, sizeof(info), &info)) return CBitmap();
    // The scripts draw a picture of w pixels at 100 % with MulDiv(w, scale) pixels, which this
    // turns back into w exactly.
    const SIZE frame{info.bmWidth / frames, info.bmHeight};
    const SIZE frame100{::MulDiv(frame.cx, static_cast<int>(kDefaultDpi), static_cast<int>(pictureDpi)),
                        ::MulDiv(frame.cy, static_cast<int>(kDefaultDpi), static_cast<int>(pictureDpi))};
    if (size100) *size100 = SIZE{frame100.cx * frames, frame100.cy};
    const SIZE target = ScaleSizeToDpi(frame100, dpi);
    if (target.cx == frame.cx && target.cy == frame.cy) return picture;
    return StretchFrames(picture, frames, target, keyColours);
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi = User32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

BOOL NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi) {
    static const auto forDpi = User32<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    metrics.cbSize = sizeof(metrics);
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) return TRUE;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return FALSE;
    // The system DPI's fonts, scaled.
    const UINT system = SystemDpi();
    if (system != dpi) {
        for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                               &metrics.lfStatusFont, &metrics.lfMessageFont}) {
            font->lfHeight = ::MulDiv(font->lfHeight, static_cast<int>(dpi), static_cast<int>(system));
        }
    }
    return TRUE;
}

BOOL AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto forDpi = User32<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (forDpi) return forDpi(&rect, style, FALSE, exStyle, dpi);
    return ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

namespace {
void KeepControl(HWND control, int what) {
    static const auto keepControl = User32<SetDialogControlDpiChangeBehaviorFn>("SetDialogControlDpiChangeBehavior");
    if (control && keepControl) keepControl(control, what, what);
}
}  // namespace

void KeepDialogLayoutOnDpiChange(HWND dialog) {
    static const auto keepDialog = User32<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (!dialog || !keepDialog) return;
    keepDialog(dialog, kDialogKeepAll, kDialogKeepAll);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        KeepControl(child, kControlKeepFont | kControlKeepPlace);
    }
}

void KeepControlLayoutOnDpiChange(HWND control) {
    // Its font still follows the dialog's.
    KeepControl(control, kControlKeepPlace);
}

int CurrentDpiAwareness() {
    static const auto threadContext = User32<GetThreadDpiAwarenessContextFn>("GetThreadDpiAwarenessContext");
    static const auto awareness = User32<GetAwarenessFromDpiAwarenessContextFn>("GetAwarenessFromDpiAwarenessContext");
    static const auto equal = User32<AreDpiAwarenessContextsEqualFn>("AreDpiAwarenessContextsEqual");
    if (threadContext && awareness) {
        HANDLE context = threadContext();
        if (equal && equal(context, kPerMonitorAwareV2)) return 3;
        const int value = awareness(context);
        return value >= 0 && value <= 2 ? value : 0;
    }
    static const auto isAware = User32<IsProcessDPIAwareFn>("IsProcessDPIAware");
    return isAware && isAware() ? 1 : 0;
}
