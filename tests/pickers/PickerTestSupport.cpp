#include "PickerTestSupport.h"
#include <algorithm>
#include "CMonitors.h"
#include "CScreenImage.h"
#include "TestSupport.h"

namespace picker_test {

namespace {
const wchar_t kColourClass[] = L"PickerTestColour";
const wchar_t kColourProp[] = L"PickerTest.Colour";

LRESULT CALLBACK ColourProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        auto colour = static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(::GetPropW(hwnd, kColourProp)));
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &ps.rcPaint, brush);
        ::DeleteObject(brush);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        ::RemovePropW(hwnd, kColourProp);
        break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct PickerSearch {
    RECT screen;
    HWND found;
};

BOOL CALLBACK FindPicker(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<PickerSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    RECT rect;
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
        ::GetWindowRect(window, &rect) && ::EqualRect(&rect, &search->screen) &&
        (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindPickerNow() {
    PickerSearch search{{}, nullptr};
    GetVirtualScreenRect(search.screen);
    ::EnumWindows(FindPicker, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

testing_support::MouseDelivery* g_delivery = nullptr;  // the running script's
POINT g_pointer{};                                      // where its last move went
}  // namespace

InputScript::InputScript(std::function<void()> script)
    : m_delivery(std::make_unique<testing_support::MouseDelivery>(::GetCurrentThreadId())),
      m_thread([this, script = std::move(script)] {
          g_delivery = m_delivery->Watching() ? m_delivery.get() : nullptr;
          ::GetCursorPos(&g_pointer);
          script();
          // A script that stopped early must not leave the test's thread in a modal loop.
          if (!WaitForPickerGone())
              if (HWND picker = FindPickerNow()) ::PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
          g_delivery = nullptr;
      }) {}

InputScript::~InputScript() {
    if (m_thread.joinable()) m_thread.join();
}

bool WaitUntil(const std::function<bool()>& condition, int seconds) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > static_cast<DWORD>(seconds) * 1000) return false;
        // The windows of the waiting thread repaint meanwhile.
        testing_support::PumpMessages();
        ::Sleep(10);
    }
    return true;
}

bool WaitForPatternAt(const RECT& rect) {
    return WaitUntil([&] {
        CScreenImage grab;
        return grab.CaptureRect(rect) && testing_support::CountPixelsUnlikePattern(grab, rect) == 0;
    });
}

HWND WaitForPicker() {
    HWND picker = nullptr;
    WaitUntil([&] { return (picker = FindPickerNow()) != nullptr; });
    return picker;
}

bool WaitForPickerGone() {
    return WaitUntil([] { return FindPickerNow() == nullptr; }, 5);
}

void MoveTo(int x, int y) {
    // Through the input queue, as a mouse's moves come, so that it stays in order with the
    // button events sent after it.
    g_pointer = POINT{x, y};
    if (g_delivery) {
        g_delivery->MoveTo(g_pointer);
        return;
    }
    testing_support::MoveMouse(g_pointer);
    WaitUntil([&] {
        POINT at{};
        return ::GetCursorPos(&at) && at.x == x && at.y == y;
    }, 2);
}

void PressLeft() {
    if (g_delivery)
        g_delivery->Press(g_pointer);
    else
        testing_support::MouseButtonAt(g_pointer, true);
}

void ReleaseLeft() {
    if (g_delivery)
        g_delivery->Release(g_pointer);
    else
        testing_support::MouseButtonAt(g_pointer, false);
}

void Key(WORD virtualKey) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = virtualKey;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

namespace {
// A pixel inside the rectangle dragged from `from` to `to`, near the corner at `to`: off the
// crosshair's lines and the pointer, and outside every rectangle of a drag that stopped short
// (at most half-way) of `to`.
POINT InsideNearEnd(POINT from, POINT to) {
    auto step = [](int start, int end) {
        const int inward = (end - start) / 4;
        const int k = std::max(1, std::min(20, inward < 0 ? -inward : inward));
        return end > start ? end - k : end + k;
    };
    return POINT{step(from.x, to.x), step(from.y, to.y)};
}
}  // namespace

void Drag(POINT from, POINT to) {
    MoveUntil(from.x, from.y, [&] { return CrosshairAt(from); });
    PressLeft();
    // The crosshair is drawn as each move is handled, but the bright selection only when the
    // picker has no input left to handle: a move echoed late by the system (to an earlier point)
    // could still be waiting behind the crosshair, and the release would then choose that point.
    // So the end is reached once the selection's corner shows there, bright. Its colour is the
    // dimmed one seen before the selection grew, at full brightness.
    const POINT probe = InsideNearEnd(from, to);
    const COLORREF dimmed = ScreenPixel(probe.x, probe.y);
    auto selectionReachedEnd = [&] {
        if (dimmed == RGB(0, 0, 0)) return true;  // black stays black: nothing to tell by
        const COLORREF now = ScreenPixel(probe.x, probe.y);
        return now != dimmed && Dimmed(now) == dimmed;
    };
    MoveTo((from.x + to.x) / 2, (from.y + to.y) / 2);
    MoveUntil(to.x, to.y, [&] { return CrosshairAt(to) && selectionReachedEnd(); });
    ReleaseLeft();
}

bool MoveUntil(int x, int y, const std::function<bool()>& shown) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        MoveTo(x, y);
        if (WaitUntil(shown, 1)) return true;
    }
    return false;
}

bool CrosshairAt(POINT p) {
    RECT screen;
    GetVirtualScreenRect(screen);
    // Away from the pointer, so that a cursor drawn into the screen cannot stand in for a line.
    const int dx = p.x - screen.left > 60 ? -40 : 40;
    const int dy = p.y - screen.top > 60 ? -40 : 40;
    const COLORREF white = RGB(255, 255, 255);
    return ScreenPixel(p.x, p.y + dy) == white && ScreenPixel(p.x + dx, p.y) == white;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = ::GetDC(nullptr);
    COLORREF colour = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

COLORREF Dimmed(COLORREF colour) {
    return RGB(GetRValue(colour) / 2, GetGValue(colour) / 2, GetBValue(colour) / 2);
}

ColourWindow::ColourWindow(const RECT& rect, COLORREF colour, HWND parent) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ColourProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kColourClass;
    ::RegisterClassW(&wc);
    RECT place = rect;
    if (parent) ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    m_hwnd = ::CreateWindowExW(0, kColourClass, L"", (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE,
                               place.left, place.top, place.right - place.left,
                               place.bottom - place.top, parent, nullptr, wc.hInstance, nullptr);
    if (!m_hwnd) return;
    ::SetPropW(m_hwnd, kColourProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(colour)));
    ::InvalidateRect(m_hwnd, nullptr, FALSE);
    ::UpdateWindow(m_hwnd);
}

ColourWindow::~ColourWindow() {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
}

void ColourWindow::SetColour(COLORREF colour) {
    ::SetPropW(m_hwnd, kColourProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(colour)));
    ::InvalidateRect(m_hwnd, nullptr, FALSE);
}

RECT ColourWindow::ScreenRect() const {
    RECT rect{};
    ::GetWindowRect(m_hwnd, &rect);
    return rect;
}

}  // namespace picker_test
