// The monitor list and the desktop rectangles on the test display.
#include <gtest/gtest.h>
#include "CMonitors.h"

namespace {

TEST(Monitors, ListsEveryMonitorAndTheirUnion) {
    CMonitors monitors;
    ASSERT_EQ(monitors.GetCount(), ::GetSystemMetrics(SM_CMONITORS));
    ASSERT_GE(monitors.GetCount(), 1);

    RECT expected{};
    for (int i = 0; i < monitors.GetCount(); ++i) {
        RECT rect;
        ASSERT_TRUE(monitors.GetMonitor(i)->GetMonitorRect(rect));
        ::UnionRect(&expected, &expected, &rect);
        std::wstring name;
        ASSERT_TRUE(monitors.GetMonitor(i)->GetDeviceName(name));
        EXPECT_EQ(name.rfind(L"\\\\.\\DISPLAY", 0), 0u) << name.c_str();
        EXPECT_EQ(monitors.IndexOf(monitors.GetMonitor(i)), i);
    }
    RECT unionRect = monitors.GetUnionRect();
    EXPECT_TRUE(::EqualRect(&unionRect, &expected));

    // On a desktop without gaps the union is the virtual screen.
    RECT virtualScreen;
    GetVirtualScreenRect(virtualScreen);
    EXPECT_TRUE(::EqualRect(&unionRect, &virtualScreen));
}

TEST(Monitors, IndexesOutsideTheListGiveNoMonitor) {
    CMonitors monitors;
    EXPECT_EQ(monitors.GetMonitor(-1), nullptr);
    EXPECT_EQ(monitors.GetMonitor(monitors.GetCount()), nullptr);
    CMonitor stranger(nullptr);
    EXPECT_EQ(monitors.IndexOf(&stranger), -1);
}

TEST(Monitors, ContainsPointIncludesLeftTopAndExcludesRightBottom) {
    CMonitors monitors;
    const CMonitor* first = monitors.GetMonitor(0);
    RECT r;
    ASSERT_TRUE(first->GetMonitorRect(r));
    EXPECT_TRUE(first->ContainsPoint(r.left, r.top));
    EXPECT_TRUE(first->ContainsPoint(r.right - 1, r.bottom - 1));
    EXPECT_FALSE(first->ContainsPoint(r.right, r.top));
    EXPECT_FALSE(first->ContainsPoint(r.left, r.bottom));
    EXPECT_FALSE(first->ContainsPoint(r.left - 1, r.top));
    EXPECT_EQ(monitors.MonitorFromPoint(r.left, r.top), first);
    RECT all = monitors.GetUnionRect();
    EXPECT_EQ(monitors.MonitorFromPoint(all.right, all.bottom), nullptr);
}

}  // namespace
