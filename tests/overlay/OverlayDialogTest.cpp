// The overlay dialog driven by messages from inside its own modal loop: typed values reach the
// live state and the preview's pixels at once, refused values leave both alone with the range
// message, OK writes the settings file, the title-bar close brings the stored values back, Esc
// keeps the edits live without saving, the logo check greys its page and clears the preview,
// resizing widens the preview, and the preview shows what a recorded frame gets.
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>
#include "OverlayTestSupport.h"
#include "FontDescription.h"
#include "overlay_ids.h"

using overlay_test::Canvas;
using overlay_test::LoadedOverlay;
using overlay_test::ReadFileText;

namespace {

const COLORREF kBackground = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kLogo = RGB(0, 0, 255);

std::string CaptionKeys(int position = 0) {
    return "LetterIs=1\r\nLetter=Wide\r\nThickness=2\r\nTextColor=255\r\nOutlineColor=0\r\n"
           "FontName=Arial\r\nFontDesc=-40:0:0:0:700:0:0:0:0:3:2:1:34\r\nTextPos=" +
           std::to_string(position) + "\r\nTextPosX=10\r\nTextPosY=10\r\nAngle=0\r\n";
}

// Runs the dialog modally and carries out the steps one by one from a timer of its loop; if the
// steps leave it open, Esc ends it.
class Script {
public:
    using Step = std::function<void()>;
    Script(CTestOutlineTextDlg& dialog, std::vector<Step> steps) : m_dialog(dialog), m_steps(std::move(steps)) {}

    INT_PTR Run() {
        s_running = this;
        m_timer = ::SetTimer(nullptr, 0, 10, &Script::Tick);
        INT_PTR result = m_dialog.DoModal(nullptr);
        ::KillTimer(nullptr, m_timer);
        s_running = nullptr;
        EXPECT_EQ(m_next, m_steps.size()) << "the dialog ended before every step ran";
        return result;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        Script* script = s_running;
        if (!script || !script->m_dialog.m_hWnd) return;
        if (script->m_next < script->m_steps.size()) {
            script->m_steps[script->m_next++]();
        } else {
            ::SendMessageW(script->m_dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        if (s_running == script && script->m_dialog.m_hWnd)
            script->m_timer = ::SetTimer(nullptr, 0, 10, &Script::Tick);
    }

    static Script* s_running;
    CTestOutlineTextDlg& m_dialog;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
};
Script* Script::s_running = nullptr;

HWND Item(CDialog& page, int id) { return ::GetDlgItem(page.m_hWnd, id); }

// Replaces the edit's text key by key, as typing does (an empty text deletes everything).
void Type(HWND edit, const std::wstring& text) {
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    if (text.empty()) ::SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    for (wchar_t c : text) ::SendMessageW(edit, WM_CHAR, c, 0);
}

// The preview's client area as it is on the screen now.
void ReadView(CLogoView& view, Canvas& into) {
    view.RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW);
    testing_support::PumpMessages();
    HDC dc = ::GetDC(view.m_hWnd);
    ::BitBlt(into.dc(), 0, 0, into.width(), into.height(), dc, 0, 0, SRCCOPY);
    ::ReleaseDC(view.m_hWnd, dc);
}

RECT BoxOf(const Canvas& canvas, COLORREF colour) {
    RECT box{canvas.width(), canvas.height(), 0, 0};
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.At(x, y) == colour) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

// A white picture of the recording area for the preview.
class Picture {
public:
    Picture(int width, int height, COLORREF colour) {
        HDC screen = ::GetDC(nullptr);
        m_bitmap = ::CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(nullptr, screen);
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ previous = ::SelectObject(dc, m_bitmap);
        for (int y = 0; y < height; ++y) {
            // A soft gradient so that a shifted or scaled picture shows.
            for (int x = 0; x < width; x += 4) {
                RECT cell{x, y, x + 4, y + 1};
                HBRUSH brush = ::CreateSolidBrush(colour == kBackground ? kBackground
                                                                        : RGB(x & 255, y & 255, 128));
                ::FillRect(dc, &cell, brush);
                ::DeleteObject(brush);
            }
        }
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
    }
    ~Picture() { ::DeleteObject(m_bitmap); }
    HBITMAP get() const { return m_bitmap; }

private:
    HBITMAP m_bitmap;
};

TEST(OverlayDialog, TypedMarginAndAngleMoveTheCaptionInThePreviewAndOkSavesThem) {
    LoadedOverlay loaded(CaptionKeys());
    CTestOutlineTextDlg& dialog = loaded.overlay;
    Picture picture(320, 240, kBackground);
    dialog.SetPreviewBitmap(picture.get());
    RECT before{}, moved{}, turned{};
    CInsertLetter& page = dialog.GetLetterPage();
    Script script(dialog, {
        [&] {
            ASSERT_NE(dialog.GetView(), nullptr);
            EXPECT_EQ(dialog.GetDocument().GetReferenceSize().cx, 320);
            EXPECT_EQ(dialog.GetDocument().GetReferenceSize().cy, 240);
            Canvas view(320, 240, kBackground);
            ReadView(*dialog.GetView(), view);
            before = BoxOf(view, kRed);
        },
        [&] { Type(Item(page, IDC_CAPTION_MARGIN_X), L"60"); },
        [&] {
            EXPECT_EQ(dialog.GetSettings().TextPosX, 60);
            EXPECT_EQ(dialog.GetDocument().m_textMarginX, 60);
            Canvas view(320, 240, kBackground);
            ReadView(*dialog.GetView(), view);
            moved = BoxOf(view, kRed);
        },
        // Turned about its top-left corner the text runs upwards: lower it first.
        [&] { Type(Item(page, IDC_CAPTION_MARGIN_Y), L"150"); },
        [&] { Type(Item(page, IDC_CAPTION_ANGLE), L"90"); },
        [&] {
            EXPECT_EQ(dialog.GetDocument().m_angle, 900);
            Canvas view(320, 240, kBackground);
            ReadView(*dialog.GetView(), view);
            turned = BoxOf(view, kRed);
        },
        [&] { ::SendMessageW(dialog.m_hWnd, WM_COMMAND, IDOK, 0); },
    });
    EXPECT_EQ(script.Run(), IDOK);

    ASSERT_LT(before.left, before.right) << "no caption in the preview";
    EXPECT_NEAR(before.left, 10, 4);
    EXPECT_NEAR(moved.left - before.left, 50, 1);
    EXPECT_EQ(moved.top, before.top);
    EXPECT_GT(turned.bottom - turned.top, turned.right - turned.left);
    EXPECT_GT(before.right - before.left, before.bottom - before.top);
    const std::string text = ReadFileText(loaded.iniPath);
    EXPECT_NE(text.find("TextPosX=60"), std::string::npos) << text;
    EXPECT_NE(text.find("Angle=90"), std::string::npos) << text;
}

TEST(OverlayDialog, RefusedValuesChangeNothingAndTheTitleBarCloseRestoresTheStoredValues) {
    LoadedOverlay loaded(CaptionKeys());
    CTestOutlineTextDlg& dialog = loaded.overlay;
    const std::string stored = ReadFileText(loaded.iniPath);
    CInsertLetter& page = dialog.GetLetterPage();
    testing_support::MessageBoxRecorder boxes;
    Script script(dialog, {
        [&] { Type(Item(page, IDC_CAPTION_MARGIN_X), L"600"); },
        [&] {
            ASSERT_EQ(boxes.Texts().size(), 1u);
            EXPECT_EQ(boxes.Texts()[0], L"0에서 500 사이의 정수를 입력하십시오.");
            // "6" and "60" were taken as they were typed; "600" was not.
            EXPECT_EQ(dialog.GetSettings().TextPosX, 60);
            EXPECT_EQ(dialog.GetDocument().m_textMarginX, 60);
            Type(Item(page, IDC_CAPTION_MARGIN_X), L"70");
        },
        [&] {
            EXPECT_EQ(dialog.GetDocument().m_textMarginX, 70);
            Type(Item(page, IDC_CAPTION_ANGLE), L"");
        },
        [&] {
            ASSERT_EQ(boxes.Texts().size(), 2u);
            EXPECT_EQ(boxes.Texts()[1], L"정수를 입력하십시오.");
            EXPECT_EQ(dialog.GetSettings().Angle, 0);
            Type(Item(page, IDC_CAPTION_ANGLE), L"365");
        },
        [&] {
            // 365 is within the range (a whole turn and five degrees); 36 and 3 were on the way.
            EXPECT_EQ(boxes.Texts().size(), 2u);
            EXPECT_EQ(dialog.GetSettings().Angle, 365);
            EXPECT_EQ(dialog.GetDocument().m_angle, 3650);
            Type(Item(page, IDC_CAPTION_ALPHA), L"256");
        },
        [&] {
            ASSERT_EQ(boxes.Texts().size(), 3u);
            EXPECT_EQ(boxes.Texts()[2], L"0에서 255 사이의 정수를 입력하십시오.");
            EXPECT_EQ(dialog.GetDocument().m_outlineAlpha, 25);
            Type(Item(page, IDC_CAPTION_ALPHA), L"200");
        },
        [&] { ::SendMessageW(dialog.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); },
    });
    EXPECT_EQ(script.Run(), IDCANCEL);

    EXPECT_EQ(ReadFileText(loaded.iniPath), stored);
    EXPECT_EQ(dialog.GetSettings().TextPosX, 10);
    EXPECT_EQ(dialog.GetSettings().Angle, 0);
    EXPECT_EQ(dialog.GetSettings().OutLineAlpha, 255);
    EXPECT_EQ(dialog.GetDocument().m_textMarginX, 10);
    EXPECT_EQ(dialog.GetDocument().m_angle, 0);
    EXPECT_EQ(dialog.GetDocument().m_outlineAlpha, 255);
}

// Every kept frame has the caption drawn into it: a caption longer than the limit is refused as
// it is typed or pasted, with a message, and the live caption stays the last one accepted.
TEST(OverlayDialog, ACaptionLongerThanTheLimitIsRefusedWithAMessage) {
    LoadedOverlay loaded(CaptionKeys());
    CTestOutlineTextDlg& dialog = loaded.overlay;
    CInsertLetter& page = dialog.GetLetterPage();
    const std::wstring longest(OverlaySettings::kMaxLetterLength, L'가');
    const std::wstring message = std::to_wstring(OverlaySettings::kMaxLetterLength) + L"자 이하로 입력하십시오.";
    testing_support::MessageBoxRecorder boxes;
    Script script(dialog, {
        [&] { Type(Item(page, IDC_CAPTION_TEXT), longest); },
        [&] {
            EXPECT_TRUE(boxes.Texts().empty());
            EXPECT_EQ(dialog.GetDocument().m_text, longest);
            Type(Item(page, IDC_CAPTION_TEXT), longest + L"X");
        },
        [&] {
            ASSERT_EQ(boxes.Texts().size(), 1u);
            EXPECT_EQ(boxes.Texts()[0], message);
            EXPECT_EQ(dialog.GetSettings().Letter, longest);
            EXPECT_EQ(dialog.GetDocument().m_text, longest);
            // Pasted at once.
            ::SetWindowTextW(Item(page, IDC_CAPTION_TEXT), std::wstring(5000, L'x').c_str());
        },
        [&] {
            ASSERT_EQ(boxes.Texts().size(), 2u);
            EXPECT_EQ(boxes.Texts()[1], message);
            EXPECT_EQ(dialog.GetDocument().m_text, longest);
            Type(Item(page, IDC_CAPTION_TEXT), L"REC");
        },
        [&] { EXPECT_EQ(dialog.GetDocument().m_text, L"REC"); },
    });
    EXPECT_EQ(script.Run(), IDCANCEL);
    EXPECT_EQ(boxes.Texts().size(), 2u);
}

TEST(OverlayDialog, EscKeepsTheEditsLiveUnsavedAndALaterOkSavesThem) {
    LoadedOverlay loaded(CaptionKeys());
    CTestOutlineTextDlg& dialog = loaded.overlay;
    Picture picture(200, 150, kBackground);
    dialog.SetPreviewBitmap(picture.get());
    CInsertLetter& page = dialog.GetLetterPage();
    Script first(dialog, {
        [&] { Type(Item(page, IDC_CAPTION_MARGIN_Y), L"123"); },
        [&] { ::PostMessageW(Item(page, IDC_CAPTION_MARGIN_Y), WM_KEYDOWN, VK_ESCAPE, 0); },
    });
    EXPECT_EQ(first.Run(), IDCANCEL);
    // The preview went with the window; the document it showed stays, with its reference size.
    EXPECT_EQ(dialog.GetView(), nullptr);
    EXPECT_FALSE(dialog.GetDocument().HasViews());
    EXPECT_EQ(dialog.GetDocument().GetPreviewPicture(), nullptr);
    EXPECT_EQ(dialog.GetDocument().GetReferenceSize().cx, 200);
    EXPECT_EQ(dialog.GetSettings().TextPosY, 123);
    EXPECT_EQ(dialog.GetDocument().m_textMarginY, 123);
    EXPECT_EQ(ReadFileText(loaded.iniPath).find("TextPosY=123"), std::string::npos);

    // The next opening builds its windows anew and shows the kept value; OK stores it.
    Script second(dialog, {
        [&] {
            EXPECT_EQ(GetWindowTextString(Item(page, IDC_CAPTION_MARGIN_Y)), L"123");
            ::SendMessageW(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
        },
    });
    EXPECT_EQ(second.Run(), IDOK);
    EXPECT_NE(ReadFileText(loaded.iniPath).find("TextPosY=123"), std::string::npos);
}

TEST(OverlayDialog, UntickingTheLogoGreysItsPageAndTakesItOffThePreview) {
    testing_support::TempFolder pictures;
    const std::wstring logo = pictures.File(L"logo.png");
    ASSERT_TRUE(overlay_test::WritePicture(logo, 40, 24, kLogo, kLogo));
    LoadedOverlay loaded("LogoIs=1\r\nLogoPos=8\r\nLogoPosX=10\r\nLogoPosY=10\r\nLogoPath=" +
                         std::string(logo.begin(), logo.end()) + "\r\n");
    CTestOutlineTextDlg& dialog = loaded.overlay;
    Picture picture(320, 240, kBackground);
    dialog.SetPreviewBitmap(picture.get());
    CInsertLogo& page = dialog.GetLogoPage();
    Script script(dialog, {
        [&] {
            Canvas view(320, 240, kBackground);
            ReadView(*dialog.GetView(), view);
            EXPECT_EQ(view.CountIn(RECT{270, 206, 310, 230}, kLogo), 40 * 24);
            for (int id = IDC_LOGO_PATH; id <= IDC_LOGO_MARGIN_Y; ++id)
                EXPECT_TRUE(::IsWindowEnabled(Item(page, id))) << id;
            ::SendMessageW(Item(page, IDC_LOGO_ON), BM_CLICK, 0, 0);
        },
        [&] {
            EXPECT_FALSE(dialog.IsLogoOn());
            for (int id = IDC_LOGO_PATH; id <= IDC_LOGO_MARGIN_Y; ++id)
                EXPECT_FALSE(::IsWindowEnabled(Item(page, id))) << id;
            Canvas view(320, 240, kBackground);
            ReadView(*dialog.GetView(), view);
            EXPECT_EQ(view.CountIn(RECT{0, 0, 320, 240}, kLogo), 0);
            // A cell of the grid moves it once it is back.
            ::SendMessageW(Item(page, IDC_LOGO_ON), BM_CLICK, 0, 0);
            ::SendMessageW(Item(page, IDC_LOGO_POS_FIRST), BM_CLICK, 0, 0);
        },
        [&] {
            EXPECT_TRUE(dialog.IsLogoOn());
            EXPECT_EQ(dialog.GetSettings().LogoPos, 0);
            Canvas view(320, 240, kBackground);
            ReadView(*dialog.GetView(), view);
            EXPECT_EQ(view.CountIn(RECT{10, 10, 50, 34}, kLogo), 40 * 24);
        },
    });
    EXPECT_EQ(script.Run(), IDCANCEL);
}

TEST(OverlayDialog, WideningTheDialogWidensThePreviewAndMovesTheTabsAndOk) {
    LoadedOverlay loaded;
    CTestOutlineTextDlg& dialog = loaded.overlay;
    auto placeOf = [&](HWND control) {
        RECT rect;
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    RECT view{}, tabs{}, ok{};
    Script script(dialog, {
        [&] {
            view = placeOf(dialog.GetView()->m_hWnd);
            tabs = placeOf(dialog.GetDlgItem(IDC_OVERLAY_TABS));
            ok = placeOf(dialog.GetDlgItem(IDOK));
            RECT client;
            dialog.GetClientRect(&client);
            // The preview on the left, the tab control in the 300 pixels on the right.
            EXPECT_LT(view.right, tabs.left);
            EXPECT_EQ(tabs.left, client.right - 300);
            RECT window;
            dialog.GetWindowRect(&window);
            dialog.SetWindowPos(nullptr, 0, 0, window.right - window.left + 100, window.bottom - window.top,
                                SWP_NOMOVE | SWP_NOZORDER);
        },
        [&] {
            const RECT wideView = placeOf(dialog.GetView()->m_hWnd);
            const RECT wideTabs = placeOf(dialog.GetDlgItem(IDC_OVERLAY_TABS));
            const RECT wideOk = placeOf(dialog.GetDlgItem(IDOK));
            EXPECT_EQ(wideView.right - wideView.left, view.right - view.left + 100);
            EXPECT_EQ(wideView.bottom - wideView.top, view.bottom - view.top);
            EXPECT_EQ(wideTabs.left, tabs.left + 100);
            EXPECT_EQ(wideTabs.top, tabs.top);
            EXPECT_EQ(wideTabs.right - wideTabs.left, tabs.right - tabs.left);
            EXPECT_EQ(wideOk.left, ok.left + 100);
            EXPECT_EQ(wideOk.top, ok.top);
        },
    });
    EXPECT_EQ(script.Run(), IDCANCEL);
}

// The preview draws the picture and both overlays exactly as a recorded frame of the picture's
// size gets them.
TEST(OverlayDialog, ThePreviewShowsWhatTheRecordingDraws) {
    testing_support::TempFolder pictures;
    const std::wstring logo = pictures.File(L"logo.bmp");
    ASSERT_TRUE(overlay_test::WritePicture(logo, 30, 20, kLogo, RGB(0, 160, 0)));
    LoadedOverlay loaded(CaptionKeys(8) + "LogoIs=1\r\nLogoPos=4\r\nLogoPath=" +
                         std::string(logo.begin(), logo.end()) + "\r\n");
    CTestOutlineTextDlg& dialog = loaded.overlay;
    const int width = 300, height = 200;
    Picture picture(width, height, RGB(1, 2, 3));
    dialog.SetPreviewBitmap(picture.get());

    Canvas frame(width, height, kBackground);
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ previous = ::SelectObject(dc, picture.get());
        ::BitBlt(frame.dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
    }
    dialog.ApplyOverlay(frame.dc());

    Canvas view(width, height, kBackground);
    Script script(dialog, {
        [&] { ReadView(*dialog.GetView(), view); },
    });
    script.Run();

    // Inside the one-pixel black outline the preview is the recorded frame, pixel for pixel.
    int different = 0;
    for (int y = 1; y < height - 1; ++y)
        for (int x = 1; x < width - 1; ++x) different += view.At(x, y) != frame.At(x, y);
    EXPECT_EQ(different, 0);
    EXPECT_EQ(view.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(view.At(width - 1, height / 2), RGB(0, 0, 0));
    // The logo and the caption are there at all.
    EXPECT_EQ(frame.CountIn(RECT{135, 90, 150, 110}, kLogo), 15 * 20);
    EXPECT_GT(frame.CountIn(RECT{150, 100, 300, 200}, kRed), 100);
}

// The wheel scrolls the preview from anywhere in the dialog, also from a control of a page.
TEST(OverlayDialog, TheWheelScrollsThePreviewWhereverTheFocusIs) {
    LoadedOverlay loaded(CaptionKeys());
    CTestOutlineTextDlg& dialog = loaded.overlay;
    Picture picture(1200, 1000, RGB(1, 2, 3));
    dialog.SetPreviewBitmap(picture.get());
    const WPARAM down = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
    Script script(dialog, {
        [&] {
            CLogoView& view = *dialog.GetView();
            EXPECT_EQ(view.GetTotalSize().cx, 1200);
            EXPECT_EQ(view.GetScrollPosition().y, 0);
            dialog.SendMessage(WM_MOUSEWHEEL, down, 0);
            const int oneNotch = view.GetScrollPosition().y;
            EXPECT_GT(oneNotch, 0);
            // (A check box: Wine's single-line edits keep the wheel, Windows' pass it on.)
            HWND check = Item(dialog.GetLetterPage(), IDC_CAPTION_ON);
            ::SetFocus(check);
            ::SendMessageW(check, WM_MOUSEWHEEL, down, 0);
            EXPECT_EQ(view.GetScrollPosition().y, 2 * oneNotch);
        },
    });
    EXPECT_EQ(script.Run(), IDCANCEL);
}

// Chooses another face in the font dialog that the page opens, then presses its OK.
UINT_PTR g_fontTimer = 0;
HWND g_overlayDialog = nullptr;
BOOL CALLBACK AnswerFontDialog(HWND hwnd, LPARAM) {
    wchar_t className[16] = {};
    ::GetClassNameW(hwnd, className, 16);
    if (hwnd == g_overlayDialog || !::IsWindowVisible(hwnd) || std::wstring(className) != L"#32770") return TRUE;
    const int faceList = 0x470;  // the face combo box of the font dialog
    HWND faces = ::GetDlgItem(hwnd, faceList);
    if (!faces) return TRUE;
    ::SendMessageW(faces, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Tahoma"));
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(faceList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(faces));
    ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}
void CALLBACK FontTimer(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &AnswerFontDialog, 0);
}

// A chosen font is live at once; closing through the title bar takes every stored value back
// but the live font, which the next recorder start reads again.
TEST(OverlayDialog, AChosenFontStaysLiveThroughTheTitleBarClose) {
    LoadedOverlay loaded(CaptionKeys());
    CTestOutlineTextDlg& dialog = loaded.overlay;
    CInsertLetter& page = dialog.GetLetterPage();
    Script script(dialog, {
        [&] {
            EXPECT_EQ(GetWindowTextString(Item(page, IDC_CAPTION_FONT_LABEL)).rfind(L"Arial, ", 0), 0u);
            g_overlayDialog = dialog.m_hWnd;
            g_fontTimer = ::SetTimer(nullptr, 0, 20, &FontTimer);
            ::SendMessageW(page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_CAPTION_FONT, BN_CLICKED),
                           reinterpret_cast<LPARAM>(Item(page, IDC_CAPTION_FONT)));
            ::KillTimer(nullptr, g_fontTimer);
        },
        [&] {
            EXPECT_STREQ(dialog.GetDocument().m_font.lfFaceName, L"Tahoma");
            EXPECT_EQ(dialog.GetSettings().FontName, L"Tahoma");
            EXPECT_EQ(dialog.GetSettings().FontDesc, FormatFontDescription(dialog.GetDocument().m_font));
            EXPECT_EQ(GetWindowTextString(Item(page, IDC_CAPTION_FONT_LABEL)).rfind(L"Tahoma, ", 0), 0u);
            Type(Item(page, IDC_CAPTION_MARGIN_X), L"44");
        },
        [&] { ::SendMessageW(dialog.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); },
    });
    EXPECT_EQ(script.Run(), IDCANCEL);
    EXPECT_EQ(dialog.GetSettings().FontName, L"Arial");
    EXPECT_EQ(dialog.GetSettings().TextPosX, 10);
    EXPECT_STREQ(dialog.GetDocument().m_font.lfFaceName, L"Tahoma");
    EXPECT_NE(ReadFileText(loaded.iniPath).find("FontName=Arial"), std::string::npos);
}

// Types a full path into the open-file dialog that the logo page opens, then presses its OK.
std::wstring g_typedPath;
BOOL CALLBACK AnswerFileDialog(HWND hwnd, LPARAM) {
    wchar_t className[16] = {};
    ::GetClassNameW(hwnd, className, 16);
    if (hwnd == g_overlayDialog || !::IsWindowVisible(hwnd) || std::wstring(className) != L"#32770") return TRUE;
    const int fileName = 0x47c;  // the file name box of the open dialog
    if (!::GetDlgItem(hwnd, fileName)) return TRUE;
    ::SetDlgItemTextW(hwnd, fileName, g_typedPath.c_str());
    ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}
void CALLBACK FileTimer(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &AnswerFileDialog, 0);
}

void ChooseLogoFile(CInsertLogo& page, const std::wstring& path) {
    g_typedPath = path;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &FileTimer);
    ::SendMessageW(page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOGO_BROWSE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(page, IDC_LOGO_BROWSE)));
    ::KillTimer(nullptr, timer);
}

// A picture chosen with "..." becomes the logo at once; a file that is no picture is refused
// with a message and the logo there was stays.
TEST(OverlayDialog, AChosenLogoFileShowsAtOnceAndOneThatIsNoPictureKeepsThePrevious) {
    testing_support::TempFolder pictures;
    const std::wstring first = pictures.File(L"first.png");
    const std::wstring second = pictures.File(L"second.bmp");
    const std::wstring notes = pictures.File(L"notes.png");
    ASSERT_TRUE(overlay_test::WritePicture(first, 40, 24, kLogo, kLogo));
    ASSERT_TRUE(overlay_test::WritePicture(second, 20, 30, RGB(0, 160, 0), RGB(0, 160, 0)));
    overlay_test::WriteIni(notes, "no picture");
    LoadedOverlay loaded("LogoIs=1\r\nLogoPos=0\r\nLogoPath=" + std::string(first.begin(), first.end()) + "\r\n");
    CTestOutlineTextDlg& dialog = loaded.overlay;
    Picture picture(320, 240, kBackground);
    dialog.SetPreviewBitmap(picture.get());
    CInsertLogo& page = dialog.GetLogoPage();
    testing_support::MessageBoxRecorder boxes;
    Script script(dialog, {
        [&] {
            g_overlayDialog = dialog.m_hWnd;
            ChooseLogoFile(page, second);
        },
        [&] {
            EXPECT_EQ(dialog.GetSettings().LogoPath, second);
            EXPECT_EQ(GetWindowTextString(Item(page, IDC_LOGO_PATH)), second);
            Canvas view(320, 240, kBackground);
            ReadView(*dialog.GetView(), view);
            EXPECT_EQ(view.CountIn(RECT{10, 10, 30, 40}, RGB(0, 160, 0)), 20 * 30);
            EXPECT_EQ(view.CountIn(RECT{0, 0, 320, 240}, kLogo), 0);
            ChooseLogoFile(page, notes);
        },
        [&] {
            ASSERT_EQ(boxes.Texts().size(), 1u);
            EXPECT_NE(boxes.Texts()[0].find(notes), std::wstring::npos) << boxes.Texts()[0];
            EXPECT_EQ(dialog.GetSettings().LogoPath, second);
            EXPECT_TRUE(dialog.GetDocument().HasLogo());
            Canvas view(320, 240, kBackground);
            ReadView(*dialog.GetView(), view);
            EXPECT_EQ(view.CountIn(RECT{10, 10, 30, 40}, RGB(0, 160, 0)), 20 * 30);
        },
    });
    EXPECT_EQ(script.Run(), IDCANCEL);
}

}  // namespace
