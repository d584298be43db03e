// The region picker on the known screen, driven by real mouse and keyboard input: the rectangle
// dragged out in either direction, a click without a drag, Esc, the dimmed and bright screen
// while dragging, and pixels that are the screen of the moment the picker opened.
#include <gtest/gtest.h>
#include <vector>
#include "CCutRegion.h"
#include "CMonitors.h"
#include "PickerScreens.h"
#include "PickerTestSupport.h"
#include "TestSupport.h"

using namespace picker_test;
using testing_support::CountPixelsUnlikePattern;
using testing_support::PatternColor;

namespace {

class RegionPicker : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WaitUntil([] { return testing_support::ScreenShowsPattern(); }))
            << "the known screen is not shown";
    }
};

TEST_F(RegionPicker, DraggingEitherWayChoosesTheSameRectangleWithItsScreenPixels) {
    struct Case {
        const char* name;
        POINT from, to;
    } cases[] = {
        {"forwards", {210, 110}, {310, 160}},
        {"backwards", {310, 160}, {210, 110}},
        {"up and right", {210, 160}, {310, 110}},
    };
    const RECT expected{210, 110, 310, 160};
    for (const Case& c : cases) {
        ASSERT_TRUE(WaitForPatternAt(expected)) << c.name;
        CCutRegion picker;
        INT_PTR result;
        {
            InputScript script([&] {
                if (!WaitForPicker()) return;
                MoveTo(c.from.x - 5, c.from.y - 5);  // the crosshair shows from the second move on
                Drag(c.from, c.to);
            });
            result = picker.DoModal();
        }
        ASSERT_EQ(result, IDOK) << c.name;
        RECT got = picker.GetSelectedRect();
        EXPECT_TRUE(::EqualRect(&got, &expected))
            << c.name << ": " << got.left << "," << got.top << "-" << got.right << "," << got.bottom;
        CScreenImage cut;
        ASSERT_TRUE(picker.CopySelectedImage(cut)) << c.name;
        EXPECT_EQ(cut.GetWidth(), 100);
        EXPECT_EQ(cut.GetHeight(), 50);
        EXPECT_EQ(CountPixelsUnlikePattern(cut, expected), 0) << c.name;
    }
}

TEST_F(RegionPicker, AClickWithoutMovingAndEnterBeforeADragChooseNothing) {
    struct Case {
        const char* name;
        std::function<void()> input;
    } cases[] = {
        {"click", [] { MoveTo(400, 300); PressLeft(); ReleaseLeft(); }},
        {"Enter", [] { MoveTo(400, 300); MoveTo(420, 310); Key(VK_RETURN); }},
    };
    for (const Case& c : cases) {
        CCutRegion picker;
        INT_PTR result;
        {
            InputScript script([&] {
                if (WaitForPicker()) c.input();
            });
            result = picker.DoModal();
        }
        EXPECT_EQ(result, IDOK) << c.name;
        RECT got = picker.GetSelectedRect();
        EXPECT_TRUE(::IsRectEmpty(&got)) << c.name;
        CScreenImage cut;
        EXPECT_FALSE(picker.CopySelectedImage(cut)) << c.name;
        EXPECT_TRUE(cut.IsNull()) << c.name;
    }
}

TEST_F(RegionPicker, EscCancelsAtAnyTime) {
    for (bool dragging : {false, true}) {
        CCutRegion picker;
        INT_PTR result;
        {
            InputScript script([&] {
                if (!WaitForPicker()) return;
                MoveTo(500, 400);
                if (dragging) {
                    PressLeft();
                    MoveTo(600, 450);
                }
                Key(VK_ESCAPE);
                if (dragging) ReleaseLeft();
            });
            result = picker.DoModal();
        }
        EXPECT_EQ(result, IDCANCEL) << (dragging ? "while dragging" : "before dragging");
    }
}

// What the user sees while dragging: the screen dimmed outside the selection, as it was inside,
// and the white crosshair through the pointer.
TEST_F(RegionPicker, ShowsTheScreenDimmedTheSelectionBrightAndACrosshair) {
    const POINT from{600, 300}, to{800, 450};
    struct Probe {
        const char* where;
        POINT at;
        COLORREF expected;
    };
    std::vector<Probe> probes = {
        {"outside", {300, 600}, Dimmed(PatternColor(300, 600))},
        {"outside, right of the selection", {1000, 350}, Dimmed(PatternColor(1000, 350))},
        {"inside", {650, 320}, PatternColor(650, 320)},
        {"inside, last pixel", {799, 449}, PatternColor(799, 449)},
        {"past the right edge", {801, 400}, Dimmed(PatternColor(801, 400))},
        {"past the bottom edge", {700, 451}, Dimmed(PatternColor(700, 451))},
        {"crosshair, vertical", {800, 700}, RGB(255, 255, 255)},
        {"crosshair, horizontal", {100, 450}, RGB(255, 255, 255)},
    };
    std::vector<COLORREF> seen(probes.size(), CLR_INVALID);
    bool settled = false;
    CCutRegion picker;
    {
        InputScript script([&] {
            if (!WaitForPicker()) return;
            MoveTo(from.x - 10, from.y - 10);
            MoveTo(from.x, from.y);
            PressLeft();
            MoveTo(700, 400);
            MoveTo(to.x, to.y);
            auto matches = [&] {
                bool all = true;
                for (size_t i = 0; i < probes.size(); ++i) {
                    seen[i] = ScreenPixel(probes[i].at.x, probes[i].at.y);
                    all = all && seen[i] == probes[i].expected;
                }
                return all;
            };
            settled = WaitUntil(matches, 5);
            ReleaseLeft();
        });
        EXPECT_EQ(picker.DoModal(), IDOK);
    }
    EXPECT_TRUE(settled);
    for (size_t i = 0; i < probes.size(); ++i)
        EXPECT_EQ(seen[i], probes[i].expected) << probes[i].where << " " << std::hex << seen[i];
    RECT got = picker.GetSelectedRect();
    const RECT expected{600, 300, 800, 450};
    EXPECT_TRUE(::EqualRect(&got, &expected));
}

// A window that changes after the picker opened does not change what is cut out.
TEST_F(RegionPicker, CutsTheScreenAsItWasWhenThePickerOpened) {
    const RECT place{300, 200, 500, 350};
    ColourWindow window(place, RGB(255, 255, 255));
    testing_support::PumpMessages(100);
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(400, 300) == RGB(255, 255, 255); }));
    CCutRegion picker;
    {
        InputScript script([&] {
            if (!WaitForPicker()) return;
            window.SetColour(RGB(255, 0, 0));
            MoveTo(310, 210);
            Drag(POINT{320, 220}, POINT{480, 330});
        });
        ASSERT_EQ(picker.DoModal(), IDOK);
    }
    CScreenImage cut;
    ASSERT_TRUE(picker.CopySelectedImage(cut));
    ASSERT_EQ(cut.GetWidth(), 160);
    EXPECT_EQ(cut.PixelAt(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(cut.PixelAt(159, 109), RGB(255, 255, 255));
    // The window did change meanwhile: the screen shows it red once the picker has gone.
    testing_support::PumpMessages(100);
    EXPECT_TRUE(WaitUntil([] { return ScreenPixel(400, 300) == RGB(255, 0, 0); }, 5));
}

TEST(PickerScreens, DimmingHalvesEveryChannelOfDeepPicturesAndLeavesShallowOnesAlone) {
    struct Case {
        int bits;
        bool dimmed;
    } cases[] = {{32, true}, {24, true}, {16, false}};
    for (const Case& c : cases) {
        // A device-dependent bitmap of the depth asked, as a display of that depth would give,
        // filled with every byte value.
        const int width = 64;
        HBITMAP bitmap = ::CreateBitmap(width, 2, 1, c.bits, nullptr);
        ASSERT_NE(bitmap, nullptr) << c.bits;
        BITMAP info{};
        ::GetObjectW(bitmap, sizeof(info), &info);
        const LONG size = info.bmWidthBytes * info.bmHeight;
        std::vector<uint8_t> before(static_cast<size_t>(size));
        for (size_t i = 0; i < before.size(); ++i) before[i] = static_cast<uint8_t>(i * 7 + 3);
        ASSERT_EQ(::SetBitmapBits(bitmap, static_cast<DWORD>(size), before.data()), size);
        CScreenImage image;
        image.Attach(bitmap);

        EXPECT_EQ(DimPixels(image), c.dimmed) << c.bits;
        std::vector<uint8_t> after(before.size());
        ASSERT_EQ(::GetBitmapBits(image, size, after.data()), size);
        int wrong = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            uint8_t want = before[i];
            if (c.bits == 32) want = (i % 4 == 3) ? 0 : before[i] >> 1;  // the unused byte clears
            if (c.bits == 24) want = before[i] >> 1;
            wrong += after[i] != want;
        }
        EXPECT_EQ(wrong, 0) << c.bits << " bits";
    }
}

TEST(PickerScreens, BothPicturesCoverTheVirtualScreenAndDifferOnlyByDimming) {
    RECT whole;
    GetVirtualScreenRect(whole);
    ASSERT_TRUE(WaitForPatternAt(whole));
    RECT screen{};
    CScreenImage dark, bright;
    ASSERT_TRUE(PrepareScreens(screen, dark, bright));
    RECT expected;
    GetVirtualScreenRect(expected);
    EXPECT_TRUE(::EqualRect(&screen, &expected));
    for (const CScreenImage* image : {&dark, &bright}) {
        EXPECT_EQ(image->GetWidth(), expected.right - expected.left);
        EXPECT_EQ(image->GetHeight(), expected.bottom - expected.top);
    }
    std::vector<uint32_t> darkPixels, brightPixels;
    ASSERT_TRUE(dark.ReadPixels(darkPixels));
    ASSERT_TRUE(bright.ReadPixels(brightPixels));
    ASSERT_EQ(darkPixels.size(), brightPixels.size());
    size_t wrong = 0;
    for (size_t i = 0; i < darkPixels.size(); ++i)
        wrong += (darkPixels[i] & 0xFFFFFF) != ((brightPixels[i] & 0xFEFEFE) >> 1);
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(CountPixelsUnlikePattern(bright, screen), 0);
}

}  // namespace
