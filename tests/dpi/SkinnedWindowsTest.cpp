// Every skinned window at the session's scale and, through WM_DPICHANGED as the system sends it
// when a window moves onto a monitor of another scale, at every drawn scale in turn: its size and
// every control's place are its 100 % layout times the scale (within a pixel), its pictures are
// the ones drawn for that scale, painting leaves nothing of a sentinel colour behind, and its
// captions fit. The gallery gets a picture of each at the session's scale. The overlay dialog's
// pixel column scales too.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "CAnigifCapture.h"
#include "CAppProfile.h"
#include "CEpicPenDlg.h"
#include "CGifSnapDlg.h"
#include "CHoverButton.h"
#include "CProgressWnd.h"
#include "CTestOutlineTextDlg.h"
#include "DeviceContext.h"
#include "DpiTestSupport.h"
#include "SettingsTestSupport.h"
#include "SnapTestSupport.h"
#include "TestSupport.h"
#include "resource.h"

using namespace dpi_test;
using testing_support::PumpMessages;
using testing_support::TempFolder;

namespace {

// The scales a window is checked at: the session's as it opens, each drawn one, then the
// session's again (back from the others).
std::vector<UINT> ScalesToVisit() {
    std::vector<UINT> scales{SessionDpi()};
    for (UINT dpi : DrawnDpis()) scales.push_back(dpi);
    scales.push_back(SessionDpi());
    return scales;
}

bool IsDrawn(UINT dpi) {
    for (UINT drawn : DrawnDpis()) {
        if (drawn == dpi) return true;
    }
    return false;
}

// Away from every window under test: no button shows its hover picture.
void ParkPointer() {
    ::SetCursorPos(1279, 799);
    PumpMessages(20);
}

SIZE ClientSize(HWND hwnd) {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    return SIZE{r.right, r.bottom};
}

RECT ScreenRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

SIZE TextSize(HWND window, HFONT font, const std::wstring& text) {
    CClientDC dc(window);
    CSelectObject select(dc, font);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

#define EXPECT_NEAR_SCALED(actual, exact, what)                                    \
    do {                                                                           \
        std::string why_;                                                          \
        EXPECT_TRUE(WithinAPixel((actual), (exact), &why_)) << (what) << ": " << why_; \
    } while (0)

// ---- the pen toolbar ------------------------------------------------------------------------

// Its design at 100 %: the background picture's size, every button's place, and the frame of its
// picture it shows as the toolbar opens (the first size and tool and the red swatch marked, undo
// and redo disabled).
const SIZE kToolbar100{385, 101};
struct Place {
    int id;
    RECT rect;
    UINT bitmap;  // 0: no picture (the colour square)
    int frames;
    int shown;
};
std::vector<Place> ToolbarDesign() {
    std::vector<Place> places;
    for (int i = 0; i < 6; ++i) {
        places.push_back({IDC_PEN_SIZE_FIRST + i, {4 + 32 * i, 32, 32 + 32 * i, 60}, UINT(IDB_PEN_SIZE_FIRST + i), 4,
                          i == 0 ? 1 : 0});
        places.push_back({IDC_PEN_TOOL_FIRST + i, {4 + 32 * i, 67, 32 + 32 * i, 95}, UINT(IDB_PEN_TOOL_FIRST + i), 4,
                          i == 0 ? 1 : 0});
    }
    for (int i = 0; i < 16; ++i) {
        const int x = 228 + 16 * (i % 4), y = 32 + 16 * (i / 4);
        places.push_back({IDC_PEN_SWATCH_FIRST + i, {x, y, x + 15, y + 15}, UINT(IDB_PEN_SWATCH_FIRST + i), 4,
                          i == 1 ? 1 : 0});
    }
    places.push_back({ID_EDITOR_TEXT_TOOL, {196, 32, 224, 60}, IDB_PEN_TEXT, 3, 0});
    places.push_back({IDC_PEN_COLOR, {196, 67, 224, 95}, 0, 0, 0});
    places.push_back({ID_EDITOR_UNDO, {295, 32, 323, 60}, IDB_PEN_UNDO, 4, 3});
    places.push_back({ID_EDITOR_REDO, {295, 67, 323, 95}, IDB_PEN_REDO, 4, 3});
    places.push_back({ID_EDITOR_FINISH, {327, 32, 381, 95}, IDB_PEN_FINISH, 3, 0});
    return places;
}

TEST(SkinnedWindows, ThePenToolbarIsItsPictureTimesTheScaleWithEveryButtonInItsPlace) {
    CDialog editor(IDD_POPUP);
    ASSERT_TRUE(editor.Create(IDD_POPUP));
    CEpicPenDlg toolbar(&editor);
    ASSERT_TRUE(toolbar.Create());
    toolbar.SetWindowPos(nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    toolbar.ShowWindow(SW_SHOWNOACTIVATE);
    ParkPointer();
    bool first = true;
    for (UINT dpi : ScalesToVisit()) {
        if (toolbar.GetDpi() != dpi) SendDpiChanged(toolbar, dpi);
        PumpMessages(20);
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        ASSERT_EQ(toolbar.GetDpi(), dpi);
        // The whole client area is the background picture: no strip of anything else.
        const SIZE client = ClientSize(toolbar);
        EXPECT_EQ(client.cx, ScaleToDpi(kToolbar100.cx, dpi));
        EXPECT_EQ(client.cy, ScaleToDpi(kToolbar100.cy, dpi));
        Canvas printed(client.cx, client.cy);
        PrintClient(toolbar, printed);
        EXPECT_EQ(SentinelPixels(toolbar, printed), 0);
        for (const Place& p : ToolbarDesign()) {
            HWND item = toolbar.GetDlgItem(p.id);
            const RECT place = ChildRect(item);
            EXPECT_NEAR_SCALED(place, Scaled(p.rect, dpi), "control " + std::to_string(p.id));
            if (!p.bitmap || !IsDrawn(dpi)) continue;
            // At a drawn scale the button shows its picture for that scale, pixel for pixel.
            SIZE size{};
            const std::vector<COLORREF> expected = PictureFrame(p.bitmap, dpi, p.frames, p.shown, &size);
            EXPECT_EQ(place.right - place.left, size.cx) << p.id;
            EXPECT_EQ(place.bottom - place.top, size.cy) << p.id;
            EXPECT_TRUE(PixelsIn(printed, place) == expected) << "control " << p.id << " shows another picture";
        }
        if (IsDrawn(dpi)) {
            SIZE size{};
            const std::vector<COLORREF> background = PictureFrame(IDB_PEN_TOOLBAR, dpi, 1, 0, &size);
            ASSERT_EQ(size.cx, client.cx);
            // The drag strip above the buttons is the picture's.
            const RECT strip{0, 0, client.cx, ScaleToDpi(26, dpi)};
            std::vector<COLORREF> top(background.begin(), background.begin() + size.cx * strip.bottom);
            EXPECT_TRUE(PixelsIn(printed, strip) == top) << "the background is not the picture for the scale";
        }
        if (first) {
            EXPECT_TRUE(WriteGalleryScreen(toolbar.m_hWnd, L"pen_toolbar"));
            first = false;
        }
    }
    toolbar.DestroyWindow();
    editor.DestroyWindow();
}

// ---- the fixed-region frame -----------------------------------------------------------------

// What the frame's layout is at 100 % for a client of W x H pixels at 100 % (the description's
// table), scaled: the title and button strips, the hole and the eight handles.
struct SnapLayout {
    Exact title, strip, hole, handles[8];
};
SnapLayout SnapDesign(SIZE client, UINT dpi) {
    const double k = dpi / 96.0, W = client.cx, H = client.cy;
    const double a = (W - 48 * k) / 2, c = (H - 68 * k) / 2;  // the stretched halves, in pixels
    SnapLayout l;
    l.title = {0, 1 * k, W, 19 * k};
    l.strip = {4 * k, 1 * k, W - 4 * k, 19 * k};
    l.hole = {4 * k, 24 * k, W - 4 * k, H - 4 * k};
    const double left[3] = {6 * k, 18 * k + a, W - 18 * k};
    const double top[3] = {26 * k, 38 * k + c, H - 18 * k};
    const int order[8][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
    for (int i = 0; i < 8; ++i) {
        const double x = left[order[i][0]], y = top[order[i][1]];
        l.handles[i] = {x, y, x + 12 * k, y + 12 * k};
    }
    return l;
}

void CheckSnapFrame(snap_test::TestSnapDlg& f, const RECT& hole, UINT dpi) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    const double k = dpi / 96.0;
    EXPECT_EQ(f.GetDpi(), dpi);
    // The hole stays in physical pixels; the borders around it follow the scale.
    RECT inner = f.GetInnerRect();
    ::MapWindowPoints(f.m_hWnd, nullptr, reinterpret_cast<POINT*>(&inner), 2);
    EXPECT_EQ(Text(inner), Text(hole));
    const RECT window = ScreenRect(f);
    EXPECT_NEAR_SCALED(window, (Exact{hole.left - 4 * k, hole.top - 24 * k, hole.right + 4 * k, hole.bottom + 4 * k}),
                       "the frame");
    const SIZE client = ClientSize(f);
    const SnapLayout l = SnapDesign(client, dpi);
    EXPECT_NEAR_SCALED(f.GetTitleRect(), l.title, "the title strip");
    EXPECT_NEAR_SCALED(f.GetButtonStripRect(), l.strip, "the button strip");
    EXPECT_NEAR_SCALED(f.GetInnerRect(), l.hole, "the hole");
    for (int i = 0; i < 8; ++i) EXPECT_NEAR_SCALED(f.GetHandleRect(i), l.handles[i], "handle " + std::to_string(i));
    EXPECT_NEAR_SCALED(ChildRect(f.GetFindButton()->m_hWnd), (Exact{4 * k, k, 24 * k, 19 * k}), "the find button");
    EXPECT_NEAR_SCALED(ChildRect(f.GetOkButton()->m_hWnd), (Exact{client.cx - 24 * k, k, client.cx - 4 * k, 19 * k}),
                       "the OK button");
    const RECT size = ChildRect(f.GetSizeButton()->m_hWnd);
    EXPECT_NEAR_SCALED(size, (Exact{24 * k, k, static_cast<double>(size.right), 19 * k}), "the size button");
    EXPECT_GE(size.right - size.left, ScaleToDpi(65, dpi));
    // Its caption fits it.
    const SIZE caption = TextSize(f.GetSizeButton()->m_hWnd, f.GetSizeButton()->GetCaptionFont(),
                                  f.GetSizeButton()->GetCaption());
    EXPECT_LE(caption.cx, size.right - size.left) << "the caption is wider than its button";
    EXPECT_LE(caption.cy, size.bottom - size.top) << "the caption is higher than its strip";
    MINMAXINFO limits{};
    f.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_NEAR(limits.ptMinTrackSize.x, 53 * k, 1);
    EXPECT_NEAR(limits.ptMinTrackSize.y, 73 * k, 1);
    // Drawn afresh over a back buffer full of the sentinel: nothing of it shows.
    Canvas printed(client.cx, client.cy);
    PrintClient(f, printed);
    EXPECT_EQ(SentinelPixels(f, printed), 0);
}

void FillBackBuffer(HDC buffer) {
    CBrush sentinel(kSentinel);
    const RECT all{0, 0, ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    ::FillRect(buffer, &all, sentinel);
}

TEST(SkinnedWindows, TheFixedRegionFrameScalesItsBordersHandlesAndButtonsAroundAHoleThatStays) {
    for (RECT hole : {RECT{300, 250, 940, 610}, RECT{40, 120, 1240, 780}}) {
        snap_test::TestSnapDlg frame;
        bool first = true;
        frame.onShown = [&](snap_test::TestSnapDlg& f) {
            ParkPointer();
            for (UINT dpi : ScalesToVisit()) {
                FillBackBuffer(f.GetBackBuffer());
                SendDpiChanged(f, dpi);
                PumpMessages(20);
                CheckSnapFrame(f, hole, dpi);
                if (first && hole.left == 300) {
                    EXPECT_TRUE(WriteGalleryScreen(f.m_hWnd, L"fixed_region_frame"));
                }
                first = false;
            }
            f.GetOkButton()->SendMessage(BM_CLICK);
        };
        ASSERT_EQ(frame.DoModalWithRect(hole), IDOK);
        EXPECT_EQ(Text(frame.GetCaptureRect()), Text(hole));
    }
}

// ---- the recording frame --------------------------------------------------------------------

void CheckRecordFrame(CGifSnapDlg& f, const RECT& area, UINT dpi) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    const double k = dpi / 96.0;
    EXPECT_EQ(f.GetDpi(), dpi);
    EXPECT_EQ(Text(f.GetCaptureRect()), Text(area));
    EXPECT_NEAR_SCALED(ScreenRect(f), (Exact{area.left - 4 * k, area.top - 4 * k, area.right + 4 * k, area.bottom + 4 * k}),
                       "the frame");
    const SIZE client = ClientSize(f);
    const double W = client.cx, H = client.cy;
    const double s = (W - 63 * k) / 2, t = (H - 63 * k) / 2;
    EXPECT_NEAR_SCALED(f.GetAreaRect(), (Exact{4 * k, 4 * k, W - 4 * k, H - 4 * k}), "the area");
    EXPECT_NEAR_SCALED(f.GetCentreRect(), (Exact{18 * k + s, 18 * k + t, 45 * k + s, 45 * k + t}), "the move symbol");
    const double left[3] = {6 * k, 26 * k + s, W - 18 * k};
    const double top[3] = {6 * k, 25 * k + t, H - 18 * k};
    const int order[8][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
    for (int i = 0; i < 8; ++i) {
        const double x = left[order[i][0]], y = top[order[i][1]];
        EXPECT_NEAR_SCALED(f.GetHandleRect(i), (Exact{x, y, x + 12 * k, y + 12 * k}), "handle " + std::to_string(i));
    }
    MINMAXINFO limits{};
    f.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_NEAR(limits.ptMinTrackSize.x, 65 * k, 1);
    Canvas printed(client.cx, client.cy);
    PrintClient(f, printed);
    EXPECT_EQ(SentinelPixels(f, printed), 0);
}

TEST(SkinnedWindows, TheRecordingFrameScalesItsBorderAndHandlesAroundAnAreaThatStays) {
    const RECT area{320, 200, 960, 560};
    CGifSnapDlg frame;
    ASSERT_TRUE(frame.Create(nullptr, area));
    frame.ShowWindow(SW_SHOWNOACTIVATE);
    ParkPointer();
    bool first = true;
    for (UINT dpi : ScalesToVisit()) {
        FillBackBuffer(frame.GetBackBuffer());
        SendDpiChanged(frame, dpi);
        PumpMessages(20);
        CheckRecordFrame(frame, area, dpi);
        if (first) {
            EXPECT_TRUE(WriteGalleryScreen(frame.m_hWnd, L"recording_frame"));
        }
        // While recording only the yellow border is left, as wide as the scaled border.
        FillBackBuffer(frame.GetBackBuffer());
        frame.ShowRecordingLook();
        const double k = dpi / 96.0;
        const SIZE client = ClientSize(frame);
        EXPECT_NEAR_SCALED(frame.GetAreaRect(), (Exact{4 * k, 4 * k, client.cx - 4 * k, client.cy - 4 * k}),
                           "the recorded area at " + std::to_string(dpi));
        Canvas printed(client.cx, client.cy);
        PrintClient(frame, printed);
        EXPECT_EQ(SentinelPixels(frame, printed), 0) << "recording at " << dpi;
        if (first) {
            EXPECT_TRUE(WriteGalleryScreen(frame.m_hWnd, L"recording_frame_recording"));
        }
        frame.ShowIdleLook();
        first = false;
    }
    frame.DestroyWindow();
}

// ---- the recorder's Record button -----------------------------------------------------------

TEST(SkinnedWindows, TheRecordButtonIsItsPictureTimesTheScaleWithItsCaptionBelowTheSymbol) {
    TempFolder folder;
    auto recorder = std::make_unique<CAnigifCapture>(nullptr, [&] { return folder.File(L"TX_1.png"); },
                                                     folder.File(L"tovrix.ini"));
    ASSERT_TRUE(recorder->Create(IDD_ANIGIF_CAPTURE, nullptr));
    recorder->ShowWindow(SW_SHOW);
    ParkPointer();
    HWND button = recorder->GetDlgItem(IDC_GIF_RECORD);
    const CxSkinButton& recordButton = recorder->RecordButton();
    const RECT opened = ChildRect(button);
    bool first = true;
    for (UINT dpi : ScalesToVisit()) {
        if (dpi != SessionDpi() || !first) SendDpiChanged(*recorder, dpi);
        PumpMessages(20);
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        const RECT place = ChildRect(button);
        EXPECT_EQ(place.right - place.left, ScaleToDpi(60, dpi));
        EXPECT_EQ(place.bottom - place.top, ScaleToDpi(72, dpi));
        // Its corner moves with the dialog's layout.
        EXPECT_NEAR(place.left, opened.left * static_cast<double>(dpi) / SessionDpi(), 1);
        EXPECT_NEAR(place.top, opened.top * static_cast<double>(dpi) / SessionDpi(), 1);
        // Both captions fit below the symbol (which ends 42 pixels down at 100 %), in the font
        // the button draws them with.
        for (const wchar_t* caption : {CAnigifCapture::kStopText, CAnigifCapture::kRecordText}) {
            ::SetWindowTextW(button, caption);
            ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            const SIZE text = TextSize(button, recordButton.GetCaptionFont(), caption);
            EXPECT_LE(text.cx, place.right - place.left) << "caption wider than the button";
            EXPECT_LE(text.cy, ScaleToDpi(72 - 42, dpi)) << "caption over the symbol";
        }
        Canvas printed(ClientSize(*recorder).cx, ClientSize(*recorder).cy);
        PrintClient(*recorder, printed);
        EXPECT_EQ(SentinelPixels(*recorder, printed), 0);
        if (IsDrawn(dpi)) {
            // Above the caption the button is its picture for the scale.
            SIZE size{};
            const std::vector<COLORREF> picture = PictureFrame(IDB_RECORD_BUTTON, dpi, 4, 0, &size);
            const RECT symbol{place.left, place.top, place.right, place.top + ScaleToDpi(44, dpi)};
            const std::vector<COLORREF> upper(picture.begin(), picture.begin() + size.cx * ScaleToDpi(44, dpi));
            EXPECT_TRUE(PixelsIn(printed, symbol) == upper) << "the button shows another picture";
        }
        if (first) {
            recorder->FrameWindow().ShowWindow(SW_HIDE);  // it lies over the dialog's new place
            EXPECT_TRUE(WriteGalleryScreen(recorder->m_hWnd, L"recorder_dialog"));
            recorder->FrameWindow().ShowWindow(SW_SHOWNOACTIVATE);
            first = false;
        }
    }
    recorder->DestroyWindow();
}

// ---- the progress window --------------------------------------------------------------------

TEST(SkinnedWindows, TheProgressWindowScalesItsMarginsTextAndFont) {
    TempFolder folder;
    CAppProfile::SetPath(folder.File(L"profile.ini"));
    CProgressWnd progress(nullptr, L"Progress", TRUE);
    progress.SetRange(0, 7, 1);
    progress.SetText(L"Save......");
    progress.StepIt();
    progress.StepIt();
    PumpMessages(20);
    TEXTMETRICW opened{};
    {
        CClientDC dc(progress.m_hWnd);
        CSelectObject select(dc, progress.GetTextFont());
        ::GetTextMetricsW(dc, &opened);
    }
    bool first = true;
    for (UINT dpi : ScalesToVisit()) {
        if (dpi != progress.GetDpi()) SendDpiChanged(progress, dpi);
        PumpMessages(20);
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        const double k = dpi / 96.0;
        HWND text = progress.GetDlgItem(CProgressWnd::kTextId);
        HWND bar = progress.GetDlgItem(CProgressWnd::kBarId);
        const RECT textPlace = ChildRect(text);
        EXPECT_NEAR(textPlace.left, 10 * k, 1);
        EXPECT_NEAR(textPlace.top, 10 * k, 1);
        EXPECT_NEAR(textPlace.right - textPlace.left, 390 * k, 1);
        EXPECT_NEAR(ChildRect(bar).left, 10 * k, 1);
        EXPECT_NEAR(ClientSize(progress).cx, 410 * k, 2);
        // The font is the message font for the scale: its height follows the scale.
        TEXTMETRICW metrics{};
        {
            CClientDC dc(progress.m_hWnd);
            CSelectObject select(dc, progress.GetTextFont());
            ::GetTextMetricsW(dc, &metrics);
        }
        EXPECT_NEAR(metrics.tmHeight, opened.tmHeight * static_cast<double>(dpi) / SessionDpi(), 1.5);
        // Four lines of text and the line written fit the text control.
        EXPECT_GE(textPlace.bottom - textPlace.top, 4 * metrics.tmHeight);
        EXPECT_LE(TextSize(text, progress.GetTextFont(), L"Save......").cx, textPlace.right - textPlace.left);
        Canvas printed(ClientSize(progress).cx, ClientSize(progress).cy);
        PrintClient(progress, printed);
        EXPECT_EQ(SentinelPixels(progress, printed), 0);
        if (first) {
            EXPECT_TRUE(WriteGalleryScreen(progress.m_hWnd, L"progress_window"));
            first = false;
        }
    }
}

// ---- the settings dialog's banner -----------------------------------------------------------

TEST(SkinnedWindows, TheSettingsBannerIsItsPictureTimesTheScaleAcrossTheDialog) {
    TempFolder folder;
    TestSettingsDlg dialog(folder.File(L"Tovrix.ini"));
    ASSERT_TRUE(dialog.Create(IDD_TOVRIX_DIALOG));
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    PumpMessages(20);
    HWND banner = dialog.GetDlgItem(IDC_BANNER);
    // The dialog's width follows its font, which follows the scale: the banner spans it.
    const SIZE client = ClientSize(dialog);
    EXPECT_NEAR(ChildRect(banner).right, client.cx, client.cx * 0.05) << "the banner does not span the dialog";
    EXPECT_TRUE(WriteGalleryScreen(dialog.m_hWnd, L"settings_dialog"));
    for (UINT dpi : ScalesToVisit()) {
        SendDpiChanged(dialog, dpi);
        PumpMessages(20);
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        const RECT place = ChildRect(banner);
        EXPECT_EQ(Text(place), Text(RECT{0, 0, ScaleToDpi(440, dpi), ScaleToDpi(60, dpi)}));
        const SIZE now = ClientSize(dialog);
        Canvas printed(std::max<int>(now.cx, place.right), std::max<int>(now.cy, place.bottom));
        PrintClient(dialog, printed);
        EXPECT_EQ(SentinelPixels(dialog, printed), 0);
        if (IsDrawn(dpi)) {
            SIZE size{};
            const std::vector<COLORREF> picture = PictureFrame(IDB_BANNER, dpi, 1, 0, &size);
            EXPECT_TRUE(PixelsIn(printed, place) == picture) << "the banner shows another picture";
        }
    }
    dialog.DestroyWindow();
}


// ---- the overlay dialog ---------------------------------------------------------------------

// Runs once from the overlay dialog's modal loop.
std::function<void()> g_overlayStep;
void CALLBACK RunOverlayStep(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (g_overlayStep) g_overlayStep();
}

TEST(ScaledDialogs, TheOverlayDialogsTabColumnIsItsPixelWidthTimesTheScale) {
    TempFolder folder;
    CTestOutlineTextDlg overlay;
    overlay.GetIni().SetPath(folder.File(L"Tovrix.ini"));
    overlay.LoadOverlaySettings();
    bool ran = false;
    g_overlayStep = [&] {
        ran = true;
        HWND dialog = overlay.m_hWnd;
        HWND tab = ::GetDlgItem(dialog, IDC_OVERLAY_TABS);
        bool first = true;
        for (UINT dpi : ScalesToVisit()) {
            if (!first) SendDpiChanged(dialog, dpi);
            PumpMessages(20);
            SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
            const double k = dpi / 96.0;
            const SIZE client = ClientSize(dialog);
            // The tab control takes the right 300 pixels (at 100 %) less the margin of 7.
            EXPECT_NEAR_SCALED(ChildRect(tab), (Exact{client.cx - 300 * k, 7 * k, client.cx - 7 * k,
                                                      static_cast<double>(ChildRect(tab).bottom)}),
                               "the tab control");
            if (first) {
                EXPECT_TRUE(WriteGalleryScreen(dialog, L"overlay_dialog"));
            }
            first = false;
        }
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    ::SetTimer(nullptr, 0, 50, &RunOverlayStep);
    overlay.DoModal(nullptr);
    g_overlayStep = nullptr;
    EXPECT_TRUE(ran);
}

}  // namespace
