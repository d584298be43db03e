// The editor's toolbar on several monitors, as the stand-in layout library reports them to Wine
// (scripts/test runs this program once per layout): it goes directly above the capture where
// a monitor is there, also one above the primary monitor at negative coordinates, and wherever
// it goes it lies wholly on a monitor.
#include <gtest/gtest.h>
#include "ScriptedEditor.h"

using editor_test::MakePicture;
using editor_test::ScriptedEditor;

namespace {

bool OnAMonitor(POINT p) {
    return ::MonitorFromPoint(p, MONITOR_DEFAULTTONULL) != nullptr;
}

// The toolbar's rectangle while an editor covers `rect`.
RECT ToolbarBeside(const RECT& rect) {
    CScreenImage picture;
    MakePicture(picture, rect, RGB(255, 255, 255));
    ScriptedEditor editor(picture, rect);
    RECT bar{};
    editor.Then([&](ScriptedEditor& e) {
        if (e.GetPenToolbar()) e.GetPenToolbar()->GetWindowRect(&bar);
    });
    editor.Run();
    return bar;
}

TEST(EditorOnSeveralMonitors, TheToolbarGoesAboveTheCaptureWhereAMonitorIsThere) {
    if (::GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "one monitor";
    // Near the top of the primary monitor, where the toolbar does not fit above on the primary
    // itself; and reaching down to its bottom, where it fits neither above nor below on it.
    const int bottom = ::GetSystemMetrics(SM_CYSCREEN);
    const RECT rects[] = {{100, 20, 500, 300}, {100, 20, 500, bottom - 10}};
    for (const RECT& rect : rects) {
        const RECT bar = ToolbarBeside(rect);
        const int height = bar.bottom - bar.top;
        ASSERT_GT(height, 20) << "no toolbar";
        EXPECT_EQ(bar.left, rect.left);
        for (POINT corner : {POINT{bar.left, bar.top}, POINT{bar.right - 1, bar.bottom - 1}})
            EXPECT_TRUE(OnAMonitor(corner)) << "toolbar off the monitors at " << corner.x << ", " << corner.y;
        const bool monitorAbove = OnAMonitor(POINT{rect.left, rect.top - height});
        const bool fitsBelow = rect.bottom + height <= bottom;
        if (monitorAbove) {
            EXPECT_EQ(bar.bottom, rect.top) << "the monitor above the primary was not used";
        } else if (fitsBelow) {
            EXPECT_EQ(bar.top, rect.bottom);
        } else {
            EXPECT_EQ(bar.top, 0);
        }
    }
}

}  // namespace
