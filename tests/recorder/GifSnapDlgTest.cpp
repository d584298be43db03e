// The recording frame window on the screen: its geometry from the nine-patch, its region (the
// border, handles and the move symbol's visible pixels are the window; the hole and the key
// colour are not), real mouse drags that move and size it, the recording look, the area caption
// and the frames it grabs for the recording store.
#include <windows.h>
#include <gtest/gtest.h>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>
#include "CGifRecording.h"
#include "CGifSnapDlg.h"
#include "CScreenImage.h"
#include "RecorderTestSupport.h"
#include "TestInput.h"
#include "TestSupport.h"
#include "WindowMessages.h"

using namespace recorder_testing;
using testing_support::PatternColor;
using testing_support::PumpMessages;
using testing_support::WaitUntil;

namespace {

// Drags with the left button from `from` to `to` on another thread, while this thread pumps: the
// system's move and size loop runs inside this thread's message handling. Each step goes out once
// this thread has taken the last. Under Wine a button released over a window of another program
// never reaches that loop (the frame's hole shows such a window), so a drag that did not end is
// ended with Esc instead of hanging the test.
bool Drag(HWND hwnd, POINT from, POINT to, const std::function<bool()>& done) {
    testing_support::MouseDelivery delivery(hwnd);
    std::atomic<bool> finished{false};
    std::thread script([from, to, hwnd, &finished, &delivery] {
        delivery.MoveTo(from);
        delivery.Press(from);
        delivery.Settle();
        for (int step = 1; step <= 5; ++step)
            delivery.MoveTo(POINT{from.x + (to.x - from.x) * step / 5, from.y + (to.y - from.y) * step / 5});
        delivery.Release(to);
        for (int i = 0; i < 100 && !finished.load(); ++i) ::Sleep(50);
        if (!finished.load()) ::PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    const bool reached = WaitUntil(done);
    finished.store(true);
    script.join();
    PumpMessages(100);
    return reached;
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

bool InRegion(HWND hwnd, POINT windowPoint) {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const bool has = ::GetWindowRgn(hwnd, region) != ERROR;
    const bool inside = has && ::PtInRegion(region, windowPoint.x, windowPoint.y);
    ::DeleteObject(region);
    return inside;
}

class SnapWindow : public ::testing::Test {
protected:
    void SetUp() override {
        // Asked before the frame covers part of it.
        patternShown = testing_support::ScreenShowsPattern();
        owner = std::make_unique<ScriptedFrameSource>([](int, CGifFrameImage&, const GifCaptureOptions&) {});
        ASSERT_TRUE(snap.Create(nullptr, area));
        snap.SetOwner(owner->Hwnd());
        snap.ShowWindow(SW_SHOWNOACTIVATE);
        PumpMessages(200);
    }
    // The screen pixels of a rectangle, as the display shows them now.
    COLORREF ScreenPixel(POINT p) {
        CScreenImage image;
        RECT r{p.x, p.y, p.x + 1, p.y + 1};
        return image.CaptureRect(r) ? image.PixelAt(0, 0) : CLR_INVALID;
    }
    const RECT area{300, 200, 700, 500};
    bool patternShown = false;
    std::unique_ptr<ScriptedFrameSource> owner;
    CGifSnapDlg snap;
};

TEST_F(SnapWindow, TheHoleIsTheAreaAndTheHandlesFollowTheNinePatch) {
    const RECT captured = snap.GetCaptureRect();
    EXPECT_TRUE(::EqualRect(&area, &captured));
    const RECT window = WindowRect(snap.m_hWnd);
    EXPECT_EQ(RECT({296, 196, 704, 504}).left, window.left);
    EXPECT_EQ(408, window.right - window.left);
    EXPECT_EQ(308, window.bottom - window.top);
    EXPECT_EQ(L"400X300", CGifSnapDlg::AreaCaption(captured));

    // For a W x H client the stretched columns share W - 63, the first taking the odd pixel.
    const int W = 408, H = 308;
    const int s = (W - 63 + 1) / 2, t = (H - 63 + 1) / 2;
    const RECT expected[] = {
        {6, 6, 18, 18},           {26 + s, 6, 38 + s, 18},           {W - 18, 6, W - 6, 18},
        {6, 25 + t, 18, 37 + t},  {W - 18, 25 + t, W - 6, 37 + t},
        {6, H - 18, 18, H - 6},   {26 + s, H - 18, 38 + s, H - 6},   {W - 18, H - 18, W - 6, H - 6},
    };
    for (int i = 0; i < CGifSnapDlg::kHandles; ++i) {
        const RECT& got = snap.GetHandleRect(i);
        EXPECT_TRUE(::EqualRect(&expected[i], &got)) << "handle " << i << ": " << got.left << "," << got.top
                                                     << "," << got.right << "," << got.bottom;
    }
    const RECT centre{18 + s, 18 + t, 45 + s, 45 + t};
    EXPECT_TRUE(::EqualRect(&centre, &snap.GetCentreRect()));
}

TEST_F(SnapWindow, TheRegionHoldsTheFrameTheHandlesAndTheSymbolButNotTheHole) {
    const RECT& c = snap.GetCentreRect();
    struct Case {
        const char* what;
        POINT point;  // window coordinates
        bool inside;
    } cases[] = {
        {"border", {1, 150}, true},
        {"top-left handle", {10, 10}, true},
        {"bottom-right handle", {408 - 10, 308 - 10}, true},
        {"hole between handles", {60, 150}, false},
        {"key colour beside a handle", {20, 20}, false},
        {"middle of the hole", {100, 250}, false},
        {"symbol's corner (key colour)", {c.left, c.top}, false},
        {"symbol's middle", {(c.left + c.right) / 2, (c.top + c.bottom) / 2}, true},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(k.inside, InRegion(snap.m_hWnd, k.point)) << k.what;
        if (k.inside) {
            snap.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(k.point.x, k.point.y));
            const bool onHandle = k.point.x == 10 || k.point.x == 398;
            EXPECT_EQ(onHandle, snap.GetHoverPart() != CGifSnapDlg::Frame) << k.what;
        }
        // And the window manager agrees: outside the region the window beneath gets the point.
        POINT screen{296 + k.point.x, 196 + k.point.y};
        EXPECT_EQ(k.inside, ::WindowFromPoint(screen) == snap.m_hWnd) << k.what;
    }
}

TEST_F(SnapWindow, TheLooksShowOnTheScreen) {
    EXPECT_EQ(RGB(163, 0, 187), ScreenPixel(POINT{297, 350}));
    snap.ShowRecordingLook();
    PumpMessages(200);
    EXPECT_TRUE(snap.IsRecordingLook());
    EXPECT_EQ(RGB(255, 255, 0), ScreenPixel(POINT{297, 350}));
    EXPECT_FALSE(InRegion(snap.m_hWnd, POINT{10, 10}));  // the handles are gone
    EXPECT_TRUE(InRegion(snap.m_hWnd, POINT{2, 2}));
    const RECT& c = snap.GetCentreRect();
    EXPECT_FALSE(InRegion(snap.m_hWnd, POINT{(c.left + c.right) / 2, (c.top + c.bottom) / 2}));
    snap.ShowIdleLook();
    PumpMessages(200);
    EXPECT_FALSE(snap.IsRecordingLook());
    EXPECT_EQ(RGB(163, 0, 187), ScreenPixel(POINT{297, 350}));
    EXPECT_TRUE(InRegion(snap.m_hWnd, POINT{10, 10}));
}

TEST_F(SnapWindow, EverySizeChangeTellsTheOwner) {
    ASSERT_TRUE(snap.SetWindowPos(nullptr, 100, 100, 265, 165, SWP_NOZORDER | SWP_NOACTIVATE));
    PumpMessages();
    EXPECT_EQ(1u, owner->Received(WM_GIF_AREA_CHANGED).size());
    EXPECT_EQ(L"257X157", CGifSnapDlg::AreaCaption(snap.GetCaptureRect()));
    const RECT& bottomRight = snap.GetHandleRect(CGifSnapDlg::BottomRight);
    EXPECT_EQ(265 - 18, bottomRight.left);
}

TEST_F(SnapWindow, DraggingAHandleSizesAndDraggingTheBorderMoves) {
    // The bottom-right handle, 40 pixels right and 30 down.
    const RECT before = WindowRect(snap.m_hWnd);
    ASSERT_TRUE(Drag(snap.m_hWnd, POINT{before.right - 12, before.bottom - 12}, POINT{before.right + 28, before.bottom + 18},
                     [&] { return WindowRect(snap.m_hWnd).right == before.right + 40; }));
    RECT after = WindowRect(snap.m_hWnd);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.bottom + 30, after.bottom);
    EXPECT_EQ(L"440X330", CGifSnapDlg::AreaCaption(snap.GetCaptureRect()));
    EXPECT_FALSE(owner->Received(WM_GIF_AREA_CHANGED).empty());

    // The left border: the whole frame moves, its size stays.
    ASSERT_TRUE(Drag(snap.m_hWnd, POINT{after.left + 1, after.top + 100}, POINT{after.left - 49, after.top + 120},
                     [&] { return WindowRect(snap.m_hWnd).left == after.left - 50; }));
    const RECT moved = WindowRect(snap.m_hWnd);
    EXPECT_EQ(after.top + 20, moved.top);
    EXPECT_EQ(after.right - after.left, moved.right - moved.left);
}

TEST_F(SnapWindow, TheSmallestFrameRecordsA57By57Area) {
    MINMAXINFO limits{};
    snap.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(CGifSnapDlg::kMinimumSize, limits.ptMinTrackSize.x);
    EXPECT_EQ(CGifSnapDlg::kMinimumSize, limits.ptMinTrackSize.y);
    // The smallest frame the system lets the user make leaves a 57 x 57 area.
    ASSERT_TRUE(snap.SetCaptureRect(RECT{100, 100, 110, 110}));
    EXPECT_EQ(L"57X57", CGifSnapDlg::AreaCaption(snap.GetCaptureRect()));
}

TEST_F(SnapWindow, ItGrabsWhatLiesUnderTheHole) {
    if (!patternShown) {
        if (std::getenv("TOVRIX_PATTERN")) FAIL() << "the known screen is missing";
        GTEST_SKIP() << "no known screen";
    }
    snap.ShowRecordingLook();
    PumpMessages(200);
    CGifRecording recording;
    recording.SetFrameWindow(snap.m_hWnd);
    GifRecordingSettings settings;
    RecordFor(recording, settings, 300);
    ASSERT_EQ(1u, recording.GetFrames().size());
    const auto picture = recorder_testing::Rebuilt(recording, 0);
    const CGifFrameImage& frame = *picture;
    EXPECT_EQ(400, frame.GetWidth());
    EXPECT_EQ(300, frame.GetHeight());
    EXPECT_EQ(0, testing_support::CountPixelsUnlikePattern(frame, area));

    // With the cursor asked for, the arrow is drawn only while the pointer is inside the area.
    settings.capture.cursor = true;
    struct Case {
        POINT pointer;
        bool drawn;
    } cases[] = {{{20, 20}, false}, {{500, 350}, true}};
    for (const Case& c : cases) {
        ::SetCursorPos(c.pointer.x, c.pointer.y);
        RecordFor(recording, settings, 100);
        ASSERT_EQ(1u, recording.GetFrames().size());
        EXPECT_EQ(c.drawn, testing_support::CountPixelsUnlikePattern(*recorder_testing::Rebuilt(recording, 0), area) > 0)
            << c.pointer.x;
    }
}

// A grab that cannot read the screen (a locked or secure desktop) leaves pixels nobody drew: that
// attempt keeps no frame and its slot is missed, not added to the frame before it. Wine never
// fails such a copy, so the frame window is given a grab that fails as the system's would: with
// a bitmap of whatever colour and FALSE.
TEST_F(SnapWindow, AGrabThatCannotReadTheScreenKeepsNoFrame) {
    const COLORREF red = RGB(200, 0, 0), blue = RGB(0, 0, 200), undrawn = RGB(0, 255, 0);
    int attempt = 0;
    snap.SetGrab([&](CGifFrameImage& frame, const RECT&, const GifCaptureOptions&) {
        const int now = attempt++;
        FillSolid(frame, 40, 30, now == 0 ? red : now == 1 ? undrawn : blue);
        return now == 1 ? FALSE : TRUE;
    });
    CGifRecording recording;
    recording.SetFrameWindow(snap.m_hWnd);
    RecordFor(recording, GifRecordingSettings{}, 500);  // attempts at 0, 100, 200, 300, 400 ms

    EXPECT_EQ(5, attempt);
    ASSERT_EQ(2u, recording.GetFrames().size());
    EXPECT_EQ(red, recorder_testing::Rebuilt(recording, 0)->PixelAt(5, 5));
    EXPECT_EQ(blue, recorder_testing::Rebuilt(recording, 1)->PixelAt(5, 5));
    EXPECT_EQ(100u, recording.GetFrames()[0]->delay);  // its own slot only: the next one was missed
    EXPECT_EQ(200u, recording.GetFrames()[1]->delay);
    EXPECT_EQ(1, recording.GetFailedGrabs());
    EXPECT_EQ(0, recording.GetStopReason());
}

}  // namespace
