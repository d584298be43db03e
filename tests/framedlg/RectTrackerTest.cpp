// The framework's rubber-band tracker on a plain window of its own, with handles inside and real
// mouse input: what Track returns, the rectangle it leaves (always normalised), and what it draws.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "CRectTracker.h"
#include "DeviceContext.h"
#include "FrameDlgTestSupport.h"
#include "MessageArgs.h"

using framedlg_test::Canvas;
using framedlg_test::Host;
using framedlg_test::MouseDrag;
using framedlg_test::ReadClient;

namespace {

// A window that tracks on every left-button press and paints the tracker on white.
class TrackerWindow : public Host {
public:
    explicit TrackerWindow(const RECT& screen) : Host(screen) {}
    CRectTracker tracker;
    std::vector<BOOL> results;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_LBUTTONDOWN:
            results.push_back(tracker.Track(m_hWnd, MousePoint(lParam)));
            return 0;
        case WM_PAINT: {
            CPaintDC dc(m_hWnd);
            RECT client{};
            GetClientRect(&client);
            ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            tracker.Draw(dc);
            return 0;
        }
        case WM_ERASEBKGND:
            return TRUE;
        }
        return Host::WindowProc(msg, wParam, lParam);
    }
};

std::string Show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(RectTracker, TrackReturnsWhetherTheRectangleChangedAndLeavesItNormalised) {
    TrackerWindow window(RECT{200, 150, 500, 400});
    // Given turned over: the tracker works on the normalised rectangle.
    window.tracker = CRectTracker(RECT{150, 120, 50, 50}, CRectTracker::solidLine | CRectTracker::resizeInside);
    window.Invalidate(FALSE);
    struct Drag {
        const char* what;
        POINT from, to;
        bool escape;
        BOOL result;
        RECT after;
    };
    const Drag drags[] = {
        {"a press without a move", {100, 85}, {100, 85}, false, FALSE, {50, 50, 150, 120}},
        {"the middle", {100, 85}, {110, 90}, false, TRUE, {60, 55, 160, 125}},
        {"the bottom-right handle inside the corner", {156, 121}, {176, 131}, false, TRUE, {60, 55, 180, 135}},
        {"the left handle past the right edge", {63, 92}, {250, 92}, false, TRUE, {179, 55, 180, 135}},
        {"Esc halfway", {179, 95}, {100, 60}, true, FALSE, {179, 55, 180, 135}},
    };
    for (const Drag& d : drags) {
        SCOPED_TRACE(d.what);
        POINT from = d.from, to = d.to;
        window.ClientToScreen(&from);
        window.ClientToScreen(&to);
        const size_t before = window.results.size();
        MouseDrag drag(window.m_hWnd, from, to, d.escape);
        ASSERT_TRUE(drag.Wait());
        ASSERT_EQ(window.results.size(), before + 1);
        EXPECT_EQ(window.results.back(), d.result);
        EXPECT_TRUE(::EqualRect(&window.tracker.m_rect, &d.after)) << Show(window.tracker.m_rect);
    }
}

TEST(RectTracker, HandlesInsideLieWithinTheRectangleAndTheOutlineOnIt) {
    TrackerWindow window(RECT{200, 150, 500, 400});
    window.tracker = CRectTracker(RECT{40, 30, 140, 110}, CRectTracker::solidLine | CRectTracker::resizeInside);
    RECT whole{};
    window.tracker.GetTrueRect(&whole);
    EXPECT_TRUE(::EqualRect(&whole, &window.tracker.m_rect)) << Show(whole);
    struct Hit {
        POINT at;
        int hit;
    };
    const Hit hits[] = {{{40, 30}, CRectTracker::hitTopLeft},     {{139, 30}, CRectTracker::hitTopRight},
                        {{139, 109}, CRectTracker::hitBottomRight}, {{40, 109}, CRectTracker::hitBottomLeft},
                        {{90, 32}, CRectTracker::hitTop},         {{137, 70}, CRectTracker::hitRight},
                        {{90, 107}, CRectTracker::hitBottom},     {{42, 70}, CRectTracker::hitLeft},
                        {{90, 70}, CRectTracker::hitMiddle},      {{39, 70}, CRectTracker::hitNothing},
                        {{140, 110}, CRectTracker::hitNothing}};
    for (const Hit& h : hits) EXPECT_EQ(window.tracker.HitTest(h.at), h.hit) << h.at.x << "," << h.at.y;

    Canvas shown(300, 250);
    ReadClient(window.m_hWnd, shown);
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    EXPECT_EQ(shown.At(40, 70), black);   // outline
    EXPECT_EQ(shown.At(139, 40), black);  // outline under the top-right handle's column
    EXPECT_EQ(shown.At(43, 33), black);   // top-left handle
    EXPECT_EQ(shown.At(90, 70), white);   // inside
    EXPECT_EQ(shown.At(38, 70), white);   // nothing outside
    EXPECT_EQ(shown.At(90, 112), white);
}

}  // namespace
