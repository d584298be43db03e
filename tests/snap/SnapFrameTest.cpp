// The fixed-region frame as a real window: where it is placed, its region (what the hole lets
// through), sizing through messages and through the size dialog, "윈도우 찾기" with a known
// window, and the rectangle handed out, clipped to the virtual screen.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "CCustomSizeDlg.h"
#include "CHoverButton.h"
#include "PickerTestSupport.h"
#include "SnapTestSupport.h"
#include "TestSupport.h"
#include "resource.h"

using namespace snap_test;
using testing_support::MessageBoxRecorder;

namespace {

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}
#define EXPECT_RECT(actual, l, t, r, b) EXPECT_EQ(Text(actual), Text(RECT{l, t, r, b}))

TEST(SnapPlacement, TheHoleCoversTheRectangleUnlessTheOkButtonWouldLeaveTheMonitors) {
    const RECT one = {0, 0, 1280, 800};
    const RECT rightOf = {1280, 0, 2560, 1024};
    const RECT above = {0, -768, 1024, 0};
    struct Case {
        const char* what;
        RECT hole;
        std::vector<RECT> monitors;
        RECT frame;
    } cases[] = {
        {"plain", {100, 100, 740, 460}, {one}, {96, 76, 744, 464}},
        {"too near the top", {100, 10, 500, 300}, {one}, {96, 0, 504, 304}},
        {"at the very top", {100, 0, 500, 300}, {one}, {96, 0, 504, 304}},
        {"flush with the right edge", {100, 100, 1280, 500}, {one}, {96, 76, 1284, 504}},
        {"tiny", {100, 100, 110, 110}, {one}, {96, 76, 149, 149}},
        {"OK button on the second monitor", {1000, 100, 1400, 500}, {one, rightOf}, {996, 76, 1404, 504}},
        {"near the top of the second monitor", {1300, 5, 1400, 500}, {one, rightOf}, {1296, 0, 1404, 504}},
        {"on the monitor above", {100, -10, 500, 300}, {one, above}, {96, -34, 504, 304}},
        {"across the top edge into the monitor above", {1100, 10, 1200, 300}, {one, above}, {1096, 0, 1204, 304}},
        {"beside every monitor", {1500, 300, 1700, 400}, {one, above}, {1496, -768, 1704, 404}},
        {"no monitors", {100, 100, 200, 200}, {}, {96, 0, 204, 204}},
    };
    for (const Case& c : cases) {
        RECT frame = CSnapDlg::FrameRectForHole(c.hole, c.monitors);
        EXPECT_EQ(Text(frame), Text(c.frame)) << c.what;
    }
}

class SnapFrame : public testing::Test {
protected:
    static HWND At(int x, int y) { return ::WindowFromPoint(POINT{x, y}); }
};

TEST_F(SnapFrame, ShowsTheHoleOverTheStoredRectangleAndHandsItBack) {
    TestSnapDlg frame;
    frame.onShown = [](TestSnapDlg& f) {
        EXPECT_RECT(WindowRect(f.m_hWnd), 96, 76, 744, 464);
        EXPECT_RECT(f.GetInnerRect(), 4, 24, 644, 384);
        EXPECT_EQ(f.GetSizeButton()->GetCaption(), L"640X360");
        EXPECT_TRUE(::GetWindowLongPtrW(f.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(::GetWindowLongPtrW(f.m_hWnd, GWL_STYLE) & WS_SYSMENU);
        // The skin's guides: title strip, buttons in it, twelve-pixel handles inside the hole.
        EXPECT_RECT(f.GetTitleRect(), 0, 1, 648, 19);
        EXPECT_RECT(WindowRect(f.GetFindButton()->m_hWnd), 100, 77, 120, 95);
        EXPECT_RECT(WindowRect(f.GetSizeButton()->m_hWnd), 120, 77, 185, 95);
        EXPECT_RECT(WindowRect(f.GetOkButton()->m_hWnd), 720, 77, 740, 95);
        EXPECT_RECT(f.GetHandleRect(0), 6, 26, 18, 38);
        EXPECT_RECT(f.GetHandleRect(1), 18 + 300, 26, 30 + 300, 38);
        EXPECT_RECT(f.GetHandleRect(4), 648 - 18, 38 + 160, 648 - 6, 50 + 160);
        EXPECT_RECT(f.GetHandleRect(7), 630, 370, 642, 382);
        EXPECT_EQ(f.GetFindButton()->GetToolTip() != nullptr, true);
        f.GetOkButton()->SendMessage(BM_CLICK);
    };
    ASSERT_EQ(frame.DoModalWithRect(RECT{100, 100, 740, 460}), IDOK);
    EXPECT_RECT(frame.GetCaptureRect(), 100, 100, 740, 460);
}

TEST_F(SnapFrame, EnterConfirmsAndEscKeepsNothing) {
    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        TestSnapDlg frame;
        frame.onShown = [&](TestSnapDlg& f) {
            // Through the frame's own loop, where the dialog keys are translated.
            HWND focus = ::GetFocus();
            ::PostMessageW(focus && ::IsChild(f.m_hWnd, focus) ? focus : f.m_hWnd, WM_KEYDOWN, key, 0);
        };
        const INT_PTR result = frame.DoModalWithRect(RECT{200, 200, 500, 400});
        if (key == VK_RETURN) {
            ASSERT_EQ(result, IDOK);
            // Enter hands the hole out in screen coordinates as the check mark does.
            EXPECT_RECT(frame.GetCaptureRect(), 200, 200, 500, 400);
        } else {
            EXPECT_EQ(result, IDCANCEL);
        }
    }
}

TEST_F(SnapFrame, TheHoleLetsThePointThroughAndTheHandlesDoNot) {
    picker_test::ColourWindow below(RECT{50, 50, 800, 500}, RGB(0, 0, 200));
    TestSnapDlg frame;
    frame.onShown = [&](TestSnapDlg& f) {
        testing_support::PumpMessages(50);
        const struct { const char* what; POINT at; bool frameThere; } cases[] = {
            {"the middle of the hole", {420, 280}, false},
            {"just inside the hole's corner, beside a handle", {100, 140}, false},
            {"the top-left handle", {108, 108}, true},
            {"the bottom handle", {420, 455}, true},
            {"the title strip", {300, 85}, true},
            {"the left border", {98, 300}, true},
            {"outside the frame", {60, 60}, false},
        };
        for (const auto& c : cases) {
            HWND there = At(c.at.x, c.at.y);
            if (c.frameThere) EXPECT_TRUE(there == f.m_hWnd || ::GetParent(there) == f.m_hWnd) << c.what;
            else EXPECT_EQ(there, below.Handle()) << c.what;
        }
        f.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(frame.DoModalWithRect(RECT{100, 100, 740, 460}), IDCANCEL);
}

TEST_F(SnapFrame, HandlesChangeThePointerAndStartTheSystemsSizing) {
    TestSnapDlg frame;
    frame.onShown = [](TestSnapDlg& f) {
        const struct { int handle; const wchar_t* cursor; int hitTest; } cases[] = {
            {0, IDC_SIZENWSE, HTTOPLEFT},  {1, IDC_SIZENS, HTTOP},     {2, IDC_SIZENESW, HTTOPRIGHT},
            {3, IDC_SIZEWE, HTLEFT},       {4, IDC_SIZEWE, HTRIGHT},   {5, IDC_SIZENESW, HTBOTTOMLEFT},
            {6, IDC_SIZENS, HTBOTTOM},     {7, IDC_SIZENWSE, HTBOTTOMRIGHT},
        };
        for (const auto& c : cases) {
            const RECT& h = f.GetHandleRect(c.handle);
            const POINT mid{(h.left + h.right) / 2, (h.top + h.bottom) / 2};
            f.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(mid.x, mid.y));
            EXPECT_EQ(f.GetHoveredHandle(), c.handle);
            f.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(f.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, c.cursor)) << c.handle;
            // The press is handed to the system as a press on that edge of a sizing frame.
            f.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(mid.x, mid.y));
            MSG posted{};
            ASSERT_TRUE(::PeekMessageW(&posted, f.m_hWnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
            EXPECT_EQ(posted.wParam, static_cast<WPARAM>(c.hitTest));
            POINT screen = mid;
            ::ClientToScreen(f.m_hWnd, &screen);
            EXPECT_EQ(posted.lParam, MAKELPARAM(screen.x, screen.y));
        }
        f.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
        EXPECT_EQ(f.GetHoveredHandle(), -1);
        f.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 10));
        MSG posted{};
        ASSERT_TRUE(::PeekMessageW(&posted, f.m_hWnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(posted.wParam, static_cast<WPARAM>(HTCAPTION));
        f.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(frame.DoModalWithRect(RECT{100, 100, 740, 460}), IDCANCEL);
}

// Real mouse input: a drag on a handle resizes through the system's sizing loop, a drag on the
// title strip moves the frame. Each step waits until the frame shows it: the loop runs on the
// frame's thread, the input comes from another.
bool InMoveSizeLoop(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
}

TEST_F(SnapFrame, DraggingAHandleOrTheTitleStripSizesOrMovesTheFrame) {
    struct Case {
        const char* what;
        POINT from;
        POINT to;
        RECT halfway;
        RECT expected;
    } cases[] = {
        {"the bottom-right handle", {732, 452}, {832, 502}, {96, 76, 794, 489}, {96, 76, 844, 514}},
        {"the title strip", {400, 85}, {450, 125}, {121, 96, 769, 484}, {146, 116, 794, 504}},
    };
    for (const Case& c : cases) {
        TestSnapDlg frame;
        HWND frameWindow = nullptr;
        const DWORD thread = ::GetCurrentThreadId();
        bool reached = false;
        std::unique_ptr<picker_test::InputScript> script;
        frame.onShown = [&](TestSnapDlg& f) {
            frameWindow = f.m_hWnd;
            script = std::make_unique<picker_test::InputScript>([&] {
                auto shows = [&](const RECT& r) {
                    return [&] {
                        RECT now = WindowRect(frameWindow);
                        return ::EqualRect(&now, &r) != FALSE;
                    };
                };
                picker_test::MoveTo(c.from.x, c.from.y);
                picker_test::PressLeft();
                if (picker_test::WaitUntil([&] { return InMoveSizeLoop(thread); }) &&
                    picker_test::MoveUntil((c.from.x + c.to.x) / 2, (c.from.y + c.to.y) / 2, shows(c.halfway)) &&
                    picker_test::MoveUntil(c.to.x, c.to.y, shows(c.expected))) {
                    reached = true;
                }
                picker_test::ReleaseLeft();
                picker_test::WaitUntil([&] { return !InMoveSizeLoop(thread); });
                ::PostMessageW(frameWindow, WM_COMMAND, IDCANCEL, 0);
            });
        };
        EXPECT_EQ(frame.DoModalWithRect(RECT{100, 100, 740, 460}), IDCANCEL) << c.what;
        script.reset();
        EXPECT_TRUE(reached) << c.what << ": " << Text(WindowRect(frameWindow));
    }
}

TEST_F(SnapFrame, ResizingRebuildsHoleHandlesButtonsAndRegion) {
    TestSnapDlg frame;
    frame.onShown = [](TestSnapDlg& f) {
        MINMAXINFO limits{};
        f.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, 53);
        EXPECT_EQ(limits.ptMinTrackSize.y, 73);

        ::SetWindowPos(f.m_hWnd, nullptr, 0, 0, 53, 73, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_RECT(WindowRect(f.m_hWnd), 96, 76, 149, 149);
        EXPECT_RECT(f.GetInnerRect(), 4, 24, 49, 69);
        EXPECT_EQ(f.GetSizeButton()->GetCaption(), L"45X45");
        EXPECT_RECT(WindowRect(f.GetOkButton()->m_hWnd), 96 + 29, 77, 96 + 49, 95);

        ::SetWindowPos(f.m_hWnd, nullptr, 0, 0, 808, 628, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(f.GetSizeButton()->GetCaption(), L"800X600");
        EXPECT_RECT(f.GetHandleRect(7), 808 - 18, 628 - 18, 808 - 6, 628 - 6);
        // The region follows: the new hole lets through, the moved handle does not.
        EXPECT_NE(At(96 + 404, 76 + 324), f.m_hWnd);
        HWND handle = At(96 + 796, 76 + 616);
        EXPECT_EQ(handle, f.m_hWnd);
        f.GetOkButton()->SendMessage(BM_CLICK);
    };
    ASSERT_EQ(frame.DoModalWithRect(RECT{100, 100, 740, 460}), IDOK);
    EXPECT_RECT(frame.GetCaptureRect(), 100, 100, 900, 700);
}

TEST_F(SnapFrame, TheSizeDialogSetsTheHoleExactlyKeepingTheTopLeftCorner) {
    MessageBoxRecorder boxes;
    TestSnapDlg frame;
    frame.onShown = [&](TestSnapDlg& f) {
        // A height under the minimum is refused and the frame keeps its size.
        f.Later([] {
            CCustomSizeDlg* size = FindWindowObject<CCustomSizeDlg>();
            ASSERT_NE(size, nullptr);
            EXPECT_EQ(size->GetDlgItemText(IDC_SIZE_WIDTH), L"640");
            EXPECT_EQ(size->GetDlgItemText(IDC_SIZE_HEIGHT), L"360");
            size->SetDlgItemText(IDC_SIZE_HEIGHT, L"30");
            size->SendMessage(WM_COMMAND, IDOK);
            EXPECT_TRUE(size->IsWindow());
            size->SendMessage(WM_COMMAND, IDCANCEL);
        });
        f.GetSizeButton()->SendMessage(BM_CLICK);
        EXPECT_RECT(f.GetInnerRect(), 4, 24, 644, 384);

        f.Later([] {
            CCustomSizeDlg* size = FindWindowObject<CCustomSizeDlg>();
            ASSERT_NE(size, nullptr);
            ::SendMessageW(size->GetDlgItem(1091), BM_CLICK, 0, 0);
            size->SendMessage(WM_COMMAND, IDOK);
        });
        f.GetSizeButton()->SendMessage(BM_CLICK);
        EXPECT_EQ(f.GetSizeButton()->GetCaption(), L"1024X567");
        RECT window = WindowRect(f.m_hWnd);
        EXPECT_EQ(window.left, 96);
        EXPECT_EQ(window.top, 76);
        f.GetOkButton()->SendMessage(BM_CLICK);
    };
    ASSERT_EQ(frame.DoModalWithRect(RECT{100, 100, 740, 460}), IDOK);
    EXPECT_RECT(frame.GetCaptureRect(), 100, 100, 1124, 667);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], L"45에서 10000 사이의 정수를 입력하십시오.");
}

TEST_F(SnapFrame, TheCaptureRectangleIsClippedToTheVirtualScreen) {
    RECT screen{};
    screen.left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    screen.top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    screen.right = screen.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    struct Case { const char* what; RECT hole; RECT expected; } cases[] = {
        {"sticking out on the left", {screen.left - 100, 300, screen.left + 400, 500},
         {screen.left, 300, screen.left + 400, 500}},
        {"wholly beside the screen", {screen.right + 100, 300, screen.right + 500, 500}, {0, 0, 0, 0}},
        // Larger than the screen: its top moves to a monitor's top (the OK button's place lies
        // on no monitor), and what is left is cut to the screen.
        {"larger than the screen", {screen.left - 50, screen.top - 50, screen.right + 50, screen.bottom + 50},
         {screen.left, screen.top + 24, screen.right, screen.bottom}},
    };
    for (const Case& c : cases) {
        TestSnapDlg frame;
        frame.onShown = [](TestSnapDlg& f) { f.GetOkButton()->SendMessage(BM_CLICK); };
        ASSERT_EQ(frame.DoModalWithRect(c.hole), IDOK) << c.what;
        EXPECT_EQ(Text(frame.GetCaptureRect()), Text(c.expected)) << c.what;
    }
}

TEST_F(SnapFrame, FindWindowFitsTheHoleAroundThePickedWindow) {
    ASSERT_TRUE(picker_test::WaitUntil([] { return testing_support::ScreenShowsPattern(); }))
        << "the known screen is not shown";
    picker_test::ColourWindow known(RECT{300, 250, 900, 650}, RGB(0, 160, 0));
    TestSnapDlg frame;
    bool hiddenWhilePicking = false;
    frame.onShown = [&](TestSnapDlg& f) {
        picker_test::InputScript script([&] {
            HWND picker = picker_test::WaitForPicker();
            if (!picker) return;
            hiddenWhilePicking = !::IsWindowVisible(f.m_hWnd);
            picker_test::MoveTo(598, 448);
            picker_test::MoveTo(600, 450);
            picker_test::PressLeft();
            picker_test::ReleaseLeft();
        });
        f.GetFindButton()->SendMessage(BM_CLICK);
        EXPECT_TRUE(f.IsWindowVisible());
        f.GetOkButton()->SendMessage(BM_CLICK);
    };
    ASSERT_EQ(frame.DoModalWithRect(RECT{50, 50, 250, 200}), IDOK);
    EXPECT_TRUE(hiddenWhilePicking);
    EXPECT_RECT(frame.GetCaptureRect(), 300, 250, 900, 650);
}

}  // namespace
