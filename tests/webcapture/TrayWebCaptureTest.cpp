// "웹페이지 캡처" in the real main frame's tray menu: it opens the web capture dialog once, a
// second command while it is open does nothing, and the dialog's picture is saved by the frame
// under the generated name in the configured format.
#include <gtest/gtest.h>
#include "CMainFrame.h"
#include "CWebBrowserDlg.h"
#include "TestSupport.h"
#include "TrayTestSupport.h"
#include "UserGuide.h"
#include "WindowMessages.h"
#include "resource.h"

using testing_support::ListFiles;
using testing_support::TempFolder;

namespace {

TEST(TrayWebCapture, TheMenuItemOpensTheDialogOnceAndItsPictureIsSavedAsACapture) {
    TempFolder folder;
    CaptureSettings settings;
    settings.saveType = Png;
    settings.saveFolder = folder.Path();
    settings.webUrl = L"https://tovrix.example/";
    int named = 0;
    auto* frame = new CMainFrame(settings, [&] { return folder.File(L"web" + std::to_wstring(++named) + L".png"); },
                                 nullptr);
    ASSERT_TRUE(frame->CreateHidden());
    HWND frameWindow = frame->m_hWnd;

    std::wstring title;
    tray_test::ModalWatcher watcher([&](HWND window) {
        title = tray_test::WindowText(window);
        auto* dialog = dynamic_cast<CWebBrowserDlg*>(CWnd::FromHandle(window));
        // A second command while the dialog is open opens nothing.
        ::SendMessageW(frameWindow, WM_COMMAND, ID_TRAY_WEB_CAPTURE, 0);
        // What Capture hands over: a picture in the frame's own, saved by WM_SAVE_CAPTURE.
        if (dialog) {
            CScreenImage& picture = frame->GetPicture();
            ASSERT_TRUE(picture.CreateBlank(RECT{0, 0, 120, 90}));
            HDC dc = picture.GetDC();
            RECT all{0, 0, 120, 90};
            HBRUSH brush = ::CreateSolidBrush(RGB(10, 120, 230));
            ::FillRect(dc, &all, brush);
            ::DeleteObject(brush);
            picture.ReleaseDC();
            EXPECT_EQ(::SendMessageW(frameWindow, WM_SAVE_CAPTURE, 0, 0), 0);
        }
        ::SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    ::SendMessageW(frameWindow, WM_COMMAND, ID_TRAY_WEB_CAPTURE, 0);
    EXPECT_EQ(watcher.Seen(), 1);
    EXPECT_EQ(title, L"Tovrix - WebCapture");
    EXPECT_FALSE(CMainFrame::webCaptureOpen);

    const auto files = ListFiles(folder.Path());
    ASSERT_EQ(files.size(), 1u);
    tray_test::Decoded saved = tray_test::DecodeFile(folder.File(L"web1.png"));
    ASSERT_EQ(saved.width, 120);
    EXPECT_EQ(saved.height, 90);
    EXPECT_EQ(saved.At(60, 45), RGB(10, 120, 230));
    ::DestroyWindow(frameWindow);
}

// Without a stored start page the dialog starts from the guide beside the program, a page that
// exists without a network; a stored one is used as it stands.
TEST(TrayWebCapture, TheStartPageIsTheStoredOneOrTheGuide) {
    for (const std::wstring& stored : {std::wstring(kDefaultWebUrl), std::wstring(L"https://tovrix.example/start")}) {
        CaptureSettings settings;
        settings.webUrl = stored;
        auto* frame = new CMainFrame(settings, [] { return std::wstring(); }, nullptr);
        ASSERT_TRUE(frame->CreateHidden());
        HWND frameWindow = frame->m_hWnd;
        std::wstring start;
        tray_test::ModalWatcher watcher([&](HWND window) {
            if (auto* dialog = dynamic_cast<CWebBrowserDlg*>(CWnd::FromHandle(window))) start = dialog->GetStartAddress();
            ::SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
        });
        ::SendMessageW(frameWindow, WM_COMMAND, ID_TRAY_WEB_CAPTURE, 0);
        EXPECT_EQ(watcher.Seen(), 1);
        if (stored.empty()) {
            EXPECT_EQ(start, UserGuideAddress());
            EXPECT_EQ(start.rfind(L"file:///", 0), 0u) << std::string(start.begin(), start.end());
            EXPECT_NE(start.find(kUserGuideFileName), std::wstring::npos);
        } else {
            EXPECT_EQ(start, stored);
        }
        ::DestroyWindow(frameWindow);
    }
}

}  // namespace
