// The frame editor's strip at the session's scale and after WM_DPICHANGED to each drawn scale:
// its thumbnails are 75 pixels square and 81 apart at 100 %, times the scale (the system lays
// out the rest of the dialog from its template).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <vector>
#include "DpiTestSupport.h"
#include "FrameEditTestSupport.h"

using namespace dpi_test;
using frameedit_testing::FrameEditor;

namespace {

class ScaledFrameEditor : public FrameEditor {};

TEST_F(ScaledFrameEditor, ThumbnailsAreTheirSizeTimesTheScaleInTheirScaledPlaces) {
    AddFrames({{120, 90, RGB(200, 40, 40), 100}, {120, 90, RGB(40, 200, 40), 200}, {120, 90, RGB(40, 40, 200), 300}});
    Open();
    std::vector<UINT> scales{SessionDpi()};
    for (UINT dpi : DrawnDpis()) scales.push_back(dpi);
    bool first = true;
    for (UINT dpi : scales) {
        if (!first) SendDpiChanged(*dialog, dpi);
        testing_support::PumpMessages(20);
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        const double k = dpi / 96.0;
        int cx = 0, cy = 0;
        ASSERT_TRUE(::ImageList_GetIconSize(dialog->GetImageList(), &cx, &cy));
        EXPECT_EQ(cx, ScaleToDpi(75, dpi));
        EXPECT_EQ(cy, ScaleToDpi(75, dpi));
        HWND list = dialog->GetList().m_hWnd;
        ASSERT_EQ(ListView_GetItemCount(list), 3);
        for (int i = 0; i < 3; ++i) {
            POINT at{};
            ASSERT_TRUE(ListView_GetItemPosition(list, i, &at));
            EXPECT_NEAR(at.x, (6 + 81 * i) * k, 1) << "thumbnail " << i;
        }
        if (first) {
            EXPECT_TRUE(WriteGalleryScreen(dialog->m_hWnd, L"frame_editor"));
        }
        first = false;
    }
}

}  // namespace
