// A window of known place, size and colour for the end-to-end picker scenario:
//   known_window.exe LEFT TOP WIDTH HEIGHT RED GREEN BLUE
// Topmost, so that giving the focus to another window does not bury it; it stays until closed.
#include <windows.h>
#include <shellapi.h>
#include <cwchar>

namespace {
COLORREF g_colour = RGB(0, 0, 0);

LRESULT CALLBACK KnownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        HBRUSH brush = ::CreateSolidBrush(g_colour);
        ::FillRect(dc, &ps.rcPaint, brush);
        ::DeleteObject(brush);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ::SetProcessDPIAware();
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args || count < 8) return 2;
    int v[7];
    for (int i = 0; i < 7; ++i) v[i] = static_cast<int>(std::wcstol(args[i + 1], nullptr, 10));
    ::LocalFree(args);
    g_colour = RGB(v[4], v[5], v[6]);

    WNDCLASSW wc{};
    wc.lpfnWndProc = KnownProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TovrixKnownWindow";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName,
                                  L"Tovrix known window", WS_POPUP, v[0], v[1], v[2], v[3], nullptr,
                                  nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
