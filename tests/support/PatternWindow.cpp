// Shows the known test picture over the whole virtual screen until it is closed, so that
// captures have pixels to be compared with. A window of its own (rather than the X root's
// background) because Wine's desktop repaints the root black whenever it likes.
#include <windows.h>
#include <vector>
#include "TestSupport.h"
#include "Dib.h"

namespace {
HBITMAP g_picture = nullptr;
RECT g_screen{};

LRESULT CALLBACK PatternProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(memory, g_picture);
        ::BitBlt(dc, 0, 0, g_screen.right - g_screen.left, g_screen.bottom - g_screen.top, memory, 0, 0,
                 SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HBITMAP MakePicture(const RECT& screen) {
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    BITMAPINFO info = TopDownDib32(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            COLORREF c = testing_support::PatternColor(screen.left + x, screen.top + y);
            pixels[static_cast<size_t>(y) * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    return bitmap;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ::SetProcessDPIAware();
    g_screen = {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    g_screen.right = g_screen.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    g_screen.bottom = g_screen.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    g_picture = MakePicture(g_screen);
    if (!g_picture) return 1;

    WNDCLASSW wc{};
    wc.lpfnWndProc = PatternProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TovrixTestPattern";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Tovrix test pattern", WS_POPUP,
                                  g_screen.left, g_screen.top, g_screen.right - g_screen.left,
                                  g_screen.bottom - g_screen.top, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::DeleteObject(g_picture);
    return 0;
}
