// Several monitors, as the stand-in layout library (tests/support/monitor_layout.c) reports them
// to Wine: scripts/test runs this program once per layout, naming it in TOVRIX_MONITORS.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "CMonitors.h"
#include "CScreenImage.h"
#include "TestSupport.h"

namespace {

// The layout in X screen coordinates, first monitor primary, moved so that the primary's
// top-left corner is (0, 0) as Windows places it.
std::vector<RECT> ExpectedMonitors() {
    std::vector<RECT> rects;
    const char* layout = std::getenv("TOVRIX_MONITORS");
    while (layout && *layout) {
        int w, h, x, y, used = 0;
        if (std::sscanf(layout, "%dx%d%d%d%n", &w, &h, &x, &y, &used) != 4) break;
        rects.push_back(RECT{x, y, x + w, y + h});
        layout += used;
        if (*layout == ',') ++layout;
    }
    if (!rects.empty()) {
        const RECT primary = rects.front();
        for (RECT& r : rects) ::OffsetRect(&r, -primary.left, -primary.top);
    }
    return rects;
}

class MonitorLayout : public testing::Test {
protected:
    void SetUp() override {
        expected = ExpectedMonitors();
        if (expected.size() < 2) GTEST_SKIP() << "no multi-monitor layout (TOVRIX_MONITORS)";
    }
    std::vector<RECT> expected;
};

TEST_F(MonitorLayout, EveryMonitorIsListedWithItsRectangleAndTheUnionIsTheVirtualScreen) {
    CMonitors monitors;
    ASSERT_EQ(monitors.GetCount(), static_cast<int>(expected.size()));
    RECT expectedUnion{};
    for (const RECT& want : expected) {
        ::UnionRect(&expectedUnion, &expectedUnion, &want);
        bool found = false;
        for (int i = 0; i < monitors.GetCount(); ++i) {
            RECT got;
            monitors.GetMonitor(i)->GetMonitorRect(got);
            found = found || ::EqualRect(&got, &want);
        }
        EXPECT_TRUE(found) << "no monitor at " << want.left << "," << want.top;
    }
    RECT unionRect = monitors.GetUnionRect();
    EXPECT_TRUE(::EqualRect(&unionRect, &expectedUnion));
    RECT virtualScreen;
    GetVirtualScreenRect(virtualScreen);
    EXPECT_TRUE(::EqualRect(&virtualScreen, &expectedUnion));

    // Each monitor's corner points belong to it and to no other.
    for (const RECT& want : expected) {
        const CMonitor* at = monitors.MonitorFromPoint(want.left, want.top);
        ASSERT_NE(at, nullptr);
        RECT got;
        at->GetMonitorRect(got);
        EXPECT_TRUE(::EqualRect(&got, &want));
        EXPECT_EQ(monitors.MonitorFromPoint(want.right - 1, want.bottom - 1), at);
    }
}

TEST_F(MonitorLayout, AGrabAcrossMonitorsIsOnePictureOfTheWholeRectangle) {
    RECT all{};
    for (const RECT& r : expected) ::UnionRect(&all, &all, &r);
    // Wine shifts the grabbed pixels when a monitor lies left of or above the primary.
    const bool pixelsComparable = all.left >= 0 && all.top >= 0;
    ASSERT_TRUE(testing_support::ScreenShowsPattern() || !pixelsComparable);

    // Across the edge that the primary monitor shares with the second, wherever that lies.
    const RECT& primary = expected[0];
    const RECT& second = expected[1];
    RECT across{};
    if (second.left >= primary.right)
        across = RECT{primary.right - 100, 100, primary.right + 100, 300};
    else if (second.right <= primary.left)
        across = RECT{primary.left - 100, 100, primary.left + 100, 300};
    else if (second.bottom <= primary.top)
        across = RECT{100, primary.top - 100, 300, primary.top + 100};
    else
        across = RECT{100, primary.bottom - 100, 300, primary.bottom + 100};
    RECT inside{};
    ASSERT_TRUE(::IntersectRect(&inside, &across, &all));
    ASSERT_TRUE(::EqualRect(&inside, &across)) << "the rectangle leaves the desktop";
    for (const RECT& rect : {all, across}) {
        CScreenImage picture;
        EXPECT_TRUE(picture.CaptureRect(rect));
        EXPECT_EQ(picture.GetWidth(), rect.right - rect.left);
        EXPECT_EQ(picture.GetHeight(), rect.bottom - rect.top);
        if (!pixelsComparable) continue;
        EXPECT_EQ(testing_support::CountPixelsUnlikePattern(picture, rect), 0);
    }
}

}  // namespace
