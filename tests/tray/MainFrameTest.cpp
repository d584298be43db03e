// The hidden main frame as the program creates it: made-up key events run the whole capture
// pipeline into real files in a temporary folder, and the tray icon's clicks and the menu's
// commands open real boxes, which a watcher inspects and closes from inside their modal loops.
#include <gtest/gtest.h>
#include <functional>
#include "CDialog.h"
#include "CMainFrame.h"
#include "CaptureSteps.h"
#include "WindowMessages.h"
#include "TestSupport.h"
#include "TrayTestSupport.h"
#include "resource.h"

using testing_support::ListFiles;
using testing_support::MessageBoxRecorder;
using testing_support::PatternColor;
using testing_support::PumpMessages;
using testing_support::TempFolder;
using tray_test::DecodeFile;
using tray_test::KeyEvent;
using Result = CMainFrame::CaptureResult;

namespace {

const wchar_t* ExtensionFor(int saveType) {
    static const wchar_t* const extensions[] = {L".bmp", L".jpg", L".png", L".gif"};
    return saveType >= 0 && saveType < 4 ? extensions[saveType] : L".png";
}

class MainFrame : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tray_test::WaitForPattern()) << "the known screen is not shown";
        m_settings.area = AreaFixedRect;
        m_settings.areaRect = RECT{700, 500, 900, 650};
        m_settings.saveType = Png;
        m_settings.shutter = 0;
        m_settings.hotKey = 0;
        m_settings.saveFolder = m_folder.Path();
        m_frame = CreateFrame(new CMainFrame(m_settings, Naming(), nullptr));
        ASSERT_NE(m_frame, nullptr);
    }
    void TearDown() override {
        if (m_frame && ::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
    }

    // Names as the settings object gives them: a fresh name in the save folder for every save.
    std::function<std::wstring()> Naming() {
        return [this] {
            return m_settings.saveFolder + L"\\shot" + std::to_wstring(++m_named) +
                   ExtensionFor(m_settings.saveType);
        };
    }
    CMainFrame* CreateFrame(CMainFrame* frame) {
        if (!frame->CreateHidden()) return nullptr;
        m_hwnd = frame->m_hWnd;
        return frame;
    }
    Result Release(USHORT key) { return m_frame->OnKeyboardEvent(KeyEvent(key, WM_KEYUP)); }
    std::vector<std::wstring> Saved() const { return ListFiles(m_folder.Path()); }
    std::wstring LastSaved() const {
        return m_folder.File(L"shot" + std::to_wstring(m_named) + ExtensionFor(m_settings.saveType));
    }

    TempFolder m_folder;
    CaptureSettings m_settings;
    int m_named = 0;
    CMainFrame* m_frame = nullptr;
    HWND m_hwnd = nullptr;
};

TEST_F(MainFrame, IsCreatedHiddenWithItsTitleAndIcon) {
    EXPECT_FALSE(::IsWindowVisible(m_hwnd));
    EXPECT_EQ(tray_test::WindowText(m_hwnd), L"Tovrix");
    EXPECT_NE(::SendMessageW(m_hwnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(::SendMessageW(m_hwnd, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(MainFrame, ReleaseOfTheConfiguredKeySavesTheAreaAndNothingElseDoes) {
    struct Case {
        USHORT key;
        UINT message;
        Result result;
    } cases[] = {
        {VK_SNAPSHOT, WM_KEYDOWN, Result::Ignored},
        {VK_SNAPSHOT, WM_SYSKEYUP, Result::Ignored},
        {VK_F12, WM_KEYUP, Result::Ignored},
        {VK_SNAPSHOT, WM_KEYUP, Result::Saved},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_frame->OnKeyboardEvent(KeyEvent(c.key, c.message)), c.result)
            << "key 0x" << std::hex << c.key << ", message 0x" << c.message;
    }
    ASSERT_EQ(Saved().size(), 1u);
    auto picture = DecodeFile(LastSaved());
    ASSERT_EQ(picture.width, 200);
    ASSERT_EQ(picture.height, 150);
    EXPECT_EQ(tray_test::WorstDifferenceFromPattern(picture, 700, 500), 0);
    EXPECT_FALSE(m_frame->IsCapturing());
}

TEST_F(MainFrame, ChangedKeyTakesEffectAtTheNextRelease) {
    m_settings.hotKey = 1;
    EXPECT_EQ(Release(VK_SNAPSHOT), Result::Ignored);
    EXPECT_EQ(Release(VK_F12), Result::Ignored);
    EXPECT_EQ(Release(VK_F11), Result::Saved);
    m_settings.hotKey = 2;
    EXPECT_EQ(Release(VK_F11), Result::Ignored);
    EXPECT_EQ(Release(VK_F12), Result::Saved);
    EXPECT_EQ(Saved().size(), 2u);
}

TEST_F(MainFrame, EachAreaSavesItsRectangle) {
    m_settings.area = AreaAllMonitors;
    ASSERT_EQ(Release(VK_SNAPSHOT), Result::Saved);
    auto all = DecodeFile(LastSaved());
    EXPECT_EQ(all.width, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(all.height, ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_EQ(tray_test::WorstDifferenceFromPattern(all, 0, 0, tray_test::TrayWindowRect()), 0);

    m_settings.area = AreaMonitor;
    m_settings.areaRect = RECT{0, 0, 640, 400};
    ASSERT_EQ(Release(VK_SNAPSHOT), Result::Saved);
    auto monitor = DecodeFile(LastSaved());
    EXPECT_EQ(monitor.width, 640);
    EXPECT_EQ(monitor.height, 400);
    EXPECT_EQ(tray_test::WorstDifferenceFromPattern(monitor, 0, 0, tray_test::TrayWindowRect()), 0);

    // Areas 4 and 5 open their on-screen pickers; cancelled, they save nothing, and the next
    // release starts afresh.
    for (int area : {int{AreaRegionAtCapture}, int{AreaControlAtCapture}}) {
        m_settings.area = area;
        tray_test::ModalWatcher cancel([](HWND picker) {
            ::PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(Release(VK_SNAPSHOT), Result::Abandoned) << "area " << area;
        EXPECT_EQ(cancel.Seen(), 1) << "area " << area;
        EXPECT_FALSE(m_frame->IsCapturing());
    }
    // A fixed rectangle never placed, and values no dialog writes.
    m_settings.areaRect = RECT{};
    for (int area : {int{AreaFixedRect}, 6, -3}) {
        m_settings.area = area;
        EXPECT_EQ(Release(VK_SNAPSHOT), Result::NothingToCapture) << "area " << area;
    }
    EXPECT_EQ(Saved().size(), 2u);
}

TEST_F(MainFrame, ForegroundAreaSavesTheForegroundWindow) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TrayForeground";
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowExW(WS_EX_TOPMOST, L"TrayForeground", L"", WS_POPUP | WS_VISIBLE,
                                    150, 120, 240, 180, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ::SetForegroundWindow(window);
    ::UpdateWindow(window);
    PumpMessages(200);
    ASSERT_EQ(::GetForegroundWindow(), window);

    m_settings.area = AreaForegroundWindow;
    Result result = Release(VK_SNAPSHOT);
    ::DestroyWindow(window);
    PumpMessages(100);
    ASSERT_EQ(result, Result::Saved);
    auto picture = DecodeFile(LastSaved());
    ASSERT_EQ(picture.width, 240);
    ASSERT_EQ(picture.height, 180);
    EXPECT_EQ(picture.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(picture.At(239, 179), RGB(255, 255, 255));
}

TEST_F(MainFrame, CursorIsDrawnOnlyWhenAskedAndInside) {
    // The cursor the user sees is the foreground program's: here a small window of this thread,
    // away from the captured rectangle.
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TrayCursorOwner";
    ::RegisterClassW(&wc);
    HWND owner = ::CreateWindowExW(0, L"TrayCursorOwner", L"", WS_POPUP | WS_VISIBLE, 1100, 700,
                                   40, 40, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetForegroundWindow(owner);
    PumpMessages(100);
    HCURSOR cursor = tray_test::SolidCursor(RGB(0, 255, 0), 4, 6);
    ASSERT_NE(cursor, nullptr);
    HCURSOR previous = ::SetCursor(cursor);
    const int pointerX = 800, pointerY = 560;  // inside the fixed rectangle
    ::SetCursorPos(pointerX, pointerY);
    PumpMessages(50);
    const int x = pointerX - 700 - 4, y = pointerY - 500 - 6;

    m_settings.checkCursor = false;
    ASSERT_EQ(Release(VK_SNAPSHOT), Result::Saved);
    EXPECT_EQ(DecodeFile(LastSaved()).At(x + 10, y + 10), PatternColor(800 + 10 - 4, 560 + 10 - 6));

    m_settings.checkCursor = true;
    ASSERT_EQ(Release(VK_SNAPSHOT), Result::Saved);
    auto drawn = DecodeFile(LastSaved());
    EXPECT_EQ(drawn.At(x, y), RGB(0, 255, 0)) << "the hot spot is not on the pointer";
    EXPECT_EQ(drawn.At(x + 31, y + 31), RGB(0, 255, 0));
    EXPECT_EQ(drawn.At(x - 1, y), PatternColor(700 + x - 1, 500 + y));

    ::SetCursorPos(200, 200);  // outside
    PumpMessages(50);
    ASSERT_EQ(Release(VK_SNAPSHOT), Result::Saved);
    EXPECT_EQ(tray_test::WorstDifferenceFromPattern(DecodeFile(LastSaved()), 700, 500), 0);

    ::SetCursor(previous);
    ::DestroyCursor(cursor);
    ::DestroyWindow(owner);
}

TEST_F(MainFrame, ResizeScalesTheSavedPictureAndKeepsTheNewSize) {
    m_settings.area = AreaAllMonitors;
    m_settings.resize = true;
    m_settings.width = 640;
    m_settings.height = 480;
    ASSERT_EQ(Release(VK_SNAPSHOT), Result::Saved);
    auto picture = DecodeFile(LastSaved());
    ASSERT_EQ(picture.width, 640);
    ASSERT_EQ(picture.height, 480);
    EXPECT_EQ(m_frame->GetPicture().GetWidth(), 640);
    EXPECT_EQ(m_frame->GetPicture().GetHeight(), 480);
    // Away from the places where the pattern's channels wrap, a scaled pixel is close to the
    // screen pixel it stands for.
    const POINT samples[] = {{200, 100}, {260, 190}, {300, 250}, {340, 300}};
    for (const POINT& p : samples) {
        COLORREF screen = PatternColor(p.x * 1280 / 640, p.y * 800 / 480);
        EXPECT_LE(tray_test::MaxChannelDifference(picture.At(p.x, p.y), screen), 4)
            << p.x << "," << p.y;
    }
}

TEST_F(MainFrame, EachFormatIsSavedUnderItsExtension) {
    for (int format : {int{Bmp}, int{Jpg}, int{Png}, int{Gif}}) {
        m_settings.saveType = format;
        m_settings.jpgQuality = 2;
        ASSERT_EQ(Release(VK_SNAPSHOT), Result::Saved) << format;
        auto picture = DecodeFile(LastSaved());
        EXPECT_EQ(picture.width, 200) << format;
        EXPECT_LE(tray_test::MeanDifferenceFromPattern(picture, 700, 500), format == Bmp || format == Png ? 0 : 15)
            << format;
    }
    EXPECT_EQ(Saved().size(), 4u);
}

TEST_F(MainFrame, FailedSaveShowsErrorLeavesNoFileAndAReleaseMeanwhileStartsNothing) {
    m_settings.saveFolder = m_folder.File(L"gone");
    m_settings.shutter = 1;
    std::vector<std::wstring> texts;
    std::vector<UINT> types;
    std::vector<Result> during;
    auto previous = SetMessageBoxHandler(
        [&](HWND, const std::wstring& text, const std::wstring&, UINT type) {
            texts.push_back(text);
            types.push_back(type);
            // The message box runs its own loop; a key release arriving now must not start a
            // second capture.
            during.push_back(Release(VK_SNAPSHOT));
            return IDOK;
        });
    Result result = Release(VK_SNAPSHOT);
    SetMessageBoxHandler(previous);

    EXPECT_EQ(result, Result::SaveFailed);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], L"Error");
    EXPECT_EQ(types[0] & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0], Result::Busy);
    EXPECT_TRUE(Saved().empty());
    EXPECT_FALSE(m_frame->IsCapturing());

    // Once the folder is back, the next release works.
    m_settings.saveFolder = m_folder.Path();
    EXPECT_EQ(Release(VK_SNAPSHOT), Result::Saved);
}

TEST_F(MainFrame, AnAreaThatCapturesNothingIsExplainedOnceInABalloon) {
    m_settings.area = AreaFixedRect;
    m_settings.areaRect = RECT{};  // no rectangle placed yet
    MessageBoxRecorder boxes;
    const int before = m_frame->GetTrayIcon().GetBalloonCount();
    EXPECT_EQ(Release(VK_SNAPSHOT), Result::NothingToCapture);
    EXPECT_EQ(m_frame->GetTrayIcon().GetBalloonCount(), before + 1);
    EXPECT_STREQ(m_frame->GetTrayIcon().GetBalloonText(), CMainFrame::kNothingToCaptureText);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Release(VK_SNAPSHOT), Result::NothingToCapture);
    EXPECT_EQ(m_frame->GetTrayIcon().GetBalloonCount(), before + 1) << "told once, not at every release";
    EXPECT_TRUE(boxes.Texts().empty()) << "a balloon, not a box";
    EXPECT_TRUE(Saved().empty());
}

// A picker left without a choice (a click without a drag, Enter before any click) saves nothing
// and says nothing: the balloon that sends the user to the settings is for empty stored areas.
TEST_F(MainFrame, AnEmptyChoiceInAPickerIsNoCaptureAndNoBalloon) {
    struct Case {
        int area;
        const char* how;
        std::function<void(HWND)> choose;
    } cases[] = {
        {AreaRegionAtCapture, "click without a drag",
         [](HWND picker) {
             ::PostMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 300));
             ::PostMessageW(picker, WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
         }},
        {AreaRegionAtCapture, "Enter", [](HWND picker) { ::PostMessageW(picker, WM_KEYDOWN, VK_RETURN, 0x001C0001); }},
        {AreaControlAtCapture, "Enter", [](HWND picker) { ::PostMessageW(picker, WM_KEYDOWN, VK_RETURN, 0x001C0001); }},
    };
    for (const Case& c : cases) {
        m_settings.area = c.area;
        const int balloons = m_frame->GetTrayIcon().GetBalloonCount();
        tray_test::ModalWatcher watcher(c.choose);
        EXPECT_EQ(Release(VK_SNAPSHOT), Result::Abandoned) << "area " << c.area << ", " << c.how;
        EXPECT_EQ(watcher.Seen(), 1) << "area " << c.area << ", " << c.how;
        EXPECT_EQ(m_frame->GetTrayIcon().GetBalloonCount(), balloons) << "area " << c.area << ", " << c.how;
        EXPECT_FALSE(m_frame->IsCapturing());
    }
    EXPECT_TRUE(Saved().empty());
}

TEST_F(MainFrame, AResizeThatCannotBeMadeFailsTheSaveInsteadOfSavingTheWrongSize) {
    // No picture can be this wide (as no memory may be left for a large one): the save fails.
    m_settings.resize = true;
    m_settings.width = 40000;
    m_settings.height = 10;
    MessageBoxRecorder boxes;
    EXPECT_EQ(Release(VK_SNAPSHOT), Result::SaveFailed);
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{L"Error"});
    EXPECT_TRUE(Saved().empty());
    m_settings.width = 64;
    EXPECT_EQ(Release(VK_SNAPSHOT), Result::Saved);
    EXPECT_EQ(DecodeFile(LastSaved()).width, 64);
}

TEST_F(MainFrame, SaveMessageSavesWhatIsInThePicture) {
    ASSERT_TRUE(m_frame->GetPicture().CaptureRect(RECT{440, 330, 540, 390}));
    EXPECT_EQ(::SendMessageW(m_hwnd, WM_SAVE_CAPTURE, 0, 0), 0);
    auto picture = DecodeFile(LastSaved());
    ASSERT_EQ(picture.width, 100);
    EXPECT_EQ(tray_test::WorstDifferenceFromPattern(picture, 440, 330), 0);

    MessageBoxRecorder boxes;
    m_frame->GetPicture().Destroy();
    EXPECT_NE(::SendMessageW(m_hwnd, WM_SAVE_CAPTURE, 0, 0), 0) << "an empty picture was saved";
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{L"Error"});
    EXPECT_EQ(Saved().size(), 1u);
}

}  // namespace

namespace {

void SendKey(WORD key, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(INPUT));
}

// Keys sent through the system's input queue arrive as WM_INPUT and are read back with
// GetRawInputData, as the user's keys are.
TEST_F(MainFrame, KeysFromTheInputQueueCaptureOnlyOnAPlainRelease) {
    m_settings.hotKey = 2;
    SendKey(VK_F12, false);
    PumpMessages(300);
    EXPECT_TRUE(Saved().empty()) << "a press captured";

    SendKey(VK_MENU, false);  // with Alt held the release is a system key release
    SendKey(VK_F12, true);
    SendKey(VK_MENU, true);
    PumpMessages(300);
    EXPECT_TRUE(Saved().empty()) << "a release with Alt held captured";

    SendKey(VK_F11, false);
    SendKey(VK_F11, true);
    PumpMessages(300);
    EXPECT_TRUE(Saved().empty()) << "another key captured";

    SendKey(VK_F12, false);
    SendKey(VK_F12, true);
    for (int i = 0; i < 50 && Saved().empty(); ++i) PumpMessages(20);
    ASSERT_EQ(Saved().size(), 1u);
    EXPECT_EQ(tray_test::WorstDifferenceFromPattern(DecodeFile(LastSaved()), 700, 500), 0);
}

}  // namespace
