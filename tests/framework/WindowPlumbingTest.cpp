// Window plumbing: each window type keeps the class it registered, regions pass to the window
// that takes them, layered windows, timers, mouse capture and mouse tracking.
#include <gtest/gtest.h>
#include <vector>
#include "CWnd.h"
#include "MessageArgs.h"

namespace {

// Waits for one message for `hwnd` in the range, dispatching everything else; false if none came
// in a generous while (only so that a broken build ends instead of hanging).
bool WaitForMessage(HWND hwnd, UINT first, UINT last, MSG* got) {
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 10000) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            if (msg.hwnd == hwnd && msg.message >= first && msg.message <= last) {
                *got = msg;
                return true;
            }
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    return false;
}

// Records the messages this test looks for.
class PlumbedWnd : public CWnd {
public:
    std::vector<UINT> seen;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_TIMER: case WM_CAPTURECHANGED: case WM_MOUSELEAVE: case WM_MOUSEHOVER:
            seen.push_back(msg);
            break;
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

const wchar_t kPlainClass[] = L"TovrixPlumbing";

bool MakeWindow(PlumbedWnd& wnd, const RECT& rect, DWORD exStyle = 0) {
    CWnd::RegisterClass(kPlainClass);
    return wnd.CreateEx(exStyle | WS_EX_TOPMOST, kPlainClass, L"", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr);
}

TEST(WindowClass, EachWindowTypeKeepsTheCursorItRegistered) {
    HCURSOR cross = ::LoadCursorW(nullptr, IDC_CROSS);
    HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    ATOM picker = CWnd::RegisterClass(L"TovrixTestPicker", 0, nullptr, cross);
    ATOM button = CWnd::RegisterClass(L"TovrixTestLink", 0, nullptr, hand);
    ASSERT_NE(picker, 0);
    ASSERT_NE(button, 0);
    EXPECT_NE(picker, button);

    // The same type asking again gets its real atom back.
    EXPECT_EQ(CWnd::RegisterClass(L"TovrixTestPicker", 0, nullptr, cross), picker);
    // Another type taking the name with a cursor of its own is refused, not silently given the
    // first one's cursor.
    ::SetLastError(0);
    EXPECT_EQ(CWnd::RegisterClass(L"TovrixTestPicker", 0, nullptr, hand), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_EQ(CWnd::RegisterClass(L"TovrixTestPicker", CS_DBLCLKS, nullptr, cross), 0);
    // So is a name held by a class registered past the framework.
    WNDCLASSW foreign{};
    foreign.lpfnWndProc = &::DefWindowProcW;
    foreign.hInstance = ::GetModuleHandleW(nullptr);
    foreign.lpszClassName = L"TovrixTestForeign";
    ASSERT_NE(::RegisterClassW(&foreign), 0);
    EXPECT_EQ(CWnd::RegisterClass(L"TovrixTestForeign"), 0);

    struct Case {
        const wchar_t* className;
        ATOM atom;
        HCURSOR cursor;
    };
    for (const Case& c : {Case{L"TovrixTestPicker", picker, cross}, Case{L"TovrixTestLink", button, hand}}) {
        PlumbedWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, c.className, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        EXPECT_EQ(::GetClassLongPtrW(wnd.m_hWnd, GCLP_HCURSOR), reinterpret_cast<LONG_PTR>(c.cursor));
        EXPECT_EQ(static_cast<ATOM>(::GetClassWord(wnd.m_hWnd, GCW_ATOM)), c.atom);
    }
}

TEST(WindowRegion, TheWindowTakesTheRegionAndTheHolderLetsGo) {
    PlumbedWnd wnd;
    ASSERT_TRUE(MakeWindow(wnd, {50, 50, 250, 150}));
    CRgn region(::CreateEllipticRgn(0, 0, 200, 100));
    ASSERT_TRUE(region);
    ASSERT_TRUE(wnd.SetWindowRgn(std::move(region)));
    EXPECT_FALSE(region) << "the window owns the region now";
    CRgn readBack(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(wnd.m_hWnd, readBack), COMPLEXREGION);
    EXPECT_TRUE(::PtInRegion(readBack, 100, 50));
    EXPECT_FALSE(::PtInRegion(readBack, 2, 2)) << "the corner is outside the ellipse";
    EXPECT_TRUE(wnd.ClearWindowRgn());
    EXPECT_EQ(::GetWindowRgn(wnd.m_hWnd, readBack), ERROR);

    // A window that refuses the region leaves it with the caller.
    PlumbedWnd none;
    CRgn kept(::CreateRectRgn(0, 0, 5, 5));
    EXPECT_FALSE(none.SetWindowRgn(std::move(kept)));
    EXPECT_TRUE(kept);
}

TEST(LayeredWindow, AlphaAndColourKeyOfTheWholeWindow) {
    PlumbedWnd wnd;
    ASSERT_TRUE(MakeWindow(wnd, {0, 0, 50, 50}, WS_EX_LAYERED));
    ASSERT_TRUE(wnd.SetLayeredWindowAttributes(RGB(255, 0, 255), 96, LWA_ALPHA | LWA_COLORKEY));
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(wnd.m_hWnd, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(255, 0, 255));
    EXPECT_EQ(alpha, 96);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY));
}

TEST(Timer, TicksReachTheWindowUntilKilled) {
    PlumbedWnd wnd;
    ASSERT_TRUE(MakeWindow(wnd, {0, 0, 10, 10}));
    ASSERT_NE(wnd.SetTimer(7, 1), 0u);
    MSG tick{};
    ASSERT_TRUE(WaitForMessage(wnd.m_hWnd, WM_TIMER, WM_TIMER, &tick));
    EXPECT_EQ(tick.wParam, 7u);
    EXPECT_NE(std::find(wnd.seen.begin(), wnd.seen.end(), static_cast<UINT>(WM_TIMER)), wnd.seen.end());
    EXPECT_TRUE(wnd.KillTimer(7));
    EXPECT_FALSE(wnd.KillTimer(7)) << "a killed timer is gone";
}

TEST(MouseCapture, TheWindowThatLosesTheCaptureIsTold) {
    PlumbedWnd first, second;
    ASSERT_TRUE(MakeWindow(first, {0, 0, 10, 10}));
    ASSERT_TRUE(MakeWindow(second, {20, 0, 30, 10}));
    first.SetCapture();
    EXPECT_TRUE(first.HasCapture());
    second.SetCapture();
    EXPECT_FALSE(first.HasCapture());
    EXPECT_NE(std::find(first.seen.begin(), first.seen.end(), static_cast<UINT>(WM_CAPTURECHANGED)), first.seen.end());
    EXPECT_TRUE(CWnd::ReleaseCapture());
    EXPECT_FALSE(second.HasCapture());
}

TEST(MouseTracking, HoverOverTheWindowAndLeavingIt) {
    PlumbedWnd wnd;
    ASSERT_TRUE(MakeWindow(wnd, {400, 300, 500, 400}));
    wnd.UpdateWindow();

    ::SetCursorPos(450, 350);
    ASSERT_TRUE(wnd.TrackMouseEvent(TME_HOVER | TME_LEAVE, 1));
    MSG hover{};
    ASSERT_TRUE(WaitForMessage(wnd.m_hWnd, WM_MOUSEHOVER, WM_MOUSEHOVER, &hover));
    POINT at = MousePoint(hover.lParam);
    EXPECT_EQ(at.x, 50);
    EXPECT_EQ(at.y, 50);

    ::SetCursorPos(700, 700);
    MSG leave{};
    ASSERT_TRUE(WaitForMessage(wnd.m_hWnd, WM_MOUSELEAVE, WM_MOUSELEAVE, &leave));
    EXPECT_NE(std::find(wnd.seen.begin(), wnd.seen.end(), static_cast<UINT>(WM_MOUSELEAVE)), wnd.seen.end());
}

}  // namespace
