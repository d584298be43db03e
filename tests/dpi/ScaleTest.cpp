// The session's scale as the program sees it, the scaled layouts and the pictures: every
// picture drawn at each scale, the nearest one taken for any DPI, the nine-patch marks one pixel
// wide at every scale, the cursors at every size, and captures still pixel for pixel right.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "CMonitorSelectDlg.h"
#include "CMonitors.h"
#include "CNinePatch.h"
#include "CScaledCursor.h"
#include "CScreenImage.h"
#include "DpiTestSupport.h"
#include "MessageArgs.h"
#include "TestSupport.h"
#include "resource.h"

using namespace dpi_test;

namespace {

TEST(SessionScale, TheProcessIsPerMonitorAwareAndLaysOutForTheSessionsDpi) {
    // The manifest asks for per-monitor awareness (version 2); Wine gives it, Windows before
    // 10 gives system awareness, which is DPI aware too.
    EXPECT_GE(CurrentDpiAwareness(), 2);
    EXPECT_EQ(SystemDpi(), SessionDpi());
    CDialog probe(IDD_POPUP);
    ASSERT_TRUE(probe.Create(IDD_POPUP));
    EXPECT_EQ(WindowDpi(probe.m_hWnd), SessionDpi());
    probe.DestroyWindow();
}

TEST(SessionScale, TheScreenAndItsCapturesStayInPhysicalPixels) {
    // The virtual display is 1280 x 800 pixels whatever the scale.
    EXPECT_EQ(::GetSystemMetrics(SM_CXVIRTUALSCREEN), 1280);
    EXPECT_EQ(::GetSystemMetrics(SM_CYVIRTUALSCREEN), 800);
    CMonitors monitors;
    ASSERT_GE(monitors.GetCount(), 1);
    RECT primary{};
    monitors.GetMonitor(0)->GetMonitorRect(primary);
    EXPECT_EQ(Text(primary), Text(RECT{0, 0, 1280, 800}));
    if (!testing_support::ScreenShowsPattern()) {
        if (std::getenv("TOVRIX_PATTERN")) FAIL() << "the known screen is not shown";
        GTEST_SKIP() << "the display does not show the test pattern (run through scripts/test)";
    }
    for (RECT rect : {RECT{0, 0, 1280, 800}, RECT{300, 200, 941, 577}, RECT{1279, 799, 1280, 800}}) {
        CScreenImage picture;
        ASSERT_TRUE(picture.CaptureRect(rect));
        EXPECT_EQ(picture.GetWidth(), rect.right - rect.left);
        EXPECT_EQ(picture.GetHeight(), rect.bottom - rect.top);
        EXPECT_EQ(testing_support::CountPixelsUnlikePattern(picture, rect), 0) << Text(rect);
    }
}

TEST(ScaledLayout, RectanglesScaleTheirCornerAndSizeAndPicturesComeFromTheNearestScale) {
    struct Case { RECT rect; UINT dpi; RECT scaled; } cases[] = {
        {{4, 32, 32, 60}, 96, {4, 32, 32, 60}},
        {{4, 32, 32, 60}, 120, {5, 40, 40, 75}},
        {{4, 32, 32, 60}, 144, {6, 48, 48, 90}},
        {{228, 32, 243, 47}, 144, {342, 48, 365, 71}},   // 15 pixels: 22.5 rounds up to 23
        {{327, 32, 381, 95}, 192, {654, 64, 762, 190}},
        {{-10, -20, 10, 20}, 144, {-15, -30, 15, 30}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(ScaleRectToDpi(c.rect, c.dpi)), Text(c.scaled)) << Text(c.rect) << " at " << c.dpi;
    }
    struct Nearest { UINT dpi, picture; } nearest[] = {
        {72, 96}, {96, 96}, {107, 96}, {108, 120}, {120, 120}, {132, 144}, {144, 144},
        {167, 144}, {168, 192}, {192, 192}, {288, 192},
    };
    for (const Nearest& n : nearest) EXPECT_EQ(NearestPictureDpi(n.dpi), n.picture) << n.dpi;
    EXPECT_EQ(PictureIdForDpi(IDB_PEN_TOOLBAR, 96), static_cast<UINT>(IDB_PEN_TOOLBAR));
    EXPECT_EQ(PictureIdForDpi(IDB_PEN_TOOLBAR, 144), IDB_PEN_TOOLBAR + 2 * kScaledPictureIdStep);
}

// Every picture of a skinned window: drawn at each scale (not stretched at run time), its
// frames exactly their 100 % size times the scale.
struct Picture { UINT id; int frames; SIZE frame100; };
const Picture kBitmaps[] = {
    {IDB_PEN_SIZE_FIRST, 4, {28, 28}}, {IDB_PEN_SIZE_FIRST + 5, 4, {28, 28}},
    {IDB_PEN_TOOL_FIRST, 4, {28, 28}}, {IDB_PEN_TOOL_FIRST + 5, 4, {28, 28}},
    {IDB_PEN_SWATCH_FIRST, 4, {15, 15}}, {IDB_PEN_SWATCH_FIRST + 15, 4, {15, 15}},
    {IDB_PEN_TOOLBAR, 1, {385, 101}}, {IDB_PEN_TEXT, 3, {28, 28}}, {IDB_PEN_UNDO, 4, {28, 28}},
    {IDB_PEN_REDO, 4, {28, 28}}, {IDB_PEN_FINISH, 3, {54, 63}}, {IDB_RECORD_BUTTON, 4, {60, 72}},
    {IDB_SNAP_FIND, 1, {16, 16}}, {IDB_SNAP_OK, 1, {16, 16}}, {IDB_BANNER, 1, {440, 60}},
};

TEST(ScaledPictures, EveryPictureIsDrawnAtEveryScaleAtItsSizeTimesTheScale) {
    for (const Picture& p : kBitmaps) {
        for (UINT dpi : DrawnDpis()) {
            SIZE size{};
            const std::vector<COLORREF> frame = PictureFrame(p.id, dpi, p.frames, 0, &size);
            ASSERT_FALSE(frame.empty()) << p.id << " at " << dpi;
            EXPECT_EQ(size.cx, ScaleToDpi(p.frame100.cx, dpi)) << p.id << " at " << dpi;
            EXPECT_EQ(size.cy, ScaleToDpi(p.frame100.cy, dpi)) << p.id << " at " << dpi;
        }
        // Between the drawn scales the nearest picture is stretched to the exact size.
        for (UINT dpi : {108u, 168u, 240u}) {
            SIZE size100{};
            CBitmap loaded = LoadBitmapForDpi(p.id, dpi, p.frames, false, &size100);
            BITMAP info{};
            ASSERT_TRUE(loaded && ::GetObjectW(loaded, sizeof(info), &info)) << p.id;
            EXPECT_EQ(size100.cx, p.frame100.cx * p.frames) << p.id;
            EXPECT_EQ(info.bmWidth, ScaleToDpi(p.frame100.cx, dpi) * p.frames) << p.id << " at " << dpi;
            EXPECT_EQ(info.bmHeight, ScaleToDpi(p.frame100.cy, dpi)) << p.id << " at " << dpi;
        }
    }
}

TEST(ScaledPictures, TheNinePatchesKeepOnePixelMarksAtEveryScale) {
    struct Frame { UINT id; SIZE inner100; int guides; } frames[] = {
        {IDB_FIXED_FRAME, {50, 70}, 10}, {IDB_RECORD_FRAME, {65, 65}, 10}};
    for (const Frame& f : frames) {
        for (UINT dpi : DrawnDpis()) {
            CNinePatch skin;
            ASSERT_TRUE(skin.LoadPng(f.id, dpi)) << f.id;
            EXPECT_EQ(skin.GetPictureDpi(), dpi);
            // Two stretchable columns and rows, one pixel each; ten guides on each axis.
            for (const CNinePatch::Axis* axis : {&skin.Horizontal(), &skin.Vertical()}) {
                EXPECT_EQ(axis->stretchRuns, 2) << f.id << " at " << dpi;
                EXPECT_EQ(axis->stretchPixels, 2) << f.id << " at " << dpi;
            }
            EXPECT_EQ(static_cast<int>(skin.GuideX().size()), f.guides);
            EXPECT_EQ(static_cast<int>(skin.GuideY().size()), f.guides);
            // The inside is the 100 % inside scaled, but for the stretch pixels, which stay one
            // (each of the three fixed runs rounded to whole pixels).
            EXPECT_NEAR(skin.Horizontal().innerSize, (f.inner100.cx - 2) * dpi / 96.0 + 2, 1.5) << f.id << " at " << dpi;
            EXPECT_NEAR(skin.Vertical().innerSize, (f.inner100.cy - 2) * dpi / 96.0 + 2, 1.5) << f.id << " at " << dpi;
            // The marks are the border only: every pixel inside it is opaque, and the border's
            // corners are not marks.
            std::vector<uint32_t> pixels;
            ASSERT_TRUE(skin.ReadPixels(pixels));
            const int w = skin.GetWidth(), h = skin.GetHeight();
            int transparentInside = 0;
            for (int y = 1; y < h - 1; ++y) {
                for (int x = 1; x < w - 1; ++x) transparentInside += (pixels[y * w + x] >> 24) != 255;
            }
            EXPECT_EQ(transparentInside, 0) << f.id << " at " << dpi;
            for (int corner : {0, w - 1, (h - 1) * w, h * w - 1}) EXPECT_EQ(pixels[corner] >> 24, 0u);
        }
    }
}

TEST(ScaledPictures, CursorsComeAtTheSizeOfEveryScaleWithTheirHotSpot) {
    struct Cursor { UINT id; POINT hot100; } cursors[] = {
        {IDC_CUT_CURSOR, {0, 30}}, {IDC_EDITOR_PEN_CURSOR, {1, 1}}, {IDC_EDITOR_DRAW_CURSOR, {6, 25}}};
    for (const Cursor& c : cursors) {
        CScaledCursor cursor(c.id);
        for (UINT dpi : {96u, 120u, 144u, 192u, 168u}) {
            HCURSOR shown = cursor.ForDpi(dpi);
            ASSERT_NE(shown, nullptr) << c.id;
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(shown, &info));
            BITMAP mask{};
            ::GetObjectW(info.hbmMask, sizeof(mask), &mask);
            if (info.hbmMask) ::DeleteObject(info.hbmMask);
            if (info.hbmColor) ::DeleteObject(info.hbmColor);
            EXPECT_EQ(mask.bmWidth, ScaleToDpi(32, dpi)) << c.id << " at " << dpi;
            EXPECT_NEAR(static_cast<int>(info.xHotspot), c.hot100.x * dpi / 96.0, 1.0) << c.id << " at " << dpi;
            EXPECT_NEAR(static_cast<int>(info.yHotspot), c.hot100.y * dpi / 96.0, 1.0) << c.id << " at " << dpi;
        }
    }
    // The monitor chooser's pointers are labels drawn at their monitor's scale.
    CMonitors monitors;
    CMonitorSelectDlg chooser(CMonitorSelectDlg::kModeChooseMonitor, &monitors, nullptr);
    ASSERT_TRUE(chooser.CreateAndShow());
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(chooser.GetMonitorCursor(0)), &info));
    BITMAP mask{};
    ::GetObjectW(info.hbmMask, sizeof(mask), &mask);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    EXPECT_EQ(mask.bmWidth, ScaleToDpi(128, SessionDpi()));
    EXPECT_EQ(mask.bmHeight, ScaleToDpi(32, SessionDpi()));
    // The veil stays over every monitor in physical pixels, whatever rectangle the system
    // suggests when its scale changes.
    RECT before{}, after{};
    chooser.GetWindowRect(&before);
    RECT suggested{0, 0, 200, 100};
    chooser.SendMessage(WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    chooser.GetWindowRect(&after);
    EXPECT_EQ(Text(after), Text(before));
}

}  // namespace
