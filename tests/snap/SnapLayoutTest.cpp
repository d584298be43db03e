// The fixed-region frame on every multi-monitor layout: the frame lands where its placement
// rule puts it among the real monitors, and the rectangle it hands out is cut to the virtual
// screen, whichever side of the primary monitor the others lie.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "CHoverButton.h"
#include "CMonitors.h"
#include "SnapTestSupport.h"

using namespace snap_test;

namespace {

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

TEST(SnapLayout, EachMonitorHoldsTheFrameAndTheVirtualScreenCutsTheHole) {
    CMonitors monitors;
    ASSERT_GE(monitors.GetCount(), 2) << "a multi-monitor layout was expected";
    std::vector<RECT> rects;
    for (int i = 0; i < monitors.GetCount(); ++i) {
        RECT r{};
        monitors.GetMonitor(i)->GetMonitorRect(r);
        rects.push_back(r);
    }
    RECT screen{};
    GetVirtualScreenRect(screen);

    struct Case { std::string what; RECT hole; RECT expected; };
    std::vector<Case> cases;
    for (size_t i = 0; i < rects.size(); ++i) {
        const RECT& m = rects[i];
        cases.push_back({"inside monitor " + std::to_string(i), {m.left + 100, m.top + 100, m.left + 500, m.top + 400},
                         {m.left + 100, m.top + 100, m.left + 500, m.top + 400}});
        // Out over the virtual screen's edge on the side of this monitor that is outermost.
        if (m.left == screen.left)
            cases.push_back({"over the left edge of monitor " + std::to_string(i),
                             {m.left - 80, m.top + 200, m.left + 300, m.top + 400},
                             {m.left, m.top + 200, m.left + 300, m.top + 400}});
        if (m.right == screen.right)
            cases.push_back({"over the right edge of monitor " + std::to_string(i),
                             {m.right - 300, m.top + 200, m.right + 80, m.top + 400},
                             {m.right - 300, m.top + 200, m.right, m.top + 400}});
    }
    for (const Case& c : cases) {
        TestSnapDlg frame;
        RECT placed{};
        frame.onShown = [&](TestSnapDlg& f) {
            placed = WindowRect(f.m_hWnd);
            f.GetOkButton()->SendMessage(BM_CLICK);
        };
        ASSERT_EQ(frame.DoModalWithRect(c.hole), IDOK) << c.what;
        EXPECT_EQ(Text(placed), Text(CSnapDlg::FrameRectForHole(c.hole, rects))) << c.what;
        // Where the OK button had no monitor the top moved: the hole's top follows.
        RECT expected = c.expected;
        expected.top = std::max<LONG>(screen.top, placed.top + 24);
        EXPECT_EQ(Text(frame.GetCaptureRect()), Text(expected)) << c.what;
    }
}

}  // namespace
