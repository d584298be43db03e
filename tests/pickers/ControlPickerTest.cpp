// The window and control picker, driven by real mouse input over windows of known place and
// colour: which window or control a point finds, the red frame over the bright window, a click
// choosing the visible frame that the window manager reports (through a stand-in: Wine reports
// none), and moves within one window that repaint nothing.
#include <gtest/gtest.h>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include "CCutControl.h"
#include "MessageArgs.h"
#include "PickerTestSupport.h"
#include "TestSupport.h"

using namespace picker_test;
using testing_support::PatternColor;

namespace {

const COLORREF kDialog = RGB(240, 240, 240);
const COLORREF kFirst = RGB(0, 0, 200);
const COLORREF kSecond = RGB(0, 160, 0);
const COLORREF kNested = RGB(200, 200, 0);
const COLORREF kDeep = RGB(0, 200, 200);

// A stand-in dialog: a top-level window whose direct children are two controls, the second
// holding a control of its own, the first holding one too (reached through the first child).
struct TestDialog {
    ColourWindow dialog{RECT{200, 150, 700, 550}, kDialog};
    ColourWindow first{RECT{220, 170, 420, 370}, kFirst, dialog.Handle()};
    ColourWindow deep{RECT{240, 190, 320, 250}, kDeep, first.Handle()};
    ColourWindow second{RECT{450, 170, 680, 370}, kSecond, dialog.Handle()};
    ColourWindow nested{RECT{480, 200, 600, 300}, kNested, second.Handle()};
};

// Counts the paints and the pointer moves handled, to show that moving within a window
// repaints nothing.
class CountingCutControl : public CCutControl {
public:
    std::atomic<int> paints{0};
    std::atomic<int> moves{0};
    // Moves to points outside `within` (screen coordinates): under Wine the system may echo an
    // earlier pointer position late, and such a move rightly moves the frame.
    RECT within{};
    std::atomic<int> movesOutside{0};

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = CCutControl::WindowProc(msg, wParam, lParam);
        if (msg == WM_PAINT) ++paints;
        if (msg == WM_MOUSEMOVE) {
            ++moves;
            POINT at = MousePoint(lParam);
            ::ClientToScreen(m_hWnd, &at);
            if (!::PtInRect(&within, at)) ++movesOutside;
        }
        return result;
    }
};

// A frame-bounds query standing in for the desktop window manager: the window rectangle less a
// seven-pixel invisible border, as Windows reports for a resizable window.
HRESULT ShrunkFrameBounds(HWND window, RECT& rect) {
    if (!::GetWindowRect(window, &rect)) return E_FAIL;
    ::InflateRect(&rect, -7, -7);
    return S_OK;
}
HRESULT NoFrameBounds(HWND, RECT&) {
    return E_NOTIMPL;
}

class ControlPicker : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WaitUntil([] { return testing_support::ScreenShowsPattern(); }))
            << "the known screen is not shown";
        windows = std::make_unique<TestDialog>();
        ASSERT_TRUE(Settled());
    }
    // The dialog shown as drawn (not as the last picker left it on the display).
    bool Settled() const {
        const bool firstShown = ::IsWindowVisible(windows->first.Handle()) != FALSE;
        return WaitUntil([&] {
            return ScreenPixel(205, 155) == kDialog && ScreenPixel(650, 350) == kSecond &&
                   ScreenPixel(250, 350) == (firstShown ? kFirst : kDialog) &&
                   ScreenPixel(260, 200) == (firstShown ? kDeep : kDialog) &&
                   ScreenPixel(500, 250) == kNested && ScreenPixel(900, 600) == PatternColor(900, 600);
        });
    }
    // Points at `point` and clicks; the picker's result and chosen rectangle.
    INT_PTR PickAt(CCutControl& picker, POINT point) {
        if (!Settled()) return -2;
        InputScript script([&] {
            if (!WaitForPicker()) return;
            MoveTo(point.x - 2, point.y - 2);
            MoveTo(point.x, point.y);
            PressLeft();
            ReleaseLeft();
        });
        return picker.DoModal();
    }
    std::unique_ptr<TestDialog> windows;
};

TEST_F(ControlPicker, APointFindsTheControlUnderItOrTheDialog) {
    auto rectOf = [](HWND window) {
        RECT r;
        ::GetWindowRect(window, &r);
        return r;
    };
    const struct {
        const char* what;
        POINT at;
        HWND expected;
    } cases[] = {
        {"a direct child", {400, 350}, windows->first.Handle()},
        {"another direct child", {650, 350}, windows->second.Handle()},
        {"the bare dialog", {300, 500}, windows->dialog.Handle()},
        {"a control under the first child", {260, 200}, windows->deep.Handle()},
        // Only the first child's children are searched: the second child itself is found.
        {"a control under a later child", {500, 250}, windows->second.Handle()},
    };
    for (const auto& c : cases) {
        CCutControl picker;
        picker.SetFrameBoundsQuery(NoFrameBounds);
        ASSERT_EQ(PickAt(picker, c.at), IDOK) << c.what;
        EXPECT_EQ(picker.GetHighlightedWindow(), c.expected) << c.what;
        RECT got = picker.GetSelectedRect();
        RECT want = rectOf(c.expected);
        EXPECT_TRUE(::EqualRect(&got, &want))
            << c.what << ": " << got.left << "," << got.top << "-" << got.right << "," << got.bottom;
    }
}

TEST_F(ControlPicker, TheClickChoosesTheWindowManagersFrameWhenItTellsOne) {
    const RECT dialog = windows->dialog.ScreenRect();
    struct Case {
        const char* what;
        CCutControl::FrameBoundsQuery query;
        RECT expected;
    } cases[] = {
        {"frame bounds", ShrunkFrameBounds,
         RECT{dialog.left + 7, dialog.top + 7, dialog.right - 7, dialog.bottom - 7}},
        {"no window manager", NoFrameBounds, dialog},
    };
    for (const Case& c : cases) {
        CCutControl picker;
        picker.SetFrameBoundsQuery(c.query);
        ASSERT_EQ(PickAt(picker, POINT{300, 500}), IDOK) << c.what;
        RECT got = picker.GetSelectedRect();
        EXPECT_TRUE(::EqualRect(&got, &c.expected)) << c.what;
        CScreenImage cut;
        ASSERT_TRUE(picker.CopySelectedImage(cut)) << c.what;
        EXPECT_EQ(cut.GetWidth(), c.expected.right - c.expected.left) << c.what;
        // The pixels are the bright screen: the dialog's colour, and the first control's in it.
        EXPECT_EQ(cut.PixelAt(0, 0), kDialog) << c.what;
        EXPECT_EQ(cut.PixelAt(220 - c.expected.left + 5, 170 - c.expected.top + 5), kFirst) << c.what;
    }
}

// What the user sees: the pointed window bright in a three-pixel red frame, the rest dimmed;
// moving within the window repaints nothing; moving to another window moves the frame.
TEST_F(ControlPicker, FramesThePointedWindowInRedOverTheDimmedScreen) {
    const RECT second = windows->second.ScreenRect();
    struct Probe {
        const char* where;
        POINT at;
        COLORREF expected;
    };
    const Probe framed[] = {
        {"frame, outer edge", {second.left, second.top + 50}, RGB(255, 0, 0)},
        {"frame, inner edge", {second.left + 2, second.top + 50}, RGB(255, 0, 0)},
        {"frame, right edge", {second.right - 1, second.bottom - 50}, RGB(255, 0, 0)},
        {"frame, bottom edge", {second.left + 50, second.bottom - 1}, RGB(255, 0, 0)},
        {"inside the frame", {second.left + 3, second.top + 50}, kSecond},
        {"the nested control, bright", {500, 250}, kNested},
        {"the first control, dimmed", {300, 300}, Dimmed(kFirst)},
        {"the screen, dimmed", {900, 600}, Dimmed(PatternColor(900, 600))},
    };
    const Probe movedOn[] = {
        {"the second control, dimmed again", {second.left + 1, second.top + 50}, Dimmed(kSecond)},
        {"the first control's frame", {220, 250}, RGB(255, 0, 0)},
        {"the first control, bright", {400, 300}, kFirst},
    };
    auto shows = [](const Probe* probes, size_t count, std::string& report) {
        report.clear();
        bool all = true;
        for (size_t i = 0; i < count; ++i) {
            COLORREF seen = ScreenPixel(probes[i].at.x, probes[i].at.y);
            if (seen != probes[i].expected) {
                all = false;
                char line[120];
                std::snprintf(line, sizeof(line), "%s: %06lx; ", probes[i].where,
                              static_cast<unsigned long>(seen));
                report += line;
            }
        }
        return all;
    };
    std::string framedReport, movedReport;
    bool framedShown = false, movedShown = false;
    int paintsBefore = -1, paintsAfter = -1;
    HWND highlightedWithin = nullptr;
    CountingCutControl picker;
    picker.within = second;
    ASSERT_TRUE(Settled());
    {
        InputScript script([&] {
            HWND window = WaitForPicker();
            if (!window) return;
            MoveTo(620, 320);
            framedShown = WaitUntil([&] { return shows(framed, std::size(framed), framedReport); }, 5);
            // Counted once nothing is waiting to be painted.
            auto nothingToPaint = [&] { return !::GetUpdateRect(window, nullptr, FALSE); };
            WaitUntil(nothingToPaint, 5);
            // Measured again should a move from elsewhere have come in meanwhile.
            for (int attempt = 0; attempt < 3; ++attempt) {
                WaitUntil(nothingToPaint, 5);
                paintsBefore = picker.paints;
                const int movesBefore = picker.moves, outsideBefore = picker.movesOutside;
                MoveTo(640, 340);
                MoveTo(660, 330);
                // Both moves handled: whatever they invalidated is painted or waiting to be.
                WaitUntil([&] { return picker.moves >= movesBefore + 2; }, 5);
                paintsAfter = nothingToPaint() ? picker.paints.load() : -1;
                highlightedWithin = picker.GetHighlightedWindow();
                if (picker.movesOutside == outsideBefore) break;
                paintsAfter = -2;  // no clean measurement yet
                MoveTo(620, 320);
            }
            MoveTo(400, 300);
            movedShown = WaitUntil([&] { return shows(movedOn, std::size(movedOn), movedReport); }, 5);
            Key(VK_ESCAPE);
        });
        EXPECT_EQ(picker.DoModal(), IDCANCEL);
    }
    EXPECT_TRUE(framedShown) << framedReport;
    EXPECT_EQ(highlightedWithin, windows->second.Handle());
    EXPECT_EQ(paintsAfter, paintsBefore) << "a move within the framed window repainted";
    EXPECT_TRUE(movedShown) << movedReport;
}

TEST_F(ControlPicker, HiddenChildrenAreFoundAndEnterBeforeAClickChoosesNothing) {
    ::ShowWindow(windows->first.Handle(), SW_HIDE);
    testing_support::PumpMessages(50);
    CCutControl picker;
    picker.SetFrameBoundsQuery(NoFrameBounds);
    ASSERT_EQ(PickAt(picker, POINT{400, 350}), IDOK);
    EXPECT_EQ(picker.GetHighlightedWindow(), windows->first.Handle());

    CCutControl unclicked;
    INT_PTR result;
    testing_support::PumpMessages(50);
    {
        InputScript script([&] {
            if (!WaitForPicker()) return;
            MoveTo(300, 500);
            MoveTo(310, 505);
            Key(VK_RETURN);
        });
        result = unclicked.DoModal();
    }
    EXPECT_EQ(result, IDOK);
    RECT got = unclicked.GetSelectedRect();
    EXPECT_TRUE(::IsRectEmpty(&got));
    CScreenImage cut;
    EXPECT_FALSE(unclicked.CopySelectedImage(cut));
}

}  // namespace
