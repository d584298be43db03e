// The pickers on multi-monitor desktops (scripts/test runs this program once per stand-in
// layout): both cover every monitor, including one left of or above the primary, hand out screen
// coordinates, and cut the pixels that the screen showed there.
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>
#include "CCutControl.h"
#include "CCutRegion.h"
#include "CMonitors.h"
#include "PickerTestSupport.h"
#include "TestSupport.h"

using namespace picker_test;

namespace {

// The pixels of two pictures of the same size that differ.
int CountDifferentPixels(const CImage& a, const CImage& b) {
    std::vector<uint32_t> first, second;
    if (!a.ReadPixels(first) || !b.ReadPixels(second) || first.size() != second.size()) return -1;
    int different = 0;
    for (size_t i = 0; i < first.size(); ++i) different += (first[i] & 0xFFFFFF) != (second[i] & 0xFFFFFF);
    return different;
}

class PickerLayout : public testing::Test {
protected:
    void SetUp() override {
        CMonitors monitors;
        if (monitors.GetCount() < 2) GTEST_SKIP() << "one monitor only";
        for (int i = 0; i < monitors.GetCount(); ++i) {
            RECT r;
            monitors.GetMonitor(i)->GetMonitorRect(r);
            if (r.left == 0 && r.top == 0) primary = r; else second = r;
        }
        GetVirtualScreenRect(screen);
        // Wine 8 shifts the pixels it grabs when a monitor lies left of or above the primary:
        // there the cut is compared with what the same grab of the same rectangle gives.
        pixelsAsPattern = screen.left >= 0 && screen.top >= 0;
        ASSERT_TRUE(WaitUntil([] { return testing_support::ScreenShowsPattern(); }) || !pixelsAsPattern);
    }
    // Before a picker opens on `rect`: the screen settled there, and what a plain grab gives.
    void Before(const RECT& rect) {
        if (pixelsAsPattern) {
            EXPECT_TRUE(WaitForPatternAt(rect));
        } else {
            testing_support::PumpMessages(100);  // this thread's windows repaint
            EXPECT_TRUE(grab.CaptureRect(rect));
        }
    }
    // What the cut must show: the known screen, or the same grab where Wine shifts pixels.
    void ExpectScreenPixels(const CScreenImage& cut, const RECT& rect, const char* what) {
        if (pixelsAsPattern)
            EXPECT_EQ(testing_support::CountPixelsUnlikePattern(cut, rect), 0) << what;
        else
            EXPECT_EQ(CountDifferentPixels(cut, grab), 0) << what;
    }
    CScreenImage grab;
    RECT primary{}, second{}, screen{};
    bool pixelsAsPattern = true;
};

TEST_F(PickerLayout, TheRegionPickerCoversEveryMonitorAndCutsInScreenCoordinates) {
    const RECT onSecond{second.left + 200, second.top + 150, second.left + 520, second.top + 390};
    // Across the edge the two monitors share.
    RECT across{};
    if (second.left >= primary.right || second.right <= primary.left) {
        const int edge = second.left >= primary.right ? primary.right : primary.left;
        across = RECT{edge - 60, 300, edge + 80, 420};
    } else {
        const int edge = second.top >= primary.bottom ? primary.bottom : primary.top;
        across = RECT{300, edge - 60, 440, edge + 80};
    }
    for (const RECT& want : {onSecond, across}) {
        Before(want);
        CCutRegion picker;
        INT_PTR result;
        {
            InputScript script([&] {
                HWND window = WaitForPicker();
                if (!window) return;
                RECT covered;
                ::GetWindowRect(window, &covered);
                if (!::EqualRect(&covered, &screen)) return;  // cancelled: the test fails below
                MoveTo(want.right + 3, want.bottom + 3);
                Drag(POINT{want.right, want.bottom}, POINT{want.left, want.top});
            });
            result = picker.DoModal();
        }
        ASSERT_EQ(result, IDOK);
        RECT got = picker.GetSelectedRect();
        EXPECT_TRUE(::EqualRect(&got, &want))
            << got.left << "," << got.top << "-" << got.right << "," << got.bottom;
        CScreenImage cut;
        ASSERT_TRUE(picker.CopySelectedImage(cut));
        EXPECT_EQ(cut.GetWidth(), want.right - want.left);
        EXPECT_EQ(cut.GetHeight(), want.bottom - want.top);
        ExpectScreenPixels(cut, want, "region");
    }
}

TEST_F(PickerLayout, TheWindowPickerFindsAndCutsAWindowOnTheSecondMonitor) {
    const RECT place{second.left + 300, second.top + 200, second.left + 560, second.top + 360};
    ColourWindow window(place, RGB(20, 200, 120));
    ColourWindow child(RECT{place.left + 20, place.top + 20, place.left + 80, place.top + 60},
                       RGB(220, 40, 40), window.Handle());
    testing_support::PumpMessages(200);
    for (POINT at : {POINT{place.left + 200, place.top + 100}, POINT{place.left + 30, place.top + 30}}) {
        const bool onChild = at.x < place.left + 80;
        const RECT want = onChild ? RECT{place.left + 20, place.top + 20, place.left + 80, place.top + 60} : place;
        const COLORREF colour = onChild ? RGB(220, 40, 40) : RGB(20, 200, 120);
        if (pixelsAsPattern)
            EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(want.left + 5, want.top + 5) == colour; }));
        else
            Before(want);
        CCutControl picker;
        picker.SetFrameBoundsQuery([](HWND, RECT&) -> HRESULT { return E_NOTIMPL; });
        INT_PTR result;
        {
            InputScript script([&] {
                if (!WaitForPicker()) return;
                MoveTo(at.x - 3, at.y - 3);
                MoveTo(at.x, at.y);
                PressLeft();
                ReleaseLeft();
            });
            result = picker.DoModal();
        }
        ASSERT_EQ(result, IDOK);
        RECT got = picker.GetSelectedRect();
        EXPECT_TRUE(::EqualRect(&got, &want))
            << got.left << "," << got.top << "-" << got.right << "," << got.bottom;
        CScreenImage cut;
        ASSERT_TRUE(picker.CopySelectedImage(cut));
        if (pixelsAsPattern) {
            EXPECT_EQ(cut.PixelAt(5, 5), colour);
        } else {
            ExpectScreenPixels(cut, want, "window");
        }
    }
}

}  // namespace
