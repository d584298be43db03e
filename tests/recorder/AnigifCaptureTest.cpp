// The recorder dialog as the user meets it: its seven "AniGif" keys read and written, the
// validation messages, the controls a recording locks, closing refused while recording, the F5
// hot key, and a recording of the known screen (with a window changing inside the frame) that
// ends as a decodable animation beside the still captures.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <system_error>
#include <thread>
#include <utility>
#include "CAnigifCapture.h"
#include "CWinApp.h"
#include "RecorderTestSupport.h"
#include "TestSupport.h"
#include "resource.h"

using namespace recorder_testing;
using testing_support::LaterInTheLoop;
using testing_support::ListFiles;
using testing_support::MessageBoxRecorder;
using testing_support::PatternColor;
using testing_support::PumpMessages;
using testing_support::TempFolder;
using testing_support::WaitUntil;

namespace {

std::wstring IniValue(const std::wstring& ini, const wchar_t* key) {
    wchar_t value[64] = {};
    ::GetPrivateProfileStringW(L"AniGif", key, L"(none)", value, 64, ini.c_str());
    return value;
}

using Recorder = RecorderDialog;

TEST_F(Recorder, StartsFromTheStoredKeysBelowItsFrame) {
    Write(L"ChkResize", L"1");
    Write(L"gifWidth", L"320");
    Write(L"gifHeight", L"240");
    Write(L"fps", L"15");
    Write(L"Qulity", L"4");
    Write(L"ChkCursor", L"1");
    Write(L"ChkEdit", L"0");
    Open();
    EXPECT_TRUE(Checked(IDC_GIF_RESIZE));
    EXPECT_EQ(L"320", dialog->GetDlgItemText(IDC_GIF_WIDTH));
    EXPECT_EQ(L"240", dialog->GetDlgItemText(IDC_GIF_HEIGHT));
    EXPECT_EQ(L"15", dialog->GetDlgItemText(IDC_GIF_FPS));
    EXPECT_EQ(4, static_cast<int>(::SendMessageW(Item(IDC_GIF_QUALITY), CB_GETCURSEL, 0, 0)));
    EXPECT_EQ(5, static_cast<int>(::SendMessageW(Item(IDC_GIF_QUALITY), CB_GETCOUNT, 0, 0)));
    EXPECT_EQ(20, dialog->Settings().SampleFactor());
    EXPECT_TRUE(Checked(IDC_GIF_CURSOR));
    EXPECT_FALSE(Checked(IDC_GIF_EDIT));
    EXPECT_TRUE(Enabled(IDC_GIF_WIDTH));
    EXPECT_EQ(L"Record(F5)", dialog->GetDlgItemText(IDC_GIF_RECORD));

    RECT frame, self;
    dialog->FrameWindow().GetWindowRect(&frame);
    dialog->GetWindowRect(&self);
    EXPECT_EQ(frame.left + 10, self.left);
    EXPECT_EQ(frame.bottom + 10, self.top);
    EXPECT_EQ(CGifSnapDlg::AreaCaption(dialog->FrameWindow().GetCaptureRect()), Caption());
    EXPECT_TRUE(dialog->FrameWindow().IsWindowVisible());
}

TEST_F(Recorder, ClosingWritesTheSevenKeys) {
    Open();
    EXPECT_FALSE(Enabled(IDC_GIF_WIDTH));  // "ChkResize" off by default
    EXPECT_EQ(2, static_cast<int>(::SendMessageW(Item(IDC_GIF_QUALITY), CB_GETCURSEL, 0, 0)));  // "중"
    ::SendMessageW(Item(IDC_GIF_RESIZE), BM_SETCHECK, BST_CHECKED, 0);
    Click(IDC_GIF_RESIZE);
    EXPECT_TRUE(Enabled(IDC_GIF_WIDTH));
    EXPECT_TRUE(Enabled(IDC_GIF_HEIGHT));
    dialog->SetDlgItemText(IDC_GIF_WIDTH, L"640");
    dialog->SetDlgItemText(IDC_GIF_FPS, L"30");
    ::SendMessageW(Item(IDC_GIF_EDIT), BM_SETCHECK, BST_CHECKED, 0);
    dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);  // Esc and the close box alike
    PumpMessages(50);
    EXPECT_FALSE(dialog->IsWindow());
    const struct {
        const wchar_t* key;
        const wchar_t* value;
    } expected[] = {{L"ChkResize", L"1"}, {L"gifWidth", L"640"}, {L"gifHeight", L"200"}, {L"fps", L"30"},
                    {L"Qulity", L"2"},    {L"ChkCursor", L"0"},  {L"ChkEdit", L"1"}};
    for (const auto& e : expected) EXPECT_EQ(e.value, IniValue(ini, e.key)) << e.key;
}

TEST_F(Recorder, BadValuesAreRefusedWithTheStandardMessages) {
    Open();
    // The size edits can be typed into only with "Resize" ticked.
    ::SendMessageW(Item(IDC_GIF_RESIZE), BM_SETCHECK, BST_CHECKED, 0);
    Click(IDC_GIF_RESIZE);
    const struct {
        int id;
        const wchar_t* typed;
        const wchar_t* message;
    } cases[] = {
        {IDC_GIF_FPS, L"0", L"1에서 30 사이의 정수를 입력하십시오."},
        {IDC_GIF_FPS, L"31", L"1에서 30 사이의 정수를 입력하십시오."},
        {IDC_GIF_FPS, L"", L"정수를 입력하십시오."},
        {IDC_GIF_WIDTH, L"99", L"100에서 2000 사이의 정수를 입력하십시오."},
        {IDC_GIF_HEIGHT, L"2001", L"100에서 2000 사이의 정수를 입력하십시오."},
    };
    for (const auto& c : cases) {
        const std::wstring before = dialog->GetDlgItemText(c.id);
        dialog->SetDlgItemText(c.id, c.typed);
        MessageBoxRecorder boxes;
        Click(IDC_GIF_RECORD);
        EXPECT_FALSE(dialog->IsRecording()) << c.typed;
        ASSERT_EQ(1u, boxes.Messages().size()) << c.typed;
        EXPECT_EQ(c.message, boxes.Messages()[0].text);
        // The focus goes back to the offending edit.
        EXPECT_EQ(Item(c.id), ::GetFocus()) << c.typed;
        // Closing is refused the same way.
        dialog->SendMessage(WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(dialog->IsWindow());
        dialog->SetDlgItemText(c.id, before);
    }
}

// Numbers out of range in the file, as a hand-edited file may hold, read as their defaults; a
// size the user cannot edit (greyed while "Resize" is off) never keeps a recording from starting.
TEST_F(Recorder, StoredNumbersOutOfRangeReadAsDefaultsAndGreyedSizesNeverBlock) {
    const struct {
        const wchar_t* key;
        const wchar_t* stored;
        int id;
        const wchar_t* shown;
    } cases[] = {
        {L"fps", L"0", IDC_GIF_FPS, L"10"},           {L"fps", L"-5", IDC_GIF_FPS, L"10"},
        {L"fps", L"100000", IDC_GIF_FPS, L"10"},      {L"gifWidth", L"0", IDC_GIF_WIDTH, L"300"},
        {L"gifWidth", L"-1", IDC_GIF_WIDTH, L"300"},  {L"gifHeight", L"100000", IDC_GIF_HEIGHT, L"200"},
        {L"Qulity", L"99", IDC_GIF_QUALITY, nullptr},
    };
    for (const auto& c : cases) {
        ::DeleteFileW(ini.c_str());
        Write(c.key, c.stored);
        Open();
        if (c.shown) {
            EXPECT_EQ(c.shown, dialog->GetDlgItemText(c.id)) << c.key << "=" << c.stored;
        }
        EXPECT_EQ(2, static_cast<int>(::SendMessageW(Item(IDC_GIF_QUALITY), CB_GETCURSEL, 0, 0)));
        MessageBoxRecorder boxes;
        Click(IDC_GIF_RECORD);
        EXPECT_TRUE(dialog->IsRecording()) << c.key << "=" << c.stored;
        EXPECT_TRUE(boxes.Messages().empty()) << c.key << "=" << c.stored;
        Click(IDC_GIF_RECORD);
        dialog->DestroyWindow();
        dialog.reset();
    }
    // A greyed size holding a value the dialog would refuse: recording and closing go on.
    for (const bool record : {true, false}) {
        Open();
        ASSERT_FALSE(Enabled(IDC_GIF_WIDTH));
        dialog->SetDlgItemText(IDC_GIF_WIDTH, L"5");
        dialog->SetDlgItemText(IDC_GIF_HEIGHT, L"");
        MessageBoxRecorder boxes;
        if (record) {
            Click(IDC_GIF_RECORD);
            EXPECT_TRUE(dialog->IsRecording());
            Click(IDC_GIF_RECORD);
            EXPECT_FALSE(dialog->IsRecording());
            dialog->DestroyWindow();
            dialog.reset();
        } else {
            dialog->SendMessage(WM_COMMAND, IDOK, 0);
            EXPECT_FALSE(dialog->IsWindow());
        }
        EXPECT_TRUE(boxes.Messages().empty()) << (record ? "recording" : "closing");
    }
    EXPECT_EQ(L"300", IniValue(ini, L"gifWidth"));  // the greyed text is not taken
    EXPECT_EQ(L"200", IniValue(ini, L"gifHeight"));
}

// A small window inside the frame that changes colour on every timer tick, so that the screen
// under the frame keeps changing while the rest of it shows the known screen.
class Blinker {
public:
    explicit Blinker(const RECT& r) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TovrixRecorderBlinker";
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"",
                                   WS_POPUP | WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                   nullptr, nullptr, wc.hInstance, nullptr);
        ::SetTimer(m_hwnd, 1, 40, nullptr);
    }
    ~Blinker() { ::DestroyWindow(m_hwnd); }
    Blinker(const Blinker&) = delete;
    Blinker& operator=(const Blinker&) = delete;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_TIMER) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, ::GetWindowLongPtrW(hwnd, GWLP_USERDATA) + 1);
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            const LONG_PTR n = ::GetWindowLongPtrW(hwnd, GWLP_USERDATA);
            HBRUSH brush = ::CreateSolidBrush(RGB((n * 53) & 255, (n * 97) & 255, 128));
            RECT r;
            ::GetClientRect(hwnd, &r);
            ::FillRect(dc, &r, brush);
            ::DeleteObject(brush);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND m_hwnd;
};

TEST_F(Recorder, RecordsTheScreenUnderTheFrameIntoAGifBesideTheStillCaptures) {
    if (!patternShown) {
        if (std::getenv("TOVRIX_PATTERN")) {
            FAIL() << "the known screen is missing";
        }
        GTEST_SKIP() << "no known screen";
    }
    Write(L"fps", L"20");
    Write(L"Qulity", L"0");  // the quantiser learns from every pixel
    Open();
    const RECT area = dialog->FrameWindow().GetCaptureRect();
    const RECT square{area.left, area.top, area.left + 40, area.top + 40};
    Blinker blinker(square);
    PumpMessages(100);

    Click(IDC_GIF_RECORD);
    ASSERT_TRUE(dialog->IsRecording());
    EXPECT_EQ(L"Stop(F5)", dialog->GetDlgItemText(IDC_GIF_RECORD));
    EXPECT_TRUE(dialog->FrameWindow().IsRecordingLook());
    for (int id : {IDC_GIF_RESIZE, IDC_GIF_WIDTH, IDC_GIF_HEIGHT, IDC_GIF_CURSOR, IDC_GIF_FPS, IDC_GIF_QUALITY,
                   IDC_GIF_OVERLAY}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    const std::wstring size = CGifSnapDlg::AreaCaption(area);
    ASSERT_TRUE(WaitUntil([&] { return Caption() == size + L" Frames(3)"; }, 20000));

    {
        MessageBoxRecorder boxes;
        dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
        ASSERT_EQ(1u, boxes.Messages().size());
        EXPECT_EQ(L"녹화중입니다.", boxes.Messages()[0].text);
        EXPECT_TRUE(dialog->IsWindow());
        EXPECT_TRUE(dialog->IsRecording());
    }

    // An F5 that arrives while the stop sequence saves is refused: one stop, one file.
    dialog->PostMessage(WM_HOTKEY, CAnigifCapture::kHotKeyId, 0);
    Click(IDC_GIF_RECORD);
    PumpMessages(100);
    EXPECT_FALSE(dialog->IsRecording());
    EXPECT_EQ(L"Record(F5)", dialog->GetDlgItemText(IDC_GIF_RECORD));
    EXPECT_EQ(size, Caption());
    EXPECT_FALSE(dialog->FrameWindow().IsRecordingLook());
    EXPECT_TRUE(dialog->FrameWindow().IsWindowVisible());
    for (int id : {IDC_GIF_RESIZE, IDC_GIF_WIDTH, IDC_GIF_HEIGHT, IDC_GIF_CURSOR, IDC_GIF_FPS, IDC_GIF_QUALITY,
                   IDC_GIF_OVERLAY}) {
        EXPECT_TRUE(Enabled(id)) << id;  // the size edits too, "Resize" or not
    }

    EXPECT_EQ(std::vector<std::wstring>{L"TX_[20261210-181500].gif"}, ListFiles(folder.Path()));
    EXPECT_EQ(folder.File(L"TX_[20261210-181500].gif"), dialog->LastSavedPath());
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGifFile(dialog->LastSavedPath(), gif, error)) << error;
    EXPECT_EQ(area.right - area.left, gif.width);
    EXPECT_EQ(area.bottom - area.top, gif.height);
    ASSERT_GE(gif.frames.size(), 3u);
    for (const DecodedFrame& frame : gif.frames) EXPECT_EQ(0, frame.delay % 5);  // multiples of 50 ms
    // Outside the blinking square the first frame is the known screen under the frame, as closely
    // as 256 colours of a picture of thousands allow.
    int unlike = 0, samples = 0;
    long long total = 0;
    for (int y = 50; y < gif.height; y += 7) {
        for (int x = 50; x < gif.width; x += 7) {
            const COLORREF got = DecodedPixel(gif, 0, x, y);
            const COLORREF want = PatternColor(area.left + x, area.top + y);
            const int d = std::abs(GetRValue(got) - GetRValue(want)) + std::abs(GetGValue(got) - GetGValue(want)) +
                          std::abs(GetBValue(got) - GetBValue(want));
            unlike += d > 40;
            total += d;
            ++samples;
        }
    }
    EXPECT_LT(total / samples, 24);
    EXPECT_LT(unlike * 100, samples);
}

// "작은 파일로 저장" is off without its key, kept in "SmallFile", and followed by the save: after
// the whole first frame, the frames hold only the blinking square, drawn over the frame before.
TEST_F(Recorder, TheSmallFileBoxIsKeptAndTheSaveWritesOnlyWhatChanged) {
    Open();
    EXPECT_FALSE(Checked(IDC_GIF_SMALLFILE));
    dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
    PumpMessages(50);
    EXPECT_EQ(L"0", IniValue(ini, L"SmallFile"));
    dialog.reset();

    Write(L"SmallFile", L"1");
    Write(L"fps", L"20");
    Open();
    EXPECT_TRUE(Checked(IDC_GIF_SMALLFILE));
    if (!patternShown) {
        if (std::getenv("TOVRIX_PATTERN")) {
            FAIL() << "the known screen is missing";
        }
        GTEST_SKIP() << "no known screen";
    }
    const RECT area = dialog->FrameWindow().GetCaptureRect();
    Blinker blinker(RECT{area.left, area.top, area.left + 40, area.top + 40});
    PumpMessages(100);
    Click(IDC_GIF_RECORD);
    ASSERT_TRUE(WaitUntil([&] { return Caption() == CGifSnapDlg::AreaCaption(area) + L" Frames(3)"; }, 20000));
    Click(IDC_GIF_RECORD);
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGifFile(dialog->LastSavedPath(), gif, error)) << error;
    ASSERT_GE(gif.frames.size(), 3u);
    EXPECT_EQ(area.right - area.left, gif.frames[0].width);
    EXPECT_EQ(0x04, gif.frames[0].controlPacked);  // whole, left in place for the next
    for (size_t f = 1; f < gif.frames.size(); f++) {
        const DecodedFrame& frame = gif.frames[f];
        EXPECT_EQ(0x05, frame.controlPacked) << f;  // left in place, with a transparent entry
        EXPECT_LE(frame.left + frame.width, 40) << f;
        EXPECT_LE(frame.top + frame.height, 40) << f;
    }
    dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
    PumpMessages(50);
    EXPECT_EQ(L"1", IniValue(ini, L"SmallFile"));
}

// Pixels of frame f of a file that are far from the known screen under `area`.
int PixelsUnlikePattern(const DecodedGif& gif, size_t f, const RECT& area) {
    int unlike = 0;
    for (int y = 0; y < gif.height; ++y) {
        for (int x = 0; x < gif.width; ++x) {
            const COLORREF got = DecodedPixel(gif, f, x, y);
            const COLORREF want = PatternColor(area.left + x, area.top + y);
            unlike += std::abs(GetRValue(got) - GetRValue(want)) + std::abs(GetGValue(got) - GetGValue(want)) +
                          std::abs(GetBValue(got) - GetBValue(want)) > 90;
        }
    }
    return unlike;
}

// The overlay button shows whether an overlay is on, and the caption is drawn on the frames.
TEST_F(Recorder, TheCaptionOverlayIsShownAndRecorded) {
    if (!patternShown) {
        if (std::getenv("TOVRIX_PATTERN")) {
            FAIL() << "the known screen is missing";
        }
        GTEST_SKIP() << "no known screen";
    }
    struct Case {
        const wchar_t* letterIs;
        bool drawn;
    } cases[] = {{L"0", false}, {L"1", true}};
    for (const Case& c : cases) {
        Write(L"LetterIs", c.letterIs);
        Write(L"Letter", L"TOVRIX");
        Write(L"Qulity", L"0");
        Open();
        EXPECT_EQ(c.drawn, Checked(IDC_GIF_OVERLAY));
        const RECT area = dialog->FrameWindow().GetCaptureRect();
        Click(IDC_GIF_RECORD);
        ASSERT_TRUE(WaitUntil([&] { return Caption() == CGifSnapDlg::AreaCaption(area) + L" Frames(1)"; }, 20000));
        Click(IDC_GIF_RECORD);
        EXPECT_EQ(c.drawn, Checked(IDC_GIF_OVERLAY));
        DecodedGif gif;
        std::string error;
        ASSERT_TRUE(DecodeGifFile(dialog->LastSavedPath(), gif, error)) << error;
        const int unlike = PixelsUnlikePattern(gif, 0, area);
        EXPECT_EQ(c.drawn, unlike > 100) << unlike;
        dialog->DestroyWindow();
        dialog.reset();
        ::DeleteFileW(folder.File(L"TX_[20261210-181500].gif").c_str());
    }
}

// A caption of thousands of characters in the file would take seconds to draw on every frame:
// the recorder draws it cut to the overlay's limit, and its first frame comes at once.
TEST_F(Recorder, ACaptionTooLongInTheFileIsCutBeforeItIsDrawn) {
    Write(L"LetterIs", L"1");
    Write(L"Letter", std::wstring(5000, L'W').c_str());
    Open();
    EXPECT_TRUE(Checked(IDC_GIF_OVERLAY));
    EXPECT_EQ(std::wstring(OverlaySettings::kMaxLetterLength, L'W'), dialog->Overlay().GetDocument().m_text);
    const RECT area = dialog->FrameWindow().GetCaptureRect();
    Click(IDC_GIF_RECORD);
    ASSERT_TRUE(WaitUntil([&] { return Caption() == CGifSnapDlg::AreaCaption(area) + L" Frames(1)"; }, 20000));
    Click(IDC_GIF_RECORD);
    EXPECT_FALSE(dialog->IsRecording());
}

// Clicking "로고삽입" opens the overlay dialog over a picture of the frames as they will be
// recorded; cancelling it leaves the check showing the overlay state, not toggled.
TEST_F(Recorder, TheOverlayButtonOpensTheOverlayDialogAndKeepsShowingTheState) {
    struct Case {
        const wchar_t* letterIs;
        const wchar_t* resize;
        bool checked;
        SIZE preview;  // {0, 0}: the area's size
    } cases[] = {{L"0", L"0", false, {0, 0}}, {L"1", L"1", true, {320, 240}}};
    for (const Case& c : cases) {
        Write(L"LetterIs", c.letterIs);
        Write(L"ChkResize", c.resize);
        Write(L"gifWidth", L"320");
        Write(L"gifHeight", L"240");
        Open();
        EXPECT_EQ(c.checked, Checked(IDC_GIF_OVERLAY));
        const RECT area = dialog->FrameWindow().GetCaptureRect();
        bool opened = false;
        BITMAP preview{};
        LaterInTheLoop answer([&] {
            CTestOutlineTextDlg& overlay = dialog->Overlay();
            opened = overlay.IsWindow() != FALSE;
            ::GetObjectW(overlay.GetPreviewBitmap(), sizeof(preview), &preview);
            if (opened) overlay.PostMessage(WM_COMMAND, IDCANCEL, 0);
        });
        Click(IDC_GIF_OVERLAY);
        EXPECT_TRUE(opened);
        EXPECT_EQ(c.checked, Checked(IDC_GIF_OVERLAY));
        const LONG width = c.preview.cx ? c.preview.cx : area.right - area.left;
        const LONG height = c.preview.cy ? c.preview.cy : area.bottom - area.top;
        EXPECT_EQ(width, preview.bmWidth);
        EXPECT_EQ(height, preview.bmHeight);
        dialog->DestroyWindow();
        dialog.reset();
    }
}

// Making a thread throws when the system has none to give; the recording is refused with a
// message, the recorder stays as it was, and the next Record works once threads can be had.
TEST_F(Recorder, AThreadTheSystemCannotGiveRefusesTheRecordingWithAMessage) {
    Open();
    dialog->Recording().SetThreadMaker([](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    {
        MessageBoxRecorder boxes;
        Click(IDC_GIF_RECORD);
        ASSERT_EQ(1u, boxes.Messages().size());
        EXPECT_EQ(CGifRecording::kStartFailedText, boxes.Messages()[0].text);
    }
    EXPECT_FALSE(dialog->IsRecording());
    EXPECT_FALSE(dialog->Recording().IsRecording());
    EXPECT_EQ(L"Record(F5)", dialog->GetDlgItemText(IDC_GIF_RECORD));
    EXPECT_FALSE(dialog->FrameWindow().IsRecordingLook());
    EXPECT_TRUE(Enabled(IDC_GIF_FPS));
    EXPECT_TRUE(Enabled(IDC_GIF_OVERLAY));

    dialog->Recording().SetThreadMaker(nullptr);
    Click(IDC_GIF_RECORD);
    EXPECT_TRUE(dialog->IsRecording());
    Click(IDC_GIF_RECORD);
    EXPECT_FALSE(dialog->IsRecording());
}

// Esc while the save's progress window pumps cancels the save, also when the progress window's
// owner is the recorder, a dialog whose dialog manager would take the key for its own Cancel.
// The application object is there as in the program, so that the pump offers keys to the
// dialogs as the program's loops do.
TEST_F(Recorder, EscDuringTheSaveCancelsItAndKeepsTheFrames) {
    CWinApp app(L"Tovrix");
    Open();
    const RECT area = dialog->FrameWindow().GetCaptureRect();
    Click(IDC_GIF_RECORD);
    ASSERT_TRUE(WaitUntil([&] { return Caption() == CGifSnapDlg::AreaCaption(area) + L" Frames(1)"; }, 20000));
    MessageBoxRecorder boxes;
    // The key waits in the queue; the stop's save is the first to pump it.
    ::SetFocus(Item(IDC_GIF_FPS));
    ::PostMessageW(Item(IDC_GIF_FPS), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    Click(IDC_GIF_RECORD);
    EXPECT_FALSE(dialog->IsRecording());
    EXPECT_TRUE(dialog->IsWindow());
    EXPECT_TRUE(ListFiles(folder.Path()).empty()) << "the save went on";
    EXPECT_FALSE(dialog->Recording().GetFrames().empty()) << "the frames were dropped";
    EXPECT_TRUE(dialog->LastSavedPath().empty());
}

TEST_F(Recorder, F5AnywhereStartsAndStops) {
    Open();
    auto pressF5 = [] {
        INPUT keys[2]{};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_F5;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, keys, sizeof(INPUT));
    };
    pressF5();
    ASSERT_TRUE(WaitUntil([&] { return dialog->IsRecording(); }, 10000));
    pressF5();
    ASSERT_TRUE(WaitUntil([&] { return !dialog->IsRecording(); }, 10000));
    EXPECT_EQ(1u, ListFiles(folder.Path()).size());
}

}  // namespace
