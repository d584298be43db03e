// "웹페이지 캡처" in the real main frame's tray menu: it opens the web capture dialog once, a
// second command while it is open does nothing, and the dialog's picture is saved by the frame
// under the generated name in the configured format.
#include <gtest/gtest.h>
#include "CMainFrame.h"
#include "CWebBrowserDlg.h"
#include "TestSupport.h"
#include "TrayTestSupport.h"
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

}  // namespace
