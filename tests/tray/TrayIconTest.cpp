// The tray icon and the menu it pops up, on the hidden main frame: the shell's answers tell
// whether the icon is there, and a watcher inspects the menu and boxes that the clicks and
// commands open, then closes them.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include "CDialog.h"
#include "CDonateDlg.h"
#include "CMainFrame.h"
#include "CTrayRessurectionWnd.h"
#include "ModulePath.h"
#include "ShellOpenRecorder.h"
#include "WindowMessages.h"
#include "TestSupport.h"
#include "TrayTestSupport.h"
#include "resource.h"

using testing_support::PumpMessages;
using testing_support::TempFolder;
using tray_test::ClassName;
using tray_test::CountingDialog;
using tray_test::ModalWatcher;
using tray_test::WindowText;

namespace {

// Whether the shell knows an icon: changing its tooltip succeeds only for an icon it has.
bool ShellHasIcon(HWND owner, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = NIF_TIP;
    ::lstrcpynW(data.szTip, L"Tovrix", 128);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void ForgetIconBehindItsBack(HWND owner, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = id;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
}

// A frame whose web capture and GIF recorder "dialogs" choose their own menu item again while
// they run, as a user clicking the tray menu twice would.
class FrameWithDialogs : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    int webRuns = 0;
    int gifRuns = 0;
    bool webFlagInside = false;
    bool gifFlagInside = false;

protected:
    void RunWebCaptureDialog() override {
        ++webRuns;
        webFlagInside = webCaptureOpen;
        SendMessage(WM_COMMAND, ID_TRAY_WEB_CAPTURE);
    }
    void RunGifRecorderDialog() override {
        ++gifRuns;
        gifFlagInside = gifRecorderOpen;
        SendMessage(WM_COMMAND, ID_TRAY_GIF_RECORDER);
    }
};

class TrayIcon : public testing::Test {
protected:
    void SetUp() override {
        m_settings.saveFolder = m_folder.Path();
        m_frame = new FrameWithDialogs(m_settings, [] { return std::wstring(); }, &m_settingsDialog);
        ASSERT_TRUE(m_frame->CreateHidden());
        m_hwnd = m_frame->m_hWnd;
    }
    void TearDown() override {
        if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
    }
    LRESULT Notify(WPARAM id, LPARAM event) {
        return ::SendMessageW(m_hwnd, WM_TRAY_NOTIFY, id, event);
    }
    void Command(UINT id) { ::SendMessageW(m_hwnd, WM_COMMAND, id, 0); }

    TempFolder m_folder;
    CaptureSettings m_settings;
    CountingDialog m_settingsDialog;
    FrameWithDialogs* m_frame = nullptr;
    HWND m_hwnd = nullptr;
};

TEST_F(TrayIcon, IsAddedWithTheFramesIdAndRemovedByExit) {
    EXPECT_TRUE(m_frame->GetTrayIcon().IsCreated());
    EXPECT_TRUE(ShellHasIcon(m_hwnd, IDR_TRAYMENU));
    Command(ID_TRAY_EXIT);
    PumpMessages(200);
    EXPECT_FALSE(::IsWindow(m_hwnd)) << "Exit left the frame";
    EXPECT_FALSE(ShellHasIcon(m_hwnd, IDR_TRAYMENU)) << "Exit left the icon";
}

TEST_F(TrayIcon, ComesBackWhenTheTaskbarIsCreatedAgain) {
    CTrayNotifyIcon& icon = m_frame->GetTrayIcon();
    HWND listener = icon.GetResurrectionWindow();
    ASSERT_NE(listener, nullptr);
    EXPECT_FALSE(::IsWindowVisible(listener));
    EXPECT_EQ(WindowText(listener), L"CTrayNotifyIcon Resurrection Notification Window");

    // A restarted shell has forgotten the icon.
    ForgetIconBehindItsBack(m_hwnd, IDR_TRAYMENU);
    ASSERT_FALSE(ShellHasIcon(m_hwnd, IDR_TRAYMENU));
    ::SendMessageW(listener, CTrayRessurectionWnd::TaskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(ShellHasIcon(m_hwnd, IDR_TRAYMENU));
    EXPECT_FALSE(icon.IsHidden());

    // The icon still reaches the frame: a double click opens the About box.
    ModalWatcher watcher([](HWND box) { ::PostMessageW(box, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(Notify(IDR_TRAYMENU, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(watcher.Seen(), 1);
}

TEST_F(TrayIcon, HideAndShowTakeTheIconOutAndPutItBack) {
    CTrayNotifyIcon& icon = m_frame->GetTrayIcon();
    icon.Hide();
    EXPECT_TRUE(icon.IsHidden());
    EXPECT_FALSE(ShellHasIcon(m_hwnd, IDR_TRAYMENU));
    icon.Show();
    EXPECT_FALSE(icon.IsHidden());
    EXPECT_TRUE(ShellHasIcon(m_hwnd, IDR_TRAYMENU));
}

TEST_F(TrayIcon, RightClickShowsTheWholeMenuAtThePointerWithTheFirstItemBold) {
    ::SetCursorPos(400, 300);
    PumpMessages(50);
    std::vector<std::pair<UINT, std::wstring>> items;
    int defaultItem = -2;
    RECT place{};
    ModalWatcher watcher([&](HWND window) {
        if (ClassName(window) == L"#32768") {
            auto menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
            for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                wchar_t caption[128] = {};
                MENUITEMINFOW info{};
                info.cbSize = sizeof(info);
                info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
                info.dwTypeData = caption;
                info.cch = 128;
                ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
                items.emplace_back((info.fType & MFT_SEPARATOR) ? 0 : info.wID, caption);
            }
            defaultItem = static_cast<int>(::GetMenuDefaultItem(menu, TRUE, 0));
            ::GetWindowRect(window, &place);
        }
        ::EndMenu();
    });
    EXPECT_EQ(Notify(IDR_TRAYMENU, WM_RBUTTONUP), 1);
    PumpMessages(50);

    const std::vector<std::pair<UINT, std::wstring>> expected = {
        {57664, L"Tovrix 이란(&A)"}, {0, L""},
        {32771, L"설정(&C)"},       {0, L""},
        {32772, L"웹페이지 캡처"},   {32778, L"움짤 만들기"}, {0, L""},
        {32779, L"저장폴더열기"},    {0, L""},
        {32777, L"도움말"},          {32793, L"기부하기"},    {0, L""},
        {57665, L"종료(&X)"},
    };
    EXPECT_EQ(items, expected);
    EXPECT_EQ(defaultItem, 0) << "the first item is not the bold default";
    EXPECT_EQ(place.left, 400);
    EXPECT_EQ(place.top, 300);
    EXPECT_TRUE(::IsWindow(m_hwnd)) << "closing the menu without a choice ran a command";
}

TEST_F(TrayIcon, EventsOfAnotherIconOrOtherMouseEventsDoNothing) {
    ModalWatcher watcher([](HWND window) {
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        ::EndMenu();
    });
    EXPECT_EQ(Notify(IDR_TRAYMENU + 1, WM_RBUTTONUP), 0);
    EXPECT_EQ(Notify(IDR_TRAYMENU + 1, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(Notify(IDR_TRAYMENU, WM_MOUSEMOVE), 1);
    EXPECT_EQ(Notify(IDR_TRAYMENU, WM_LBUTTONUP), 1);
    PumpMessages(100);
    EXPECT_EQ(watcher.Seen(), 0);
}

TEST_F(TrayIcon, DoubleClickOpensTheAboutBoxWithTheProgramsVersion) {
    std::wstring caption, version;
    ModalWatcher watcher([&](HWND box) {
        caption = WindowText(box);
        version = WindowText(::GetDlgItem(box, IDC_ABOUT_VERSION));
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(Notify(IDR_TRAYMENU, WM_LBUTTONDBLCLK), 1);
    ASSERT_EQ(watcher.Seen(), 1);
    EXPECT_EQ(caption, L"About Tovrix");
    EXPECT_EQ(version, L"v" TOVRIX_TEST_VERSION);
}

TEST_F(TrayIcon, DonateShowsTheThanksInLargeHeavyType) {
    std::wstring caption, text;
    LOGFONTW font{};
    LONG_PTR style = 0;
    int pixelsPerInch = 0;
    ModalWatcher watcher([&](HWND box) {
        caption = WindowText(box);
        HWND field = ::GetDlgItem(box, IDC_DONATE_TEXT);
        text = WindowText(field);
        style = ::GetWindowLongPtrW(field, GWL_STYLE);
        auto handle = reinterpret_cast<HFONT>(::SendMessageW(field, WM_GETFONT, 0, 0));
        ::GetObjectW(handle, sizeof(font), &font);
        HDC dc = ::GetDC(box);
        pixelsPerInch = ::GetDeviceCaps(dc, LOGPIXELSY);
        ::ReleaseDC(box, dc);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    Command(ID_TRAY_DONATE);
    ASSERT_EQ(watcher.Seen(), 1);
    EXPECT_EQ(caption, L"About Tovrix");
    EXPECT_EQ(text, CDonateDlg::kThanks);
    EXPECT_NE(text.find(L"고맙습니다"), std::wstring::npos);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"굴림");
    EXPECT_EQ(font.lfWeight, 900);
    EXPECT_EQ(font.lfHeight, -::MulDiv(12, pixelsPerInch, 72));
    EXPECT_EQ(font.lfQuality, ANTIALIASED_QUALITY);
}

// The program has no web site: Help opens the guide that comes with it, and without the guide a
// box says where it belongs. The donation box names no address either.
TEST_F(TrayIcon, HelpOpensTheGuideBesideTheProgramOrSaysWhereItBelongs) {
    testing_support::ShellOpenRecorder shell;
    ASSERT_TRUE(shell.PlaceGuide(false));
    {
        testing_support::MessageBoxRecorder boxes;
        Command(ID_TRAY_HELP);
        EXPECT_TRUE(shell.Opened().empty());
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], MissingUserGuideText());
        EXPECT_NE(boxes.Texts()[0].find(GetModuleFolder()), std::wstring::npos);
        EXPECT_NE(boxes.Texts()[0].find(kUserGuideFileName), std::wstring::npos);
    }
    ASSERT_TRUE(shell.PlaceGuide(true));
    testing_support::MessageBoxRecorder boxes;
    Command(ID_TRAY_HELP);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(shell.Opened(), std::vector<std::wstring>{UserGuidePath()});
    EXPECT_EQ(std::wstring(CDonateDlg::kThanks).find(L"://"), std::wstring::npos);
    EXPECT_EQ(std::wstring(CDonateDlg::kThanks).find(L"www."), std::wstring::npos);
}

TEST_F(TrayIcon, SettingsOpenOnceAtATime) {
    int nestedRuns = -1;
    ModalWatcher watcher([&](HWND box) {
        // Chosen again while open: nothing more opens.
        ::SendMessageW(m_hwnd, WM_COMMAND, ID_TRAY_SETTINGS, 0);
        nestedRuns = m_settingsDialog.runs;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    Command(ID_TRAY_SETTINGS);
    EXPECT_EQ(m_settingsDialog.runs, 1);
    EXPECT_EQ(nestedRuns, 1);
    Command(ID_TRAY_SETTINGS);
    EXPECT_EQ(m_settingsDialog.runs, 2) << "the item does not work again after the dialog closed";
    EXPECT_EQ(watcher.Seen(), 2);
}

TEST_F(TrayIcon, WebCaptureAndGifRecorderOpenOnceAtATime) {
    Command(ID_TRAY_WEB_CAPTURE);
    EXPECT_EQ(m_frame->webRuns, 1);
    EXPECT_TRUE(m_frame->webFlagInside);
    EXPECT_FALSE(CMainFrame::webCaptureOpen);
    Command(ID_TRAY_WEB_CAPTURE);
    EXPECT_EQ(m_frame->webRuns, 2);

    Command(ID_TRAY_GIF_RECORDER);
    EXPECT_EQ(m_frame->gifRuns, 1);
    EXPECT_TRUE(m_frame->gifFlagInside);
    EXPECT_FALSE(CMainFrame::gifRecorderOpen);
}

}  // namespace

namespace {

// The shutter sound is played from the program's own resources: it must be there, be a wave
// that the system can play, be short enough not to trail behind the capture, and be audible.
TEST(TrayResources, ShutterSoundIsAShortAudibleWave) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_SHUTTER), L"WAVE");
    ASSERT_NE(found, nullptr);
    DWORD size = ::SizeofResource(module, found);
    auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
    ASSERT_NE(bytes, nullptr);
    ASSERT_GT(size, 44u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), 4), "RIFF");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes) + 8, 4), "WAVE");

    auto read16 = [&](DWORD at) { return static_cast<int>(bytes[at] | bytes[at + 1] << 8); };
    auto read32 = [&](DWORD at) { return static_cast<DWORD>(read16(at) | read16(at + 2) << 16); };
    int format = 0, bits = 0;
    DWORD byteRate = 0, dataAt = 0, dataSize = 0;
    for (DWORD at = 12; at + 8 <= size; at += 8 + ((read32(at + 4) + 1) & ~1u)) {
        std::string id(reinterpret_cast<const char*>(bytes) + at, 4);
        if (id == "fmt ") {
            format = read16(at + 8);
            byteRate = read32(at + 16);
            bits = read16(at + 22);
        } else if (id == "data") {
            dataAt = at + 8;
            dataSize = read32(at + 4);
        }
    }
    EXPECT_EQ(format, 1) << "not plain PCM";
    ASSERT_EQ(bits, 16);
    ASSERT_GT(byteRate, 0u);
    ASSERT_GT(dataSize, 0u);
    ASSERT_LE(dataAt + dataSize, size);
    EXPECT_LT(dataSize * 1000 / byteRate, 400u) << "milliseconds of sound";
    int loudest = 0;
    for (DWORD at = dataAt; at + 1 < dataAt + dataSize; at += 2)
        loudest = std::max(loudest, std::abs(static_cast<int>(static_cast<int16_t>(read16(at)))));
    EXPECT_GT(loudest, 8000);
}

}  // namespace
